#pragma once
// The undo history of a document: the records before each step, and after
// each undone one. A step holds only the small record (a few KiB at most),
// never a picture, so a long history costs little and undoing costs no more
// than the edit did.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "document/document_record.h"

namespace qf {

class DocumentHistory {
public:
    static constexpr std::size_t kDefaultLimit = 1000;

    explicit DocumentHistory(std::size_t limit = kDefaultLimit) : m_limit(limit) {}

    const DocumentRecord& current() const { return m_current; }

    // Makes next the current record as one step named label. Returns false,
    // and records nothing, when next equals the current record.
    bool commit(DocumentRecord next, std::string label);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The name of the step an undo or redo would take back or make again.
    const std::string& undoLabel() const;
    const std::string& redoLabel() const;
    bool undo();
    bool redo();
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t redoCount() const { return m_redo.size(); }

    // A new start (new document, opened project): no history, unmodified.
    void reset(DocumentRecord record);

    // Unsaved changes: the current record is not the one last saved or opened.
    bool isModified() const { return m_position != m_savedPosition; }
    void markSaved() { m_savedPosition = m_position; }
    // Marks the record as unsaved whatever the history says (a restored
    // recovery file, say, which was never saved under its name).
    void markModified() { m_savedPosition = kNever; }

    // Counts every change of the current record: observers compare it.
    uint64_t revision() const { return m_revision; }

private:
    struct Step {
        DocumentRecord record;
        std::string label;
    };
    static constexpr int64_t kNever = INT64_MIN;

    DocumentRecord m_current;
    std::deque<Step> m_undo;  // oldest first
    std::deque<Step> m_redo;  // next redo last
    std::size_t m_limit;
    // Steps from the start of the history: a saved position that undo and
    // redo come back to counts as unmodified again.
    int64_t m_position = 0;
    int64_t m_savedPosition = 0;
    uint64_t m_revision = 0;
};

}  // namespace qf

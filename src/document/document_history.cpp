#include "document/document_history.h"

namespace qf {
namespace {
const std::string kNone;
}

bool DocumentHistory::commit(DocumentRecord next, std::string label) {
    if (next == m_current) return false;
    m_undo.push_back({std::move(m_current), std::move(label)});
    m_current = std::move(next);
    // A redo of a state that was saved can no longer come back.
    if (m_savedPosition > m_position) m_savedPosition = kNever;
    m_redo.clear();
    ++m_position;
    ++m_revision;
    while (m_undo.size() > m_limit) m_undo.pop_front();
    return true;
}

const std::string& DocumentHistory::undoLabel() const {
    return m_undo.empty() ? kNone : m_undo.back().label;
}

const std::string& DocumentHistory::redoLabel() const {
    return m_redo.empty() ? kNone : m_redo.back().label;
}

bool DocumentHistory::undo() {
    if (m_undo.empty()) return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back({std::move(m_current), step.label});
    m_current = std::move(step.record);
    --m_position;
    ++m_revision;
    return true;
}

bool DocumentHistory::redo() {
    if (m_redo.empty()) return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back({std::move(m_current), step.label});
    m_current = std::move(step.record);
    ++m_position;
    ++m_revision;
    return true;
}

void DocumentHistory::reset(DocumentRecord record) {
    m_current = std::move(record);
    m_undo.clear();
    m_redo.clear();
    m_position = 0;
    m_savedPosition = 0;
    ++m_revision;
}

}  // namespace qf

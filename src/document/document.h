#pragma once
// The open document: the one owner of the digitisation's record, its undo
// history, the project file it was read from or saved to, and whether it has
// unsaved changes. The view, the panes and the frame observe it and change
// it only through its edits, which are where undo lives.

#include <QObject>
#include <QString>
#include <functional>

#include "document/document_history.h"

namespace qf {

class Document : public QObject {
    Q_OBJECT
public:
    // Why the record changed: observers that made an edit themselves already
    // show it; undo, redo and a reset bring a record nobody shows yet.
    enum class Change { Edit, Undo, Redo, Reset };

    explicit Document(QObject* parent = nullptr);

    const DocumentRecord& record() const { return m_history.current(); }
    const DocumentHistory& history() const { return m_history; }

    // One undoable step: the record after change. Nothing is recorded when
    // the change leaves the record as it was. Returns whether it changed.
    bool edit(const std::string& label, const std::function<void(DocumentRecord&)>& change);
    bool commit(DocumentRecord next, const std::string& label);

    bool undo();
    bool redo();

    // A new or opened document: its own history, nothing unsaved.
    void reset(DocumentRecord record, const QString& projectPath = {});

    // The project file, empty for a document never saved.
    const QString& projectPath() const { return m_projectPath; }
    // The name the title shows: the project's file name, else "無題".
    QString displayName() const;
    bool isModified() const { return m_history.isModified(); }
    // After a save: the record is what the file at path holds.
    void markSaved(const QString& projectPath);
    // A record that no file holds (a restored recovery).
    void markModified();

signals:
    void changed(qf::Document::Change why);
    void modifiedChanged(bool modified);

private:
    void notify(Change why, bool wasModified);

    DocumentHistory m_history;
    QString m_projectPath;
};

}  // namespace qf

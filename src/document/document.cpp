#include "document/document.h"

#include <QFileInfo>

namespace qf {

Document::Document(QObject* parent) : QObject(parent) {}

void Document::notify(Change why, bool wasModified) {
    emit changed(why);
    if (wasModified != isModified()) emit modifiedChanged(isModified());
}

bool Document::edit(const std::string& label,
                    const std::function<void(DocumentRecord&)>& change) {
    DocumentRecord next = record();
    change(next);
    return commit(std::move(next), label);
}

bool Document::commit(DocumentRecord next, const std::string& label) {
    const bool was = isModified();
    if (!m_history.commit(std::move(next), label)) return false;
    notify(Change::Edit, was);
    return true;
}

bool Document::undo() {
    const bool was = isModified();
    if (!m_history.undo()) return false;
    notify(Change::Undo, was);
    return true;
}

bool Document::redo() {
    const bool was = isModified();
    if (!m_history.redo()) return false;
    notify(Change::Redo, was);
    return true;
}

void Document::reset(DocumentRecord record, const QString& projectPath) {
    const bool was = isModified();
    m_history.reset(std::move(record));
    m_projectPath = projectPath;
    notify(Change::Reset, was);
}

QString Document::displayName() const {
    if (m_projectPath.isEmpty()) return tr("無題");
    return QFileInfo(m_projectPath).fileName();
}

void Document::markSaved(const QString& projectPath) {
    const bool was = isModified();
    m_projectPath = projectPath;
    m_history.markSaved();
    if (was != isModified()) emit modifiedChanged(isModified());
}

void Document::markModified() {
    const bool was = isModified();
    m_history.markModified();
    if (was != isModified()) emit modifiedChanged(isModified());
}

}  // namespace qf

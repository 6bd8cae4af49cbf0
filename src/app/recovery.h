#pragma once
// Automatic recovery: while the document has unsaved changes, a copy of its
// record is kept in the user's state folder, replaced whole a moment after
// each change. A clean exit or a save removes it; after a crash the next
// start finds it and offers it back.
//
// Each running window writes its own file, recovery-<pid>-<start>.quillfen.json,
// and, from its first copy on, holds a lock beside it for as long as it runs.
// A recovery file whose lock nobody holds belongs to a process that ended
// without cleaning up. A window that never has unsaved work touches nothing.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

namespace qf {

class Document;
class Dialogs;
class ProjectController;

class RecoveryStore : public QObject {
    Q_OBJECT
public:
    // How long after a change the copy is written.
    static constexpr int kDelayMs = 1000;

    // $XDG_STATE_HOME/quillfen, else ~/.local/state/quillfen.
    static QString defaultFolder();

    explicit RecoveryStore(QString folder = defaultFolder(), QObject* parent = nullptr);
    ~RecoveryStore() override;

    // The recovery files other windows left behind, newest first. Call it
    // before watching a document: files found later are other windows'.
    QStringList orphans() const;
    // Removes an orphan (declined, or restored and now this window's own).
    static void remove(const QString& file);

    // Follows doc: unsaved changes are written kDelayMs after the first of
    // them; a document without unsaved changes has no file.
    void watch(Document& doc);
    // Writes (or removes) the file at once; the message when it failed.
    QString writeNow();
    // Removes this window's file: the work is saved or deliberately dropped.
    void discard();

    const QString& folder() const { return m_folder; }
    const QString& filePath() const { return m_file; }

private:
    // Makes the folder and takes this window's lock, before its first copy.
    void claim();

    QString m_folder;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    Document* m_doc = nullptr;
    QTimer m_timer;
    bool m_reportedFailure = false;
};

// At start: offers the newest orphan back ("restore", "discard", "later").
// Restoring opens it in the window as unsaved work of the project it came
// from; discarding removes the file; later keeps it for the next start.
// Returns whether a document was restored.
bool offerRecovery(RecoveryStore& store, ProjectController& projects, Dialogs& dialogs,
                   QWidget* parent);

}  // namespace qf

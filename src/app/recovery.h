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
//
// Pictures pasted from the clipboard are kept beside the copies, as
// recovery-<pid>-<start>-pasted-<n>.png, so that a copy naming one can be
// restored. The window removes its own at a clean exit; the next start
// removes those of windows that are gone which no copy names any more.
//
// The folder must be a directory of the user's own, not a link to one: the
// store makes it private, and restoring a copy puts its contents into the
// user's work. Copies of another user, or that others may change, are never
// offered.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/paste_store.h"
#include "project/project_file.h"

namespace qf {

class Document;
class Dialogs;
class OutputSink;
class ProjectController;

// An orphan that may be offered, as read.
struct RecoveryOffer {
    QString file;
    ProjectReadResult read;
};

class RecoveryStore : public QObject, public PasteStore {
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
    // The newest orphan that may be offered. On the way, copies of another
    // user or that others may change are passed over and damaged ones are
    // removed, and the output pane says which. None when the folder is
    // refused (which the pane says too) or nothing is left.
    std::optional<RecoveryOffer> nextOffer();

    // Where the store says what it refused, removed or passed over: the
    // output pane's first page. Without one it says nothing.
    void setOutput(OutputSink* output) { m_output = output; }

    // Follows doc: unsaved changes are written kDelayMs after the first of
    // them; a document without unsaved changes has no file.
    void watch(Document& doc);
    // Writes (or removes) the file at once; the message when it failed or
    // the folder is refused.
    QString writeNow();
    // Removes this window's file: the work is saved or deliberately dropped.
    void discard();

    // PasteStore: pasted pictures kept in the folder; in a temporary one,
    // which a crash loses (the note says so), when the folder is refused.
    Kept keep(const cv::Mat& picture) override;
    bool holds(const QString& path) const override;

    const QString& folder() const { return m_folder; }
    const QString& filePath() const { return m_file; }

private:
    // Makes the folder private and takes this window's lock, before its
    // first copy; why not when the folder is refused.
    QString claim();
    // Why the folder may not hold copies, empty when it may. A folder that
    // does not exist passes; taking it makes it private.
    QString folderProblem(bool take) const;
    void refuse(const QString& why);
    void say(const QStringList& lines);
    // Removes pasted pictures of windows that are gone which no copy names.
    void sweepPastedPictures() const;

    QString m_folder;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    Document* m_doc = nullptr;
    QTimer m_timer;
    OutputSink* m_output = nullptr;
    bool m_reportedFailure = false;
    bool m_reportedRefusal = false;
    int m_pasted = 0;                       // pictures pasted in this window
    TemporaryPasteStore m_pastedElsewhere;  // when the folder is refused
};

// At start: offers the newest orphan that may be offered ("restore",
// "discard", "later"); see nextOffer.
// Restoring opens it in the window as unsaved work of the project it came
// from; discarding removes the file; later keeps it for the next start.
// Returns whether a document was restored.
bool offerRecovery(RecoveryStore& store, ProjectController& projects, Dialogs& dialogs,
                   QWidget* parent);

}  // namespace qf

#pragma once
// The open document and everything the window does with it as a whole: new,
// open and save of projects, opening pictures into it, the recent projects,
// undo and redo, the title, and asking before unsaved work is dropped.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/paste_store.h"
#include "document/document.h"
#include "imaging/image_pair.h"
#include "project/project_file.h"

namespace qf {

class MainWindow;
class SettingsPane;
class ImageView;
class Dialogs;

class ProjectController : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentLimit = 8;

    ProjectController(MainWindow& frame, ImageView& view, SettingsPane& pane, Dialogs& dialogs);

    Document& document() { return m_doc; }

    // A file named on the command line or dropped: a project by its name
    // (".quillfen.json", or any ".json"), else a picture.
    bool openPath(const QString& path);
    // A picture into the document: read completely first, so that one that
    // cannot be read changes nothing and says why.
    bool openPicture(const QString& path);
    // The picture on the clipboard, as openPicture opens a file: a file named
    // there, or the image data, kept by the paste store until the project is
    // saved with it.
    bool pastePicture();
    // Where pasted pictures are kept (the recovery folder, so that a crash
    // does not lose them); without one, a temporary folder of this window.
    void setPasteStore(PasteStore* store) { m_pasteStore = store; }
    // Whether the document's picture at path was pasted (and has no file of
    // the user's yet).
    bool isPasted(const QString& path) const;
    // A recovery file: its record, with its picture, as unsaved work of the
    // project it names (or of an untitled one).
    bool restoreRecovery(const QString& file);
    bool saveAs();

    QStringList recentProjects() const;

signals:
    // A project with its picture is shown as it was saved; what is derived
    // from the record (the fit) may be made again.
    void projectShown();

private:
    bool save();
    bool openProject(const QString& path);
    void newProject();
    // Offers to save unsaved changes: true when the caller may go on (saved
    // or discarded), false when the user cancelled.
    bool confirmDiscard();
    // askPicture: a pasted picture is written beside the project under a
    // name asked anew, even when an earlier save of it wrote one.
    bool saveTo(const QString& path, bool askPicture = false);
    // The PNG file beside the project file that a pasted picture is saved
    // as: the one written before, or one the user names now. Empty when
    // the user cancelled or it could not be written (said).
    QString savedPastedPicture(const QString& pasted, const QString& projectFile, bool ask);
    // A picture just read (or pasted) into the document, as "open picture"
    // does it: the keep/new question when there are points, one undoable step.
    bool showPicture(PictureRead read, const QString& path, std::optional<int> page, int dpi);
    PasteStore& pasteStore();
    // The picture a proposed name is made from: none for a pasted one,
    // whose file is the store's.
    QString namingPicture() const;
    // Shows a project's record and its picture (image entry resolved against
    // file) as the document of projectPath; nothing changes when the picture
    // cannot be read.
    bool showProject(const ProjectReadResult& read, const QString& file,
                     const QString& projectPath);
    void addRecent(const QString& path);
    void refreshRecentMenu();
    void updateTitle();
    // The undo and redo commands name the step they would take back or make
    // again, in the menu and the tooltip.
    void updateUndoTexts();
    // What the title and the questions call the document.
    QString documentName() const;
    // Shows a new document: results of the old one cleared, the record shown.
    void startDocument(DocumentRecord record, const QString& projectPath);
    // A project that asks for extractions: each series' extracted points go
    // before its listed ones, or the user is told why none were found.
    void extractOnOpen(const QString& projectPath);

    MainWindow& m_frame;
    ImageView& m_view;
    Dialogs& m_dialogs;
    Document m_doc;
    QString m_pictureTitle;  // the picture's file name, for the title
    PasteStore* m_pasteStore = nullptr;
    std::unique_ptr<PasteStore> m_ownPasteStore;  // when no store was given
    // Pasted pictures already saved beside a project: pasted -> PNG written.
    QHash<QString, QString> m_savedPastes;
};

}  // namespace qf

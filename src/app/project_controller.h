#pragma once
// The open document and everything the window does with it as a whole: new,
// open and save of projects, opening pictures into it, the recent projects,
// undo and redo, the title, and asking before unsaved work is dropped.

#include <QObject>
#include <QString>
#include <QStringList>

#include "document/document.h"
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
    bool saveTo(const QString& path);
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
};

}  // namespace qf

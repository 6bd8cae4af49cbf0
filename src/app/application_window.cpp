#include "app/application_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include "app/output_pane.h"
#include "app/project_controller.h"
#include "app/results_controller.h"
#include "app/series_controller.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "settings/settings_pane.h"
#include "ui/dialogs.h"
#include "view/image_view.h"

namespace qf {

namespace {

// QUILLFEN_QUIT_WHEN_SHOWN=1 ends the program once the view has painted for
// the first time (with the picture named on the command line, if any): the
// benchmarks time a whole start that way, as a user would see it.
class QuitWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // exit, not quit: quit would close the window, which asks to save.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

// The largest picture the window opens, from the settings store's
// "MaxPictureMegapixels" (group "Workspace"); the built-in limit without one.
void applyPictureLimit(QSettings& store) {
    bool ok = false;
    const qlonglong megapixels =
        store.value(QStringLiteral("Workspace/") + QLatin1String(kMaxPictureMegapixelsKey))
            .toLongLong(&ok);
    // Missing or not a sensible number: the built-in limit.
    setMaxPicturePixels(ok && megapixels >= 1 && megapixels <= 10000 ? megapixels * 1'000'000 : 0);
}

}  // namespace

ApplicationWindow::ApplicationWindow(Dialogs& dialogs, const CameraSourceMap& cameras)
    : m_view(new ImageView(dialogs)), m_properties(new SettingsPane(dialogs)) {
    m_view->setCameraSources(cameras);
    applyPictureLimit(*openWorkspaceStore());
    // The loupe as it was left (on unless switched off).
    m_view->state().showMagnifier =
        openWorkspaceStore()->value(QStringLiteral("Workspace/Magnifier"), true).toBool() ? 1 : 0;
    QObject::connect(m_view, &ImageView::magnifierSwitched, [](bool on) {
        openWorkspaceStore()->setValue(QStringLiteral("Workspace/Magnifier"), on);
    });
    m_frame.setView(m_view, m_view);
    m_view->setOutputPane(m_frame.outputPane());
    m_frame.setPropertiesPane(m_properties);
    // The pane's fit button runs the fit as the menu does. Its edits change
    // the document, which the view follows; from the first accepted edit on,
    // a font chosen in the pane is the view's label font at once.
    MainWindow* frame = &m_frame;
    ImageView* view = m_view;
    SettingsPane* pane = m_properties;
    m_properties->setCommandSink([frame, view, pane](int id) {
        if (id == ID_FIT_RUN)
            frame->triggerCommand(id);
        else if (id == ID_PROPERTY_ITEM_CHANGED)
            pane->setLabelFont(view->labelFontTarget());
        else
            frame->routeCommand(id);
    });
    m_projects = new ProjectController(m_frame, *m_view, *m_properties, dialogs);
    m_results = new ResultsController(m_frame, *m_view, dialogs);
    m_series =
        new SeriesController(m_frame, *m_view, m_projects->document(), dialogs, m_properties);
    // The point list's context menu moves the selected point to another series.
    m_frame.outputPane()->addSourcePointAction(m_frame.action(ID_SERIES_MOVE_POINT));
    QObject::connect(m_projects, &ProjectController::projectShown, m_results,
                     &ResultsController::fitOnOpen);
    ProjectController* projects = m_projects;
    m_results->setPastedTest([projects](const QString& path) { return projects->isPasted(path); });
    // The view's menu: what comes into it from outside.
    QObject::connect(m_view, &ImageView::contextMenuRequested, &m_frame, [frame](QPoint at) {
        frame->refreshCommands();
        QMenu menu(frame);
        for (int id :
             {int(ID_EDIT_PASTE), int(ID_FILE_OPEN), 0, int(ID_EDIT_UNDO), int(ID_EDIT_REDO)})
            if (id == 0)
                menu.addSeparator();
            else if (QAction* a = frame->action(id))
                menu.addAction(a);
        menu.exec(at);
    });
    m_properties->setFitEnabledProbe([frame] { return frame->isCommandEnabled(ID_FIT_RUN); });
    QObject::connect(m_view, &ImageView::stateChanged, m_properties, &SettingsPane::refreshToolbar);
    QObject::connect(m_view, &ImageView::stateChanged, &m_frame, &MainWindow::refreshCommands);
    QObject::connect(m_view, &ImageView::pointerStatus, &m_frame, &MainWindow::setPointerStatus);
    QObject::connect(m_view, &ImageView::statusMessage, &m_frame,
                     [frame](const QString& text) { frame->statusBar()->showMessage(text, 8000); });
    // Menus, panes and dialogs are built in one language at start; a new
    // choice waits for the next start, and the window says so.
    QObject::connect(&m_frame, &MainWindow::languageChosen, &m_frame, [frame, &dialogs](int) {
        dialogs.message(frame,
                        QCoreApplication::translate(
                            "qf::ApplicationWindow",
                            "表示言語は、Quillfen を次に起動したときに切り替わります。"),
                        MessageIcon::Information);
    });
    m_frame.refreshCommands();
    if (qEnvironmentVariableIntValue("QUILLFEN_QUIT_WHEN_SHOWN") == 1)
        m_view->viewport()->installEventFilter(new QuitWhenShown(m_view));
}

ApplicationWindow::~ApplicationWindow() {
    // The frame is torn down next; an edit still open in the pane ends on the
    // way and must not reach the half-destroyed frame.
    m_properties->setCommandSink({});
}

}  // namespace qf

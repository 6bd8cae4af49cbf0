// quillfen: the window, the batch mode that replays a project file, or the
// automatic mode that reads pictures into projects.

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QSettings>
#include <cstdio>
#include <iostream>

#include "app/application_window.h"
#include "app/command_line.h"
#include "app/language.h"
#include "app/main_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "app/recovery.h"
#include "imaging/picture_memory.h"
#include "project/auto_set.h"
#include "project/batch.h"
#include "project/batch_command.h"
#include "view/image_view.h"
#include "view/qt_dialogs.h"

namespace {

// The language chosen in the view menu, else the system's.
QString userLanguage() {
    return qf::interfaceLanguage(qf::storedLanguageChoice(*qf::openWorkspaceStore()),
                                 QLocale::system());
}

}  // namespace

int main(int argc, char** argv) {
    // Large pictures in huge-page blocks, in the window and the batch mode.
    qf::usePageBuffersForPictures();
    const qf::CommandLine cl = qf::parseCommandLine({argv + 1, argv + argc});
    using Action = qf::CommandLine::Action;
    switch (cl.action) {
        case Action::Help:
            std::cout << qf::usageText();
            return 0;
        case Action::Version:
            std::cout << qf::versionText();
            return 0;
        case Action::Error:
            std::cerr << "quillfen: " << cl.error
                      << "\nTry 'quillfen --help' for more information.\n";
            return qf::BatchUsage;
        case Action::Batch:
            // Reports and messages in the window's language; the files are
            // the same in every language.
            return qf::runBatchCommand(argc, argv,
                                       {cl.projectPaths, cl.outDir, cl.jobs, cl.json,
                                        cl.maxPicturePixels, cl.utf8Csv, cl.wideCsv, cl.images},
                                       [] { qf::installTranslations(userLanguage()); });
        case Action::Auto: {
            qf::AutoOptions chart;
            chart.fit.modelKind = cl.model;
            chart.fit.degree = cl.degree;
            const qf::AutoSetOptions o{.pictures = cl.picturePaths,
                                       .outDir = cl.outDir,
                                       .jobs = cl.jobs,
                                       .json = cl.json,
                                       .maxPicturePixels = cl.maxPicturePixels,
                                       .utf8Csv = cl.utf8Csv,
                                       .wideCsv = cl.wideCsv,
                                       .chart = chart};
            return qf::runOffscreenCommand(
                argc, argv,
                [&o](std::ostream& out, std::ostream& err) { return qf::runAutoSet(o, out, err); },
                [] { qf::installTranslations(userLanguage()); });
        }
        case Action::Window:
            break;
    }
    QApplication app(argc, argv);
    // Ties the window to quillfen.desktop (its icon and task-bar grouping).
    QGuiApplication::setDesktopFileName(QStringLiteral("quillfen"));
    // The language chosen in the view menu, else the system's; before any
    // window exists, since menus and panes take their texts as they are built.
    qf::installTranslations(userLanguage());
    qf::QtDialogs dialogs;
    qf::ApplicationWindow window(dialogs, qf::resolveCameraSources(cl.cameraSources));
    qf::MainWindow& frame = window.frame();
    // The last session's placement and bars; closing the window saves them.
    frame.restoreLayout(*qf::openWorkspaceStore());
    frame.show();
    // Unsaved work is copied aside as it is made; work a crashed window left
    // there is offered back before anything else is opened.
    qf::RecoveryStore recovery;
    recovery.setOutput(frame.outputPane());
    recovery.watch(window.projects().document());
    window.projects().setPasteStore(&recovery);
    offerRecovery(recovery, window.projects(), dialogs, &frame);
    if (!cl.imagePath.empty()) window.projects().openPath(QString::fromStdString(cl.imagePath));
    return app.exec();
}

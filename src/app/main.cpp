// quillfen: the window, or the batch mode that replays a project file.

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <iostream>

#include "app/application_window.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "project/batch.h"
#include "view/qt_dialogs.h"
#include "view/zelk_view.h"

int main(int argc, char** argv) {
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
            return 2;
        case Action::Batch: {
            // Text and pictures are drawn off screen: no display is needed, and
            // Qt's notes about the desktop session are not the user's business.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    std::fprintf(stderr, "quillfen: %s\n", m.toLocal8Bit().constData());
            });
            QGuiApplication app(argc, argv);
            return qf::runBatch({cl.projectPath, cl.outDir, cl.maxPicturePixels}, std::cout,
                                std::cerr);
        }
        case Action::Window:
            break;
    }
    QApplication app(argc, argv);
    // Ties the window to quillfen.desktop (its icon and task-bar grouping).
    QGuiApplication::setDesktopFileName(QStringLiteral("quillfen"));
    qf::QtDialogs dialogs;
    qf::ApplicationWindow window(dialogs, qf::resolveCameraSources(cl.cameraSources));
    qf::CMainFrame& frame = window.frame();
    // The last session's placement and bars; closing the window saves them.
    frame.restoreLayout(*qf::openWorkspaceStore());
    frame.show();
    if (!cl.imagePath.empty()) window.view().loadImage(QString::fromStdString(cl.imagePath));
    return app.exec();
}

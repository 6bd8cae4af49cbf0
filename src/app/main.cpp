// quillfen: the window, or the batch mode that replays a project file.

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <iostream>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "project/batch.h"
#include "view/dialogs.h"
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
            return qf::runBatch({cl.projectPath, cl.outDir}, std::cout, std::cerr);
        }
        case Action::Window:
            break;
    }
    QApplication app(argc, argv);
    qf::QtDialogs dialogs;
    qf::CMainFrame frame;
    auto* view = new qf::CZelkView(dialogs);
    frame.setView(view, view);
    view->setOutputPane(frame.outputPane());
    QObject::connect(view, &qf::CZelkView::titleChanged, &frame, [&frame](const QString& title) {
        frame.setWindowTitle(title + " - Quillfen");
    });
    QObject::connect(view, &qf::CZelkView::stateChanged, &frame, &qf::CMainFrame::refreshCommands);
    frame.setWindowTitle("Quillfen");
    frame.show();
    frame.refreshCommands();
    if (!cl.imagePath.empty()) view->loadImage(QString::fromStdString(cl.imagePath));
    return app.exec();
}

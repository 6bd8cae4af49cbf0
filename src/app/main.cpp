// quillfen: the window, or the batch mode that replays a project file.

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <iostream>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "project/batch.h"
#include "settings/properties_wnd.h"
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
    // Ties the window to quillfen.desktop (its icon and task-bar grouping).
    QGuiApplication::setDesktopFileName(QStringLiteral("quillfen"));
    qf::QtDialogs dialogs;
    qf::CMainFrame frame;
    auto* view = new qf::CZelkView(dialogs);
    view->setCameraSources(qf::resolveCameraSources(cl.cameraSources));
    frame.setView(view, view);
    view->setOutputPane(frame.outputPane());
    auto* properties = new qf::CPropertiesWnd(dialogs);
    frame.setPropertiesPane(properties);
    view->setPropertiesPane(properties);
    // The pane's fit button runs the fit as the menu does; its edits reach the view.
    properties->setCommandSink([&frame](int id) {
        if (id == qf::ID_FIT_RUN)
            frame.triggerCommand(id);
        else
            frame.routeCommand(id);
    });
    properties->setFitEnabledProbe([&frame] { return frame.isCommandEnabled(qf::ID_FIT_RUN); });
    QObject::connect(view, &qf::CZelkView::stateChanged, properties,
                     &qf::CPropertiesWnd::refreshToolbar);
    QObject::connect(view, &qf::CZelkView::titleChanged, &frame, [&frame](const QString& title) {
        frame.setWindowTitle(title + " - Quillfen");
    });
    QObject::connect(view, &qf::CZelkView::stateChanged, &frame, &qf::CMainFrame::refreshCommands);
    frame.setWindowTitle("Quillfen");
    // The last session's placement and bars; closing the window saves them.
    frame.restoreLayout(*qf::openWorkspaceStore());
    frame.show();
    frame.refreshCommands();
    if (!cl.imagePath.empty()) view->loadImage(QString::fromStdString(cl.imagePath));
    const int status = app.exec();
    // The frame is torn down next; an edit still open in the pane must not
    // reach it on the way.
    properties->setCommandSink({});
    return status;
}

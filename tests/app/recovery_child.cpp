// A window session for the recovery test to kill: it opens a picture, saves
// it as a project, goes on editing, writes down the record it holds, and then
// waits for its end.
//   recovery_child FOLDER PICTURE PROJECT RECORD

#include <QApplication>
#include <QTest>
#include <cstdio>

#include "app/application_window.h"
#include "app/project_controller.h"
#include "app/recovery.h"
#include "common/atomic_file.h"
#include "project/project_file.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"
#include "window_driver.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: recovery_child FOLDER PICTURE PROJECT RECORD\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qf::testing_support::FakeDialogs dialogs;
    qf::ApplicationWindow w(dialogs, qf::CameraSourceMap{});
    qf::RecoveryStore store(QString::fromLocal8Bit(argv[1]));
    store.watch(w.projects().document());
    w.frame().resize(900, 650);
    w.frame().show();
    if (!QTest::qWaitForWindowExposed(&w.frame())) return 3;
    if (!w.projects().openPicture(QString::fromLocal8Bit(argv[2]))) return 4;

    w.frame().triggerCommand(qf::ID_ADD_POINTS);
    qf::testing_support::clickOnView(w.view(), {50, 80});
    dialogs.saveAnswers = {QString::fromLocal8Bit(argv[3])};
    if (!w.projects().saveAs()) return 5;

    // Unsaved from here on.
    qf::testing_support::clickOnView(w.view(), {80, 70});
    qf::testing_support::clickOnView(w.view(), {110, 50});
    w.frame().triggerCommand(qf::ID_MAPPING_CORNERS);
    qf::testing_support::dragOnView(w.view(), {140, 100}, {131, 96});
    w.frame().triggerCommand(qf::ID_MAPPING_RUN);
    qf::testing_support::enterInPane(*w.properties().grid(), qf::PanelItem::YMax, "40");
    const std::string text = qf::projectText(w.projects().document().record());
    if (!qf::writeFileAtomically(argv[4], text).ok) return 6;
    return app.exec();
}

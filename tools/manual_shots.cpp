// Makes the pictures of the user's guide (docs/manual/images/) with the
// program itself: the window on the bundled sample, fitted, in one language.
//
//   QT_QPA_PLATFORM=offscreen manual_shots ja|en SAMPLE.quillfen.json OUT.png QM_FOLDER
//
// The settings store is a throw-away folder, so the shot shows the built-in
// layout whatever the user's own store holds.

#include <QApplication>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/application_window.h"
#include "app/language.h"
#include "app/project_controller.h"
#include "view/qt_dialogs.h"
#include "view/image_view.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: manual_shots ja|en SAMPLE.quillfen.json OUT.png QM_FOLDER\n");
        return 2;
    }
    QTemporaryDir store;
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (auto scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, store.path());
    QApplication app(argc, argv);
    if (!qf::installTranslations(QString::fromLocal8Bit(argv[1]),
                                 {QString::fromLocal8Bit(argv[4])})) {
        std::fprintf(stderr, "manual_shots: no translation %s in %s\n", argv[1], argv[4]);
        return 1;
    }
    qf::QtDialogs dialogs;
    qf::ApplicationWindow window(dialogs, {});
    qf::MainWindow& frame = window.frame();
    frame.resize(980, 820);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame)) return 1;
    if (!window.projects().openPath(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "manual_shots: cannot open %s\n", argv[2]);
        return 1;
    }
    frame.triggerCommand(qf::ID_FIT_RUN);
    // The panes settle first, so the picture is fitted to the view it gets.
    QTest::qWait(200);
    frame.triggerCommand(qf::ID_ZOOM_FIT);
    QTest::qWait(50);
    if (!frame.grab().save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "manual_shots: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

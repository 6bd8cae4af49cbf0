// The floor for a Qt Widgets program: a main window with a menu bar, a
// status bar and one widget, shown, and ended after its first paint; with
// --version, only the version printed. bench_process measures the program
// against it as whole processes.

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

class QuitAfterPaint : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* e) override {
        QLabel::paintEvent(e);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("minimal_window 1\n");
        return 0;
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.setCentralWidget(new QuitAfterPaint(QStringLiteral("minimal")));
    window.resize(1000, 800);
    window.show();
    return app.exec();
}

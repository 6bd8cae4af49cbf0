// From nothing to a shown window with a picture named on the command line:
// the main frame and the view are built, the picture is read and the first
// paint of the viewport is done, for an 8000 x 6000 photograph against a
// 640 x 480 one. Reading and decoding the file grows with the picture; what
// the window does with it should not.
//
// The process start (loading libraries, the QApplication) is the same for
// both sizes and happens once, before the timed part.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "app/main_window.h"
#include "app/output_pane.h"
#include "imaging/image_file.h"
#include "imaging/picture_memory.h"
#include "view/qt_dialogs.h"
#include "view/image_view.h"

namespace {

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// A photographed chart: a shaded background with grid lines and a curve, so
// the JPEG is of a realistic size, not noise.
std::string chartFile(int w, int h) {
    const std::string path =
        QDir(workDir().path()).filePath(QString("chart-%1.jpg").arg(w)).toStdString();
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) m.row(y).setTo(cv::Scalar(200 + 40 * y / h, 210, 230 - 30 * y / h));
    for (int k = 1; k < 10; ++k) {
        cv::line(m, {w * k / 10, 0}, {w * k / 10, h}, cv::Scalar(120, 120, 120), 1 + w / 1000);
        cv::line(m, {0, h * k / 10}, {w, h * k / 10}, cv::Scalar(120, 120, 120), 1 + w / 1000);
    }
    for (int x = 1; x < w; x += 4) {
        const auto f = [&](int px) { return h - 1 - (h - 1) * px / w * px / w; };
        cv::line(m, {x - 4, f(x - 4)}, {x, f(x)}, cv::Scalar(30, 30, 200), 2 + w / 800);
    }
    cv::imwrite(path, m);
    return path;
}

const std::string& fileOf(int w) {
    static const std::string big = chartFile(8000, 6000);
    static const std::string small = chartFile(640, 480);
    return w == 8000 ? big : small;
}

// What main() does for a window, up to the first paint.
void BM_startup(benchmark::State& state) {
    const QString path = QString::fromStdString(fileOf(static_cast<int>(state.range(0))));
    qf::QtDialogs dialogs;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        {
            qf::MainWindow frame;
            auto* view = new qf::ImageView(dialogs);
            frame.setView(view, view);
            view->setOutputPane(frame.outputPane());
            frame.show();
            frame.refreshCommands();
            // The picture read and shown as the window opens it.
            qf::PictureRead read = qf::readPicture(path.toStdString());
            view->showOpenedPicture(std::move(read.picture), path,
                                    QString::fromStdString(read.title), read.warning);
            view->viewport()->repaint();
            QApplication::processEvents();
            state.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        QApplication::processEvents();  // the frame's deferred deletions, untimed
    }
}

// Only the decoding of the same file, with the codec the program reads it
// with, which any program must pay.
void BM_decodeOnly(benchmark::State& state) {
    const std::string& path = fileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        cv::Mat m = qf::readImageFile(path);
        benchmark::DoNotOptimize(m.data);
    }
}

class TimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes (it cannot raise a window) are not results.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    qf::usePageBuffersForPictures();  // as the program does
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (int w : {8000, 640}) {
        benchmark::RegisterBenchmark("BM_startup", BM_startup)
            ->Arg(w)
            ->ArgName("width")
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_decodeOnly", BM_decodeOnly)
            ->Arg(w)
            ->ArgName("width")
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
    }
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto t = [&](const std::string& name) { return reporter.times[name]; };
    const double big = t("BM_startup/width:8000/iterations:5/manual_time");
    const double small = t("BM_startup/width:640/iterations:5/manual_time");
    const double decodeBig = t("BM_decodeOnly/width:8000/iterations:5");
    const double decodeSmall = t("BM_decodeOnly/width:640/iterations:5");
    std::printf("shown window 8000x6000 %.1f ms, 640x480 %.1f ms\n", big, small);
    std::printf("shown window 8000x6000/640x480: ratio %.2f\n", big / small);
    std::printf("shown window beyond decoding 8000x6000 %.1f ms, 640x480 %.1f ms\n",
                big - decodeBig, small - decodeSmall);
    std::printf("shown window 8000x6000/decoding alone: ratio %.2f\n", big / decodeBig);
    return 0;
}

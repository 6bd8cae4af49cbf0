// The document's history on a large photograph (8000 x 6000): what 1000 steps
// cost in memory (a step holds the record, never a picture), and what one
// undo costs against making the change it takes back. The anchor is running
// the four-corner mapping once, the dearest thing a step can ask of the
// pictures.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <unistd.h>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "app/application_window.h"
#include "app/project_controller.h"
#include "bench_support.h"
#include "common/view_transform.h"
#include "view/image_view.h"
#include "view/qt_dialogs.h"

namespace {

using Clock = std::chrono::steady_clock;

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

struct Fixture {
    QTemporaryDir dir;
    qf::QtDialogs dialogs;
    qf::ApplicationWindow window{dialogs, qf::CameraSourceMap{}};

    Fixture() {
        const QString path = dir.filePath("photo.jpg");
        cv::Mat m(6000, 8000, CV_8UC3, cv::Scalar(225, 232, 238));
        for (int k = 1; k < 10; ++k) {
            cv::line(m, {800 * k, 0}, {800 * k, 6000}, cv::Scalar(120, 120, 120), 9);
            cv::line(m, {0, 600 * k}, {8000, 600 * k}, cv::Scalar(120, 120, 120), 9);
        }
        cv::imwrite(path.toStdString(), m);
        window.frame().resize(1200, 800);
        window.frame().show();
        (void)QTest::qWaitForWindowExposed(&window.frame());
        window.projects().openPicture(path);
        // The whole photograph in the view, corners included.
        for (int i = 0; i < 4; ++i) command(qf::ID_ZOOM_OUT);
        QApplication::processEvents();
    }
    qf::Document& doc() { return window.projects().document(); }
    void command(int id) {
        window.frame().triggerCommand(id);
        QApplication::processEvents();
    }
    // A corner dragged by the mouse a few pixels to and fro, as one step.
    void moveCorner(int step) {
        command(qf::ID_MAPPING_CORNERS);
        QWidget* port = window.view().viewport();
        const qf::ViewState& s = window.view().state();
        const qf::IntPoint c = qf::CellCentreOf(s.transform, s.doc.mapping.corners[0]);
        const QPoint from(c.x, c.y);
        const QPoint to = from + (step % 2 ? QPoint(3, 2) : QPoint(-3, -2));
        QTest::mousePress(port, Qt::LeftButton, {}, from);
        QTest::mouseMove(port, to);
        QTest::mouseRelease(port, Qt::LeftButton, {}, to);
    }
};

Fixture* g_fixture = nullptr;  // made on first use, gone before the application

Fixture& fixture() {
    if (!g_fixture) g_fixture = new Fixture;
    return *g_fixture;
}

double g_growthMiB = NAN;

// 1000 steps, each a corner moved by the mouse, then all undone and redone.
void BM_historyMemory(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.doc().reset(f.doc().record());
        QApplication::processEvents();
        malloc_trim(0);
        const double before = residentMiB();
        for (int i = 0; i < 1000; ++i) f.moveCorner(i);
        while (f.doc().undo()) {
        }
        while (f.doc().redo()) {
        }
        QApplication::processEvents();
        malloc_trim(0);
        g_growthMiB = residentMiB() - before;
        state.counters["steps"] = static_cast<double>(f.doc().history().undoCount());
        if (f.doc().history().undoCount() != 1000) state.SkipWithError("the drags made no steps");
    }
    state.counters["growth_MiB"] = g_growthMiB;
}
BENCHMARK(BM_historyMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The anchor: the mapping run once on the photograph.
void BM_mappingRun(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        f.command(qf::ID_MAPPING_RUN);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        state.PauseTiming();
        f.doc().undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// With the mapping applied, a corner moved and that move undone.
void BM_undoCornerMove(benchmark::State& state) {
    Fixture& f = fixture();
    f.command(qf::ID_MAPPING_RUN);
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.moveCorner(i++);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        f.command(qf::ID_EDIT_UNDO);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    f.doc().undo();  // the mapping
    QApplication::processEvents();
}

// The mapping run undone: the picture goes back to the input.
void BM_undoMappingRun(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.command(qf::ID_MAPPING_RUN);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        f.command(qf::ID_EDIT_UNDO);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
}

constexpr int kRepetitions = 5;
BENCHMARK(BM_mappingRun)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->Iterations(3)
    ->ComputeStatistics("min", qf::bench::fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_undoCornerMove)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->Iterations(3)
    ->ComputeStatistics("min", qf::bench::fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_undoMappingRun)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->Iterations(3)
    ->ComputeStatistics("min", qf::bench::fastest)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    qf::bench::MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double mapping = reporter.time("BM_mappingRun");
    std::printf("\nundo history, 1000 steps on 8000x6000: %.2f MiB more resident\n", g_growthMiB);
    std::printf("history growth / 10 MiB (target <= 1): %.2f\n", g_growthMiB / 10.0);
    std::printf("undo corner move (mapping applied) / mapping run (target <= 1.1): %.3f\n",
                reporter.time("BM_undoCornerMove") / mapping);
    std::printf("undo mapping run / mapping run: %.2f\n",
                reporter.time("BM_undoMappingRun") / mapping);
    benchmark::Shutdown();
    delete g_fixture;
    return 0;
}

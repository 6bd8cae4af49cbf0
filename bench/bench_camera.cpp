// One camera tick as the view runs it every 66 ms: read a 1280 x 720 frame
// from the "camera" (a video file written at start), rebuild the output by the
// processing, and repaint a 1000 x 800 viewport. Reported as the fraction of
// the tick interval it takes ("tick_fraction"), against the bare
// cv::VideoCapture::read of the same file.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>
#include <string>
#include <vector>

#include "bench_support.h"
#include "graph/renderer.h"
#include "imaging/camera_source.h"
#include "imaging/picture_memory.h"
#include "view/camera_controller.h"
#include "view/paint/view_paint.h"

namespace {

using qf::bench::fastest;
using qf::bench::MinReporter;

constexpr qf::IntSize kClient{1000, 800};
constexpr int kFrames = 60;
const double kTickSeconds = qf::kCameraIntervalMs / 1000.0;

std::string& videoPath() {
    static std::string path;
    return path;
}

// A chart under a moving hand-held camera: shaded paper, grid, a curve, noise.
cv::Mat frameAt(int i) {
    cv::Mat m(720, 1280, CV_8UC3);
    for (int y = 0; y < m.rows; ++y) {
        auto* row = m.ptr<cv::Vec3b>(y);
        for (int x = 0; x < m.cols; ++x) {
            const int gx = x + 2 * i;
            const int gy = y + i;
            const bool grid = gx % 80 < 2 || gy % 60 < 2;
            const auto v = static_cast<uint8_t>(grid ? 70 : 190 + (x + y) * 50 / 2000);
            row[x] = cv::Vec3b(v, static_cast<uint8_t>(v - 5), static_cast<uint8_t>(v - 12));
        }
    }
    std::vector<cv::Point> curve;
    for (int x = 0; x < m.cols; x += 8)
        curve.emplace_back(x, 600 - static_cast<int>(400 * std::sin((x + 4 * i) / 300.0)));
    cv::polylines(m, curve, false, cv::Scalar(30, 30, 200), 3);
    cv::Mat noise(m.size(), CV_8UC3);
    cv::randu(noise, cv::Scalar::all(0), cv::Scalar::all(10));
    return m + noise;
}

// MJPG in AVI, which Debian's OpenCV writes through FFmpeg; whatever a
// webcam delivers compressed is decoded the same way.
bool writeVideo(const std::string& path) {
    cv::VideoWriter writer(path, cv::CAP_FFMPEG, cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 15.0,
                           cv::Size(1280, 720));
    if (!writer.isOpened()) return false;
    cv::theRNG().state = 11;
    for (int i = 0; i < kFrames; ++i) writer << frameAt(i);
    return true;
}

// Wall time per tick over the interval: the tick holds the user interface
// however the decoder spreads its work over threads.
void reportTickFraction(benchmark::State& state) {
    state.counters["tick_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTickSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Argument: the display source (1 the frame, 2 its black-and-white processing).
void BM_cameraTick(benchmark::State& state) {
    qf::ViewState s;
    s.display.displaySource = static_cast<int>(state.range(0));
    QImage viewport(kClient.cx, kClient.cy, QImage::Format_RGB32);
    const QFont font = qf::defaultLabelFont();
    qf::CameraController camera(
        s,
        [&] {
            QPainter painter(&viewport);
            qf::paintView(painter, s, kClient, qf::DisplayColours{}, font);
        },
        nullptr);
    camera.setSourceMap({videoPath(), "", "", ""});
    camera.toggleDevice(0);
    camera.grabFrame(0);  // the first tick builds the output
    if (!camera.running(0) || s.images.outputImage.empty()) {
        state.SkipWithError("the video cannot be played as a camera");
        return;
    }
    for (auto _ : state) {
        camera.grabFrame(0);
        benchmark::DoNotOptimize(viewport.constBits());
        benchmark::ClobberMemory();
    }
    reportTickFraction(state);
}

// The anchor: what reading the frame alone costs, rewinding at the end as the
// camera does.
void BM_bareRead(benchmark::State& state) {
    cv::VideoCapture capture(videoPath(), cv::CAP_ANY);
    cv::Mat frame;
    if (!capture.read(frame)) {
        state.SkipWithError("the video cannot be read");
        return;
    }
    for (auto _ : state) {
        if (!capture.read(frame)) {
            capture.set(cv::CAP_PROP_POS_FRAMES, 0);
            capture.read(frame);
        }
        benchmark::DoNotOptimize(frame.data);
        benchmark::ClobberMemory();
    }
    reportTickFraction(state);
}

void registerAll() {
    for (int source : {1, 2}) {
        benchmark::RegisterBenchmark("BM_cameraTick", BM_cameraTick)
            ->Arg(source)
            ->ArgName("display")
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ComputeStatistics("min", fastest);
    }
    benchmark::RegisterBenchmark("BM_bareRead", BM_bareRead)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ComputeStatistics("min", fastest);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts for the labels
    qf::usePageBuffersForPictures();  // as the program does
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("quillfen_bench_camera_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    videoPath() = (dir / "camera.avi").string();
    if (!writeVideo(videoPath())) {
        std::fprintf(stderr, "bench_camera: cannot write an MJPG video with this OpenCV\n");
        std::filesystem::remove_all(dir);
        return 1;
    }

    registerAll();
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);

    const double read = reporter.time("BM_bareRead");
    for (int source : {1, 2}) {
        const double tick = reporter.time("BM_cameraTick/display:" + std::to_string(source));
        std::printf("camera tick 1280x720 (display %d) %.2f ms, bare read %.2f ms\n", source, tick,
                    read);
        std::printf("camera tick (display %d)/%d ms interval: %.3f\n", source,
                    qf::kCameraIntervalMs, tick / qf::kCameraIntervalMs);
        std::printf("camera tick (display %d)/bare read time ratio: %.2f\n", source, tick / read);
    }
    return 0;
}

// A long camera run holds steady: 10,000 ticks of a "camera" played from a
// video file (it starts over at its end), each tick reading a frame, running
// the processing and the mapping and repainting a 1000 x 800 viewport, as the
// window does every 66 ms (here back to back). Reported: the resident memory
// after the first 100 ticks and after the last (target: growth <= 1 MiB), and
// the time of the last 500 ticks against ticks 100 to 600 (target <= 1.1).
//
// bench_soak [--ticks N]

#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>
#include <string>
#include <vector>

#include "graph/renderer.h"
#include "imaging/mapping.h"
#include "imaging/picture_memory.h"
#include "view/camera_controller.h"
#include "view/paint/view_paint.h"

namespace {

constexpr qf::IntSize kClient{1000, 800};
constexpr int kFrames = 50;

cv::Mat frameAt(int i) {
    cv::Mat m(480, 640, CV_8UC3, cv::Scalar(200, 205, 210));
    for (int x = (2 * i) % 40; x < m.cols; x += 40)
        cv::line(m, {x, 0}, {x, m.rows}, cv::Scalar(90, 90, 90), 1);
    for (int y = i % 30; y < m.rows; y += 30)
        cv::line(m, {0, y}, {m.cols, y}, cv::Scalar(90, 90, 90), 1);
    std::vector<cv::Point> curve;
    for (int x = 0; x < m.cols; x += 6)
        curve.emplace_back(x, 400 - int(300 * std::sin((x + 4 * i) / 150.0)));
    cv::polylines(m, curve, false, cv::Scalar(30, 30, 200), 2);
    return m;
}

bool writeVideo(const std::string& path) {
    cv::VideoWriter writer(path, cv::CAP_FFMPEG, cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 15.0,
                           cv::Size(640, 480));
    if (!writer.isOpened()) return false;
    for (int i = 0; i < kFrames; ++i) writer << frameAt(i);
    return true;
}

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    int ticks = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--ticks") == 0) ticks = std::max(700, std::atoi(argv[i + 1]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qf::usePageBuffersForPictures();  // as the program does

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("quillfen_bench_soak_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string video = (dir / "camera.avi").string();
    if (!writeVideo(video)) {
        std::fprintf(stderr, "bench_soak: cannot write an MJPG video with this OpenCV\n");
        std::filesystem::remove_all(dir);
        return 1;
    }

    qf::ViewState s;
    s.display.displaySource = 2;
    QImage viewport(kClient.cx, kClient.cy, QImage::Format_RGB32);
    const QFont font = qf::defaultLabelFont();
    qf::CameraController camera(s, nullptr, nullptr);
    camera.setSourceMap({video, "", "", ""});
    camera.toggleDevice(0);
    if (!camera.running(0)) {
        std::fprintf(stderr, "bench_soak: the video cannot be played as a camera\n");
        std::filesystem::remove_all(dir);
        return 1;
    }
    // A slightly turned chart, as photographed.
    s.doc.mapping.corners = {{{60, 50}, {590, 40}, {600, 440}, {50, 430}}};
    s.doc.mapping.graphRect = {40, 40, 600, 440};

    std::vector<double> times;
    times.reserve(std::size_t(ticks));
    double after100 = 0;
    for (int i = 0; i < ticks; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        camera.grabFrame(0);
        qf::runMapping(s.images, qf::CurrentImage::Input, s.doc.mapping);
        qf::selectCurrentImage(s.display);
        {
            QPainter painter(&viewport);
            qf::paintView(painter, s, kClient, qf::DisplayColours{}, font);
        }
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        if (i == 99) after100 = residentMiB();
    }
    const double atEnd = residentMiB();
    const auto meanOf = [&](std::size_t from, std::size_t count) {
        double sum = 0;
        for (std::size_t k = from; k < from + count; ++k) sum += times[k];
        return sum / double(count);
    };
    const double start = meanOf(100, 500);
    const double end = meanOf(times.size() - 500, 500);
    std::filesystem::remove_all(dir);

    std::printf("soak %d ticks of 640x480: resident %.1f MiB after 100, %.1f MiB at the end\n",
                ticks, after100, atEnd);
    std::printf("soak resident growth after 100 ticks: %.2f MiB (target <= 1.00)\n",
                atEnd - after100);
    std::printf("soak tick %.2f ms at the start, %.2f ms at the end\n", start * 1e3, end * 1e3);
    std::printf("soak tick at the end/at the start: ratio %.2f (target <= 1.10)\n", end / start);
    return 0;
}

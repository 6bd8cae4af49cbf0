// The ways a picture could be read, on an 8000 x 6000 chart as PNG and as
// JPEG, each to the image store's form (8-bit BGR, upright):
//   own      the program's reader (libpng / libjpeg straight into the store)
//   opencv   cv::imread(IMREAD_COLOR), which the program used before
//   qt       QImageReader with automatic EXIF orientation, then converted
//            to BGR (Qt decodes to 32-bit)
// The start cost of each (the libraries a process maps for it) is measured
// by bench_process and written down in docs/performance.md.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "bench_support.h"
#include "chart_picture.h"
#include "imaging/image_file.h"

namespace {

namespace fs = std::filesystem;
using qf::bench::fastest;
using qf::bench::MinReporter;

const fs::path& workDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("qf_bench_codecs_" + std::to_string(getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

cv::Mat chart() {
    return qf::bench::largeChartPicture();
}

const std::string& fileOf(int format) {
    static const std::string png = [] {
        const std::string p = (workDir() / "chart.png").string();
        cv::imwrite(p, chart());
        return p;
    }();
    static const std::string jpg = [] {
        const std::string p = (workDir() / "chart.jpg").string();
        cv::imwrite(p, chart());
        return p;
    }();
    return format == 0 ? png : jpg;
}

void BM_own(benchmark::State& state) {
    const std::string& path = fileOf(int(state.range(0)));
    for (auto _ : state) {
        cv::Mat m = qf::readImageFile(path);
        benchmark::DoNotOptimize(m.data);
    }
}

void BM_opencv(benchmark::State& state) {
    const std::string& path = fileOf(int(state.range(0)));
    for (auto _ : state) {
        cv::Mat m = cv::imread(path, cv::IMREAD_COLOR);
        benchmark::DoNotOptimize(m.data);
    }
}

void BM_qt(benchmark::State& state) {
    const QString path = QString::fromStdString(fileOf(int(state.range(0))));
    for (auto _ : state) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        reader.setAllocationLimit(0);
        QImage image = reader.read().convertToFormat(QImage::Format_BGR888);
        cv::Mat m(image.height(), image.width(), CV_8UC3, image.bits(),
                  std::size_t(image.bytesPerLine()));
        benchmark::DoNotOptimize(m.data);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // Qt's image plugins
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    using Reader = void (*)(benchmark::State&);
    const std::pair<const char*, Reader> readers[] = {
        {"BM_own", BM_own}, {"BM_opencv", BM_opencv}, {"BM_qt", BM_qt}};
    for (auto [name, f] : readers) {
        benchmark::RegisterBenchmark(name, f)
            ->DenseRange(0, 1)
            ->ArgName("jpeg")
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(5)
            ->ComputeStatistics("min", fastest);
    }
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (int jpeg : {0, 1}) {
        const std::string arg = "/jpeg:" + std::to_string(jpeg);
        const double own = reporter.time("BM_own" + arg);
        const char* what = jpeg ? "jpeg" : "png";
        std::printf("decode 8000x6000 %s: own %.0f ms, opencv %.0f ms, qt %.0f ms\n", what, own,
                    reporter.time("BM_opencv" + arg), reporter.time("BM_qt" + arg));
        std::printf("decode 8000x6000 %s own/opencv: ratio %.2f\n", what,
                    own / reporter.time("BM_opencv" + arg));
        std::printf("decode 8000x6000 %s own/qt: ratio %.2f\n", what,
                    own / reporter.time("BM_qt" + arg));
    }
    std::error_code ec;
    fs::remove_all(workDir(), ec);
    return 0;
}

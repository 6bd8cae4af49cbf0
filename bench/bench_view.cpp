// One repaint of the view (image display, tool overlay, band) into a
// 1000 x 800 viewport, over an 8000 x 6000 picture against a 640 x 480 one,
// at zooms -4, 0 and 3. Only the visible part of the picture is scaled, and
// at negative zooms it is copied from the reduced picture the widget keeps, so
// the cost follows what the viewport shows, not the picture's size. The first
// repaint after the picture changed, which makes that reduced copy, is
// reported on its own.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "bench_support.h"
#include "graph/renderer.h"
#include "imaging/mapping.h"
#include "imaging/picture_memory.h"
#include "view/paint/view_paint.h"
#include "view/view_state.h"

namespace {

using qf::bench::fastest;
using qf::bench::MinReporter;

constexpr qf::IntSize kClient{1000, 800};
constexpr int kZooms[] = {-4, 0, 3};

cv::Mat picture(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    cv::theRNG().state = 7;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

const cv::Mat& pictureOf(int w) {
    static const cv::Mat big = picture(8000, 6000);
    static const cv::Mat half = picture(4000, 3000);
    static const cv::Mat small = picture(640, 480);
    return w == 8000 ? big : w == 4000 ? half : small;
}

// The corner tool over the input with the mapping grid, scrolled to the
// middle of what the zoom leaves to scroll, as after opening a picture.
qf::ViewState sceneOf(const cv::Mat& image, int zoom) {
    qf::ViewState s;
    s.images.inputImage = image;
    s.images.outputImage = image;
    s.display.displaySource = 1;
    qf::selectCurrentImage(s.display);
    qf::resetMappingForImage(image.cols, image.rows, s.doc.mapping, s.doc.axis.axisRect);
    qf::updateInnerQuad(s.doc.mapping, s.guide);
    const qf::ScrollSizes sizes = qf::scrollSizesFor(zoom, {image.cols, image.rows});
    s.transform.zoomShift = zoom;
    s.transform.cellSize = sizes.cell;
    s.transform.displaySize = sizes.total;
    s.transform.scrollPos = {std::max(0, (sizes.total.cx - kClient.cx) / 2),
                             std::max(0, (sizes.total.cy - kClient.cy) / 2)};
    s.showPixelGrid = 1;
    return s;
}

// Arguments: picture width (8000 or 640), zoom, and 1 when the picture has
// just changed (the widget's reduced copy for negative zooms is made again).
void BM_repaint(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(1));
    const bool changed = state.range(2) != 0;
    const qf::ViewState s = sceneOf(pictureOf(static_cast<int>(state.range(0))), zoom);
    QImage viewport(kClient.cx, kClient.cy, QImage::Format_RGB32);
    const QFont font = qf::defaultLabelFont();
    qf::ReducedImageCache cache;  // kept between repaints, as the widget keeps it
    for (auto _ : state) {
        if (changed) cache.clear();
        QPainter painter(&viewport);
        qf::paintView(painter, s, kClient, qf::DisplayColours{}, font, &cache);
        painter.end();
        benchmark::DoNotOptimize(viewport.constBits());
        benchmark::ClobberMemory();
    }
}

void registerAll() {
    for (int zoom : kZooms) {
        for (int w : {8000, 640}) {
            benchmark::RegisterBenchmark("BM_repaint", BM_repaint)
                ->Args({w, zoom, 0})
                ->ArgNames({"width", "zoom", "changed"})
                ->Unit(benchmark::kMicrosecond)
                ->Repetitions(7)
                ->ComputeStatistics("min", fastest);
        }
    }
    // The first repaint after the picture changed, at -4.
    benchmark::RegisterBenchmark("BM_repaint", BM_repaint)
        ->Args({8000, -4, 1})
        ->ArgNames({"width", "zoom", "changed"})
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(7)
        ->ComputeStatistics("min", fastest);
    // Half the picture at twice the zoom: the same 500 x 375 on screen.
    benchmark::RegisterBenchmark("BM_repaint", BM_repaint)
        ->Args({4000, -3, 0})
        ->ArgNames({"width", "zoom", "changed"})
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(7)
        ->ComputeStatistics("min", fastest);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts for the labels
    qf::usePageBuffersForPictures();  // as the program does
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    registerAll();
    MinReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (int zoom : kZooms) {
        const std::string suffix = "/zoom:" + std::to_string(zoom) + "/changed:0";
        const double big = reporter.time("BM_repaint/width:8000" + suffix);
        const double small = reporter.time("BM_repaint/width:640" + suffix);
        std::printf("repaint 8000x6000 %.0f us, 640x480 %.0f us at zoom %d\n", big, small, zoom);
        std::printf("repaint 8000x6000/640x480 at zoom %d: ratio %.2f\n", zoom, big / small);
    }
    // At -4 the big picture covers 500 x 375 window pixels and the small one
    // 40 x 30, so that ratio measures the area shown; at equal area on screen
    // the picture's size should not matter.
    const double big = reporter.time("BM_repaint/width:8000/zoom:-4/changed:0");
    const double half = reporter.time("BM_repaint/width:4000/zoom:-3/changed:0");
    const double first = reporter.time("BM_repaint/width:8000/zoom:-4/changed:1");
    std::printf("first repaint after a change 8000x6000 at zoom -4: %.0f us\n", first);
    std::printf("repaint 8000x6000 at zoom -4/4000x3000 at zoom -3 (same area shown): ratio %.2f\n",
                big / half);
    return 0;
}

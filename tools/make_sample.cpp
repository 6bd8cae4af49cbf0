// Draws the bundled sample: a chart of y = 2 + 8x^2 - 0.6x^3 on 0..10 x 0..250,
// put in perspective and roughened like a phone photo, and the project file
// that digitises it (corners, axis rectangle and values, the perspective
// mapping, and the curve's points as a user would click them on the
// straightened picture).
//
// Usage: make_sample OUTPUT_DIR   (writes chart.jpg and chart.quillfen.json)

#include <cmath>
#include <cstdio>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "curve_clicks.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "project/project_file.h"

namespace {

constexpr int kW = 1200, kH = 900;                                    // flat chart
constexpr int kLeft = 180, kTop = 100, kRight = 1080, kBottom = 740;  // axis ends
constexpr double kXMax = 10, kYMax = 250;
constexpr int kMargin = 40;  // the corners are clicked this far outside the axes

double curve(double x) {
    return 2 + 8 * x * x - 0.6 * x * x * x;
}

cv::Point2d chartPoint(double x, double y) {
    return {kLeft + x / kXMax * (kRight - kLeft), kBottom - y / kYMax * (kBottom - kTop)};
}

cv::Mat drawChart() {
    cv::Mat chart(kH, kW, CV_8UC3, cv::Scalar(236, 242, 245));
    const cv::Scalar grid(200, 200, 200), ink(40, 40, 40), blue(170, 60, 25);
    for (int i = 0; i <= 10; ++i) {
        const cv::Point2d a = chartPoint(i, 0), b = chartPoint(i, kYMax);
        cv::line(chart, a, b, grid, 1, cv::LINE_AA);
        const cv::Point2d c = chartPoint(0, i * 25), d = chartPoint(kXMax, i * 25);
        cv::line(chart, c, d, grid, 1, cv::LINE_AA);
        const std::string xs = std::to_string(i), ys = std::to_string(i * 25);
        cv::putText(chart, xs, a + cv::Point2d(-8 * double(xs.size()), 38),
                    cv::FONT_HERSHEY_SIMPLEX, 0.8, ink, 2, cv::LINE_AA);
        cv::putText(chart, ys, c + cv::Point2d(-20 - 16 * double(ys.size()), 8),
                    cv::FONT_HERSHEY_SIMPLEX, 0.8, ink, 2, cv::LINE_AA);
    }
    cv::rectangle(chart, chartPoint(0, kYMax), chartPoint(kXMax, 0), ink, 3, cv::LINE_AA);
    cv::putText(chart, "time [s]", {kLeft + 380, kBottom + 90}, cv::FONT_HERSHEY_SIMPLEX, 1.0, ink,
                2, cv::LINE_AA);
    cv::putText(chart, "distance [m]", {30, kTop - 40}, cv::FONT_HERSHEY_SIMPLEX, 1.0, ink, 2,
                cv::LINE_AA);
    std::vector<cv::Point> line;
    for (int i = 0; i <= 400; ++i) {
        const double x = kXMax * i / 400.0;
        const cv::Point2d p = chartPoint(x, curve(x));
        line.emplace_back(cvRound(p.x * 16), cvRound(p.y * 16));
    }
    cv::polylines(chart, line, false, blue, 4, cv::LINE_AA, 4);
    return chart;
}

// A hand-held photo: a slight tilt and keystone, soft focus, uneven light, noise.
cv::Mat photograph(const cv::Mat& chart, cv::Mat& homography) {
    const cv::Point2f from[] = {{0, 0}, {kW, 0}, {kW, kH}, {0, kH}};
    const cv::Point2f to[] = {{70, 95}, {1215, 40}, {1245, 905}, {45, 930}};
    homography = cv::getPerspectiveTransform(from, to);
    cv::Mat photo;
    cv::warpPerspective(chart, photo, homography, {1280, 960}, cv::INTER_LINEAR,
                        cv::BORDER_CONSTANT, cv::Scalar(70, 75, 80));
    cv::GaussianBlur(photo, photo, {3, 3}, 0.8);
    cv::Mat light(photo.size(), CV_32FC3);
    for (int r = 0; r < photo.rows; ++r)
        for (int c = 0; c < photo.cols; ++c) {
            const float f = 1.0f - 0.22f * float(c + r) / float(photo.cols + photo.rows);
            light.at<cv::Vec3f>(r, c) = {f, f, f * 0.97f};
        }
    cv::Mat noise(photo.size(), CV_32FC3);
    cv::RNG rng(20261210);
    rng.fill(noise, cv::RNG::NORMAL, 0, 3.5);
    cv::Mat f;
    photo.convertTo(f, CV_32FC3);
    f = f.mul(light) + noise;
    f.convertTo(photo, CV_8UC3);
    return photo;
}

qf::IntPoint project(const cv::Mat& h, cv::Point2d p) {
    std::vector<cv::Point2d> in{p}, out;
    cv::perspectiveTransform(in, out, h);
    return {cvRound(out[0].x), cvRound(out[0].y)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    cv::Mat homography;
    const cv::Mat photo = photograph(drawChart(), homography);
    if (!cv::imwrite(dir + "/chart.jpg", photo, {cv::IMWRITE_JPEG_QUALITY, 88})) return 1;

    // What the user marks: the corners a little outside the axes, a graph
    // rectangle the same size as the flat chart's plot area, and the axis
    // rectangle inside it at the axis ends.
    qf::DocumentRecord p;
    p.image = "chart.jpg";
    p.mapping.corners = qf::Quad{{project(homography, {kLeft - kMargin, kTop - kMargin}),
                                  project(homography, {kRight + kMargin, kTop - kMargin}),
                                  project(homography, {kRight + kMargin, kBottom + kMargin}),
                                  project(homography, {kLeft - kMargin, kBottom + kMargin})}};
    const qf::IntRect graph{100, 80, 100 + (kRight - kLeft) + 2 * kMargin,
                            80 + (kBottom - kTop) + 2 * kMargin};
    p.mapping.graphRect = graph;
    p.axis.axisRect = {graph.left + kMargin, graph.top + kMargin, graph.right - kMargin,
                       graph.bottom - kMargin};
    p.axis.xMax = kXMax;
    p.axis.yMax = kYMax;
    p.current().fit.degree = 3;
    p.graph.colour = 0x0000D0;  // red

    // Straightened with the perspective transform, which undoes the photo's
    // keystone; the points are clicked on that picture.
    p.mapping.method = qf::MappingMethod::Perspective;
    qf::applyMappingNow(p);
    qf::ImagePair images;
    // Clicked on the picture as the program reads it back, JPEG losses and all.
    images.inputImage = qf::readImageFile(dir + "/chart.jpg");
    if (images.inputImage.empty()) return 1;
    qf::runMapping(images, qf::CurrentImage::Input, *p.applied);
    p.current().points = qf::clickSampleCurve(images.outputImage, p.axis.axisRect);
    std::ofstream(dir + "/chart.quillfen.json", std::ios::binary) << qf::projectText(p);
    std::printf("wrote %s/chart.jpg and chart.quillfen.json with %zu points\n", dir.c_str(),
                p.current().points.size());
    return 0;
}

#include "imaging/mapping.h"

#include "common/default_geometry.h"

#include "imaging/mapping_rows.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace qf {

namespace {

// Toward zero like a C cast, but defined for values beyond int32, which only
// corners far outside any image produce.
int32_t truncInt(double v) {
    if (v >= 2147483648.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483649.0) return std::numeric_limits<int32_t>::min();
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(v);
}

// Edge vectors formed through the edges' lengths: the rounding of these forms
// decides which source pixel a destination pixel takes, so they stay as they
// are. The right edge's "length" is its vertical extent.
struct Edges {
    double ex, ey;  // P3 - P0
    double fx, fy;  // P2 - P1
};

std::optional<Edges> edgesOf(const Quad& p) {
    // Squares in doubles: exact for any image size, and no int overflow.
    const double lx = double(p[3].x) - p[0].x;
    const double ly = double(p[3].y) - p[0].y;
    const double ry = double(p[2].y) - p[1].y;
    const double lenL2 = lx * lx + ly * ly;
    if (lenL2 < 1.0 || ry * ry < 1.0) return std::nullopt;
    const double lenL = std::sqrt(lenL2);
    const double lenR = std::fabs(ry);
    const double rx = double(p[2].x) - p[1].x;
    return Edges{(lx / lenL) * lenL, (ly / lenL) * lenL, (rx / lenR) * lenR, (ry / lenR) * lenR};
}

// A row of the quadrilateral from its left-edge point g towards its
// right-edge point h. A row shorter than two pixels has no direction of its
// own: it keeps the one it is given and takes K squared (0 or 1) as K.
struct Span {
    double dx = 1.0;  // before any row has a direction: along the image's rows
    double dy = 0.0;
    double k = 0.0;
};

void advanceSpan(Span& s, IntPoint g, IntPoint h) {
    const double vx = double(h.x) - g.x;
    const double vy = double(h.y) - g.y;
    const double k2 = vx * vx + vy * vy;
    if (k2 > 1.0) {
        s.k = std::sqrt(k2);
        s.dx = vx / s.k;
        s.dy = vy / s.k;
    } else {
        s.k = k2;
    }
}

void fillWhite(uint8_t* p, int64_t pixels) {
    if (pixels > 0) std::memset(p, 255, static_cast<std::size_t>(pixels) * 3);
}

// The output gets its own buffer of the input's size. An existing one is
// reused only when no other Mat refers to it, so nobody sees it change.
cv::Mat& outputBuffer(ImagePair& images) {
    const cv::Mat& in = images.inputImage;
    cv::Mat& out = images.outputImage;
    const bool reusable = out.u != nullptr && out.u->refcount == 1 && out.type() == CV_8UC3 &&
                          out.size() == in.size() && out.data != in.data;
    if (!reusable) out = cv::Mat(in.size(), CV_8UC3);
    return out;
}

int32_t roundInt(double v) {
    return truncInt(std::floor(v + 0.5));
}

// Fills the rectangle's rows from the perspective transform of the corners.
void mapPerspective(const cv::Mat& in, cv::Mat& out, const Homography& t, const IntRect& r,
                    MappingSampling sampling, int top, int bottom, int left, int right) {
    const double gw = double(r.right) - r.left;
    const double gh = double(r.bottom) - r.top;
    if (gw <= 0.0 || gh <= 0.0) return;
    std::vector<PerspectiveRow> rows;
    rows.reserve(std::size_t(bottom - top));
    for (int y = top; y < bottom; ++y) {
        const double v = (double(y) - r.top) / gh;
        rows.push_back({t.b * v + t.c, t.a / gw, t.e * v + t.f, t.d / gw, t.h * v + 1.0, t.g / gw});
    }
    samplePerspectiveRows(in, out, top, r.left, int64_t(left) - r.left, int64_t(right) - r.left,
                          rows, sampling);
}

}  // namespace

std::optional<Homography> squareToQuad(const Quad& p) {
    double x[4], y[4];
    for (int k = 0; k < 4; ++k) {
        x[k] = p[std::size_t(k)].x;
        y[k] = p[std::size_t(k)].y;
    }
    // Convex in either turning sense: every corner turns the same way.
    int positive = 0, negative = 0;
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4, m = (k + 2) % 4;
        const double cross = (x[n] - x[k]) * (y[m] - y[n]) - (y[n] - y[k]) * (x[m] - x[n]);
        if (cross > 0) ++positive;
        if (cross < 0) ++negative;
    }
    if (positive != 4 && negative != 4) return std::nullopt;

    Homography t;
    const double sx = x[0] - x[1] + x[2] - x[3];
    const double sy = y[0] - y[1] + y[2] - y[3];
    if (sx == 0.0 && sy == 0.0) {
        // A parallelogram: the transform is affine.
        t = {x[1] - x[0], x[3] - x[0], x[0], y[1] - y[0], y[3] - y[0], y[0], 0.0, 0.0};
    } else {
        const double dx1 = x[1] - x[2], dx2 = x[3] - x[2];
        const double dy1 = y[1] - y[2], dy2 = y[3] - y[2];
        const double den = dx1 * dy2 - dx2 * dy1;
        if (den == 0.0) return std::nullopt;
        t.g = (sx * dy2 - dx2 * sy) / den;
        t.h = (dx1 * sy - sx * dy1) / den;
        t.a = x[1] - x[0] + t.g * x[1];
        t.b = x[3] - x[0] + t.h * x[3];
        t.c = x[0];
        t.d = y[1] - y[0] + t.g * y[1];
        t.e = y[3] - y[0] + t.h * y[3];
        t.f = y[0];
    }
    // The denominator keeps its sign over the square only for a convex quad;
    // checked again in case rounding says otherwise.
    if (!(1.0 + t.g > 0.0 && 1.0 + t.h > 0.0 && 1.0 + t.g + t.h > 0.0)) return std::nullopt;
    return t;
}

bool isNearParallelogram(const Quad& c) {
    const double dx = double(c[0].x) + c[2].x - c[1].x - c[3].x;
    const double dy = double(c[0].y) + c[2].y - c[1].y - c[3].y;
    // The diagonals' midpoints are half this apart; allow a pixel, or 1 % of
    // the longer diagonal on a large quadrilateral.
    const double d1 = std::hypot(double(c[2].x) - c[0].x, double(c[2].y) - c[0].y);
    const double d2 = std::hypot(double(c[3].x) - c[1].x, double(c[3].y) - c[1].y);
    const double allowed = std::max(2.0, 0.02 * std::max(d1, d2));
    return std::hypot(dx, dy) <= allowed;
}

void resetMappingForImage(int w, int h, MappingGeometry& mapping, IntRect& axisRect) {
    const DefaultGeometry g = defaultGeometryFor(w, h);
    mapping.corners = g.corners;
    mapping.graphRect = g.graphRect;
    axisRect = g.axisRect;
}

std::optional<Quad> computeInnerQuad(const Quad& p, double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    const std::optional<Edges> e = edgesOf(p);
    if (!e) return std::nullopt;
    const auto point = [&](double u, double v) {
        const IntPoint g{truncInt(p[0].x + v * e->ex), truncInt(p[0].y + v * e->ey)};
        const IntPoint h{truncInt(p[1].x + v * e->fx), truncInt(p[1].y + v * e->fy)};
        Span s;
        advanceSpan(s, g, h);
        return IntPoint{truncInt(g.x + s.dx * s.k * u), truncInt(g.y + s.dy * s.k * u)};
    };
    const double u0 = a / 2.0;
    const double v0 = b / 2.0;
    return Quad{point(u0, v0), point(1.0 - u0, v0), point(1.0 - u0, 1.0 - v0), point(u0, 1.0 - v0)};
}

std::optional<Quad> computeInnerQuad(const Quad& corners, double a, double b,
                                     MappingMethod method) {
    if (method == MappingMethod::Bilinear) return computeInnerQuad(corners, a, b);
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    const std::optional<Homography> t = squareToQuad(corners);
    if (!t) return std::nullopt;
    const auto point = [&](double u, double v) {
        return IntPoint{roundInt(t->x(u, v)), roundInt(t->y(u, v))};
    };
    const double u0 = a / 2.0;
    const double v0 = b / 2.0;
    return Quad{point(u0, v0), point(1.0 - u0, v0), point(1.0 - u0, 1.0 - v0), point(u0, 1.0 - v0)};
}

void updateInnerQuad(const MappingGeometry& mapping, MappingGuide& guide) {
    const IntRect& r = mapping.graphRect;
    const double width = double(r.right) - r.left;
    const double height = double(r.bottom) - r.top;
    if (width == 0.0 || height == 0.0) return;
    if (const std::optional<Quad> q =
            computeInnerQuad(mapping.corners, 40.0 / width, 40.0 / height, mapping.method)) {
        guide.innerQuad = *q;
    }
}

std::optional<IntPoint> perspectiveGuidePoint(const MappingGeometry& mapping, double s, double t) {
    const IntRect& r = mapping.graphRect;
    const double width = double(r.right) - r.left;
    const double height = double(r.bottom) - r.top;
    if (width == 0.0 || height == 0.0) return std::nullopt;
    const std::optional<Homography> h = squareToQuad(mapping.corners);
    if (!h) return std::nullopt;
    const double u0 = 20.0 / width;
    const double v0 = 20.0 / height;
    const double u = u0 + (1.0 - 2.0 * u0) * s;
    const double v = v0 + (1.0 - 2.0 * v0) * t;
    return IntPoint{roundInt(h->x(u, v)), roundInt(h->y(u, v))};
}

void runMapping(ImagePair& images, CurrentImage current, const MappingGeometry& geometry) {
    const cv::Mat& in = images.inputImage;
    if (!imagePresent(images, current) || in.empty() || in.type() != CV_8UC3) return;
    // The mapping replaces whatever output was still to be built.
    images.pendingOutput = PendingOutput::None;
    cv::Mat& out = outputBuffer(images);
    const int width = in.cols;
    const int height = in.rows;
    const IntRect& r = geometry.graphRect;
    // The rectangle as far as it lies on the image; the samples are still
    // spaced for the whole rectangle.
    const int top = std::clamp(r.top, 0, height);
    const int bottom = std::clamp(r.bottom, 0, height);
    const int left = std::clamp(r.left, 0, width);
    const int right = std::clamp(r.right, 0, width);
    const bool inside = top < bottom && left < right;

    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.ptr<uint8_t>(y);
        if (!inside || y < top || y >= bottom) {
            fillWhite(row, width);
        } else {
            fillWhite(row, left);
            fillWhite(row + right * 3, width - right);
        }
    }
    if (!inside) return;

    const Quad& p = geometry.corners;
    const bool perspective = geometry.method == MappingMethod::Perspective;
    const std::optional<Homography> t = perspective ? squareToQuad(p) : std::nullopt;
    const std::optional<Edges> e = perspective ? std::nullopt : edgesOf(p);
    if (t) {
        mapPerspective(in, out, *t, r, geometry.sampling, top, bottom, left, right);
        return;
    }
    if (!e) {
        // Nothing to map: the rectangle keeps the input's pixels.
        for (int y = top; y < bottom; ++y) {
            std::memcpy(out.ptr<uint8_t>(y) + left * 3, in.ptr<uint8_t>(y) + left * 3,
                        static_cast<std::size_t>(right - left) * 3);
        }
        return;
    }

    const int64_t gw = int64_t(r.right) - r.left;
    const int64_t gh = int64_t(r.bottom) - r.top;
    const double sLx = e->ex / double(gh);
    const double sLy = e->ey / double(gh);
    const double sRx = e->fx / double(gh);
    const double sRy = e->fy / double(gh);
    const auto leftPoint = [&](int64_t i) {
        const double id = double(i);
        return IntPoint{truncInt(id * sLx + p[0].x), truncInt(id * sLy + p[0].y)};
    };
    const auto rightPoint = [&](int64_t i) {
        const double id = double(i);
        return IntPoint{truncInt(id * sRx + p[1].x), truncInt(id * sRy + p[1].y)};
    };

    // Rows above the image still pass their direction on: find the last one
    // that has its own (usually the row just above).
    const int64_t i0 = int64_t(top) - r.top;
    Span span;
    for (int64_t i = i0 - 1; i >= 0; --i) {
        const IntPoint g = leftPoint(i);
        const IntPoint h = rightPoint(i);
        const double vx = double(h.x) - g.x;
        const double vy = double(h.y) - g.y;
        if (vx * vx + vy * vy > 1.0) {
            advanceSpan(span, g, h);
            break;
        }
    }

    std::vector<RowSamples> rows;
    rows.reserve(std::size_t(bottom - top));
    for (int y = top; y < bottom; ++y) {
        const IntPoint g = leftPoint(i0 + (y - top));
        advanceSpan(span, g, rightPoint(i0 + (y - top)));
        rows.push_back({g, (span.dx * span.k) / double(gw), (span.dy * span.k) / double(gw)});
    }
    sampleRows(in, out, top, r.left, int64_t(left) - r.left, int64_t(right) - r.left, rows);
}

cv::Mat straightenedAround(const cv::Mat& input, const MappingGeometry& geometry, int margin) {
    const IntRect& r = geometry.graphRect;
    const double width = double(r.right) - r.left, height = double(r.bottom) - r.top;
    if (input.empty() || width < 1 || height < 1 || margin < 0) return {};
    const Quad& p = geometry.corners;
    const std::optional<Homography> t =
        geometry.method == MappingMethod::Perspective ? squareToQuad(p) : std::nullopt;
    if (geometry.method == MappingMethod::Perspective && !t) return {};
    // Where the unit square's point (u, v) lies on the input: through the
    // homography, or the bilinear patch of the corners.
    const auto at = [&](double u, double v) {
        if (t) return cv::Point2f(float(t->x(u, v)), float(t->y(u, v)));
        const double a = (1 - u) * (1 - v), b = u * (1 - v), c = u * v, d = (1 - u) * v;
        return cv::Point2f(float(a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x),
                           float(a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y));
    };
    const int cols = int(width) + 2 * margin, rows = int(height) + 2 * margin;
    if (int64_t(cols) * rows > int64_t(input.total()) * 4) return {};
    cv::Mat mapX(rows, cols, CV_32F), mapY(rows, cols, CV_32F);
    for (int y = 0; y < rows; ++y) {
        auto* mx = mapX.ptr<float>(y);
        auto* my = mapY.ptr<float>(y);
        for (int x = 0; x < cols; ++x) {
            const cv::Point2f q = at((x - margin) / width, (y - margin) / height);
            mx[x] = q.x, my[x] = q.y;
        }
    }
    cv::Mat out;
    cv::remap(input, out, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT,
              cv::Scalar(255, 255, 255));
    return out;
}

}  // namespace qf

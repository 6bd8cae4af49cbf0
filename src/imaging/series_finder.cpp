#include "imaging/series_finder.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

#include "imaging/curve_colours.h"
#include "imaging/curve_planes.h"
#include "imaging/curve_trace.h"

namespace qf {
namespace {

using extraction::labDistance;
using extraction::WorkMeter;

// About this many pixels are sampled to find the colours.
constexpr int64_t kColourSamples = 250'000;
// A curve found without a click spans at least this share of the width.
constexpr double kLeastSpan = 0.15;
// The working raster of the whole search has about this many pixels.
constexpr int64_t kFinderPixels = 1'500'000;
// Lighter than this (8-bit Lab L, 59 of 100) and within this of grey on
// a and b is light grey.
constexpr double kLightGrey = 150, kGreyChroma = 10;
// The most curves of one colour looked for.
constexpr int kMostPerColour = 3;

struct InkColour {
    cv::Vec3b lab;
    int samples = 0;
};

double distanceToSegment(const cv::Vec3d& p, const cv::Vec3d& a, const cv::Vec3d& b) {
    const cv::Vec3d ab = b - a;
    const double len = ab.dot(ab);
    const double t = len > 0 ? std::clamp((p - a).dot(ab) / len, 0.0, 1.0) : 0.0;
    return cv::norm(p - (a + t * ab));
}

// The colours of the ink: the fullest bin of the sampled ink's Lab, its
// neighbourhood's mean as the colour; then that colour and its blends
// with the ground (the edges of a smoothly drawn line) are set aside and
// the next fullest is taken.
std::vector<InkColour> inkColours(const cv::Mat& roi, const cv::Vec3b& ground, int tolerance,
                                  WorkMeter& work) {
    const int step =
        std::max(1, int(std::ceil(std::sqrt(double(roi.total()) / double(kColourSamples)))));
    constexpr int kBin = 8, kBins = 256 / kBin;
    std::vector<int> count(kBins * kBins * kBins, 0);
    std::vector<cv::Vec3d> sum(count.size(), cv::Vec3d(0, 0, 0));
    int ink = 0;
    for (int y = 0; y < roi.rows; y += step) {
        const auto* row = roi.ptr<cv::Vec3b>(y);
        for (int x = 0; x < roi.cols; x += step) {
            const cv::Vec3b lab = extraction::labOf(row[x]);
            if (labDistance(lab, ground) <= extraction::kInkDistance) continue;
            const std::size_t b = std::size_t((lab[0] / kBin) * kBins * kBins +
                                              (lab[1] / kBin) * kBins + lab[2] / kBin);
            ++count[b];
            sum[b] += cv::Vec3d(lab[0], lab[1], lab[2]);
            ++ink;
        }
        if (work.add((roi.cols + step - 1) / step)) return {};
    }
    struct Bin {
        cv::Vec3d mean;
        int count;
    };
    std::vector<Bin> bins;
    for (std::size_t b = 0; b < count.size(); ++b)
        if (count[b]) bins.push_back({sum[b] / count[b], count[b]});
    const cv::Vec3d g(ground[0], ground[1], ground[2]);
    const auto dist = [](const cv::Vec3d& a, const cv::Vec3d& b) {
        return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
    };
    const int least = std::max(12, ink / 150);
    std::vector<InkColour> colours;
    for (int tried = 0; tried < 4 * extraction::kMaxClassColours &&
                        int(colours.size()) < extraction::kMaxClassColours;
         ++tried) {
        const auto peak = std::max_element(
            bins.begin(), bins.end(), [](const Bin& a, const Bin& b) { return a.count < b.count; });
        if (peak == bins.end() || peak->count < least) break;
        cv::Vec3d centre = peak->mean;
        int n = 0;
        for (int pass = 0; pass < 2; ++pass) {
            cv::Vec3d s(0, 0, 0);
            n = 0;
            for (const Bin& b : bins)
                if (b.count && dist(b.mean, centre) <= tolerance / 2.0)
                    s += b.mean * b.count, n += b.count;
            if (n) centre = s / n;
        }
        // Light grey is the grid's, the legend box's and the smoothed edges'
        // of thin lines, not a curve's.
        const bool lightGrey = centre[0] > kLightGrey && std::abs(centre[1] - 128) <= kGreyChroma &&
                               std::abs(centre[2] - 128) <= kGreyChroma;
        if (!lightGrey)
            colours.push_back({cv::Vec3b(cv::saturate_cast<uint8_t>(centre[0]),
                                         cv::saturate_cast<uint8_t>(centre[1]),
                                         cv::saturate_cast<uint8_t>(centre[2])),
                               n});
        for (Bin& b : bins)
            if (dist(b.mean, centre) <= tolerance * 0.75 ||
                distanceToSegment(b.mean, centre, g) <= tolerance / 2.0)
                b.count = 0;
        peak->count = 0;
    }
    return colours;
}

// A piece that is a closed outline (a legend's box, a letter's loop), not
// a curve: most of its columns cross it twice, well apart.
bool closedPiece(const extraction::PieceMap& pieces, int label, WorkMeter& work) {
    const int left = pieces.stats.at<int>(label, cv::CC_STAT_LEFT);
    const int top = pieces.stats.at<int>(label, cv::CC_STAT_TOP);
    const int w = pieces.stats.at<int>(label, cv::CC_STAT_WIDTH);
    const int h = pieces.stats.at<int>(label, cv::CC_STAT_HEIGHT);
    if (w < 8 || h < 8) return false;
    constexpr int kSampled = 9;
    int twice = 0;
    for (int k = 1; k <= kSampled; ++k) {
        const int x = left + w * k / (kSampled + 1);
        int runs = 0, lastEnd = -100;
        bool in = false;
        for (int y = top; y < top + h; ++y) {
            const bool on = pieces.labels.at<int>(y, x) == label;
            if (on && !in && y - lastEnd > 3) ++runs;
            if (!on && in) lastEnd = y;
            in = on;
        }
        work.add(h);
        twice += runs >= 2;
    }
    return 3 * twice >= 2 * kSampled;
}

// A pixel of the piece in its middle column.
cv::Point pixelOf(const extraction::PieceMap& pieces, int label) {
    const int left = pieces.stats.at<int>(label, cv::CC_STAT_LEFT);
    const int top = pieces.stats.at<int>(label, cv::CC_STAT_TOP);
    const int w = pieces.stats.at<int>(label, cv::CC_STAT_WIDTH);
    const int h = pieces.stats.at<int>(label, cv::CC_STAT_HEIGHT);
    for (int dx = 0; dx <= w; ++dx) {
        for (const int x : {left + w / 2 + dx, left + w / 2 - dx}) {
            if (x < left || x >= left + w) continue;
            for (int y = top; y < top + h; ++y)
                if (pieces.labels.at<int>(y, x) == label) return {x, y};
        }
    }
    return {left, top};
}

void erasePiece(extraction::Planes& p, extraction::PieceMap& pieces, int label) {
    const cv::Rect box(pieces.stats.at<int>(label, cv::CC_STAT_LEFT),
                       pieces.stats.at<int>(label, cv::CC_STAT_TOP),
                       pieces.stats.at<int>(label, cv::CC_STAT_WIDTH),
                       pieces.stats.at<int>(label, cv::CC_STAT_HEIGHT));
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x)
            if (pieces.labels.at<int>(y, x) == label) {
                pieces.labels.at<int>(y, x) = 0;
                p.curve.at<uint8_t>(y, x) = 0;
            }
    pieces.stats.at<int>(label, cv::CC_STAT_AREA) = 0;
}

void eraseFollowed(extraction::Planes& p, const extraction::Followed& f) {
    for (std::size_t x = 0; x < f.kind.size(); ++x) {
        if (f.kind[x] != extraction::Followed::kSeen) continue;
        const int lo = std::max(f.taken[x][0] - 1, 0),
                  hi = std::min(f.taken[x][1] + 1, p.curve.rows - 1);
        for (int y = lo; y <= hi; ++y) p.curve.at<uint8_t>(y, int(x)) = 0;
    }
}

bool markerPiece(const extraction::PieceMap& pieces, int i, int most) {
    const int w = pieces.stats.at<int>(i, cv::CC_STAT_WIDTH);
    const int h = pieces.stats.at<int>(i, cv::CC_STAT_HEIGHT);
    const int a = pieces.stats.at<int>(i, cv::CC_STAT_AREA);
    return a > extraction::kSpeckPixels && w <= most && h <= most && 3 * w >= 2 * h &&
           3 * h >= 2 * w && 2 * a >= w * h;
}

// The row of `b` at column h, between its points; NaN outside them.
double rowAt(const ExtractionResult& b, int h) {
    const auto it = std::lower_bound(b.points.begin(), b.points.end(), h,
                                     [](const SourcePoint& q, int v) { return q.h < v; });
    if (it == b.points.end() || (it == b.points.begin() && it->h != h)) return NAN;
    if (it->h == h) return it->v;
    const SourcePoint& l = *(it - 1);
    const SourcePoint& r = *it;
    return l.v + double(h - l.h) / (r.h - l.h) * (r.v - l.v);
}

// Whether the line followed as `a` lies on `b` where they share columns,
// over most of `a`: the same curve found twice, as a colour and as the
// blend at its edges. Both are rows per working column, NaN off the line.
bool sameCurve(const std::vector<float>& a, const std::vector<float>& b, double near) {
    int mine = 0, shared = 0, on = 0;
    for (std::size_t x = 0; x < a.size(); ++x) {
        if (std::isnan(a[x])) continue;
        ++mine;
        if (std::isnan(b[x])) continue;
        ++shared;
        on += std::abs(a[x] - b[x]) <= near;
    }
    return mine > 0 && 2 * shared >= mine && 5 * on >= 3 * shared;
}

// A line along one row: what is left of a grid line or a box, not a curve.
bool flat(const ExtractionResult& r, int near) {
    std::vector<int> rows;
    for (const SourcePoint& p : r.points) rows.push_back(p.v);
    std::nth_element(rows.begin(), rows.begin() + std::ptrdiff_t(rows.size() / 2), rows.end());
    const int middle = rows[rows.size() / 2];
    const auto off =
        std::count_if(rows.begin(), rows.end(), [&](int v) { return std::abs(v - middle) > near; });
    return 10 * off < int(rows.size());
}

// A click on the series away from the others of its colour: its point
// farthest from them, away from its ends.
IntPoint clickApart(const ExtractionResult& r, const std::vector<const ExtractionResult*>& others) {
    IntPoint best{r.points[r.points.size() / 2].h, r.points[r.points.size() / 2].v};
    double farthest = -1;
    // Not near the ends, where a curve may run into the frame.
    const std::size_t n = r.points.size();
    for (std::size_t i = n / 5; i < n - n / 5; ++i) {
        const SourcePoint& p = r.points[i];
        double d = 1e9;
        for (const ExtractionResult* o : others) {
            const double v = rowAt(*o, p.h);
            if (!std::isnan(v)) d = std::min(d, std::abs(v - p.v));
        }
        if (d > farthest) farthest = d, best = {p.h, p.v};
    }
    return best;
}

}  // namespace

std::string colourName(const cv::Vec3b& bgr) {
    const double b = bgr[0] / 255.0, g = bgr[1] / 255.0, r = bgr[2] / 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    const double chroma = hi - lo;
    if (chroma < 0.12 || (hi > 0 && chroma / hi < 0.18)) {
        if (hi < 0.25) return "black";
        if (hi > 0.9) return "white";
        return "grey";
    }
    double hue;
    if (hi == r)
        hue = std::fmod((g - b) / chroma + 6.0, 6.0);
    else if (hi == g)
        hue = (b - r) / chroma + 2.0;
    else
        hue = (r - g) / chroma + 4.0;
    hue *= 60.0;
    // Brown is a dark or greyed red or orange.
    const bool dull = hi < 0.45 || (hi < 0.65 && chroma / hi < 0.6);
    if (hue < 15 || hue >= 345) return dull ? "brown" : "red";
    if (hue < 40) return dull || hi < 0.6 ? "brown" : "orange";
    if (hue < 70) return hi < 0.8 ? "olive" : "yellow";
    if (hue < 165) return "green";
    if (hue < 195) return "cyan";
    if (hue < 255) return "blue";
    if (hue < 290) return "purple";
    return chroma / hi < 0.6 ? "pink" : "magenta";
}

std::vector<FoundSeries> extractEverySeries(const cv::Mat& picture, const IntRect& axisRect,
                                            const ExtractionSettings& settings,
                                            const ExtractionCancel& cancel) {
    if (picture.empty() || picture.type() != CV_8UC3) return {};
    const int tolerance =
        std::clamp(settings.tolerance, kMinExtractionTolerance, kMaxExtractionTolerance);
    const int count = std::clamp(settings.count, 1, kMaxExtractionCount);
    const int reach = std::clamp(settings.gap, 1, kMaxExtractionGap);
    const int x0 = std::max(axisRect.left, 0), y0 = std::max(axisRect.top, 0);
    const int x1 = std::min(axisRect.right, picture.cols - 1);
    const int y1 = std::min(axisRect.bottom, picture.rows - 1);
    if (x0 >= x1 || y0 >= y1) return {};
    const cv::Point origin(x0, y0);
    cv::Mat roi = picture(cv::Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1));
    WorkMeter work(cancel);

    cv::Vec3b ground = extraction::groundOf(roi, work);
    if (cv::Mat evened; extraction::evenLighting(roi, evened, work)) {
        roi = evened;
        ground = extraction::groundOf(roi, work);
    }
    const std::vector<InkColour> inks = inkColours(roi, ground, tolerance, work);
    if (inks.empty() || work.cancelled()) return {};
    std::vector<cv::Vec3b> labs;
    for (const InkColour& c : inks) labs.push_back(c.lab);
    // Coarser than a click's: finding the curves needs less, and the colours
    // are many.
    const int scale = extraction::workingScale(roi.size(), kFinderPixels);
    const cv::Mat bits = extraction::classify(roi, labs, tolerance, ground, scale, work);
    if (bits.empty()) return {};
    const int most = extraction::kMaxMarkerSide / scale + 1;
    const int span = int(std::ceil(kLeastSpan * roi.cols));

    std::vector<FoundSeries> found;
    std::vector<int> colourOf;                     // the ink colour of each found series
    std::vector<std::vector<float>> followedRows;  // each line's rows, per working column
    for (int k = 0; k < int(inks.size()); ++k) {
        extraction::Planes p = extraction::planesOf(bits, k, scale, roi.size(), work);
        extraction::clearStraightLines(p, nullptr, work);
        extraction::PieceMap pieces;
        if (!extraction::mapPieces(p, pieces, work)) return {};
        const auto add = [&](ExtractionResult r, cv::Point seed, std::vector<float> rows) {
            FoundSeries s;
            r.colour = extraction::bgrOf(inks[std::size_t(k)].lab);
            s.colourName = colourName(r.colour);
            s.extraction = std::move(r);
            s.seed = {origin.x + seed.x * scale + scale / 2, origin.y + seed.y * scale + scale / 2};
            found.push_back(std::move(s));
            colourOf.push_back(k);
            followedRows.push_back(std::move(rows));
        };

        // Markers: most of the colour is in pieces of a marker's shape.
        int64_t all = 0, marked = 0;
        std::vector<int> markerPieces;
        for (int i = 1; i < pieces.count; ++i) {
            const int a = pieces.stats.at<int>(i, cv::CC_STAT_AREA);
            all += a;
            if (markerPiece(pieces, i, most)) marked += a, markerPieces.push_back(i);
        }
        if (markerPieces.size() >= 3 && 2 * marked >= all) {
            std::sort(markerPieces.begin(), markerPieces.end(), [&](int a, int b) {
                return pieces.stats.at<int>(a, cv::CC_STAT_AREA) <
                       pieces.stats.at<int>(b, cv::CC_STAT_AREA);
            });
            const cv::Point seed = pixelOf(pieces, markerPieces[markerPieces.size() / 2]);
            ExtractionResult r =
                extraction::extractInPlanes(p, &pieces, seed, origin, count, reach, work);
            if (r.ok && r.kind == ExtractedKind::Markers) add(std::move(r), seed, {});
            continue;
        }

        // Lines: from the widest pieces, the ones that are followed far.
        int lines = 0;
        for (int attempt = 0; attempt < 8 && lines < kMostPerColour; ++attempt) {
            int widest = 0;
            for (int i = 1; i < pieces.count; ++i)
                if (pieces.stats.at<int>(i, cv::CC_STAT_AREA) > 0 &&
                    (!widest || pieces.stats.at<int>(i, cv::CC_STAT_WIDTH) >
                                    pieces.stats.at<int>(widest, cv::CC_STAT_WIDTH)))
                    widest = i;
            if (!widest || pieces.stats.at<int>(widest, cv::CC_STAT_WIDTH) < 3) break;
            if (closedPiece(pieces, widest, work)) {
                erasePiece(p, pieces, widest);
                continue;
            }
            const cv::Point seed = pixelOf(pieces, widest);
            extraction::Followed followed;
            ExtractionResult r = extraction::extractInPlanes(p, &pieces, seed, origin, count, reach,
                                                             work, &followed, false);
            if (work.cancelled()) return {};
            const bool far = r.ok && r.kind == ExtractedKind::Line &&
                             r.points.back().h - r.points.front().h >= span && !flat(r, scale + 1);
            if (!far) {
                erasePiece(p, pieces, widest);
                continue;
            }
            add(std::move(r), seed, followed.y);
            ++lines;
            eraseFollowed(p, followed);
            if (!extraction::mapPieces(p, pieces, work)) return {};
        }
    }

    // A colour found again as the blend at another's edges is left out:
    // of two series on each other, the one spanning less.
    std::vector<char> keep(found.size(), 1);
    const auto extent = [&](std::size_t i) {
        return found[i].extraction.points.back().h - found[i].extraction.points.front().h;
    };
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (std::size_t j = 0; j < found.size() && keep[i]; ++j) {
            if (i == j || !keep[j] || colourOf[i] == colourOf[j]) continue;
            const bool shorter = extent(i) < extent(j) || (extent(i) == extent(j) && i > j);
            if (shorter && !followedRows[i].empty() && !followedRows[j].empty() &&
                sameCurve(followedRows[i], followedRows[j], 3 + 6.0 / scale))
                keep[i] = 0;
        }
    }
    std::vector<FoundSeries> kept;
    std::vector<int> keptColour;
    for (std::size_t i = 0; i < found.size(); ++i)
        if (keep[i]) kept.push_back(std::move(found[i])), keptColour.push_back(colourOf[i]);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        for (std::size_t j = 0; j < kept.size(); ++j)
            if (i != j && (keptColour[i] == keptColour[j] ||
                           labDistance(inks[std::size_t(keptColour[i])].lab,
                                       inks[std::size_t(keptColour[j])].lab) <= tolerance))
                kept[i].sharesColour = true;
        if (!kept[i].sharesColour) continue;
        std::vector<const ExtractionResult*> others;
        for (std::size_t j = 0; j < kept.size(); ++j)
            if (j != i && keptColour[i] == keptColour[j] &&
                kept[i].extraction.kind == ExtractedKind::Line)
                others.push_back(&kept[j].extraction);
        if (!others.empty()) kept[i].seed = clickApart(kept[i].extraction, others);
        kept[i].note =
            "Another curve has this colour: where curves of one colour cross or touch, "
            "check each with a click of its own.";
    }
    for (FoundSeries& s : kept) s.extraction.work = work.done();
    return kept;
}

}  // namespace qf

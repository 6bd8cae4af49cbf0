#include "reading/tick_labels.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "reading/label_text.h"
#include "reading/ocr_engine.h"

namespace qf {
namespace {

const char* const kWhitelist = "0123456789.,-+eE%x\u00d7\u2212";

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void add(const Box& b) {
        left = std::min(left, b.left), top = std::min(top, b.top);
        right = std::max(right, b.right), bottom = std::max(bottom, b.bottom);
    }
};

// Pieces of ink (connected dark pixels) in a region of the mask, in picture coordinates.
std::vector<Box> inkIn(const cv::Mat& mask, cv::Rect region) {
    region &= cv::Rect(0, 0, mask.cols, mask.rows);
    std::vector<Box> boxes;
    if (region.width <= 0 || region.height <= 0) return boxes;
    cv::Mat labels, stats, centroids;
    const int n =
        cv::connectedComponentsWithStats(mask(region), labels, stats, centroids, 8, CV_32S);
    for (int i = 1; i < n; ++i) {
        const int* s = stats.ptr<int>(i);
        Box b{region.x + s[cv::CC_STAT_LEFT], region.y + s[cv::CC_STAT_TOP], 0, 0};
        b.right = b.left + s[cv::CC_STAT_WIDTH];
        b.bottom = b.top + s[cv::CC_STAT_HEIGHT];
        // Pieces cut by the region's edge belong to something else.
        const bool cut = b.left == region.x || b.top == region.y ||
                         b.right == region.x + region.width || b.bottom == region.y + region.height;
        if (!cut && s[cv::CC_STAT_AREA] >= 2) boxes.push_back(b);
    }
    return boxes;
}

double medianHeight(const std::vector<Box>& boxes) {
    std::vector<int> h;
    for (const Box& b : boxes)
        if (b.height() >= 4) h.push_back(b.height());
    if (h.empty()) return 8;
    std::nth_element(h.begin(), h.begin() + long(h.size() / 2), h.end());
    return h[h.size() / 2];
}

// Bands of rows (or columns) holding ink, split where none is: lines of text.
std::vector<std::vector<Box>> bands(std::vector<Box> boxes, bool byRows) {
    std::sort(boxes.begin(), boxes.end(),
              [&](const Box& a, const Box& b) { return byRows ? a.top < b.top : a.left < b.left; });
    std::vector<std::vector<Box>> out;
    int end = -1;
    for (const Box& b : boxes) {
        const int from = byRows ? b.top : b.left, to = byRows ? b.bottom : b.right;
        if (out.empty() || from >= end) out.emplace_back();
        out.back().push_back(b);
        end = std::max(end, to);
    }
    return out;
}

// Pieces of one line grouped into words: split where the gap is wide.
std::vector<std::vector<Box>> words(std::vector<Box> line, double gap) {
    std::sort(line.begin(), line.end(), [](const Box& a, const Box& b) { return a.left < b.left; });
    std::vector<std::vector<Box>> out;
    int right = -1000000;
    for (const Box& b : line) {
        if (out.empty() || b.left - right > gap) out.emplace_back();
        out.back().push_back(b);
        right = std::max(right, b.right);
    }
    return out;
}

Box boundsOf(const std::vector<Box>& pieces) {
    Box b = pieces.front();
    for (const Box& p : pieces) b.add(p);
    return b;
}

// Recognises the pieces' text: the grey picture around them, enlarged so
// that their height is what the recogniser reads best.
std::string recognise(const cv::Mat& grey, const std::vector<Box>& pieces, double& seconds,
                      std::string& error, const char* whitelist = kWhitelist,
                      double textHeight = 36) {
    const Box b = boundsOf(pieces);
    const int pad = std::max(2, b.height() / 4);
    const cv::Rect r =
        cv::Rect(b.left - pad, b.top - pad, b.width() + 2 * pad, b.height() + 2 * pad) &
        cv::Rect(0, 0, grey.cols, grey.rows);
    // Only the label's own box: a neighbouring label's edge or a tick in the
    // crop would be read as a character. The whole box, not only the pieces
    // found: a faint decimal point on a photograph may not be one.
    cv::Mat crop(r.size(), CV_8U, cv::Scalar(255));
    const cv::Rect inner = cv::Rect(b.left, b.top, b.width(), b.height()) & r;
    grey(inner).copyTo(crop(inner - r.tl()));
    // Paper white and ink black, whatever the light.
    double lo = 0, hi = 0;
    cv::minMaxLoc(grey(inner), &lo, &hi);
    if (hi - lo > 20) crop.convertTo(crop, CV_8U, 255.0 / (hi - lo), -lo * 255.0 / (hi - lo));
    const double scale = std::clamp(textHeight / std::max(1, b.height()), 1.0, 8.0);
    cv::Mat big;
    cv::resize(crop, big, {}, scale, scale, cv::INTER_CUBIC);
    cv::copyMakeBorder(big, big, 16, 16, 16, 16, cv::BORDER_CONSTANT, cv::Scalar(255));
    // A lone glyph ("0", "5") is often nothing to the line layout; read as a
    // character it is, and a line that gave nothing is tried as a word.
    const std::vector<OcrLayout> layouts =
        pieces.size() == 1 ? std::vector<OcrLayout>{OcrLayout::Character, OcrLayout::Word}
                           : std::vector<OcrLayout>{OcrLayout::Line, OcrLayout::Word};
    std::string text;
    for (OcrLayout layout : layouts) {
        const auto t0 = std::chrono::steady_clock::now();
        const OcrLine line = recogniseLine(big, whitelist, layout);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (!line.ok) {
            error = line.error;
            return {};
        }
        for (const OcrSymbol& s : line.symbols) text += s.text;
        if (!text.empty()) break;
    }
    return text;
}

bool startsWithMinus(const std::string& text) {
    for (const char* minus : {"-", "\u2212", "\u2013", "\u2014"})
        if (text.rfind(minus, 0) == 0) return true;
    return false;
}

// Whether the first of the pieces (sorted from the left) is a minus: low
// (at most `low` high), at least as wide as high, and wholly left of the
// others (a broken stroke of a thin "3" lies above or below its rest).
bool isLeadingMinus(const std::vector<Box>& pieces, double low) {
    if (pieces.size() < 2) return false;
    const Box& first = pieces.front();
    if (first.width() < first.height() || first.height() > low) return false;
    for (std::size_t i = 1; i < pieces.size(); ++i)
        if (pieces[i].left < first.right) return false;
    return true;
}

// Whether the first piece begins with a minus that touches its digit: a run
// of columns whose ink is a thin bar at mid-height, a third of a digit's
// height long or more, before the digit itself.
bool startsWithBar(const cv::Mat& mask, const Box& piece, int baseline, int height) {
    const int thin = std::max(2, height / 5);
    int run = 0;
    for (int x = piece.left; x < piece.right; ++x) {
        int top = -1, bottom = -1;
        for (int y = piece.top; y < piece.bottom; ++y)
            if (mask.at<uchar>(y, x)) bottom = y, top = top < 0 ? y : top;
        if (top < 0) break;  // a gap: what follows is the digit
        const double fromBase = baseline - 0.5 * (top + bottom + 1);
        if (bottom - top + 1 > thin || fromBase < 0.3 * height || fromBase > 0.7 * height) break;
        ++run;
    }
    return run >= std::max(2.0, 0.3 * height) && run < piece.width();
}

// A raised exponent set close enough to touch its base ("10²" in a tight
// serif) is one piece with it: its columns at the right, whose ink stays
// well above the baseline, are split off as a piece of their own.
void splitRaisedTail(const cv::Mat& mask, std::vector<Box>& pieces, int baseline, int height) {
    const double raisedBottom = baseline - 0.3 * height;
    // The last piece on the line: pieces wholly raised after it are the
    // exponent's own, and its raised columns join them.
    std::size_t at = pieces.size();
    while (at > 0 && pieces[at - 1].bottom < raisedBottom) --at;
    if (at == 0) return;
    Box& last = pieces[at - 1];
    int x = last.right - 1;
    int top = last.bottom, bottom = last.top;
    for (; x > last.left; --x) {
        int lo = -1, hi = -1;
        for (int y = last.top; y < last.bottom; ++y)
            if (mask.at<uchar>(y, x)) lo = y, hi = hi < 0 ? y : hi;
        if (lo >= 0 && lo + 1 > raisedBottom) break;
        if (lo >= 0) top = std::min(top, hi), bottom = std::max(bottom, lo + 1);
    }
    const int width = last.right - 1 - x;
    if (width < 0.25 * height || x <= last.left || bottom <= top) return;
    // An exponent also reaches above the digits it follows; the top bar of
    // a "7" does not.
    int baseTop = last.bottom;
    for (int c = last.left; c <= x; ++c)
        for (int y = last.top; y < baseTop; ++y)
            if (mask.at<uchar>(y, c)) baseTop = y;
    for (std::size_t i = 0; i + 1 < at; ++i) baseTop = std::min(baseTop, pieces[i].top);
    for (std::size_t i = at; i < pieces.size(); ++i) top = std::min(top, pieces[i].top);
    if (top >= baseTop) return;
    Box tail{x + 1, top, last.right, bottom};
    last.right = x + 1;
    pieces.insert(pieces.begin() + long(at), tail);
}

// A label's text; an exponent printed raised ("10²", "1.5×10³"), which
// recognition would read as "102", read apart and written after '^'.
std::string readLabel(const cv::Mat& grey, const cv::Mat& mask, std::vector<Box> pieces,
                      double& seconds, std::string& error, double textHeight = 36) {
    std::sort(pieces.begin(), pieces.end(),
              [](const Box& a, const Box& b) { return a.left < b.left; });
    int baseline = 0, height = 0;
    for (const Box& p : pieces)
        baseline = std::max(baseline, p.bottom), height = std::max(height, p.height());
    splitRaisedTail(mask, pieces, baseline, height);
    // The trailing pieces whose bottom is well above the line's: a raised
    // exponent, when one of them is a digit's height (not just a minus).
    std::size_t split = pieces.size();
    bool digitSized = false;
    while (split > 1 && pieces[split - 1].bottom < baseline - 0.3 * height) {
        digitSized = digitSized || pieces[split - 1].height() >= 0.4 * height;
        --split;
    }
    const bool hasRaised = split < pieces.size() && split > 0 && digitSized;
    const std::vector<Box> base(pieces.begin(),
                                pieces.begin() + long(hasRaised ? split : pieces.size()));
    std::string baseText = recognise(grey, base, seconds, error, kWhitelist, textHeight);
    // A minus in front is a low, flat mark at mid-height (on a blurred
    // photograph perhaps only its darkest middle); recognition sometimes
    // drops it, and "-4" read as "4" is a wrong value, not a missing one.
    const Box& lead = base.front();
    const double mid = 0.5 * (lead.top + lead.bottom) - (baseline - height);
    const bool minus =
        (isLeadingMinus(base, 0.3 * height) && mid > 0.25 * height && mid < 0.8 * height) ||
        startsWithBar(mask, lead, baseline, height);
    // (A plus sign's bar also starts it; recognition tells the two apart.)
    if (minus && !startsWithMinus(baseText) && baseText.rfind('+', 0) != 0)
        baseText = "-" + baseText;
    if (!hasRaised) return baseText;
    std::vector<Box> raised(pieces.begin() + long(split), pieces.end());
    // Only a power of ten has an exponent; after anything else a raised
    // mark is a unit ("20°") and not part of the number.
    if (baseText.size() < 2 || baseText.compare(baseText.size() - 2, 2, "10") != 0) return baseText;
    // A raised minus is small enough for recognition to drop or to take for
    // all there is, which would make 10^-3 a thousand: a flat first piece is
    // one, and the digits after it are read as digits.
    std::string exponent;
    if (isLeadingMinus(raised, 0.3 * height)) {
        exponent = "-";
        raised.erase(raised.begin());
    }
    // A minus touching its digit stays in the picture: let it be read so.
    std::string digits = recognise(grey, raised, seconds, error, "0123456789-\u2212", textHeight);
    // One character read from a group wider than one raised digit: part of
    // it (a minus touching its digit) was dropped, and the power would be
    // wrong.
    const Box r = boundsOf(raised);
    if (digits.size() == 1 && r.width() > 1.1 * r.height()) digits = "?";
    if (!exponent.empty() && startsWithMinus(digits)) exponent.clear();
    exponent += digits;
    return baseText + "^" + exponent;
}

// Whether a word's pieces climb or fall along a slant, as the letters of a
// label printed at an angle (matplotlib's rotation=45) do; a level label's
// pieces share their rows.
bool isSlanted(const std::vector<Box>& pieces) {
    if (pieces.size() < 2) return false;
    double sx = 0, sy = 0;
    for (const Box& p : pieces) sx += p.left + p.right, sy += p.top + p.bottom;
    const double mx = sx / (2.0 * double(pieces.size())), my = sy / (2.0 * double(pieces.size()));
    double sxx = 0, sxy = 0;
    for (const Box& p : pieces) {
        const double dx = 0.5 * (p.left + p.right) - mx, dy = 0.5 * (p.top + p.bottom) - my;
        sxx += dx * dx, sxy += dx * dy;
    }
    if (sxx <= 0) return false;
    const double slope = std::abs(sxy / sxx);
    const Box b = boundsOf(pieces);
    int tallest = 0;
    for (const Box& p : pieces) tallest = std::max(tallest, p.height());
    // (A raised exponent lifts the last piece of "10²" a little: not a slant.)
    return slope > 0.6 && slope < 3 && b.height() > 1.4 * tallest;
}

TickLabel makeLabel(LabelAxis axis, const Box& b, std::string text) {
    TickLabel l;
    l.axis = axis;
    l.box = {b.left, b.top, b.right, b.bottom};
    l.position = axis == LabelAxis::X ? 0.5 * (b.left + b.right - 1) : 0.5 * (b.top + b.bottom - 1);
    l.text = std::move(text);
    if (const std::optional<LabelValue> v = parseLabelText(l.text)) {
        l.parsed = !v->factorOnly;
        l.multiplier = v->factorOnly;
        l.value = v->value;
    } else {
        l.note = "not a number";
    }
    return l;
}

// What the axis's labels are scaled by: a multiplier ("×10^4", a lone
// "1e6") or, signed, an offset added to them ("+1e3").
struct LabelScale {
    double factor = 1;
    double offset = 0;
    void apply(TickLabel& l) const { l.value = l.value * factor + offset; }
};

// The scale text among the pieces; none (factor 1) when the pieces are no
// number at all, and empty when they look like a scale that could not be
// read (the labels' values would be wrong by it).
std::optional<LabelScale> scaleIn(const cv::Mat& grey, const cv::Mat& mask,
                                  const std::vector<Box>& pieces, LabelAxis axis,
                                  std::vector<TickLabel>& labels, double& seconds,
                                  std::string& error) {
    if (pieces.empty()) return LabelScale{};
    const Box b = boundsOf(pieces);
    TickLabel l = makeLabel(axis, b, readLabel(grey, mask, pieces, seconds, error));
    std::optional<LabelValue> v = parseLabelText(l.text);
    // Every label's value hangs on this one reading: read again at another
    // size, and not trusted unless both agree.
    if (v && v != parseLabelText(readLabel(grey, mask, pieces, seconds, error, 26))) {
        l.text += " (unsure)";
        v.reset();
    }
    const std::size_t first = l.text.find_first_not_of(' ');
    const bool signed_ =
        first != std::string::npos &&
        (l.text[first] == '+' || l.text[first] == '-' || l.text.compare(first, 3, "\u2212") == 0);
    l.parsed = false;
    if (!v || !v->hasExponent || (!signed_ && v->value <= 0)) {
        l.note = "not a multiplier";
        labels.push_back(l);
        // Digits with a sign of a power or a sum; other text (a title
        // beside the axis end) is not taken for one.
        const bool looksLikeOne = l.text.find_first_of("0123456789") != std::string::npos &&
                                  (l.text.find_first_of("x^eE+") != std::string::npos ||
                                   l.text.find("\u00d7") != std::string::npos);
        if (looksLikeOne) return std::nullopt;
        return LabelScale{};
    }
    l.multiplier = true;
    l.used = true;
    l.value = v->value;
    l.note = signed_ ? "added to the axis's labels" : "";
    labels.push_back(l);
    return signed_ ? LabelScale{1, v->value} : LabelScale{v->value, 0};
}

}  // namespace

LabelsRead readTickLabels(const cv::Mat& grey, const cv::Mat& mask, const PlotFrame& frame) {
    LabelsRead read;
    std::vector<TickLabel>& labels = read.labels;
    double& ocrSeconds = read.ocrSeconds;
    std::string& ocrError = read.ocrError;
    const char* const kUnreadMultiplier = "the axis's multiplier or offset could not be read";
    const IntRect& r = frame.axisRect;
    const int W = grey.cols, H = grey.rows;
    const int lw = frame.lineWidth;

    // Left axis: lines of text left of the axis, each's word nearest the
    // axis, kept when right-aligned with the others (an axis title is not).
    {
        const int right = r.left - (lw + 1) / 2 - frame.yTickOutside - 1;
        const int left = std::max(0, r.left - W * 3 / 10);
        const int top = std::max(0, r.top - std::max(8, H / 35));
        const cv::Rect region(left, top, right - left, std::min(H, r.bottom + H / 25) - top);
        const std::vector<Box> ink = inkIn(mask, region);
        const double h = medianHeight(ink);
        std::vector<std::vector<Box>> nearest;
        for (const std::vector<Box>& line : bands(ink, true)) {
            std::vector<std::vector<Box>> ws = words(line, 0.8 * h);
            if (!ws.empty() && boundsOf(ws.back()).height() <= 3 * h) nearest.push_back(ws.back());
        }
        int rightmost = 0;
        for (const auto& w : nearest) rightmost = std::max(rightmost, boundsOf(w).right);
        std::vector<TickLabel> axisLabels;
        for (const auto& w : nearest) {
            const Box b = boundsOf(w);
            // Labels are right-aligned beside the axis, each centred on a tick
            // within the axis's extent (a bottom-axis label is not).
            const double centre = 0.5 * (b.top + b.bottom);
            if (b.right < rightmost - 1.2 * h || centre > r.bottom + 3 || centre < r.top - 3)
                continue;
            axisLabels.push_back(
                makeLabel(LabelAxis::Y, b, readLabel(grey, mask, w, ocrSeconds, ocrError)));
        }
        // The multiplier sits above the axis's top end, starting at the
        // axis, and may come down to the axis's end: the region reaches a
        // little below it, so that the axis line (and a top side) are cut
        // by its edge and left out, but not the multiplier's own glyphs.
        LabelScale scale;
        const int above = std::max(0, r.top - H / 12);
        const cv::Rect offsetRegion(std::max(0, r.left - 2), above, W / 4, r.top + 3 - above);
        const std::vector<std::vector<Box>> offsetLines = bands(inkIn(mask, offsetRegion), true);
        if (!offsetLines.empty()) {
            const std::vector<Box>& line = offsetLines.back();
            const std::optional<LabelScale> m =
                scaleIn(grey, mask, line, LabelAxis::Y, labels, ocrSeconds, ocrError);
            if (!m) read.yRefusal = kUnreadMultiplier;
            scale = m.value_or(LabelScale{});
        }
        for (TickLabel& l : axisLabels) scale.apply(l);
        labels.insert(labels.end(), axisLabels.begin(), axisLabels.end());
    }
    // Bottom axis: the first line of text below the axis and its ticks.
    {
        const int top = r.bottom + lw / 2 + frame.xTickOutside + 2;
        const cv::Rect region(std::max(0, r.left - W / 10), top,
                              std::min(W, r.right + W / 10) - std::max(0, r.left - W / 10),
                              std::min(H, r.bottom + H / 4) - top);
        // Not the left axis's lowest label, which may reach below the axis.
        std::vector<Box> ink = inkIn(mask, region);
        std::erase_if(ink, [&](const Box& b) {
            for (const TickLabel& l : labels)
                if (l.axis == LabelAxis::Y && b.left < l.box.right + 1 &&
                    b.right > l.box.left - 1 && b.top < l.box.bottom + 1 &&
                    b.bottom > l.box.top - 1)
                    return true;
            return false;
        });
        const std::vector<std::vector<Box>> lines = bands(ink, true);
        LabelScale scale;
        std::vector<TickLabel> axisLabels;
        if (!lines.empty()) {
            const double h = medianHeight(lines.front());
            int slanted = 0, several = 0;
            for (const std::vector<Box>& word : words(lines.front(), 0.6 * h)) {
                const Box b = boundsOf(word);
                if (b.height() > 3 * h) continue;
                several += word.size() >= 2 ? 1 : 0;
                slanted += isSlanted(word) ? 1 : 0;
                axisLabels.push_back(
                    makeLabel(LabelAxis::X, b, readLabel(grey, mask, word, ocrSeconds, ocrError)));
            }
            // Read level, slanted digits are misread; where a label's tick
            // lies under it depends on how it was aligned.
            if (several >= 2 && slanted * 2 > several)
                read.xRefusal = "the tick labels are slanted";
            // The multiplier sits below the labels at the axis's right end.
            for (std::size_t k = 1; k < std::min<std::size_t>(lines.size(), 3); ++k) {
                for (const std::vector<Box>& word : words(lines[k], 0.6 * h)) {
                    const Box b = boundsOf(word);
                    if (b.right >= r.right - W / 20 && b.left > (r.left + r.right) / 2) {
                        const std::optional<LabelScale> m =
                            scaleIn(grey, mask, word, LabelAxis::X, labels, ocrSeconds, ocrError);
                        if (!m) read.xRefusal = kUnreadMultiplier;
                        scale = m.value_or(LabelScale{});
                    }
                }
            }
        }
        for (TickLabel& l : axisLabels) scale.apply(l);
        labels.insert(labels.end(), axisLabels.begin(), axisLabels.end());
    }

    return read;
}

}  // namespace qf

#include "document/series_edit.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qf {

namespace {

constexpr std::array<uint32_t, 10> kPalette = {
    kFirstSeriesColour,  // red
    0x00C06000,          // blue
    0x00209020,          // green
    0x000080F0,          // orange
    0x00A02090,          // purple
    0x00A0A000,          // teal
    0x00205090,          // brown
    0x008000D0,          // crimson pink
    0x00707000,          // dark cyan
    0x0000A0A0,          // olive
};

// Within a 256-point list, as clicked points and project files keep.
constexpr std::size_t kPointLimit = 256;

bool valid(const DocumentRecord& r, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < r.series.size();
}

}  // namespace

std::span<const uint32_t> seriesPalette() {
    return kPalette;
}

uint32_t unusedSeriesColour(const DocumentRecord& r) {
    for (uint32_t c : kPalette) {
        const bool used = std::any_of(r.series.begin(), r.series.end(),
                                      [c](const Series& s) { return s.colour == c; });
        if (!used) return c;
    }
    return kPalette[r.series.size() % kPalette.size()];
}

uint32_t colourForCurve(const std::vector<Series>& taken, uint32_t own) {
    // Far enough apart to tell two series' points apart on the screen.
    const auto distinct = [own](const Series& s) {
        int d = 0;
        for (int shift : {0, 8, 16}) {
            const int x = int((own >> shift) & 0xFF) - int((s.colour >> shift) & 0xFF);
            d += x * x;
        }
        return d > 80 * 80;
    };
    if (std::all_of(taken.begin(), taken.end(), distinct)) return own & 0x00FFFFFFu;
    DocumentRecord r;
    r.series = taken;
    return unusedSeriesColour(r);
}

bool addSeries(DocumentRecord& r, Series series) {
    if (r.series.size() >= kMaxSeries || series.points.size() > kPointLimit) return false;
    r.series.push_back(std::move(series));
    r.active = static_cast<int>(r.series.size()) - 1;
    return true;
}

bool removeSeries(DocumentRecord& r, int index) {
    if (!valid(r, index) || r.series.size() < 2) return false;
    r.series.erase(r.series.begin() + index);
    if (r.active > index || r.active >= static_cast<int>(r.series.size())) --r.active;
    return true;
}

bool renameSeries(DocumentRecord& r, int index, const std::string& name) {
    if (!valid(r, index)) return false;
    r.series[static_cast<std::size_t>(index)].name = name;
    return true;
}

bool recolourSeries(DocumentRecord& r, int index, uint32_t colour) {
    if (!valid(r, index)) return false;
    r.series[static_cast<std::size_t>(index)].colour = colour & 0x00FFFFFFu;
    return true;
}

bool setActiveSeries(DocumentRecord& r, int index) {
    if (!valid(r, index)) return false;
    r.active = index;
    return true;
}

bool movePoint(DocumentRecord& r, int from, std::size_t point, int to) {
    if (!valid(r, from) || !valid(r, to) || from == to) return false;
    auto& source = r.series[static_cast<std::size_t>(from)].points;
    auto& target = r.series[static_cast<std::size_t>(to)].points;
    if (point >= source.size() || target.size() >= kPointLimit) return false;
    target.push_back(source[point]);
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(point));
    return true;
}

std::size_t totalPointCount(const DocumentRecord& r) {
    std::size_t n = 0;
    for (const Series& s : r.series) n += s.points.size();
    return n;
}

}  // namespace qf

#include "settings/panel_settings.h"

#include <locale.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "common/date_axis.h"
#include "common/format.h"
#include "settings/panel_items.h"

namespace qf {
namespace {

// Numbers are always read in the C locale, whatever the user's locale says.
locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Index of the text among the item's choices, or -1.
int choiceIndex(PanelItem item, std::string_view text) {
    const std::vector<std::string>& choices = panelItemInfo(item).choices;
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i] == text) return static_cast<int>(i);
    }
    return -1;
}

// A whole number and nothing else (blanks around it allowed), or nothing.
std::optional<int> strictInteger(std::string_view text) {
    size_t from = 0, to = text.size();
    while (from < to && isBlank(text[from])) ++from;
    while (to > from && isBlank(text[to - 1])) --to;
    text = text.substr(from, to - from);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

const std::string& choice(PanelItem item, size_t index) {
    return panelItemInfo(item).choices.at(index);
}

int basisIndex(PanelItem item) {
    return static_cast<int>(item) - static_cast<int>(PanelItem::Basis0);
}

// "点", "線", "点 + 線", "点 + 番号" as (markers, lines, numbers).
constexpr bool kPointDisplayFlags[4][3] = {
    {true, false, false}, {false, true, false}, {true, true, false}, {true, false, true}};

// The scale list's choices: linear, logarithmic, date.
size_t scaleIndex(bool log, bool time) {
    return time ? 2 : log ? 1 : 0;
}

bool pickScale(int k, bool& log, bool& time) {
    if (k >= 0) log = k == 1, time = k == 2;
    return true;
}

// A date axis takes only a date (a text that is none leaves the value); other
// axes read a number as they always have.
bool storeAxisValue(double& value, bool time, std::string_view text) {
    if (!time) {
        value = parseSingle(text);
    } else if (const std::optional<double> at = parseIsoDateTime(text)) {
        value = *at;
    }
    return true;
}

}  // namespace

float parseSingle(std::string_view text) {
    const std::string copy(text);
    errno = 0;
    char* end = nullptr;
    const float value = strtof_l(copy.c_str(), &end, cLocale());
    if (end == copy.c_str() || std::isnan(value)) return 0.0F;
    if (std::isinf(value)) {
        // Only an overflowing number sets ERANGE; "inf" spelt out does not.
        if (errno != ERANGE) return 0.0F;
        return value < 0 ? -FLT_MAX : FLT_MAX;
    }
    return value;
}

int parseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return 0;
    long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), magnitude);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) magnitude = LLONG_MAX;
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string itemText(const PanelSettings& s, PanelItem item) {
    switch (item) {
        case PanelItem::ModelKind:
            return s.modelKind >= 0 && s.modelKind <= 2 ? choice(item, s.modelKind) : "";
        case PanelItem::Degree:
            return formatD(s.degree);
        case PanelItem::Basis0:
        case PanelItem::Basis1:
        case PanelItem::Basis2:
        case PanelItem::Basis3:
        case PanelItem::Basis4:
        case PanelItem::Basis5:
            return s.basisExpr[basisIndex(item)];
        case PanelItem::XMin:
            return formatAxisEnd(s.xMin, s.xTime);
        case PanelItem::XMax:
            return formatAxisEnd(s.xMax, s.xTime);
        case PanelItem::YMin:
            return formatAxisEnd(s.yMin, s.yTime);
        case PanelItem::YMax:
            return formatAxisEnd(s.yMax, s.yTime);
        case PanelItem::XScale:
            return choice(item, scaleIndex(s.xLog, s.xTime));
        case PanelItem::YScale:
            return choice(item, scaleIndex(s.yLog, s.yTime));
        case PanelItem::GraphPointCount:
            return formatD(s.graphPointCount);
        case PanelItem::PointDisplay:
            for (size_t i = 0; i < 4; ++i) {
                const bool* f = kPointDisplayFlags[i];
                if (s.showMarkers == f[0] && s.showLines == f[1] && s.showNumbers == f[2])
                    return choice(item, i);
            }
            return "";
        case PanelItem::Grid:
            return choice(item, s.showGrid ? 0 : 1);
        case PanelItem::MappingMethod:
            return s.mappingMethod == 0 || s.mappingMethod == 1 ? choice(item, s.mappingMethod)
                                                                : "";
        case PanelItem::MappingSampling:
            return s.mappingSampling == 0 || s.mappingSampling == 1
                       ? choice(item, s.mappingSampling)
                       : "";
        case PanelItem::ExtractTolerance:
            return formatD(s.extractTolerance);
        case PanelItem::ExtractCount:
            return formatD(s.extractCount);
        case PanelItem::ExtractGap:
            return formatD(s.extractGap);
        case PanelItem::Colour:
        case PanelItem::Font:
            return "";
    }
    return "";
}

bool storeItemText(PanelSettings& s, PanelItem item, std::string_view text) {
    // A list's text that is none of its choices leaves the field as it was.
    const int k = choiceIndex(item, text);
    auto pick = [k](auto& field) {
        if (k >= 0) field = k;
        return true;
    };
    switch (item) {
        case PanelItem::ModelKind:
            return pick(s.modelKind);
        case PanelItem::Degree:
            // Typed or picked, only a degree the list offers is taken.
            if (const std::optional<int> n = strictInteger(text);
                n && choiceIndex(item, formatD(*n)) >= 0)
                s.degree = *n;
            return true;
        case PanelItem::Basis0:
        case PanelItem::Basis1:
        case PanelItem::Basis2:
        case PanelItem::Basis3:
        case PanelItem::Basis4:
        case PanelItem::Basis5:
            s.basisExpr[basisIndex(item)] = std::string(text);
            return true;
        case PanelItem::XMin:
            return storeAxisValue(s.xMin, s.xTime, text);
        case PanelItem::XMax:
            return storeAxisValue(s.xMax, s.xTime, text);
        case PanelItem::YMin:
            return storeAxisValue(s.yMin, s.yTime, text);
        case PanelItem::YMax:
            return storeAxisValue(s.yMax, s.yTime, text);
        case PanelItem::XScale:
            return pickScale(k, s.xLog, s.xTime);
        case PanelItem::YScale:
            return pickScale(k, s.yLog, s.yTime);
        case PanelItem::GraphPointCount:
            s.graphPointCount = parseInteger(text);
            return true;
        case PanelItem::PointDisplay: {
            if (k >= 0) {
                s.showMarkers = kPointDisplayFlags[k][0];
                s.showLines = kPointDisplayFlags[k][1];
                s.showNumbers = kPointDisplayFlags[k][2];
            }
            return true;
        }
        case PanelItem::Grid:
            s.showGrid = text != choice(item, 1);
            return true;
        case PanelItem::MappingMethod:
            return pick(s.mappingMethod);
        case PanelItem::MappingSampling:
            return pick(s.mappingSampling);
        case PanelItem::ExtractTolerance:
            s.extractTolerance =
                std::clamp(parseInteger(text), kMinExtractionTolerance, kMaxExtractionTolerance);
            return true;
        case PanelItem::ExtractCount:
            s.extractCount = std::clamp(parseInteger(text), 1, kMaxExtractionCount);
            return true;
        case PanelItem::ExtractGap:
            s.extractGap = std::clamp(parseInteger(text), 1, kMaxExtractionGap);
            return true;
        case PanelItem::Colour:
        case PanelItem::Font:
            return false;
    }
    return false;
}

PanelSettings panelSettingsOf(const DocumentRecord& r) {
    PanelSettings s;
    s.modelKind = r.current().fit.modelKind;
    s.degree = r.current().fit.degree;
    for (size_t k = 0; k < s.basisExpr.size(); ++k) s.basisExpr[k] = r.current().fit.basisExpr[k];
    s.graphPointCount = r.current().fit.graphPointCount;
    s.xMin = r.axis.xMin;
    s.xMax = r.axis.xMax;
    s.yMin = r.axis.yMin;
    s.yMax = r.axis.yMax;
    s.xLog = r.axis.xLog;
    s.yLog = r.axis.yLog;
    s.xTime = r.axis.xTime;
    s.yTime = r.axis.yTime;
    s.showGrid = r.graph.showGrid;
    s.showMarkers = r.graph.showMarkers;
    s.showLines = r.graph.showLines;
    s.showNumbers = r.graph.showNumbers;
    s.colour = r.graph.colour;
    s.mappingMethod = static_cast<int>(r.mapping.method);
    s.mappingSampling = static_cast<int>(r.mapping.sampling);
    s.extractTolerance = r.current().extraction.tolerance;
    s.extractCount = r.current().extraction.count;
    s.extractGap = r.current().extraction.gap;
    return s;
}

bool applyPanelSettings(const PanelSettings& s, DocumentRecord& view) {
    // What only the next fit reads.
    view.current().fit.modelKind = s.modelKind;
    view.current().fit.degree = s.degree;
    for (size_t k = 0; k < s.basisExpr.size(); ++k)
        view.current().fit.basisExpr[k] = s.basisExpr[k];
    view.current().fit.graphPointCount = s.graphPointCount;

    bool changed = false;
    auto update = [&changed](auto& field, auto value) {
        if (field != value) {
            field = value;
            changed = true;
        }
    };
    AxisSettings& axis = view.axis;
    update(axis.xMin, s.xMin);
    update(axis.xMax, s.xMax);
    update(axis.yMin, s.yMin);
    update(axis.yMax, s.yMax);
    update(axis.xLog, s.xLog);
    update(axis.yLog, s.yLog);
    update(axis.xTime, s.xTime);
    update(axis.yTime, s.yTime);

    GraphStyle& style = view.graph;
    update(style.showMarkers, s.showMarkers);
    update(style.showLines, s.showLines);
    update(style.showNumbers, s.showNumbers);
    update(style.showGrid, s.showGrid);
    update(style.colour, s.colour);
    // Read by the next mapping run; the guide and the grid follow it at once.
    update(view.mapping.method,
           s.mappingMethod == 1 ? MappingMethod::Perspective : MappingMethod::Bilinear);
    update(view.mapping.sampling,
           s.mappingSampling == 1 ? MappingSampling::Interpolated : MappingSampling::Nearest);
    // Read by the next extraction; a preview on show is made again.
    view.current().extraction = {s.extractTolerance, s.extractCount, s.extractGap};
    return changed;
}

}  // namespace qf

#pragma once
// The settings panel's own copy of the fit, axis and graph settings, how the
// text of each panel item converts into it, and how it is handed to the view.
// No Qt here: the conversions and the view-side rules are tested without a
// window.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/document_record.h"

namespace qf {

// Defaults equal the view's own defaults.
struct PanelSettings {
    int modelKind = 0;  // 0 polynomial, 1 exponential product, 2 function sum
    int degree = 5;
    std::array<std::string, 6> basisExpr{
        "1", "x", "x * x", "x * x * x", "x * x * x * x", "x * x * x * x * x"};
    double xMin = 0.0;
    double xMax = 1.0;
    double yMin = 0.0;
    double yMax = 1.0;
    bool xLog = false;  // logarithmic
    bool yLog = false;
    // Date axis (common/date_axis.h): the minimum and maximum are typed and
    // shown as ISO 8601 date-times and kept to the millisecond, not in single
    // precision.
    bool xTime = false;
    bool yTime = false;
    int graphPointCount = 50;
    bool showGrid = true;
    bool showMarkers = true;
    bool showLines = true;
    bool showNumbers = false;
    uint32_t colour = 0x000000;  // 0x00BBGGRR
    int mappingMethod = 0;       // 0 bilinear, 1 perspective
    int mappingSampling = 0;     // 0 nearest, 1 interpolated
    int extractTolerance = ExtractionSettings{}.tolerance;
    int extractCount = ExtractionSettings{}.count;
    int extractGap = ExtractionSettings{}.gap;
    friend bool operator==(const PanelSettings&, const PanelSettings&) = default;
};

// Every item of the panel, in display order.
enum class PanelItem {
    ModelKind,
    Degree,
    Basis0,
    Basis1,
    Basis2,
    Basis3,
    Basis4,
    Basis5,
    XMin,
    XMax,
    XScale,
    YMin,
    YMax,
    YScale,
    GraphPointCount,
    PointDisplay,
    Grid,
    Colour,
    Font,
    MappingMethod,
    MappingSampling,
    ExtractTolerance,
    ExtractCount,
    ExtractGap,
};

// Typed text read as a single-precision number the way "%G" scans it: blanks
// skipped, characters after a leading number ignored, a text without a number
// gives 0. The panel never yields a non-finite value: a magnitude beyond
// single precision saturates at the largest finite one, and "inf" or "nan"
// read as no number.
float parseSingle(std::string_view text);

// Typed text read as a decimal integer in the same lenient way; values beyond
// the int range saturate.
int parseInteger(std::string_view text);

// The text an item shows for the settings (empty for the colour and font
// items, which are not texts).
std::string itemText(const PanelSettings& settings, PanelItem item);

// Stores the item's text into the settings. List texts that are none of the
// item's choices leave the field unchanged, and so does a typed degree that
// is not a whole number the degree's list offers; the extraction's numbers are
// kept within their ranges. Returns false for the colour and
// font items, which carry no text.
bool storeItemText(PanelSettings& settings, PanelItem item, std::string_view text);

// Copies the panel's settings into the document's record. True when
// something visible changed (axis range or scale, graph style or colour), so
// that the view recomputes the point values, refills the point lists and
// repaints; the model, degree, formulas and point count only matter to the
// next fit.
[[nodiscard]] bool applyPanelSettings(const PanelSettings& settings, DocumentRecord& record);

// What the panel shows for a record (an undone edit, an opened project).
PanelSettings panelSettingsOf(const DocumentRecord& record);

}  // namespace qf

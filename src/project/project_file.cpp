#include "project/project_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <type_traits>

#include "common/atomic_file.h"
#include "common/date_axis.h"
#include "common/default_geometry.h"
#include "common/excerpt.h"
#include "common/regular_file.h"
#include "points/source_points.h"
#include "project/json_text.h"

namespace qf {
namespace {

// Image coordinates far beyond any picture are refused, so that differences of
// coordinates can never overflow.
constexpr int kCoordLimit = 1000000;
constexpr int kMaxGraphPointCount = 100000;
constexpr std::size_t kMaxFileSize = 64u << 20;

constexpr const char* kModelNames[] = {"polynomial", "exponentialProduct", "functionSum"};

struct KeyError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& key, const std::string& what) {
    throw KeyError("\"" + key + "\" " + what);
}

// A JSON object's members, each read with the key path used in messages.
class Reader {
public:
    Reader(const Json& object, std::string path) : object_(object), path_(std::move(path)) {}

    const Json* find(const char* key) const {
        const auto it = object_.find(key);
        return it == object_.end() ? nullptr : &*it;
    }
    std::string key(const char* k) const { return path_.empty() ? k : path_ + "." + k; }

    std::optional<Reader> object(const char* k) const {
        const Json* v = find(k);
        if (!v) return std::nullopt;
        if (!v->is_object()) fail(key(k), "must be an object");
        return Reader(*v, key(k));
    }

    void read(const char* k, bool& out) const {
        if (const Json* v = find(k)) {
            if (!v->is_boolean()) fail(key(k), "must be true or false");
            out = v->get<bool>();
        }
    }
    void read(const char* k, int32_t& flag01) const {  // a 0/1 flag written as a boolean
        bool b = flag01 != 0;
        read(k, b);
        flag01 = b ? 1 : 0;
    }
    void read(const char* k, double& out) const {
        if (const Json* v = find(k)) {
            if (!v->is_number() || !std::isfinite(v->get<double>()))
                fail(key(k), "must be a number");
            out = v->get<double>();
        }
    }
    void readInt(const char* k, int32_t& out, long long lo, long long hi) const {
        if (const Json* v = find(k)) out = integer(*v, key(k), lo, hi);
    }
    void read(const char* k, std::string& out) const {
        if (const Json* v = find(k)) out = string(*v, key(k));
    }

    static std::string string(const Json& v, const std::string& key) {
        if (!v.is_string()) fail(key, "must be a text");
        return v.get<std::string>();
    }
    static int32_t integer(const Json& v, const std::string& key, long long lo, long long hi) {
        const std::string range =
            "must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
        if (!v.is_number_integer()) fail(key, range);
        // JSON's non-negative numbers come as unsigned: both bounds apply to them.
        if (v.is_number_unsigned()
                ? v.get<unsigned long long>() > static_cast<unsigned long long>(hi) ||
                      (lo > 0 && v.get<unsigned long long>() < static_cast<unsigned long long>(lo))
                : v.get<long long>() < lo || v.get<long long>() > hi)
            fail(key, range);
        return static_cast<int32_t>(v.get<long long>());
    }
    // An array of `count` coordinates.
    static std::vector<int32_t> coords(const Json& v, const std::string& key, std::size_t count) {
        if (!v.is_array() || v.size() != count)
            fail(key, "must be a list of " + std::to_string(count) + " whole numbers");
        std::vector<int32_t> out;
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(
                integer(v[i], key + "[" + std::to_string(i) + "]", -kCoordLimit, kCoordLimit));
        return out;
    }
    std::optional<IntRect> rect(const char* k) const {
        const Json* v = find(k);
        if (!v) return std::nullopt;
        const auto c = coords(*v, key(k), 4);
        if (c[0] >= c[2] || c[1] >= c[3])
            fail(key(k), "must be [left, top, right, bottom] with left < right and top < bottom");
        return IntRect{c[0], c[1], c[2], c[3]};
    }

private:
    const Json& object_;
    std::string path_;
};

Quad quadOf(const Json& v, const std::string& key) {
    if (!v.is_array() || v.size() != 4) fail(key, "must be a list of four [x, y] points");
    Quad corners;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = Reader::coords(v[i], key + "[" + std::to_string(i) + "]", 2);
        corners[i] = {c[0], c[1]};
    }
    return corners;
}

MappingMethod methodOf(const Json& v, const std::string& key) {
    const std::string name = Reader::string(v, key);
    if (name == "bilinear") return MappingMethod::Bilinear;
    if (name == "perspective") return MappingMethod::Perspective;
    fail(key, "must be \"bilinear\" or \"perspective\"");
}

const char* methodName(MappingMethod m) {
    return m == MappingMethod::Perspective ? "perspective" : "bilinear";
}

MappingSampling samplingOf(const Json& v, const std::string& key) {
    const std::string name = Reader::string(v, key);
    if (name == "nearest") return MappingSampling::Nearest;
    if (name == "interpolated") return MappingSampling::Interpolated;
    fail(key, "must be \"nearest\" or \"interpolated\"");
}

const char* samplingName(MappingSampling s) {
    return s == MappingSampling::Interpolated ? "interpolated" : "nearest";
}

void readMapping(const Reader& r, DocumentRecord& p, GeometryGiven& given) {
    MappingGeometry& g = p.mapping;
    if (const Json* v = r.find("method")) g.method = methodOf(*v, r.key("method"));
    if (const Json* v = r.find("sampling")) g.sampling = samplingOf(*v, r.key("sampling"));
    if (const Json* v = r.find("corners")) {
        g.corners = quadOf(*v, r.key("corners"));
        given.corners = true;
    }
    if (auto rect = r.rect("graphRect")) {
        g.graphRect = *rect;
        given.graphRect = true;
    }
    bool apply = p.applied.has_value();
    r.read("apply", apply);
    // Without its own geometry, the applied mapping is the handles'.
    p.applied = apply ? std::optional<MappingGeometry>(g) : std::nullopt;
    if (auto applied = r.object("applied")) {
        if (!apply) fail(applied->key("corners"), "needs \"apply\": true");
        const Json* v = applied->find("corners");
        if (!v) fail(applied->key("corners"), "is missing");
        p.applied->corners = quadOf(*v, applied->key("corners"));
        if (auto rect = applied->rect("graphRect"))
            p.applied->graphRect = *rect;
        else
            fail(applied->key("graphRect"), "is missing");
        if (const Json* m = applied->find("method"))
            p.applied->method = methodOf(*m, applied->key("method"));
        if (const Json* m = applied->find("sampling"))
            p.applied->sampling = samplingOf(*m, applied->key("sampling"));
    }
}

// A date axis's value is an ISO 8601 date-time text, any other a number.
void readAxisValue(const Reader& r, const char* k, bool time, double& out) {
    if (!time) return r.read(k, out);
    const Json* v = r.find(k);
    if (!v) return;
    const std::optional<double> at =
        v->is_string() ? parseIsoDateTime(v->get<std::string>()) : std::nullopt;
    if (!at) fail(r.key(k), "must be a date-time written as ISO 8601 (\"2024-02-29T12:00:00Z\")");
    out = *at;
}

void readAxis(const Reader& r, DocumentRecord& p, GeometryGiven& given) {
    if (auto rect = r.rect("rect")) {
        p.axis.axisRect = *rect;
        given.axisRect = true;
    }
    r.read("xLog", p.axis.xLog);
    r.read("yLog", p.axis.yLog);
    r.read("xTime", p.axis.xTime);
    r.read("yTime", p.axis.yTime);
    readAxisValue(r, "xMin", p.axis.xTime, p.axis.xMin);
    readAxisValue(r, "xMax", p.axis.xTime, p.axis.xMax);
    readAxisValue(r, "yMin", p.axis.yTime, p.axis.yMin);
    readAxisValue(r, "yMax", p.axis.yTime, p.axis.yMax);
    // A date axis is linear in time; the points' values would be neither.
    if (p.axis.xTime && p.axis.xLog) fail(r.key("xLog"), "must be false on a date axis");
    if (p.axis.yTime && p.axis.yLog) fail(r.key("yLog"), "must be false on a date axis");
}

void readExtract(const Reader& r, Series& series) {
    ExtractionSettings& e = series.extraction;
    r.readInt("tolerance", e.tolerance, kMinExtractionTolerance, kMaxExtractionTolerance);
    r.readInt("count", e.count, 1, kMaxExtractionCount);
    r.readInt("gap", e.gap, 1, kMaxExtractionGap);
    if (const Json* v = r.find("seed")) {
        const auto c = Reader::coords(*v, r.key("seed"), 2);
        series.extractSeed = IntPoint{c[0], c[1]};
    }
}

void readPoints(const Json& v, const std::string& key, Series& series) {
    if (!v.is_array()) fail(key, "must be a list of [h, v] pixel positions");
    if (v.size() > kMaxSourcePoints) fail(key, "holds more than 256 points");
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto c = Reader::coords(v[i], key + "[" + std::to_string(i) + "]", 2);
        series.points.push_back({c[0], c[1]});
    }
}

void readFit(const Reader& r, FitSettings& fit) {
    if (const Json* v = r.find("model")) {
        const std::string name = Reader::string(*v, r.key("model"));
        int kind = -1;
        for (int k = 0; k < 3; ++k)
            if (name == kModelNames[k]) kind = k;
        if (kind < 0)
            fail(r.key("model"),
                 "must be \"polynomial\", \"exponentialProduct\" or \"functionSum\"");
        fit.modelKind = kind;
    }
    r.readInt("degree", fit.degree, kMinDegree, kMaxDegree);
    if (const Json* v = r.find("functions")) {
        if (!v->is_array() || v->size() != kBasisFormulaCount)
            fail(r.key("functions"), "must be a list of six formula texts");
        for (int i = 0; i < kBasisFormulaCount; ++i)
            fit.basisExpr[i] =
                Reader::string((*v)[i], r.key("functions") + "[" + std::to_string(i) + "]");
    }
    r.readInt("graphPointCount", fit.graphPointCount, std::numeric_limits<int32_t>::min(),
              kMaxGraphPointCount);
}

// "#RRGGBB" to 0x00BBGGRR and back.
uint32_t parseColour(const std::string& text, const std::string& key) {
    // Exactly "#" and six hex digits: sscanf's %x alone would take a sign or blanks.
    const bool hex =
        text.size() == 7 && text[0] == '#' && std::all_of(text.begin() + 1, text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        });
    if (!hex) fail(key, "must be a colour written \"#RRGGBB\"");
    const unsigned rgb = static_cast<unsigned>(std::stoul(text.substr(1), nullptr, 16));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::string colourText(uint32_t c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

void readGraph(const Reader& r, GraphStyle& g) {
    r.read("grid", g.showGrid);
    r.read("markers", g.showMarkers);
    r.read("lines", g.showLines);
    r.read("numbers", g.showNumbers);
    if (const Json* v = r.find("colour"))
        g.colour = parseColour(Reader::string(*v, r.key("colour")), r.key("colour"));
}

// Version 4: the curves, each with its own points, extraction and fit, and
// which of them the window works on.
void readSeries(const Reader& top, DocumentRecord& p) {
    const Json* list = top.find("series");
    if (!list) fail("series", "is missing (a version 4 project lists its series)");
    if (!list->is_array() || list->empty() || list->size() > kMaxSeries)
        fail("series", "must be a list of 1 to " + std::to_string(kMaxSeries) + " series");
    p.series.clear();
    for (std::size_t i = 0; i < list->size(); ++i) {
        const std::string key = "series[" + std::to_string(i) + "]";
        if (!(*list)[i].is_object()) fail(key, "must be an object");
        const Reader r((*list)[i], key);
        Series s;
        r.read("name", s.name);
        if (const Json* v = r.find("colour"))
            s.colour = parseColour(Reader::string(*v, r.key("colour")), r.key("colour"));
        if (const Json* v = r.find("points")) readPoints(*v, r.key("points"), s);
        if (auto e = r.object("extract")) readExtract(*e, s);
        if (auto f = r.object("fit")) readFit(*f, s.fit);
        p.series.push_back(std::move(s));
    }
    p.active = 0;
    top.readInt("active", p.active, 0, static_cast<long long>(p.series.size()) - 1);
}

void parseTree(const Json& root, DocumentRecord& p, GeometryGiven& given) {
    if (!root.is_object()) throw KeyError("the file must hold one JSON object");
    const Reader top(root, "");
    const Json* format = top.find("format");
    if (!format || !format->is_string() || format->get<std::string>() != kProjectFormat)
        fail("format", std::string("must be \"") + kProjectFormat + "\"");
    const Json* version = top.find("version");
    if (!version || !version->is_number_integer() || version->get<long long>() < 1 ||
        version->get<long long>() > kProjectVersion)
        fail("version", "must be 1, 2, 3 or 4 (this program reads versions 1 to 4)");
    const long long versionNumber = version->get<long long>();

    const Json* image = top.find("image");
    if (!image) fail("image", "is missing");
    p.image = Reader::string(*image, "image");
    // Work saved for recovery may predate any picture; a project may not.
    if (p.image.empty() && !root.contains("recoveryOf"))
        fail("image", "must name the picture file");
    if (p.image.find('\0') != std::string::npos)
        fail("image", "must not contain a NUL character (\\u0000)");
    // The page of a PDF and its resolution; a picture file names neither.
    if (const Json* v = top.find("page")) p.page = Reader::integer(*v, "page", 1, 100000);
    top.readInt("dpi", p.dpi, kMinPdfDpi, kMaxPdfDpi);

    if (auto m = top.object("mapping")) readMapping(*m, p, given);
    if (auto a = top.object("axis")) readAxis(*a, p, given);
    if (versionNumber >= 4) {
        readSeries(top, p);
    } else {
        Series& only = p.series.front();
        if (const Json* v = top.find("points")) readPoints(*v, "points", only);
        if (auto e = top.object("extract")) readExtract(*e, only);
        if (auto f = top.object("fit")) readFit(*f, only.fit);
    }
    if (auto g = top.object("graph")) readGraph(*g, p.graph);
}

std::string recoveryOf(const Json& root) {
    const auto it = root.find("recoveryOf");
    return it != root.end() && it->is_string() ? it->get<std::string>() : std::string();
}

Json rectJson(const IntRect& r) {
    return Json::array({r.left, r.top, r.right, r.bottom});
}

Json quadJson(const Quad& q) {
    Json corners = Json::array();
    for (const IntPoint& c : q) corners.push_back(Json::array({c.x, c.y}));
    return corners;
}

}  // namespace

ProjectReadResult parseProject(const std::string& text) {
    ProjectReadResult r;
    try {
        const Json root = parseJsonWithLimits(text);
        parseTree(root, r.project, r.given);
        r.recoveryOf = recoveryOf(root);
        r.ok = true;
    } catch (const Json::parse_error& e) {
        std::string what = e.what();
        if (const auto at = what.find("] "); at != std::string::npos) what.erase(0, at + 2);
        r.error = "not valid JSON: " + what;
    } catch (const std::exception& e) {  // KeyError, or a number beyond every integer type
        r.error = e.what();
    }
    return r;
}

ProjectReadResult readProjectFile(const std::string& path) {
    ProjectReadResult r;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        r.error = path + ": is a folder, not a project file";
        return r;
    }
    // A FIFO or a device would block the read below forever.
    if (const std::string why = regularFileProblem(path); !why.empty()) {
        r.error = path + ": " + why;
        return r;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        r.error = path + ": cannot be opened";
        return r;
    }
    // As much as the file holds, up to the limit: a project is a few KB, and
    // taking the limit's worth of memory up front costs more than the parse.
    std::string text;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxFileSize) {
            r.error = path + ": too large for a project file (over " +
                      std::to_string(kMaxFileSize >> 20) + " MiB)";
            return r;
        }
    }
    r = parseProject(text);
    if (!r.ok) r.error = path + ": " + r.error;
    return r;
}

namespace {

// A series' points, extraction and fit, into `out` (the top level of an
// older project, or one entry of "series").
void writeSeries(const Series& series, Json& out) {
    Json points = Json::array();
    for (const SourcePoint& s : series.points) points.push_back(Json::array({s.h, s.v}));
    out["points"] = points;
    if (series.extractSeed || series.extraction != ExtractionSettings{}) {
        Json extract;
        if (series.extractSeed)
            extract["seed"] = Json::array({series.extractSeed->x, series.extractSeed->y});
        extract["tolerance"] = series.extraction.tolerance;
        extract["count"] = series.extraction.count;
        extract["gap"] = series.extraction.gap;
        out["extract"] = extract;
    }
    const FitSettings& fit = series.fit;
    const int kind = fit.modelKind >= 0 && fit.modelKind < 3 ? fit.modelKind : 0;
    out["fit"] = {{"model", kModelNames[kind]},
                  {"degree", fit.degree},
                  {"functions", fit.basisExpr},
                  {"graphPointCount", fit.graphPointCount}};
}

Json projectJson(const DocumentRecord& p) {
    Json root;
    root["format"] = kProjectFormat;
    // What only version 3 holds.
    const auto plain = [](const MappingGeometry& g) {
        return g.method == MappingMethod::Bilinear && g.sampling == MappingSampling::Nearest;
    };
    // One unnamed series in its first colour is what every older version held.
    const Series& first = p.series.front();
    const bool v4 =
        p.series.size() > 1 || !first.name.empty() || first.colour != kFirstSeriesColour;
    const bool third = !plain(p.mapping) || (p.applied && !plain(*p.applied)) ||
                       first.extractSeed || first.extraction != ExtractionSettings{} || p.page;
    root["version"] = v4 ? 4 : third ? 3 : 2;
    root["image"] = p.image;
    if (p.page) {
        root["page"] = *p.page;
        root["dpi"] = p.dpi;
    }

    Json mapping;
    // Written only when it is not the default, so that a project that does
    // not use it reads the same in older versions.
    const MappingGeometry& handles = p.mapping;
    if (handles.method != MappingMethod::Bilinear) mapping["method"] = methodName(handles.method);
    if (handles.sampling != MappingSampling::Nearest)
        mapping["sampling"] = samplingName(handles.sampling);
    mapping["corners"] = quadJson(handles.corners);
    mapping["graphRect"] = rectJson(handles.graphRect);
    mapping["apply"] = p.applied.has_value();
    // The applied geometry, only where it is not the handles'.
    if (p.applied && *p.applied != handles) {
        const MappingGeometry& a = *p.applied;
        Json applied = {{"corners", quadJson(a.corners)}, {"graphRect", rectJson(a.graphRect)}};
        if (a.method != handles.method) applied["method"] = methodName(a.method);
        if (a.sampling != handles.sampling) applied["sampling"] = samplingName(a.sampling);
        mapping["applied"] = applied;
    }
    root["mapping"] = mapping;

    Json axis;
    axis["rect"] = rectJson(p.axis.axisRect);
    // Date axes are marked only where there is one, so that other projects
    // are written as they always were.
    const auto value = [](double v, bool time) {
        return time ? Json(formatIsoDateTime(v)) : Json(v);
    };
    axis["xMin"] = value(p.axis.xMin, p.axis.xTime);
    axis["xMax"] = value(p.axis.xMax, p.axis.xTime);
    axis["xLog"] = p.axis.xLog;
    if (p.axis.xTime) axis["xTime"] = true;
    axis["yMin"] = value(p.axis.yMin, p.axis.yTime);
    axis["yMax"] = value(p.axis.yMax, p.axis.yTime);
    axis["yLog"] = p.axis.yLog;
    if (p.axis.yTime) axis["yTime"] = true;
    root["axis"] = axis;

    if (v4) {
        Json list = Json::array();
        for (const Series& series : p.series) {
            Json one;
            one["name"] = series.name;
            one["colour"] = colourText(series.colour);
            writeSeries(series, one);
            list.push_back(one);
        }
        root["series"] = list;
        root["active"] = p.active;
    } else {
        writeSeries(p.series.front(), root);
    }
    root["graph"] = {{"grid", p.graph.showGrid},
                     {"markers", p.graph.showMarkers},
                     {"lines", p.graph.showLines},
                     {"numbers", p.graph.showNumbers},
                     {"colour", colourText(p.graph.colour)}};

    return root;
}

}  // namespace

std::string projectText(const DocumentRecord& p) {
    return jsonText(projectJson(p));
}

std::string recoveryText(const DocumentRecord& p, const std::string& projectPath) {
    Json root = projectJson(p);
    root["recoveryOf"] = projectPath;
    return jsonText(root);
}

std::string projectImagePath(const DocumentRecord& p, const std::string& projectPath) {
    const std::filesystem::path image(p.image);
    if (image.is_absolute()) return image.string();
    return (std::filesystem::path(projectPath).parent_path() / image).lexically_normal().string();
}

std::string imageEntryFor(const std::string& imagePath, const std::string& projectPath) {
    namespace fs = std::filesystem;
    if (imagePath.empty()) return imagePath;
    std::error_code ec;
    const fs::path image = fs::absolute(imagePath, ec).lexically_normal();
    const fs::path folder = fs::absolute(projectPath, ec).parent_path().lexically_normal();
    if (ec) return imagePath;
    const fs::path rel = image.lexically_relative(folder);
    if (!rel.empty() && *rel.begin() != "..") return rel.generic_string();
    return image.string();
}

std::string writeProjectFile(const std::string& path, const DocumentRecord& project) {
    const AtomicWriteResult w = writeFileAtomically(path, projectText(project));
    return w.ok ? std::string() : w.error;
}

void placeMissingGeometry(DocumentRecord& p, const GeometryGiven& given, int w, int h) {
    const DefaultGeometry g = defaultGeometryFor(w, h);
    // A mapping with no geometry of its own follows the placed geometry.
    if (p.applied && !given.corners && p.applied->corners == p.mapping.corners)
        p.applied->corners = g.corners;
    if (p.applied && !given.graphRect && p.applied->graphRect == p.mapping.graphRect)
        p.applied->graphRect = g.graphRect;
    if (!given.corners) p.mapping.corners = g.corners;
    if (!given.graphRect) p.mapping.graphRect = g.graphRect;
    if (!given.axisRect) p.axis.axisRect = g.axisRect;
}

}  // namespace qf

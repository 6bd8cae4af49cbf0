#include "project/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../support/fifo.h"
#include "common/date_axis.h"

namespace qf {
namespace {

const std::string kHead = R"("format": "quillfen-project", "version": 1, "image": "chart.jpg")";

std::string withHead(const std::string& rest) {
    return "{" + kHead + (rest.empty() ? "" : ", " + rest) + "}";
}

TEST(ProjectFile, RoundTripKeepsEverything) {
    DocumentRecord p;
    p.image = "グラフ/chart.jpg";
    p.mapping.corners = std::array<IntPoint, 4>{{{10, 12}, {300, 8}, {310, 200}, {5, 190}}};
    p.mapping.graphRect = IntRect{20, 20, 400, 300};
    applyMappingNow(p);
    p.axis.axisRect = {40, 30, 380, 280};
    p.axis.xMin = 0.01;
    p.axis.xMax = 1e3;
    p.axis.xLog = 1;
    p.axis.yMin = -2.5;
    p.axis.yMax = 0.1 + 0.2;  // not exactly 0.3: doubles must survive bit for bit
    p.current().points = {{41, 279}, {200, 150}, {379, 31}};
    p.current().fit.modelKind = FunctionSum;
    p.current().fit.degree = -3;
    p.current().fit.basisExpr = {"1", "x", "sin(x) // \"quoted\"", "", "x ** 2", "exp(-x)"};
    p.current().fit.graphPointCount = 120;
    p.graph.showGrid = 0;
    p.graph.showNumbers = 1;
    p.graph.colour = 0x00FF8000;  // blue 255, green 128, red 0

    const std::string text = projectText(p);
    EXPECT_NE(text.find("\"colour\": \"#0080FF\""), std::string::npos) << text;
    EXPECT_NE(text.find("[41, 279]"), std::string::npos) << text;
    const ProjectReadResult r = parseProject(text);
    ASSERT_TRUE(r.ok) << r.error;
    const DocumentRecord& q = r.project;
    EXPECT_EQ(q.image, p.image);
    EXPECT_EQ(q.mapping.corners, p.mapping.corners);
    EXPECT_EQ(q.mapping.graphRect, p.mapping.graphRect);
    EXPECT_TRUE(q.applied);
    EXPECT_EQ(r.given, (GeometryGiven{true, true, true}));
    EXPECT_EQ(q.axis.axisRect, p.axis.axisRect);
    EXPECT_EQ(q.axis.xMin, p.axis.xMin);
    EXPECT_EQ(q.axis.xMax, p.axis.xMax);
    EXPECT_EQ(q.axis.xLog, 1);
    EXPECT_EQ(q.axis.yMin, p.axis.yMin);
    EXPECT_EQ(q.axis.yMax, p.axis.yMax);
    EXPECT_EQ(q.axis.yLog, 0);
    EXPECT_EQ(q.current().points, p.current().points);
    EXPECT_EQ(q.current().fit.modelKind, FunctionSum);
    EXPECT_EQ(q.current().fit.degree, -3);
    EXPECT_EQ(q.current().fit.basisExpr, p.current().fit.basisExpr);
    EXPECT_EQ(q.current().fit.graphPointCount, 120);
    EXPECT_EQ(q.graph.showGrid, 0);
    EXPECT_EQ(q.graph.showMarkers, 1);
    EXPECT_EQ(q.graph.showNumbers, 1);
    EXPECT_EQ(q.graph.colour, 0x00FF8000u);
    EXPECT_EQ(projectText(q), text);
    EXPECT_EQ(q, p);
}

TEST(ProjectFile, MissingKeysKeepTheDefaults) {
    const ProjectReadResult r = parseProject(withHead(""));
    ASSERT_TRUE(r.ok) << r.error;
    const DocumentRecord& p = r.project;
    EXPECT_EQ(p.image, "chart.jpg");
    EXPECT_EQ(r.given, GeometryGiven{});
    EXPECT_FALSE(p.applied);
    EXPECT_EQ(p.axis.xMax, 1.0);
    EXPECT_TRUE(p.current().points.empty());
    EXPECT_EQ(p.current().fit.degree, 5);
    EXPECT_EQ(p.current().fit.basisExpr[5], "x * x * x * x * x");
    EXPECT_EQ(p.current().fit.graphPointCount, 50);
    EXPECT_EQ(p.graph.showGrid, 1);
}

TEST(ProjectFile, BadFilesAreRefusedNamingTheKey) {
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "not valid JSON: parse error at line 1, column 1: "},
        {"{\"format\": ", "not valid JSON: parse error at line 1, column 12: "},
        {"[1, 2]", "the file must hold one JSON object"},
        {R"({"version": 1, "image": "a.png"})", R"("format" must be "quillfen-project")"},
        {R"({"format": "other", "version": 1, "image": "a.png"})",
         R"("format" must be "quillfen-project")"},
        {R"({"format": "quillfen-project", "version": 5, "image": "a.png"})",
         R"("version" must be 1, 2, 3 or 4 (this program reads versions 1 to 4))"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png"})",
         R"("series" is missing)"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png", "series": []})",
         R"("series" must be a list of 1 to 32 series)"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png", "series": [3]})",
         R"("series[0]" must be an object)"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png",
             "series": [{}, {"points": [[1, 2], [3]]}]})",
         R"("series[1].points[1]" must be a list of 2 whole numbers)"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png",
             "series": [{"colour": "blue"}]})",
         R"("series[0].colour" must be a colour written "#RRGGBB")"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png",
             "series": [{"fit": {"degree": 30}}]})",
         R"("series[0].fit.degree" must be a whole number from -20 to 20)"},
        {R"({"format": "quillfen-project", "version": 4, "image": "a.png",
             "series": [{}, {}], "active": 2})",
         R"("active" must be a whole number from 0 to 1)"},
        {withHead(R"("mapping": {"applied": {"corners": [[0, 0], [9, 0], [9, 9], [0, 9]],
                                              "graphRect": [0, 0, 9, 9]}})"),
         R"("mapping.applied.corners" needs "apply": true)"},
        {withHead(R"("mapping": {"method": "projective"})"),
         R"("mapping.method" must be "bilinear" or "perspective")"},
        {withHead(R"("mapping": {"sampling": 1})"), R"("mapping.sampling" must be a text)"},
        {withHead(R"("mapping": {"sampling": "cubic"})"),
         R"("mapping.sampling" must be "nearest" or "interpolated")"},
        {R"({"format": "quillfen-project", "version": 1})", R"("image" is missing)"},
        {R"({"format": "quillfen-project", "version": 1, "image": 7})",
         R"("image" must be a text)"},
        {withHead(R"("fit": {"degree": 21})"),
         R"("fit.degree" must be a whole number from -20 to 20)"},
        {withHead(R"("fit": {"degree": -21})"),
         R"("fit.degree" must be a whole number from -20 to 20)"},
        {withHead(R"("fit": {"degree": 2.5})"),
         R"("fit.degree" must be a whole number from -20 to 20)"},
        {withHead(R"("fit": {"degree": 18446744073709551615})"),
         R"("fit.degree" must be a whole number from -20 to 20)"},
        {withHead(R"("fit": {"model": "spline"})"),
         R"("fit.model" must be "polynomial", "exponentialProduct" or "functionSum")"},
        {withHead(R"("fit": {"functions": ["1", "x"]})"),
         R"("fit.functions" must be a list of six formula texts)"},
        {withHead(R"("fit": {"functions": ["1", "x", 3, "", "", ""]})"),
         R"("fit.functions[2]" must be a text)"},
        {withHead(R"("page": 0)"), R"("page" must be a whole number from 1 to 100000)"},
        {withHead(R"("page": "2")"), R"("page" must be a whole number from 1 to 100000)"},
        {withHead(R"("dpi": 9)"), R"("dpi" must be a whole number from 10 to 2400)"},
        {withHead(R"("dpi": 2401)"), R"("dpi" must be a whole number from 10 to 2400)"},
        {withHead(R"("extract": [1, 2])"), R"("extract" must be an object)"},
        {withHead(R"("axis": {"xTime": true, "xMin": 19781})"),
         R"("axis.xMin" must be a date-time written as ISO 8601 ("2024-02-29T12:00:00Z"))"},
        {withHead(R"("axis": {"yTime": true, "yMax": "2023-02-29"})"),
         R"("axis.yMax" must be a date-time written as ISO 8601 ("2024-02-29T12:00:00Z"))"},
        {withHead(R"("axis": {"xMin": "2024-02-01"})"), R"("axis.xMin" must be a number)"},
        {withHead(R"("axis": {"xTime": true, "xLog": true})"),
         R"("axis.xLog" must be false on a date axis)"},
        {withHead(R"("axis": {"xTime": 1})"), R"("axis.xTime" must be true or false)"},
        {withHead(R"("extract": {"seed": [1]})"),
         R"("extract.seed" must be a list of 2 whole numbers)"},
        {withHead(R"("extract": {"tolerance": 0})"),
         R"("extract.tolerance" must be a whole number from 1 to 255)"},
        {withHead(R"("extract": {"count": 129})"),
         R"("extract.count" must be a whole number from 1 to 128)"},
        {withHead(R"("extract": {"gap": 101})"),
         R"("extract.gap" must be a whole number from 1 to 100)"},
        {withHead(R"("fit": "polynomial")"), R"("fit" must be an object)"},
        {withHead(R"("axis": {"rect": [10, 10, 10, 20]})"),
         R"("axis.rect" must be [left, top, right, bottom] with left < right and top < bottom)"},
        {withHead(R"("axis": {"rect": [10, 10, 20]})"),
         R"("axis.rect" must be a list of 4 whole numbers)"},
        {withHead(R"("axis": {"xMin": "0"})"), R"("axis.xMin" must be a number)"},
        {withHead(R"("axis": {"yLog": 1})"), R"("axis.yLog" must be true or false)"},
        {withHead(R"("mapping": {"graphRect": [5, 50, 40, 10]})"),
         R"("mapping.graphRect" must be [left, top, right, bottom] with left < right and top < bottom)"},
        {withHead(R"("mapping": {"corners": [[0, 0], [1, 0], [1, 1]]})"),
         R"("mapping.corners" must be a list of four [x, y] points)"},
        {withHead(R"("mapping": {"corners": [[0, 0], [1, 0], [1, 1], [0, 2000000]]})"),
         R"("mapping.corners[3][1]" must be a whole number from -1000000 to 1000000)"},
        {withHead(R"("points": [[1, 2], [3]])"),
         R"("points[1]" must be a list of 2 whole numbers)"},
        {withHead(R"("graph": {"colour": "red"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        {withHead(R"("graph": {"colour": "#12345G"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        // What sscanf's %x took besides six hex digits.
        {withHead(R"("graph": {"colour": "#-00001"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        {withHead(R"("graph": {"colour": "# 12345"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        {withHead(R"("graph": {"colour": "#+12345"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        {withHead(R"("graph": {"colour": "#0x1234"})"),
         R"("graph.colour" must be a colour written "#RRGGBB")"},
        // The picture's name would be cut at the NUL: another file.
        {R"({"format": "quillfen-project", "version": 1, "image": "chart.jpg\u0000.png"})",
         R"("image" must not contain a NUL character)"},
    };
    for (const Case& c : cases) {
        const ProjectReadResult r = parseProject(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << c.text;
    }

    std::string many = "[0, 0]";
    for (int i = 0; i < 256; ++i) many += ", [0, 0]";
    const ProjectReadResult r = parseProject(withHead("\"points\": [" + many + "]"));
    EXPECT_EQ(r.error, R"("points" holds more than 256 points)");
}

// Shapes no project has, which once took minutes and gigabytes (nesting) or
// time growing with the square of the key count: refused early, with a
// message, while what a project plausibly holds still reads.
TEST(ProjectFile, HostileShapesAreRefused) {
    const auto nested = [](int levels) {
        return withHead("\"x\": " + std::string(levels - 1, '[') + std::string(levels - 1, ']'));
    };
    const auto keys = [](int count) {
        std::string members;
        for (int i = 0; i < count; ++i) members += ",\"k" + std::to_string(i) + "\": 0";
        return withHead("\"extra\": {\"a\": 0" + members + "}");
    };
    const auto values = [](int count) {
        std::string list = "0";
        for (int i = 1; i < count; ++i) list += ",0";
        return withHead("\"extra\": [" + list + "]");
    };
    const std::string deep = "lists and objects are nested deeper than 64 levels";
    const std::string wide = "an object holds more than 256 keys";
    struct Case {
        std::string text;
        std::string error;  // empty: read
    } cases[] = {
        {std::string(1 << 20, '['), deep},
        {nested(64), ""},  // the top object is the first level
        {nested(65), deep},
        {withHead(R"("mapping": )" +
                  [] {
                      std::string objects;
                      for (int i = 0; i < 100; ++i) objects += "{\"a\": ";
                      return objects;
                  }()),
         deep},
        {keys(255), ""},
        {keys(256), wide},
        {keys(200000), wide},
        {values(99980), ""},
        {values(100000), "the file holds more than 100000 values; a project needs far fewer"},
    };
    for (const Case& c : cases) {
        const ProjectReadResult r = parseProject(c.text);
        EXPECT_EQ(r.ok, c.error.empty()) << c.text.substr(0, 80) << " " << r.error;
        EXPECT_EQ(r.error, c.error) << c.text.substr(0, 80);
    }
}

// A number of 60 MB of digits was quoted whole in the message (63 MB on
// standard error); the parser's messages now quote only a value's start.
TEST(ProjectFile, MessagesQuoteOnlyTheStartOfALongValue) {
    std::string kana;
    for (int i = 0; i < 20000; ++i) kana += "あ";
    std::string fourteenKana;
    for (int i = 0; i < 14; ++i) fourteenKana += "あ";
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {withHead("\"axis\": {\"yMax\": 1" + std::string(100000, '7') + "}"),
         "number overflow parsing '1" + std::string(43, '7') + "... (100001 bytes)'"},
        {withHead("\"axis\": {\"yMax\": -" + std::string(100000, '7') + "e}"),
         "not valid JSON: parse error at line 1, column 100087: syntax error while parsing value "
         "- invalid number; expected '+', '-', or digit after exponent; last read: '-" +
             std::string(43, '7') + "... (100003 bytes)'"},
        // Cut between characters, not inside one.
        {withHead("\"image\": \"" + kana + "\n\""),
         "not valid JSON: parse error at line 2, column 0: syntax error while parsing value - "
         "invalid string: control character U+000A (LF) must be escaped to \\u000A or \\n; "
         "last read: '\"" +
             fourteenKana + "... (60009 bytes)'"},
    };
    for (const Case& c : cases) {
        const ProjectReadResult r = parseProject(c.text);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.error);
    }
}

// Corners moved after a mapping: the file keeps what the picture was mapped
// with, and a version 1 file (no "applied") maps with its corners.
TEST(ProjectFile, MappedGeometrySurvivesMovedCorners) {
    DocumentRecord p;
    p.image = "chart.jpg";
    p.mapping.corners = Quad{{{10, 12}, {300, 8}, {310, 200}, {5, 190}}};
    p.mapping.graphRect = IntRect{20, 20, 400, 300};
    applyMappingNow(p);
    const std::string unmoved = projectText(p);
    EXPECT_EQ(unmoved.find("applied"), std::string::npos) << unmoved;
    p.mapping.corners[2] = {320, 210};
    p.mapping.graphRect.right = 410;
    const ProjectReadResult r = parseProject(projectText(p));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    EXPECT_EQ(r.project.applied->corners[2], (IntPoint{310, 200}));

    const ProjectReadResult v1 = parseProject(
        withHead(R"("mapping": {"corners": [[1, 2], [30, 2], [30, 40], [1, 40]], "apply": true})"));
    ASSERT_TRUE(v1.ok) << v1.error;
    EXPECT_EQ(v1.project.applied->corners, v1.project.mapping.corners);
}

// The mapping method and sampling: left out while they are the defaults (the
// file then stays readable by version 2 readers), written with version 3
// otherwise, and what the picture was mapped with survives a change of
// either after the mapping.
TEST(ProjectFile, MappingMethodIsKeptAndRaisesTheVersionOnlyWhenUsed) {
    DocumentRecord p;
    p.image = "chart.jpg";
    applyMappingNow(p);
    const std::string plain = projectText(p);
    EXPECT_NE(plain.find("\"version\": 2"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("method"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("sampling"), std::string::npos) << plain;

    p.mapping.method = MappingMethod::Perspective;
    p.mapping.sampling = MappingSampling::Interpolated;
    applyMappingNow(p);
    const std::string perspective = projectText(p);
    EXPECT_NE(perspective.find("\"version\": 3"), std::string::npos) << perspective;
    EXPECT_NE(perspective.find("\"method\": \"perspective\""), std::string::npos);
    EXPECT_NE(perspective.find("\"sampling\": \"interpolated\""), std::string::npos);
    EXPECT_EQ(perspective.find("applied"), std::string::npos) << perspective;
    ProjectReadResult r = parseProject(perspective);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);

    // Switched back after the mapping: the picture still is the perspective one.
    p.mapping.method = MappingMethod::Bilinear;
    p.mapping.sampling = MappingSampling::Nearest;
    const std::string switched = projectText(p);
    EXPECT_NE(switched.find("\"version\": 3"), std::string::npos) << switched;
    EXPECT_NE(switched.find("applied"), std::string::npos) << switched;
    r = parseProject(switched);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    EXPECT_EQ(r.project.applied->method, MappingMethod::Perspective);
    EXPECT_EQ(r.project.applied->sampling, MappingSampling::Interpolated);
}

TEST(ProjectFile, ExtractionIsKeptAndRaisesTheVersionOnlyWhenUsed) {
    DocumentRecord p;
    p.image = "chart.jpg";
    EXPECT_EQ(projectText(p).find("extract"), std::string::npos);

    p.current().extraction = {.tolerance = 25, .count = 40, .gap = 12};
    p.current().extractSeed = IntPoint{123, 45};
    const std::string text = projectText(p);
    EXPECT_NE(text.find("\"version\": 3"), std::string::npos) << text;
    EXPECT_NE(text.find("\"seed\": [123, 45]"), std::string::npos) << text;
    ProjectReadResult r = parseProject(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);

    // Settings alone (no seed) are kept too; a seed alone takes the defaults.
    p.current().extractSeed.reset();
    r = parseProject(projectText(p));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    r = parseProject(withHead(R"("extract": {"seed": [5, 6]})"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project.current().extraction, ExtractionSettings{});
    EXPECT_EQ(r.project.current().extractSeed, (IntPoint{5, 6}));
}

// Several curves make a version 4 file with a "series" list; one unnamed
// series in its first colour is still written as before, so older programs
// read it.
TEST(ProjectFile, SeveralSeriesRoundTripAsVersionFour) {
    DocumentRecord p;
    p.image = "chart.png";
    p.current().points = {{10, 20}, {30, 40}};
    EXPECT_EQ(projectText(p).find("series"), std::string::npos);

    Series dashed;
    dashed.name = "青 (破線)";
    dashed.colour = 0x00B4771F;
    dashed.points = {{5, 6}};
    dashed.extractSeed = IntPoint{7, 8};
    dashed.extraction.tolerance = 30;
    dashed.fit.degree = 2;
    p.series.push_back(dashed);
    Series empty;
    empty.name = "empty";
    empty.colour = 0x0000FF00;
    p.series.push_back(empty);
    p.active = 1;

    const std::string text = projectText(p);
    EXPECT_NE(text.find("\"version\": 4"), std::string::npos) << text;
    EXPECT_NE(text.find("\"colour\": \"#1F77B4\""), std::string::npos) << text;
    // The curves' own keys live in their entries only.
    EXPECT_EQ(text.find("\n  \"points\""), std::string::npos) << text;
    const ProjectReadResult r = parseProject(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    EXPECT_EQ(projectText(r.project), text);

    // A lone series that was named or recoloured keeps that too.
    DocumentRecord named;
    named.image = "chart.png";
    named.current().name = "data";
    const ProjectReadResult n = parseProject(projectText(named));
    ASSERT_TRUE(n.ok) << n.error;
    EXPECT_EQ(n.project, named);
}

// A PDF's page and resolution follow its name; a picture file's project
// names neither, and reads as it did.
TEST(ProjectFile, APdfPageIsKeptAndWrittenOnlyForAPage) {
    DocumentRecord p;
    p.image = "chart.jpg";
    const std::string picture = projectText(p);
    EXPECT_EQ(picture.find("\"page\""), std::string::npos) << picture;
    EXPECT_EQ(picture.find("\"dpi\""), std::string::npos) << picture;

    p.image = "paper.pdf";
    p.page = 3;
    p.dpi = 150;
    const std::string text = projectText(p);
    EXPECT_NE(text.find("\"image\": \"paper.pdf\",\n  \"page\": 3,\n  \"dpi\": 150,"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"version\": 3"), std::string::npos) << text;
    ProjectReadResult r = parseProject(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    EXPECT_EQ(projectText(r.project), text);

    // A page alone is at the usual resolution.
    r = parseProject(R"({"format": "quillfen-project", "version": 3, "image": "paper.pdf",
                         "page": 2})");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project.page, 2);
    EXPECT_EQ(r.project.dpi, kDefaultPdfDpi);
}

// A date axis's values are ISO 8601 texts beside "xTime": true; a project
// without one reads and writes as it did.
TEST(ProjectFile, ADateAxisIsKeptAsIsoTextsAndMarkedOnlyWhereThereIsOne) {
    DocumentRecord p;
    p.image = "chart.png";
    const std::string plain = projectText(p);
    EXPECT_EQ(plain.find("Time"), std::string::npos) << plain;

    p.axis.xTime = true;
    p.axis.xMin = parseIsoDateTime("2024-02-01").value();
    p.axis.xMax = parseIsoDateTime("2024-03-31T12:30:00.250+02:00").value();
    p.axis.yTime = true;
    p.axis.yMin = -1.5;  // before the epoch
    p.axis.yMax = 0.0;
    const std::string text = projectText(p);
    EXPECT_NE(text.find(R"("xMin": "2024-02-01T00:00:00Z",
    "xMax": "2024-03-31T10:30:00.250Z",
    "xLog": false,
    "xTime": true,
    "yMin": "1969-12-31T23:59:58.500Z",
    "yMax": "1970-01-01T00:00:00Z",
    "yLog": false,
    "yTime": true)"),
              std::string::npos)
        << text;
    const ProjectReadResult r = parseProject(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.project, p);
    EXPECT_EQ(projectText(r.project), text);

    // Any ISO form is read; a zone-less time is UTC.
    const ProjectReadResult typed = parseProject(withHead(
        R"("axis": {"xTime": true, "xMin": "2024-02-28 13:45", "xMax": "2024-03-10T02:30-05:00"})"));
    ASSERT_TRUE(typed.ok) << typed.error;
    EXPECT_EQ(formatIsoDateTime(typed.project.axis.xMin), "2024-02-28T13:45:00Z");
    EXPECT_EQ(formatIsoDateTime(typed.project.axis.xMax), "2024-03-10T07:30:00Z");
    EXPECT_EQ(typed.project.axis.yMax, 1.0);  // the other axis keeps its numbers
}

TEST(ProjectFile, MissingGeometryIsPlacedForThePicture) {
    struct Case {
        GeometryGiven given;
        Quad corners;
        IntRect graphRect, axisRect;
    };
    const Quad kept{{{1, 2}, {3, 4}, {5, 6}, {7, 8}}};
    const Quad placed{{{100, 100}, {500, 100}, {500, 500}, {100, 500}}};  // 600 x 600: a sixth
    const Case cases[] = {
        {{}, placed, {75, 75, 525, 525}, {150, 150, 450, 450}},
        {{true, false, false}, kept, {75, 75, 525, 525}, {150, 150, 450, 450}},
        {{true, true, true}, kept, {9, 9, 19, 19}, {10, 10, 18, 18}},
    };
    for (const Case& c : cases) {
        DocumentRecord p;
        p.mapping.corners = kept;
        p.mapping.graphRect = {9, 9, 19, 19};
        p.axis.axisRect = {10, 10, 18, 18};
        p.applied = p.mapping;
        placeMissingGeometry(p, c.given, 600, 600);
        EXPECT_EQ(p.mapping.corners, c.corners);
        EXPECT_EQ(p.mapping.graphRect, c.graphRect);
        EXPECT_EQ(p.axis.axisRect, c.axisRect);
        EXPECT_EQ(p.applied->corners, c.corners);  // a mapping without geometry follows
        EXPECT_EQ(p.applied->graphRect, c.graphRect);
    }
}

TEST(ProjectFile, ImageEntryIsRelativeInsideTheProjectFolder) {
    const struct {
        const char* image;
        const char* project;
        const char* entry;
    } cases[] = {
        {"/home/u/work/chart.png", "/home/u/work/a.quillfen.json", "chart.png"},
        {"/home/u/work/pics/c.png", "/home/u/work/a.quillfen.json", "pics/c.png"},
        {"/home/u/other/c.png", "/home/u/work/a.quillfen.json", "/home/u/other/c.png"},
        {"", "/home/u/work/a.quillfen.json", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(imageEntryFor(c.image, c.project), c.entry) << c.image;
}

TEST(ProjectFile, ImagePathIsRelativeToTheProjectFolder) {
    DocumentRecord p;
    p.image = "pics/chart.png";
    EXPECT_EQ(projectImagePath(p, "/home/u/work/a.quillfen.json"), "/home/u/work/pics/chart.png");
    EXPECT_EQ(projectImagePath(p, "a.quillfen.json"), "pics/chart.png");
    p.image = "/data/chart.png";
    EXPECT_EQ(projectImagePath(p, "/home/u/work/a.quillfen.json"), "/data/chart.png");
}

TEST(ProjectFile, ReadingAFileNamesItInTheMessage) {
    const auto dir = std::filesystem::temp_directory_path();
    EXPECT_EQ(readProjectFile((dir / "qf_missing.quillfen.json").string()).error,
              (dir / "qf_missing.quillfen.json").string() + ": cannot be opened");
    EXPECT_EQ(readProjectFile(dir.string()).error,
              dir.string() + ": is a folder, not a project file");

    {  // a FIFO blocked the reader forever
        const test::Fifo fifo(dir / ("qf_fifo_" + std::to_string(::getpid()) + ".quillfen.json"));
        ASSERT_TRUE(fifo.made());
        EXPECT_EQ(readProjectFile(fifo.path()).error,
                  fifo.path() + ": is a FIFO (named pipe), not a regular file; refused");
    }
    EXPECT_EQ(readProjectFile("/dev/zero").error,
              "/dev/zero: is a device, not a regular file; refused");

    const auto path = dir / "qf_project_test.quillfen.json";
    std::ofstream(path) << withHead(R"("fit": {"degree": 30})");
    EXPECT_EQ(readProjectFile(path.string()).error,
              path.string() + R"(: "fit.degree" must be a whole number from -20 to 20)");

    // The limit is read up to, not assumed: one byte over it is refused, a
    // file ending exactly at a read chunk's end is read whole.
    std::filesystem::resize_file(path, (64u << 20) + 1);
    EXPECT_EQ(readProjectFile(path.string()).error,
              path.string() + ": too large for a project file (over 64 MiB)");
    std::string exact = withHead(R"("fit": {"degree": 3})");
    exact.append(64 * 1024 - exact.size(), ' ');
    std::ofstream(path, std::ios::trunc) << exact;
    EXPECT_TRUE(readProjectFile(path.string()).ok);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace qf

#include "project/batch.h"

#include <filesystem>
#include <memory>
#include <ostream>

#include "common/cp932.h"
#include "fit/fit_driver.h"
#include "fit/report.h"
#include "graph/graph_image_file.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "points/source_point_file.h"
#include "project/project_file.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

// The program's texts end lines with CR LF; a terminal wants LF.
std::string unixLines(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

// The working state a project describes, as the window would hold it.
struct Session {
    ImagePair images;
    MappingQuad mapping;
    DisplaySource display;
    AxisSettings axis;
    SourcePointList points;
    int zoomShift = 0;
};

// Loads the picture and lays the project's geometry over the defaults placed
// for its size. Returns an error message, empty on success.
std::string prepare(DocumentRecord& project, const GeometryGiven& given,
                    const std::string& imagePath, Session& s) {
    const LoadResult load = loadImageFile(imagePath, s.images, s.mapping, s.axis.m_axisRect,
                                          s.display, s.zoomShift, /*greyMode=*/1);
    if (!load.ok) return imagePath + ": " + load.message;

    const cv::Mat& input = s.images.m_inputImage;
    placeMissingGeometry(project, given, input.cols, input.rows);
    // The working picture is mapped with the geometry the mapping was run
    // with; corners moved after it do not change what the points were clicked on.
    s.mapping.m_mappingCorners = project.mappedCorners;
    s.mapping.m_graphRect = project.mappedGraphRect;
    updateInnerQuad(s.mapping);
    s.axis = project.axis;
    for (const SourcePoint& p : project.points) s.points.add(p);

    // The points are clicked on the output image: the mapped chart, or the
    // grey copy when no mapping is run.
    if (project.applyMapping) runMapping(s.images, s.display.m_currentImage, s.mapping);
    s.display.m_displaySource = 2;
    selectCurrentImage(s.display);
    return {};
}

bool writeText(const fs::path& path, const std::string& text, std::ostream& err) {
    const FileWriteResult r = writeCp932File(path.string(), text);
    if (!r.ok) err << "quillfen: " << r.error << "\n";
    return r.ok;
}

}  // namespace

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    setMaxPicturePixels(options.maxPicturePixels);
    const ProjectReadResult read = readProjectFile(options.projectPath);
    if (!read.ok) {
        err << "quillfen: " << read.error << "\n";
        return BatchBadInput;
    }
    DocumentRecord project = read.project;
    const fs::path outDir = !options.outDir.empty() ? fs::path(options.outDir)
                                                    : fs::path(options.projectPath).parent_path();

    auto s = std::make_unique<Session>();
    if (const std::string e =
            prepare(project, read.given, projectImagePath(project, options.projectPath), *s);
        !e.empty()) {
        err << "quillfen: " << e << "\n";
        return BatchBadInput;
    }

    FitInput in;
    in.points = s->points.m_points.data();
    in.pointCount = s->points.m_pointCount;
    in.axis = s->axis;
    in.settings = project.fit;
    in.imagePresent = imagePresent(s->images, s->display.m_currentImage);
    auto work = std::make_unique<SvdFitWork>();
    FitResult result;
    GeneratedGraph graph;
    const FitOutcome fit = runFit(in, *work, result, graph);
    if (fit.status != FitOk) {
        // What the window would show: its message box, else the page "出力".
        std::string shown;
        for (const FitEvent& e : fit.events) shown = e.text;
        if (shown.empty() && fit.status == FitNotRun)
            shown = "quillfen: fit not run: it needs a picture and 1 to 128 points\n";
        err << unixLines(shown);
        return fit.status;
    }

    std::error_code ec;
    if (!outDir.empty()) fs::create_directories(outDir, ec);
    if (ec) {
        err << "quillfen: " << outDir.string() << ": " << ec.message() << "\n";
        return BatchBadInput;
    }

    GraphScene scene;
    const cv::Mat& working = *currentImage(s->images, s->display.m_currentImage);
    scene.imageSize = {working.cols, working.rows};
    scene.axis = s->axis;
    scene.graph = &graph;
    scene.style = project.graph;
    scene.displaySource = s->display.m_displaySource;
    scene.labelFont = defaultLabelFont();

    bool ok = writeText(outDir / "points.csv", sourcePointFileText(s->points, s->axis), err) &&
              writeText(outDir / "fit.csv",
                        generatedGraphFileText(result, graph, project.fit.m_basisExpr), err);
    if (ok) {
        const GraphImageSaveResult g =
            SaveGeneratedGraphImage(scene, (outDir / "graph.png").string());
        if (!g.saved)
            err << "quillfen: " << (outDir / "graph.png").string() << ": " << g.message << "\n";
        ok = g.saved;
    }
    if (ok) {
        const ImageWriteResult w = writeImageFile((outDir / "working.png").string(), working);
        if (!w.ok) err << "quillfen: " << w.error << "\n";
        ok = w.ok;
    }
    if (!ok) return BatchBadInput;

    out << unixLines(buildFitReport(result, project.fit.m_basisExpr));
    return BatchOk;
}

}  // namespace qf

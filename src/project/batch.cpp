#include "project/batch.h"

#include <climits>
#include <filesystem>
#include <future>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "common/csv_file.h"
#include "common/excerpt.h"
#include "common/regular_file.h"
#include "common/result_set.h"
#include "common/side_task.h"
#include "common/translate.h"
#include "fit/fit_driver.h"
#include "fit/report.h"
#include "graph/graph_image_file.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"
#include "imaging/pdf_page.h"
#include "points/source_point_file.h"
#include "project/fit_json.h"
#include "project/project_file.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

// The working state a project describes, as the window would hold it.
struct Session {
    ImagePair images;
    MappingGeometry mapping;  // placed for the picture's size as it is read
    DisplaySource display;
    AxisSettings axis;
    std::vector<SourcePoint> points;
    int zoomShift = 0;
    std::string pictureWarning;  // damage the decoder read past
};

// Loads the picture and lays the project's geometry over the defaults placed
// for its size. Returns an error message, empty on success.
std::string loadPicture(DocumentRecord& project, const GeometryGiven& given,
                        const std::string& imagePath, Session& s) {
    // A path longer than any file's is a value, not a name: quoted short.
    const std::string shown = imagePath.size() > PATH_MAX ? excerpt(imagePath) : imagePath;
    // Said plainly here; the window's own text for an unread picture is terse.
    if (const std::string why = regularFileProblem(imagePath); !why.empty())
        return shown + ": " + why;
    if (isPdfFile(imagePath)) {
        // The page the project names, rendered as the window renders it.
        PictureRead read = readPictureOrPdfPage(imagePath, project.page, project.dpi);
        if (!read.ok()) {
            // The message names the file on a line of its own; one line here.
            const auto reason = read.message.rfind('\n');
            return shown + ": " + translate("qf::Messages", kUnableToOpenFile) +
                   (reason == std::string::npos ? read.message : read.message.substr(reason + 1));
        }
        installLoadedImage(std::move(read.picture), s.images, s.mapping, s.axis.axisRect, s.display,
                           s.zoomShift, /*greyMode=*/true);
    } else {
        const LoadResult load = loadImageFile(imagePath, s.images, s.mapping, s.axis.axisRect,
                                              s.display, s.zoomShift, /*greyMode=*/true);
        if (!load.ok) return shown + ": " + load.message;
        if (!load.warning.empty()) s.pictureWarning = shown + ": " + load.warning;
    }

    const cv::Mat& input = s.images.inputImage;
    placeMissingGeometry(project, given, input.cols, input.rows);
    s.axis = project.axis;
    return {};
}

// The points are clicked on the output image: the mapped chart, or the grey
// copy when no mapping is run. `shown` is the picture shown as loaded.
void mapWorkingPicture(const DocumentRecord& project, CurrentImage shown, Session& s) {
    if (project.applied) runMapping(s.images, shown, *project.applied);
}

// The project's points, after those extracted from the working picture
// (which must be mapped by then) when the project asks for extraction.
std::string placePoints(const DocumentRecord& project, Session& s) {
    std::vector<SourcePoint> points = project.current().points;
    if (project.current().extractSeed) {
        if (const std::string e = extractBeforeListed(
                outputImage(s.images), extractionArea(project), *project.current().extractSeed,
                project.current().extraction, points);
            !e.empty())
            return "extract: " + e;
    }
    for (const SourcePoint& p : points)
        if (addSourcePoint(s.points, p) < 0) break;
    s.display.displaySource = 2;
    selectCurrentImage(s.display);
    return {};
}

// A picture of the set, encoded into its temporary file as it was made.
struct EncodedPicture {
    AtomicFile file;
    ImageIntoResult result;
};

EncodedPicture encodedPicture(const fs::path& path, const cv::Mat& image) {
    EncodedPicture e{AtomicFile(path.string()), {}};
    e.result = encodeImageInto(e.file, image);
    return e;
}

EncodedPicture encodedGraph(const fs::path& path, const GraphScene& scene) {
    EncodedPicture e{AtomicFile(path.string()), {}};
    e.result = encodeGraphImageInto(e.file, renderGeneratedGraphImage(scene));
    return e;
}

// The result files, each finished in a temporary file beside its target.
class ResultSet {
public:
    explicit ResultSet(std::string& errors) : errors_(errors) {}

    bool add(const fs::path& path, std::string_view bytes) {
        // Flushed to the disk when the set is committed, all files at once.
        AtomicFile file(path.string());
        AtomicWriteResult r = file.open();
        if (r.ok) r = file.write(bytes);
        if (!r.ok) {
            errors_ += "quillfen: " + r.error + "\n";
            return false;
        }
        files_.push_back(std::move(file));
        return true;
    }
    bool add(EncodedPicture picture) {
        if (!picture.result.ok()) {
            // The file's own failure as the other files report theirs; a
            // refused picture as the encoder words it.
            const ImageIntoResult& r = picture.result;
            errors_ += "quillfen: " + (r.file.ok ? r.error : r.file.error) + "\n";
            return false;
        }
        files_.push_back(std::move(picture.file));
        return true;
    }
    bool addText(const fs::path& path, const std::string& utf8, bool asUtf8) {
        const CsvBytes text = csvFileBytes(utf8, asUtf8 ? CsvEncoding::Utf8 : CsvEncoding::Cp932);
        if (!text.ok) {
            errors_ += "quillfen: " + path.string() + ": " + text.error + "\n";
            return false;
        }
        return add(path, text.bytes);
    }
    // Renames them all as one set: the temporaries of a set that failed before
    // its journal are removed, those of one that failed after it are left to
    // complete.
    bool commit() {
        const AtomicWriteResult r = commitResultSet(files_);
        if (!r.ok) errors_ += "quillfen: " + r.error + "\n";
        return r.ok;
    }

private:
    std::string& errors_;
    std::vector<AtomicFile> files_;
};

}  // namespace

ProjectRun runProject(const BatchOptions& options) {
    ProjectRun run;
    setMaxPicturePixels(options.maxPicturePixels);
    const ProjectReadResult read = readProjectFile(options.projectPath);
    if (!read.ok) {
        run.errors = "quillfen: " + read.error + "\n";
        return run;
    }
    DocumentRecord project = read.project;
    const fs::path outDir = !options.outDir.empty() ? fs::path(options.outDir)
                                                    : fs::path(options.projectPath).parent_path();
    run.outDir = outDir.string();

    auto s = std::make_unique<Session>();
    const auto failed = [&run](const std::string& e) {
        run.errors = "quillfen: " + e + "\n";
        return run;
    };
    if (const std::string e =
            loadPicture(project, read.given, projectImagePath(project, options.projectPath), *s);
        !e.empty())
        return failed(e);
    if (!s->pictureWarning.empty()) run.warnings = "quillfen: warning: " + s->pictureWarning + "\n";
    const CurrentImage asLoaded = s->display.currentImage;
    // Points of the project's own do not wait for the working picture: it is
    // mapped on a thread of its own while they are fitted. Extracted points
    // are found on the mapped picture.
    if (project.current().extractSeed) mapWorkingPicture(project, asLoaded, *s);
    if (const std::string e = placePoints(project, *s); !e.empty()) return failed(e);
    FitInput in;
    in.points = s->points.data();
    in.pointCount = int32_t(s->points.size());
    in.axis = s->axis;
    in.settings = project.current().fit;
    in.imagePresent = imagePresent(s->images, s->display.currentImage);
    // The mapped picture has the input's size.
    const cv::Size pictureSize = s->images.inputImage.size();
    std::shared_future<void> mapped;
    if (!project.current().extractSeed)
        mapped = startBeside([&project, asLoaded, &s] {
                     mapWorkingPicture(project, asLoaded, *s);
                 }).share();
    auto work = std::make_unique<SvdFitWork>();
    GeneratedGraph graph;
    const FitOutcome fit = runFit(in, *work, run.result, graph);
    if (fit.status != FitOk) {
        if (mapped.valid()) mapped.get();  // a mapping that failed is said first
        // What the window would show: its message box, else the page "出力".
        std::string shown;
        for (const FitEvent& e : fit.events) shown = e.text;
        if (shown.empty() && fit.status == FitNotRun)
            shown = "quillfen: fit not run: it needs a picture and 1 to 128 points\n";
        run.errors = unixLines(shown);
        if (!run.errors.empty() && run.errors.back() != '\n') run.errors += '\n';
        run.status = fit.status;
        return run;
    }

    const FitDetails details = fitDetailsOf(in, run.result, *work);

    std::error_code ec;
    if (!outDir.empty()) fs::create_directories(outDir, ec);
    if (ec) {
        run.errors = "quillfen: " + outDir.string() + ": " + ec.message() + "\n";
        return run;
    }

    // Held until the set is renamed or removed (declared before the files).
    const FolderLockResult folder = lockFolder(outDir.string(), options.lockWait);
    if (!folder.lock.held()) return failed(folder.error + "; nothing was written");
    if (const AtomicWriteResult r = recoverResultSet(outDir.string()); !r.ok)
        return failed(r.error + "; nothing was written");

    // The working picture is encoded, once mapped, while the texts and the
    // graph are made.
    const fs::path workingPath = outDir / "working.png";
    std::future<EncodedPicture> workingPng = startBeside([&] {
        if (mapped.valid()) mapped.get();
        return encodedPicture(workingPath, *currentImage(s->images, s->display.currentImage));
    });

    GraphScene scene;
    scene.imageSize = {pictureSize.width, pictureSize.height};
    scene.axis = s->axis;
    scene.graph = &graph;
    scene.style = project.graph;
    scene.displaySource = s->display.displaySource;
    scene.labelFont = defaultLabelFont();

    ResultSet files(run.errors);
    const bool written =
        files.addText(outDir / "points.csv", sourcePointFileText(s->points, s->axis),
                      options.utf8Csv) &&
        files.addText(outDir / "fit.csv",
                      generatedGraphFileText(run.result, graph, project.current().fit.basisExpr),
                      options.utf8Csv) &&
        files.add(outDir / "fit.json", fitJsonText(run.result, details, project.current().fit)) &&
        files.add(encodedGraph(outDir / "graph.png", scene)) && files.add(workingPng.get()) &&
        files.commit();
    if (!written) return run;

    // In the user's language, as the window's page shows it; the files above
    // are the same in every language.
    run.report = unixLines(fitReportForPage(run.result, project.current().fit.basisExpr));
    run.status = BatchOk;
    return run;
}

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    const ProjectRun run = runProject(options);
    err << run.warnings << run.errors;
    out << run.report;
    return run.status;
}

}  // namespace qf

#include "project/batch.h"

#include <algorithm>
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
#include "project/series_output.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

// The working state a project describes, as the window would hold it.
struct Session {
    ImagePair images;
    MappingGeometry mapping;  // placed for the picture's size as it is read
    DisplaySource display;
    AxisSettings axis;
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

// A series' points, after those extracted from the working picture (which
// must be mapped by then) when the series asks for extraction.
std::string placePoints(const DocumentRecord& project, const Series& series, const Session& s,
                        std::vector<SourcePoint>& into) {
    std::vector<SourcePoint> points = series.points;
    if (series.extractSeed) {
        if (const std::string e =
                extractBeforeListed(outputImage(s.images), extractionArea(project),
                                    *series.extractSeed, series.extraction, points);
            !e.empty())
            return "extract: " + e;
    }
    for (const SourcePoint& p : points)
        if (addSourcePoint(into, p) < 0) break;
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
    ResultSet(std::string folder, std::string& errors)
        : folder_(std::move(folder)), errors_(errors) {}

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
    bool commit(const std::vector<std::string>& removed) {
        const AtomicWriteResult r = commitResultSet(folder_, files_, removed);
        if (!r.ok) errors_ += "quillfen: " + r.error + "\n";
        return r.ok;
    }

private:
    std::string folder_;
    std::string& errors_;
    std::vector<AtomicFile> files_;
};

}  // namespace

ProjectRun runProject(const BatchOptions& options) {
    const ProjectReadResult read = readProjectFile(options.projectPath);
    if (!read.ok) {
        setMaxPicturePixels(options.maxPicturePixels);
        ProjectRun run;
        run.errors = "quillfen: " + read.error + "\n";
        return run;
    }
    BatchOptions o = options;
    if (o.outDir.empty()) o.outDir = fs::path(options.projectPath).parent_path().string();
    return runRecord(
        {read.project, read.given, projectImagePath(read.project, options.projectPath)}, o);
}

ProjectRun runRecord(const BatchRecord& work, const BatchOptions& options) {
    ProjectRun run;
    setMaxPicturePixels(options.maxPicturePixels);
    DocumentRecord project = work.record;
    const fs::path outDir = options.outDir;
    run.outDir = outDir.string();
    const std::size_t count = project.series.size();
    const bool several = count > 1;

    // Named from the start, so a run that stops before its fits still lists
    // every series (with the run's status).
    const std::vector<std::string> folders =
        several ? seriesFolderNames(project.series) : std::vector<std::string>(1);
    run.series.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        run.series[i].name = project.series[i].name;
        run.series[i].folder = folders[i];
        run.series[i].colour = project.series[i].colour;
    }

    auto s = std::make_unique<Session>();
    const auto failed = [&run](const std::string& e) {
        run.errors = "quillfen: " + e + "\n";
        return run;
    };
    if (const std::string e = loadPicture(project, work.given, work.imagePath, *s); !e.empty())
        return failed(e);
    if (!s->pictureWarning.empty()) run.warnings = "quillfen: warning: " + s->pictureWarning + "\n";
    const CurrentImage asLoaded = s->display.currentImage;
    // Points of the project's own do not wait for the working picture: it is
    // mapped on a thread of its own while they are fitted. Extracted points
    // are found on the mapped picture.
    const bool extracts = std::any_of(project.series.begin(), project.series.end(),
                                      [](const Series& x) { return x.extractSeed.has_value(); });
    if (extracts) mapWorkingPicture(project, asLoaded, *s);
    std::vector<std::vector<SourcePoint>> points(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (const std::string e = placePoints(project, project.series[i], *s, points[i]);
            !e.empty())
            return failed(several ? "series \"" + seriesLabel(project.series[i], i) + "\": " + e
                                  : e);
    }
    s->display.displaySource = 2;
    selectCurrentImage(s->display);
    // The mapped picture has the input's size.
    const cv::Size pictureSize = s->images.inputImage.size();
    // Asked before the mapping starts on its own thread, which replaces the
    // working picture meanwhile.
    const bool present = imagePresent(s->images, s->display.currentImage);
    std::shared_future<void> mapped;
    if (!extracts)
        mapped = startBeside([&project, asLoaded, &s] {
                     mapWorkingPicture(project, asLoaded, *s);
                 }).share();

    // Every series is fitted; the run's status is the worst of theirs, and
    // a run with a failed fit writes nothing, as a single series' does.
    std::vector<FitInput> inputs(count);
    std::vector<std::unique_ptr<SvdFitWork>> works;
    std::vector<GeneratedGraph> graphs(count);
    int worst = BatchOk;
    for (std::size_t i = 0; i < count; ++i) {
        const Series& series = project.series[i];
        SeriesRun& sr = run.series[i];
        FitInput& in = inputs[i];
        in.points = points[i].data();
        in.pointCount = int32_t(points[i].size());
        in.axis = s->axis;
        in.settings = series.fit;
        in.imagePresent = present;
        works.push_back(std::make_unique<SvdFitWork>());
        const FitOutcome fit = runFit(in, *works.back(), sr.result, graphs[i]);
        sr.status = fit.status;
        if (fit.status == FitOk) continue;
        // What the window would show: its message box, else the page "出力".
        std::string shown;
        for (const FitEvent& e : fit.events) shown = e.text;
        if (shown.empty() && fit.status == FitNotRun)
            shown = "quillfen: fit not run: it needs a picture and 1 to 128 points\n";
        sr.errors = unixLines(shown);
        if (!sr.errors.empty() && sr.errors.back() != '\n') sr.errors += '\n';
        if (several)
            run.errors += "quillfen: series \"" + seriesLabel(series, i) + "\":\n" + sr.errors;
        else
            run.errors = sr.errors;
        worst = std::max(worst, int(fit.status));
    }
    if (worst != BatchOk) {
        if (mapped.valid()) mapped.get();  // a mapping that failed is said first
        run.status = worst;
        return run;
    }
    const std::size_t active = project.active >= 0 && std::size_t(project.active) < count
                                   ? std::size_t(project.active)
                                   : 0;
    run.result = run.series[active].result;

    std::vector<FitDetails> details;
    for (std::size_t i = 0; i < count; ++i)
        details.push_back(fitDetailsOf(inputs[i], run.series[i].result, *works[i]));

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
    for (std::size_t i = 0; several && i < count; ++i) {
        const fs::path sub = outDir / folders[i];
        if (fs::create_directory(sub, ec); ec && !fs::is_directory(sub)) {
            run.errors = "quillfen: " + sub.string() + ": " + ec.message() + "\n";
            return run;
        }
        ec.clear();
    }

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
    scene.style = project.graph;
    scene.displaySource = s->display.displaySource;
    scene.labelFont = defaultLabelFont();

    ResultSet files(outDir.string(), run.errors);
    bool written = true;
    std::vector<SeriesFitJson> fitJson;
    std::vector<SeriesValues> values;
    for (std::size_t i = 0; written && i < count; ++i) {
        const Series& series = project.series[i];
        const fs::path dir = several ? outDir / folders[i] : outDir;
        scene.graph = &graphs[i];
        written = files.addText(dir / "points.csv", sourcePointFileText(points[i], s->axis),
                                options.utf8Csv) &&
                  files.addText(
                      dir / "fit.csv",
                      generatedGraphFileText(run.series[i].result, graphs[i], series.fit.basisExpr),
                      options.utf8Csv) &&
                  (several || files.add(dir / "fit.json", fitJsonText(run.series[i].result,
                                                                      details[i], series.fit))) &&
                  files.add(encodedGraph(dir / "graph.png", scene));
        fitJson.push_back({series.name, folders[i], series.colour, &run.series[i].result,
                           &details[i], &series.fit});
        values.push_back(seriesValuesOf(seriesLabel(series, i), points[i], s->axis));
    }
    if (several && written) {
        written =
            files.add(outDir / "fit.json", seriesFitJsonText(fitJson)) &&
            files.addText(outDir / "series.csv", seriesLongCsvText(values), options.utf8Csv) &&
            (!options.wideCsv ||
             files.addText(outDir / "series-wide.csv", seriesWideCsvText(values, s->axis),
                           options.utf8Csv));
    }
    // The working picture is waited for even when a file before it failed:
    // its task reads the session.
    EncodedPicture working = workingPng.get();
    // The files of the other shape of set, one series or several, go: a
    // folder read after this run holds this run's files only.
    std::vector<std::string> removed;
    if (several) {
        removed = {"points.csv", "fit.csv", "graph.png"};
        if (!options.wideCsv) removed.push_back("series-wide.csv");
    } else {
        removed = {"series.csv", "series-wide.csv"};
    }
    written = written && files.add(std::move(working)) && files.commit(removed);
    if (!written) return run;

    // In the user's language, as the window's page shows it; the files above
    // are the same in every language.
    for (std::size_t i = 0; i < count; ++i) {
        SeriesRun& sr = run.series[i];
        sr.report = unixLines(fitReportForPage(sr.result, project.series[i].fit.basisExpr));
        if (several) run.report += "-- " + seriesLabel(project.series[i], i) + " --\n";
        run.report += sr.report;
    }
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

#include "project/auto_set.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <system_error>

#include "common/excerpt.h"
#include "common/format.h"
#include "imaging/image_file.h"
#include "project/batch.h"
#include "project/batch_set.h"
#include "project/ordered_runs.h"
#include "project/project_file.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

struct AutoRun {
    AutoChart chart;
    std::string projectPath;  // written; empty when nothing was
    ProjectRun run;
    std::string summary;  // what was read, for the report
};

std::string summaryOf(const AutoChart& a, const std::string& projectPath) {
    const AxisSettings& ax = a.record.axis;
    const auto range = [](double lo, double hi, bool log) {
        return formatG(lo) + " to " + formatG(hi) + (log ? " (logarithmic)" : "");
    };
    std::string s = "axes: X " + range(ax.xMin, ax.xMax, ax.xLog) + ", Y " +
                    range(ax.yMin, ax.yMax, ax.yLog) +
                    (a.photographed ? ", read straightened by the frame's corners" : "") + "\n";
    s += "series:";
    for (const Series& series : a.record.series)
        if (!series.points.empty())
            s += " " + series.name + " (" + formatD(long(series.points.size())) + " points)";
    if (a.record.series.size() == 1 && a.record.series[0].points.empty()) s += " none";
    return s + "\nproject: " + projectPath + "\n";
}

AutoRun runOne(const std::string& picture, const std::string& dir, const AutoSetOptions& o) {
    AutoRun r;
    r.run.outDir = dir;
    setMaxPicturePixels(o.maxPicturePixels);
    r.chart = readChart(picture, o.chart);
    if (!r.chart.ok) {
        // Nothing is written for a picture whose axes are not known.
        r.run.status = BatchBadInput;
        r.run.outDir.clear();
        for (const std::string& line : r.chart.refusal)
            r.run.errors += "quillfen: " + picture + ": " + line + "\n";
        return r;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        r.run.errors = "quillfen: " + dir + ": " + ec.message() + "\n";
        return r;
    }
    r.projectPath = (fs::path(dir) / (projectName(picture) + kProjectSuffix)).string();
    DocumentRecord record = r.chart.record;
    record.image = imageEntryFor(fs::absolute(picture, ec).string(), r.projectPath);
    if (const std::string e = writeProjectFile(r.projectPath, record); !e.empty()) {
        r.run.errors = "quillfen: " + e + "\n";
        r.projectPath.clear();
        return r;
    }
    std::string notes;
    for (const std::string& n : r.chart.notes)
        notes += "quillfen: warning: " + picture + ": " + n + "\n";
    r.run = runProject({.projectPath = r.projectPath,
                        .outDir = dir,
                        .maxPicturePixels = o.maxPicturePixels,
                        .utf8Csv = o.utf8Csv,
                        .wideCsv = o.wideCsv});
    r.run.warnings = notes + r.run.warnings;
    r.summary = summaryOf(r.chart, r.projectPath);
    return r;
}

std::string autoJsonLine(const std::string& picture, const AutoRun& r) {
    auto line =
        nlohmann::ordered_json::parse(jsonLine(r.projectPath, projectName(picture), "", r.run));
    line["auto"] = true;
    line["picture"] = picture;
    line["read"] = r.chart.ok;
    line["photographed"] = r.chart.photographed;
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

std::vector<std::string> autoOutDirs(const AutoSetOptions& o) {
    std::vector<std::string> dirs;
    for (const std::string& p : o.pictures) {
        const fs::path base = o.outDir.empty() ? fs::path(p).parent_path() : fs::path(o.outDir);
        dirs.push_back((base / projectName(p)).string());
    }
    return dirs;
}

int runAutoSet(const AutoSetOptions& options, std::ostream& out, std::ostream& err) {
    const std::size_t count = options.pictures.size();
    // A picture's name names its folder: one that names no folder ("..")
    // would put the files beside or above --out.
    for (const std::string& p : options.pictures) {
        const std::string name = projectName(p);
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
            err << "quillfen: " << p << ": the picture's name \"" << excerpt(name)
                << "\" cannot name its output folder; rename the picture\n";
            return BatchUsage;
        }
    }
    const std::vector<std::string> dirs = autoOutDirs(options);
    // Two pictures of one name would write into one folder, the second
    // replacing the first: refused before anything is read.
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < count; ++i) {
        std::error_code ec;
        const std::string key = fs::weakly_canonical(fs::absolute(dirs[i], ec), ec).string();
        if (const auto [it, fresh] = seen.emplace(ec ? dirs[i] : key, i); !fresh) {
            err << "quillfen: " << options.pictures[it->second] << " and " << options.pictures[i]
                << " would both write into " << dirs[i] << "\n";
            return BatchUsage;
        }
    }

    int worst = BatchOk;
    runInOrder<AutoRun>(
        count, options.jobs,
        [&](std::size_t i) { return runOne(options.pictures[i], dirs[i], options); },
        [&](std::size_t i, const AutoRun& r) {
            worst = std::max(worst, r.run.status);
            err << r.run.warnings << r.run.errors << std::flush;
            if (options.json) {
                out << autoJsonLine(options.pictures[i], r) << std::flush;
            } else if (r.chart.ok) {
                if (count > 1) out << "==> " << options.pictures[i] << " <==\n";
                out << r.summary << r.run.report << std::flush;
            }
        });
    return worst;
}

}  // namespace qf

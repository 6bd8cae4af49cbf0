#include "project/batch_set.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <opencv2/core.hpp>
#include <optional>
#include <ostream>
#include <system_error>
#include <thread>

#include "common/excerpt.h"
#include "project/batch.h"
#include "project/project_file.h"
#include "project/series_output.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

// The message without the program's prefix, one text for every line.
std::string messageOf(std::string message) {
    for (std::size_t at = 0; (at = message.find("quillfen: ", at)) != std::string::npos;)
        if (at == 0 || message[at - 1] == '\n')
            message.erase(at, 10);
        else
            at += 10;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    return message;
}

void addFit(nlohmann::ordered_json& line, bool ok, const FitResult& result) {
    if (ok) {
        line["nx"] = result.fitNx;
        line["ny"] = result.fitNy;
        nlohmann::ordered_json coefs = nlohmann::ordered_json::array();
        for (int k = 0; k < result.fitCoefCount; ++k) coefs.push_back(result.fitCoefs[k]);
        line["coefficients"] = coefs;
    } else {
        line["nx"] = nullptr;
        line["ny"] = nullptr;
        line["coefficients"] = nlohmann::ordered_json::array();
    }
}

std::string colourText(uint32_t c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

}  // namespace

std::string jsonLine(const std::string& project, const std::string& name, const std::string& image,
                     const ProjectRun& run) {
    nlohmann::ordered_json line;
    line["project"] = project;
    line["name"] = name;
    if (!image.empty()) line["image"] = image;
    line["status"] = run.status;
    line["message"] = messageOf(run.errors);
    line["out"] = run.outDir;
    addFit(line, run.status == BatchOk, run.result);
    if (run.series.size() > 1) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const SeriesRun& sr : run.series) {
            nlohmann::ordered_json one;
            one["name"] = sr.name;
            one["folder"] = sr.folder;
            one["colour"] = colourText(sr.colour);
            one["status"] = sr.status;
            one["message"] = messageOf(sr.errors);
            addFit(one, run.status == BatchOk, sr.result);
            list.push_back(std::move(one));
        }
        line["series"] = std::move(list);
    }
    // Texts of any bytes (a file name need not be UTF-8) still make one line.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

namespace {

// What one item of the run is: a project, or the template on a picture.
struct Job {
    std::string project;  // the project or template, as given
    std::string name;     // its output folder's name
    std::string image;    // the picture, for a template
    std::string outDir;
};

// The template made ready for other pictures: its clicked points dropped,
// and series without a seed (nothing of theirs can be found on another
// picture) left out, with a warning.
struct TemplateRead {
    ProjectReadResult read;
    std::string warnings;
    std::string error;
};

TemplateRead readTemplate(const std::string& path) {
    TemplateRead t;
    t.read = readProjectFile(path);
    if (!t.read.ok) {
        t.error = t.read.error;
        return t;
    }
    DocumentRecord& r = t.read.project;
    std::vector<Series> kept;
    int active = 0;
    for (std::size_t i = 0; i < r.series.size(); ++i) {
        Series s = r.series[i];
        if (!s.extractSeed) {
            t.warnings += "quillfen: warning: " + path + ": series \"" + seriesLabel(s, i) +
                          "\" has no extraction seed and is left out\n";
            continue;
        }
        s.points.clear();
        if (int(i) == r.active) active = int(kept.size());
        kept.push_back(std::move(s));
    }
    if (kept.empty()) {
        t.error = path +
                  ": no series has an extraction seed; a template's clicked points belong to its "
                  "own picture, so only seeds are read on other pictures";
        return t;
    }
    r.series = std::move(kept);
    r.active = active;
    return t;
}

}  // namespace

std::string projectName(const std::string& projectPath) {
    std::string name = fs::path(projectPath).filename().string();
    const std::string suffix = kProjectSuffix;
    if (name.size() > suffix.size() && name.ends_with(suffix))
        name.resize(name.size() - suffix.size());
    else if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string projectNameProblem(const std::string& name) {
    const char* what = name.empty()                          ? "is empty"
                       : name == "." || name == ".."         ? "is not a folder's name"
                       : name.find('/') != std::string::npos ? "holds a path separator"
                                                             : nullptr;
    if (!what) return {};
    return "the project's name \"" + excerpt(name) + "\" " + what +
           "; rename the project file (its name without \"" + kProjectSuffix +
           "\" names its output folder)";
}

std::string pictureName(const std::string& picturePath) {
    return fs::path(picturePath).stem().string();
}

std::vector<std::string> projectOutDirs(const BatchSetOptions& o) {
    if (!o.images.empty()) {
        const fs::path base = o.outDir.empty() && !o.projects.empty()
                                  ? fs::path(o.projects.front()).parent_path()
                                  : fs::path(o.outDir);
        std::vector<std::string> dirs;
        for (const std::string& image : o.images)
            dirs.push_back((base / pictureName(image)).string());
        return dirs;
    }
    std::vector<std::string> dirs;
    for (const std::string& p : o.projects) {
        if (o.projects.size() == 1) {
            dirs.push_back(o.outDir);
            continue;
        }
        const fs::path base = o.outDir.empty() ? fs::path(p).parent_path() : fs::path(o.outDir);
        dirs.push_back((base / projectName(p)).string());
    }
    return dirs;
}

int runBatchSet(const BatchSetOptions& options, std::ostream& out, std::ostream& err) {
    const bool pictures = !options.images.empty();
    if (pictures && options.projects.size() != 1) {
        err << "quillfen: option '--images' takes one template project\n";
        return BatchUsage;
    }
    // A name that is no folder's name would put the files beside or above
    // --out ("...quillfen.json" is named ".."): refused before anything runs.
    for (const std::string& p : pictures ? options.images : options.projects) {
        const std::string name = pictures ? pictureName(p) : projectName(p);
        std::string why = projectNameProblem(name);
        if (pictures && !why.empty())
            why =
                "the picture's name \"" + excerpt(name) + "\" names no folder; rename the picture";
        if (!why.empty()) {
            err << "quillfen: " << p << ": " << why << "\n";
            return BatchUsage;
        }
    }
    const std::vector<std::string> dirs = projectOutDirs(options);
    std::vector<Job> jobs;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
        if (pictures)
            jobs.push_back({options.projects.front(), pictureName(options.images[i]),
                            options.images[i], dirs[i]});
        else
            jobs.push_back(
                {options.projects[i], projectName(options.projects[i]), std::string(), dirs[i]});
    }
    const std::size_t count = jobs.size();
    // Two projects (or pictures) of one name would write into one folder,
    // the second run replacing the first: refused before anything is written.
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < count; ++i) {
        std::error_code ec;
        // A single project without --out writes beside itself: its folder
        // is the empty path, which fs::absolute throws for.
        const fs::path dir =
            dirs[i].empty() ? fs::path(jobs[i].project).parent_path() / "." : fs::path(dirs[i]);
        const std::string key = fs::weakly_canonical(fs::absolute(dir, ec), ec).string();
        if (const auto [it, fresh] = seen.emplace(ec ? dirs[i] : key, i); !fresh) {
            const auto what = [&](std::size_t k) {
                return pictures ? jobs[k].image : jobs[k].project;
            };
            err << "quillfen: " << what(it->second) << " and " << what(i)
                << " would both write into " << dirs[i] << "\n";
            return BatchUsage;
        }
    }

    TemplateRead templ;
    if (pictures) {
        templ = readTemplate(options.projects.front());
        err << templ.warnings;
        if (!templ.error.empty()) {
            err << "quillfen: " << templ.error << "\n" << std::flush;
            return BatchBadInput;
        }
    }

    unsigned threads = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                        : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, count));

    std::vector<std::optional<ProjectRun>> runs(count);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            BatchOptions o{.projectPath = jobs[i].project,
                           .outDir = jobs[i].outDir,
                           .maxPicturePixels = options.maxPicturePixels,
                           .utf8Csv = options.utf8Csv,
                           .wideCsv = options.wideCsv};
            ProjectRun run =
                pictures ? runRecord({templ.read.project, templ.read.given, jobs[i].image}, o)
                         : runProject(o);
            const std::lock_guard lock(mutex);
            runs[i] = std::move(run);
            done.notify_all();
        }
    };
    std::vector<std::thread> workers;
    // A single project runs on this thread, as it always did; several run on
    // workers while this thread prints what is done. Projects side by side
    // fill the processors better than OpenCV's threads inside each one.
    const int openCvThreads = cv::getNumThreads();
    if (threads > 1) cv::setNumThreads(1);
    if (count > 1) {
        for (unsigned t = 0; t < threads; ++t) {
            try {
                workers.emplace_back(work);
            } catch (const std::system_error&) {
                break;  // no thread to spare: those started, or this one, do the rest
            }
        }
    }
    if (workers.empty()) work();

    int worst = BatchOk;
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return runs[i].has_value(); });
        const ProjectRun run = std::move(*runs[i]);
        runs[i].reset();
        lock.unlock();
        worst = std::max(worst, run.status);
        err << run.warnings << run.errors << std::flush;
        if (options.json) {
            out << jsonLine(jobs[i].project, jobs[i].name, jobs[i].image, run) << std::flush;
        } else if (run.status == BatchOk) {
            if (count > 1)
                out << "==> " << (pictures ? jobs[i].image : jobs[i].project) << " <==\n";
            out << run.report << std::flush;
        }
    }
    for (std::thread& t : workers) t.join();
    cv::setNumThreads(openCvThreads);
    return worst;
}

}  // namespace qf

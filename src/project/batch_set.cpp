#include "project/batch_set.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
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

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string jsonLine(const std::string& project, const std::string& name, const ProjectRun& run) {
    nlohmann::ordered_json line;
    line["project"] = project;
    line["name"] = name;
    line["status"] = run.status;
    // The message without the program's prefix, one text for every line.
    std::string message = run.errors;
    for (std::size_t at = 0; (at = message.find("quillfen: ", at)) != std::string::npos;)
        if (at == 0 || message[at - 1] == '\n')
            message.erase(at, 10);
        else
            at += 10;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    line["message"] = message;
    line["out"] = run.outDir;
    if (run.status == BatchOk) {
        line["nx"] = run.result.fitNx;
        line["ny"] = run.result.fitNy;
        nlohmann::ordered_json coefs = nlohmann::ordered_json::array();
        for (int k = 0; k < run.result.fitCoefCount; ++k) coefs.push_back(run.result.fitCoefs[k]);
        line["coefficients"] = coefs;
    } else {
        line["nx"] = nullptr;
        line["ny"] = nullptr;
        line["coefficients"] = nlohmann::ordered_json::array();
    }
    // Texts of any bytes (a file name need not be UTF-8) still make one line.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
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

std::vector<std::string> projectOutDirs(const BatchSetOptions& o) {
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
    const std::size_t count = options.projects.size();
    // A name that is no folder's name would put the files beside or above
    // --out ("...quillfen.json" is named ".."): refused before anything runs.
    for (const std::string& p : options.projects) {
        if (const std::string why = projectNameProblem(projectName(p)); !why.empty()) {
            err << "quillfen: " << p << ": " << why << "\n";
            return BatchUsage;
        }
    }
    const std::vector<std::string> dirs = projectOutDirs(options);
    // Two projects of one name would write into one folder, the second run
    // replacing the first: refused before anything is written.
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < count; ++i) {
        std::error_code ec;
        // A single project without --out writes beside itself: its folder
        // is the empty path, which fs::absolute throws for.
        const fs::path dir =
            dirs[i].empty() ? fs::path(options.projects[i]).parent_path() / "." : fs::path(dirs[i]);
        const std::string key = fs::weakly_canonical(fs::absolute(dir, ec), ec).string();
        if (const auto [it, fresh] = seen.emplace(ec ? dirs[i] : key, i); !fresh) {
            err << "quillfen: " << options.projects[it->second] << " and " << options.projects[i]
                << " would both write into " << dirs[i] << "\n";
            return BatchUsage;
        }
    }

    unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                     : std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, count));

    std::vector<std::optional<ProjectRun>> runs(count);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            ProjectRun run = runProject({.projectPath = options.projects[i],
                                         .outDir = dirs[i],
                                         .maxPicturePixels = options.maxPicturePixels,
                                         .utf8Csv = options.utf8Csv});
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
    if (jobs > 1) cv::setNumThreads(1);
    if (count > 1) {
        for (unsigned t = 0; t < jobs; ++t) {
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
            out << jsonLine(options.projects[i], projectName(options.projects[i]), run)
                << std::flush;
        } else if (run.status == BatchOk) {
            if (count > 1) out << "==> " << options.projects[i] << " <==\n";
            out << run.report << std::flush;
        }
    }
    for (std::thread& t : workers) t.join();
    cv::setNumThreads(openCvThreads);
    return worst;
}

}  // namespace qf

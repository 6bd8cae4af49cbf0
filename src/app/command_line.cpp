#include "app/command_line.h"

#include <algorithm>
#include <iterator>

#include "common/excerpt.h"
#include "fit/fit_types.h"

namespace qf {
namespace {

// "N=SOURCE" with N one of 0..3.
bool parseCameraSource(const std::string& text, std::pair<int, std::string>& into) {
    if (text.size() < 2 || text[0] < '0' || text[0] > '3' || text[1] != '=') return false;
    into = {text[0] - '0', text.substr(2)};
    return true;
}

// A whole number from lo to hi, digits only.
bool parseWholeNumber(const std::string& text, int64_t lo, int64_t hi, int64_t& into) {
    if (text.empty() || text.size() > 9) return false;
    int64_t n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return false;
        n = n * 10 + (ch - '0');
    }
    if (n < lo || n > hi) return false;
    into = n;
    return true;
}

bool parseJobs(const std::string& text, int& into) {
    int64_t n = 0;
    if (!parseWholeNumber(text, 1, 1024, n)) return false;
    into = static_cast<int>(n);
    return true;
}

// Whole megapixels, 1 to 10000, as pixels.
bool parseMegapixels(const std::string& text, int64_t& pixels) {
    int64_t n = 0;
    if (!parseWholeNumber(text, 1, 10000, n)) return false;
    pixels = n * 1'000'000;
    return true;
}

// A whole number from lo to hi, an optional minus sign and digits.
bool parseSignedNumber(const std::string& text, int64_t lo, int64_t hi, int64_t& into) {
    const bool negative = text.starts_with('-');
    int64_t n = 0;
    if (!parseWholeNumber(negative ? text.substr(1) : text, 0, std::max(-lo, hi), n)) return false;
    n = negative ? -n : n;
    if (n < lo || n > hi) return false;
    into = n;
    return true;
}

// The model names of the project file.
constexpr const char* kModels[] = {"polynomial", "exponentialProduct", "functionSum"};

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    auto fail = [&](std::string message) {
        c.action = CommandLine::Action::Error;
        c.error = std::move(message);
        return c;
    };
    bool batch = false;
    bool images = false;     // operands from here on are pictures for the template
    bool automatic = false;
    std::string batchOnly;  // the first option that needs --batch or --auto
    std::string autoOnly;   // the first option that needs --auto
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "-h" || a == "--help") {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if (a == "-V" || a == "--version") {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (a == "--batch") {
            std::string project;
            if (!value(project)) return fail("option '--batch' needs a project file");
            (batch ? operands.emplace_back() : c.projectPath) = project;
            batch = true;
        } else if (a == "--auto") {
            automatic = true;
        } else if (a == "--model") {
            std::string name;
            if (!value(name) ||
                std::find(std::begin(kModels), std::end(kModels), name) == std::end(kModels))
                return fail(
                    "option '--model' needs 'polynomial', 'exponentialProduct' or 'functionSum'");
            c.model = int32_t(std::find(std::begin(kModels), std::end(kModels), name) -
                              std::begin(kModels));
            autoOnly = autoOnly.empty() ? "--model" : autoOnly;
        } else if (a == "--degree") {
            std::string text;
            int64_t n = 0;
            if (!value(text) || !parseSignedNumber(text, kMinDegree, kMaxDegree, n))
                return fail("option '--degree' needs a whole number from " +
                            std::to_string(kMinDegree) + " to " + std::to_string(kMaxDegree));
            c.degree = int32_t(n);
            autoOnly = autoOnly.empty() ? "--degree" : autoOnly;
        } else if (a == "--out") {
            if (!value(c.outDir)) return fail("option '--out' needs a folder");
        } else if (a == "-j" || a == "--jobs" || (a.starts_with("-j") && a.size() > 2)) {
            std::string n = a.size() > 2 && a[1] == 'j' ? a.substr(2) : "";
            if ((n.empty() && !value(n)) || !parseJobs(n, c.jobs))
                return fail("option '-j' needs a number of projects from 1 to 1024");
            batchOnly = batchOnly.empty() ? "-j" : batchOnly;
        } else if (a == "--json") {
            c.json = true;
            batchOnly = batchOnly.empty() ? "--json" : batchOnly;
        } else if (a == "--wide") {
            c.wideCsv = true;
            batchOnly = batchOnly.empty() ? "--wide" : batchOnly;
        } else if (a == "--images") {
            images = true;
        } else if (a == "--max-megapixels") {
            std::string text;
            if (!value(text) || !parseMegapixels(text, c.maxPicturePixels))
                return fail("option '--max-megapixels' needs a whole number from 1 to 10000");
        } else if (a == "--csv") {
            std::string text;
            if (!value(text) || (text != "utf8" && text != "cp932"))
                return fail("option '--csv' needs 'utf8' or 'cp932'");
            c.utf8Csv = text == "utf8";
            batchOnly = batchOnly.empty() ? "--csv" : batchOnly;
        } else if (a == "--camera") {
            std::string text;
            std::pair<int, std::string> source;
            if (!value(text) || !parseCameraSource(text, source))
                return fail("option '--camera' needs N=SOURCE with N from 0 to 3");
            c.cameraSources.push_back(std::move(source));
        } else if (a == "--") {
            std::vector<std::string>& into = images ? c.images : operands;
            into.insert(into.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("unknown option '" + excerpt(a) + "'");
        } else {
            (images ? c.images : operands).push_back(a);
        }
    }
    if (images && !batch)
        return fail(
            "option '--images' needs a template: --batch TEMPLATE.quillfen.json --images "
            "PICTURE...");
    if (images && c.images.empty()) return fail("option '--images' needs at least one picture");
    if (images && !operands.empty())
        return fail("option '--images' takes one template; '" + excerpt(operands.front()) +
                    "' is one more project");
    if (automatic) {
        if (batch) return fail("option '--auto' does not go with '--batch'");
        if (!c.cameraSources.empty()) return fail("option '--camera' does not go with '--auto'");
        if (operands.empty()) return fail("option '--auto' needs a picture");
        c.picturePaths = operands;
        c.action = CommandLine::Action::Auto;
        return c;
    }
    if (!autoOnly.empty()) return fail("option '" + autoOnly + "' belongs to '--auto'");
    if (batch) {
        if (!c.cameraSources.empty()) return fail("option '--camera' does not go with '--batch'");
        // Further operands are further projects.
        c.projectPaths.push_back(c.projectPath);
        c.projectPaths.insert(c.projectPaths.end(), operands.begin(), operands.end());
        c.action = CommandLine::Action::Batch;
        return c;
    }
    if (!c.outDir.empty()) return fail("option '--out' belongs to '--batch' and '--auto'");
    if (!batchOnly.empty())
        return fail("option '" + batchOnly + "' belongs to '--batch' and '--auto'");
    if (c.maxPicturePixels != 0)
        return fail(
            "option '--max-megapixels' belongs to '--batch' and '--auto' (the window reads "
            "MaxPictureMegapixels from its settings)");
    if (operands.size() > 1) return fail("unexpected argument '" + excerpt(operands[1]) + "'");
    if (!operands.empty()) c.imagePath = operands.front();
    return c;
}

std::string usageText() {
    return "Usage: quillfen [--camera N=SOURCE]... [IMAGE | PROJECT.quillfen.json]\n"
           "       quillfen --batch PROJECT.quillfen.json [PROJECT...] [--out DIR] [-j N]\n"
           "                [--json] [--max-megapixels N] [--csv utf8|cp932] [--wide]\n"
           "       quillfen --batch TEMPLATE.quillfen.json --images PICTURE... [--out DIR]\n"
           "                [-j N] [--json] [--max-megapixels N] [--csv utf8|cp932] [--wide]\n"
           "       quillfen --auto PICTURE... [--out DIR] [-j N] [--json] [--model M]\n"
           "                [--degree D] [--max-megapixels N] [--csv utf8|cp932] [--wide]\n"
           "\n"
           "Turns a picture of a chart into numbers and a fitted formula.\n"
           "\n"
           "  IMAGE             open this picture in the window\n"
           "  PROJECT           open this project (a name ending in .json) in the window\n"
           "  --camera N=SOURCE play a video file or stream address as camera device N\n"
           "                    (0 to 3); repeatable; overrides QUILLFEN_CAMERA<N>=SOURCE\n"
           "                    in the environment; an empty SOURCE means the real device\n"
           "  --batch PROJECT   replay a project file without a window: fit, print the\n"
           "                    report, and write points.csv, fit.csv, fit.json,\n"
           "                    graph.png and working.png; a project of several series\n"
           "                    writes points.csv, fit.csv and graph.png into\n"
           "                    DIR/<series name>/, one fit.json of all series, and\n"
           "                    series.csv (series,x,y: every point of every series)\n"
           "  --images PICTURE...  read these pictures with the project as a template:\n"
           "                    its corners, axes, extraction seeds and fit settings;\n"
           "                    its clicked points belong to its own picture and are\n"
           "                    dropped (series without a seed are left out); each\n"
           "                    picture's files go into DIR/<picture name>/ (DIR: by\n"
           "                    default the template's folder)\n"
           "  --auto PICTURE    read each picture by itself: its frame (straightened when\n"
           "                    photographed), its axes from the tick labels and every\n"
           "                    series; write the project DIR/<name>/<name>.quillfen.json\n"
           "                    and the files of --batch beside it\n"
           "  --out DIR         where --batch writes (default: the project's folder);\n"
           "                    with several projects, into DIR/<project name>/; where\n"
           "                    --auto makes its folders (default: the picture's folder)\n"
           "  -j, --jobs N      run up to N projects or pictures at once (default: the\n"
           "                    number of processors)\n"
           "  --json            print one JSON line per project or picture (name, status,\n"
           "                    message, coefficients; with several series, each one's\n"
           "                    in \"series\") instead of the fit reports\n"
           "  --model M         the model --auto fits to every series: polynomial\n"
           "                    (default), exponentialProduct or functionSum\n"
           "  --degree D        its degree, -20 to 20 (default 3)\n"
           "  --max-megapixels N  refuse pictures of more than N million pixels\n"
           "                    (default 100)\n"
           "  --csv utf8        write every CSV file in UTF-8 with LF line ends\n"
           "                    (default cp932: code page 932, CR LF, a final NUL)\n"
           "  --wide            with several series, also write series-wide.csv: a row\n"
           "                    for every X any series has, each series' Y there\n"
           "                    (interpolated between its points, in log10 on a log\n"
           "                    axis; empty outside its X range)\n"
           "  -h, --help        show this help and exit\n"
           "  -V, --version     show the version and exit\n"
           "\n"
           "Exit status of --batch: 0 done; 1 fit not run (no picture or 1 to 128 points\n"
           "needed); 2 the solver failed; 3 settings or formulas rejected; 4 bad project\n"
           "file, unreadable picture or failed write; with several series, projects or\n"
           "pictures the highest of theirs (nothing of a project is written unless\n"
           "every series' fit is done). 64: the command line was wrong (also without\n"
           "--batch).\n"
           "Exit status of --auto: as --batch; 4 also when a picture's axes cannot be\n"
           "read (nothing is written for that picture).\n";
}

std::string versionText() {
    return "quillfen " QF_VERSION "\n";
}

}  // namespace qf

#include "app/command_line.h"

#include "common/excerpt.h"

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

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    auto fail = [&](std::string message) {
        c.action = CommandLine::Action::Error;
        c.error = std::move(message);
        return c;
    };
    bool batch = false;
    bool images = false;    // operands from here on are pictures for the template
    std::string batchOnly;  // the first option that needs --batch
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
    if (batch) {
        if (!c.cameraSources.empty()) return fail("option '--camera' does not go with '--batch'");
        // Further operands are further projects.
        c.projectPaths.push_back(c.projectPath);
        c.projectPaths.insert(c.projectPaths.end(), operands.begin(), operands.end());
        c.action = CommandLine::Action::Batch;
        return c;
    }
    if (!c.outDir.empty()) return fail("option '--out' belongs to '--batch'");
    if (!batchOnly.empty()) return fail("option '" + batchOnly + "' belongs to '--batch'");
    if (c.maxPicturePixels != 0)
        return fail(
            "option '--max-megapixels' belongs to '--batch' (the window reads "
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
           "  --out DIR         where --batch writes (default: the project's folder);\n"
           "                    with several projects, into DIR/<project name>/\n"
           "  -j, --jobs N      run up to N projects at once (default: the number of\n"
           "                    processors)\n"
           "  --json            print one JSON line per project (name, status, message,\n"
           "                    coefficients; with several series, each one's in\n"
           "                    \"series\") instead of the fit reports\n"
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
           "--batch).\n";
}

std::string versionText() {
    return "quillfen " QF_VERSION "\n";
}

}  // namespace qf

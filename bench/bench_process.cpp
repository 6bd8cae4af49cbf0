// The program as the user starts it: whole processes, from exec to exit,
// against anchors built in the same tree and run interleaved with it.
//
//   start to window shown   quillfen (quits after the view's first paint)
//                           against minimal_window, the floor of a Qt window
//   --version               against minimal_window --version
//   8000 x 6000 PNG shown   quillfen PICTURE against decode_picture PICTURE
//                           (the same codec, no window)
//   peak memory             of that run against the decoded picture (144 MiB)
//   --batch on the sample   against decode_picture on the sample picture
//   (and both against decode_picture --page-buffers, which takes the
//   picture's memory as the program does; reported without a target)
//
// Each case runs kRuns times, interleaved; the fastest run counts (the one
// least disturbed by other work on the machine). Every process gets settings
// and state folders of its own (empty: the window's first start, not the
// layout the developer left) and the C locale, in which the window shows
// its Japanese source texts; the window in an English locale is reported
// beside it, without a target.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "chart_picture.h"
#include "imaging/image_file.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 7;

struct Run {
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs argv with extra environment entries, its output thrown away.
Run runProcess(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::vector<std::string> envStrings(env);
    for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : envStrings) envp.push_back(const_cast<char*>(e.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) return r;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.peakMiB = double(usage.ru_maxrss) / 1024.0;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

struct Case {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::vector<Run> runs;
    double best() const {
        double t = 1e30;
        for (const Run& r : runs) t = std::min(t, r.seconds);
        return t;
    }
    double peakMiB() const {
        double m = 1e30;
        for (const Run& r : runs) m = std::min(m, r.peakMiB);
        return m;
    }
    bool ok() const {
        return std::all_of(runs.begin(), runs.end(), [](const Run& r) { return r.ok; });
    }
};

// The large chart as a PNG.
void bigChart(const fs::path& dir) {
    qf::writeImageFile((dir / "chart-8000.png").string(), qf::bench::largeChartPicture());
}

void ratio(const char* what, double value, const char* op, double target) {
    std::printf("%s: ratio %.2f (target %s %.2f)\n", what, value, op, target);
}

}  // namespace

int main() {
    const fs::path dir =
        fs::temp_directory_path() / ("qf_bench_process_" + std::to_string(getpid()));
    fs::create_directories(dir);
    // Drawn in a child process: a process's peak memory is inherited by what
    // it starts, and the runs below are to show their own.
    const std::string big = (dir / "chart-8000.png").string();
    if (const pid_t pid = fork(); pid == 0) {
        bigChart(dir);
        _exit(0);
    } else {
        int status = 0;
        waitpid(pid, &status, 0);
    }
    const std::string quillfen = QF_PROGRAM;
    const std::string floor = QF_MINIMAL_WINDOW;
    const std::string decoder = QF_DECODE_PICTURE;
    const std::string sample = std::string(QF_SOURCE_DIR) + "/samples/chart.quillfen.json";
    const std::string samplePicture = std::string(QF_SOURCE_DIR) + "/samples/chart.jpg";
    const std::vector<std::string> offscreen{"QT_QPA_PLATFORM=offscreen"};
    const std::vector<std::string> quitShown{"QT_QPA_PLATFORM=offscreen",
                                             "QUILLFEN_QUIT_WHEN_SHOWN=1"};
    std::vector<std::string> quitShownEnglish = quitShown;
    quitShownEnglish.push_back("LC_ALL=en_US.UTF-8");
    const std::vector<std::string> common{"XDG_CONFIG_HOME=" + (dir / "config").string(),
                                          "XDG_STATE_HOME=" + (dir / "state").string(),
                                          "LC_ALL=C.UTF-8"};

    std::vector<Case> cases{
        {"window shown", {quillfen}, quitShown, {}},
        {"minimal window shown", {floor}, offscreen, {}},
        {"--version", {quillfen, "--version"}, offscreen, {}},
        {"minimal --version", {floor, "--version"}, offscreen, {}},
        {"8000x6000 png shown", {quillfen, big}, quitShown, {}},
        {"8000x6000 png decoded", {decoder, big}, {}, {}},
        {"--batch sample", {quillfen, "--batch", sample, "--out", (dir / "out").string()}, {}, {}},
        {"sample picture decoded", {decoder, samplePicture}, {}, {}},
        // The same anchors with the picture's memory taken as the program
        // takes it: what is left of the ratios once decoding itself is
        // equally fast in both.
        {"8000x6000 png decoded, page buffers", {decoder, "--page-buffers", big}, {}, {}},
        {"sample decoded, page buffers", {decoder, "--page-buffers", samplePicture}, {}, {}},
        {"window shown, English", {quillfen}, quitShownEnglish, {}},
    };
    // A case's own entries come first, so they win over the common ones.
    for (Case& c : cases) c.env.insert(c.env.end(), common.begin(), common.end());
    for (int i = 0; i < kRuns; ++i)
        for (Case& c : cases) c.runs.push_back(runProcess(c.args, c.env));

    for (const Case& c : cases)
        std::printf("%-36s %8.1f ms  peak %6.1f MiB%s\n", c.name, c.best() * 1e3, c.peakMiB(),
                    c.ok() ? "" : "  (FAILED)");
    const auto t = [&](int i) { return cases[std::size_t(i)].best(); };
    ratio("start to window shown/minimal Qt window", t(0) / t(1), "<=", 1.5);
    ratio("--version/minimal Qt program --version", t(2) / t(3), "<=", 1.5);
    ratio("8000x6000 png on the command line to shown/decoding alone", t(4) / t(5), "<=", 1.15);
    ratio("peak memory with 8000x6000 shown/decoded size 144 MiB", cases[4].peakMiB() / 144.0,
          "<=", 2.3);
    ratio("--batch on the sample/decoding the sample picture", t(6) / t(7), "<=", 2.0);
    std::printf(
        "against decoding with the program's picture memory (no target): "
        "8000x6000 png shown %.2f, --batch %.2f\n",
        t(4) / t(8), t(6) / t(9));
    std::printf("start to window shown in an English locale/minimal Qt window (no target): %.2f\n",
                t(10) / t(1));
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}

// The batch mode's output folder: it holds the files of one run, whatever
// runs beside it or is killed in the middle, and nothing goes outside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/child_process.h"
#include "../support/file_bytes.h"
#include "common/result_set.h"
#include "project/batch.h"
#include "project/batch_set.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(QF_SOURCE_DIR) / "samples";

using test::readAll;

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

const std::set<std::string> kSetNames(std::begin(kResultSetNames), std::end(kResultSetNames));

class BatchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qf_folder_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(kSamples / "chart.jpg", dir_ / "chart.jpg");
        project_ = (dir_ / "chart.quillfen.json").string();
        fs::copy_file(kSamples / "chart.quillfen.json", project_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    ProjectRun run(const fs::path& out, std::chrono::milliseconds wait = std::chrono::minutes(1)) {
        return runProject({project_, out.string(), 0, wait});
    }

    // A set of another run, each file saying which it is.
    void oldSet(const fs::path& out) {
        fs::remove_all(out);
        fs::create_directories(out);
        for (const char* n : kResultSetNames) std::ofstream(out / n) << "old " << n;
    }
    bool holdsOldSet(const fs::path& out) {
        for (const char* n : kResultSetNames)
            if (readAll(out / n) != std::string("old ") + n) return false;
        return true;
    }
    std::vector<std::string> setFiles(const fs::path& out) {
        std::vector<std::string> files;
        for (const char* n : kResultSetNames) files.push_back(readAll(out / n));
        return files;
    }
    bool holdsSetOf(const fs::path& out, const fs::path& reference) {
        for (const char* n : kResultSetNames)
            if (readAll(out / n) != readAll(reference / n)) return false;
        return true;
    }

    fs::path dir_;
    std::string project_;
};

// Killed between the set's renames (with strace, at the second), a run left
// points.csv new and the other files old, and killed earlier it left hidden
// temporary files for good. The next writer of the folder now completes a set
// whose every file was written, removes one that was not, and leaves nothing
// hidden behind.
TEST_F(BatchFolder, AKilledRunsSetIsCompletedOrRemovedByTheNextWriter) {
    const fs::path reference = dir_ / "reference";
    ASSERT_EQ(run(reference).status, BatchOk);
    const fs::path out = dir_ / "out";
    const std::string inOut = (out / "").string();
    struct Case {
        const char* call;
        int n;           // killed as it starts the n-th such call into the folder
        bool completed;  // the new set is whole afterwards; else the old one
    } cases[] = {
        {"create", 2, false},  // fit.csv's temporary file
        {"create", 5, false},  // the journal's
        {"rename", 1, false},  // the journal: every file is written, none named
        {"rename", 2, true},   // points.csv: the journal names every file
        {"rename", 3, true},   // fit.csv: points.csv is new, the rest old
        {"rename", 6, true},   // working.png, the last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.n));
        oldSet(out);
        const auto work = [&] { return run(out).status; };
        const test::ChildEnd end = std::string(c.call) == "rename"
                                       ? test::killAtCall(work, test::renamesInto(inOut), c.n)
                                       : test::killAtCall(work, test::createsIn(inOut), c.n);
        if (end == test::ChildEnd::Untraceable) GTEST_SKIP() << "no tracing here";
        ASSERT_EQ(end, test::ChildEnd::Killed);
        EXPECT_FALSE(holdsSetOf(out, reference));
        EXPECT_NE(namesIn(out), kSetNames) << "the kill left no temporary file";

        const AtomicWriteResult r = recoverResultSet(out.string());
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(namesIn(out), kSetNames);
        EXPECT_TRUE(c.completed ? holdsSetOf(out, reference) : holdsOldSet(out));
    }

    // A run does the same before it writes: what the kill left is gone, and
    // the folder holds its set.
    oldSet(out);
    ASSERT_EQ(test::killAtCall([&] { return run(out).status; }, test::createsIn(inOut), 3),
              test::ChildEnd::Killed);
    ASSERT_NE(namesIn(out), kSetNames);
    const ProjectRun next = run(out);
    ASSERT_EQ(next.status, BatchOk) << next.errors;
    EXPECT_EQ(namesIn(out), kSetNames);
    EXPECT_TRUE(holdsSetOf(out, reference));
}

// Runs into one folder take turns: a run holds the folder from its first
// temporary file to its last rename. One that cannot have the folder in the
// time it may wait says so and writes nothing.
TEST_F(BatchFolder, ARunHoldsTheFolderForItsWholeWrite) {
    const fs::path out = dir_ / "out";
    const std::string inOut = (out / "").string();
    const auto work = [&] { return run(out).status; };
    const std::string refusal = "quillfen: " + out.string() +
                                ": another run is writing its files into this folder; "
                                "nothing was written\n";
    struct Case {
        const char* call;
        int n;
    } cases[] = {{"create", 1}, {"rename", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.n));
        oldSet(out);
        ProjectRun beside;
        std::vector<std::string> filesBefore;
        // The other run waits at its first file, or between its renames.
        const auto meanwhile = [&] {
            filesBefore = setFiles(out);
            beside = run(out, std::chrono::milliseconds(0));
        };
        const test::ChildEnd end =
            std::string(c.call) == "rename"
                ? test::killAtCall(work, test::renamesInto(inOut), c.n, meanwhile)
                : test::killAtCall(work, test::createsIn(inOut), c.n, meanwhile);
        if (end == test::ChildEnd::Untraceable) GTEST_SKIP() << "no tracing here";
        ASSERT_EQ(end, test::ChildEnd::Killed);
        EXPECT_EQ(beside.status, BatchBadInput);
        EXPECT_EQ(beside.errors, refusal);
        // Nothing of the refused run (this process): no file replaced, no temporary.
        EXPECT_EQ(setFiles(out), filesBefore);
        for (const std::string& name : namesIn(out))
            EXPECT_EQ(name.find("." + std::to_string(::getpid()) + "."), std::string::npos);
    }
    // Free again, the folder takes the next run's set.
    const ProjectRun after = run(out, std::chrono::milliseconds(0));
    EXPECT_EQ(after.status, BatchOk) << after.errors;
    EXPECT_EQ(namesIn(out), kSetNames);
}

// A journal this program did not write is not acted on: the run stops,
// naming it, and the folder stays as it was.
TEST_F(BatchFolder, AForeignJournalIsLeftAloneAndNamed) {
    const fs::path out = dir_ / "out";
    oldSet(out);
    std::ofstream(out / kResultSetJournal) << "quillfen-result-set 1\n.bashrc\tpoints.csv\n";
    const ProjectRun r = run(out);
    EXPECT_EQ(r.status, BatchBadInput);
    EXPECT_EQ(r.errors, "quillfen: " + (out / kResultSetJournal).string() +
                            ": a line names no temporary file of its target; remove it to "
                            "write here; nothing was written\n");
    EXPECT_TRUE(holdsOldSet(out));
}

// A project file named "...quillfen.json" is named "..": with several
// projects its files went to the folder above --out, and "..quillfen.json"
// (named ".") wrote into --out itself. Such a project is refused, naming it,
// before any project runs.
TEST_F(BatchFolder, ProjectNamesThatNameNoFolderAreRefused) {
    struct Case {
        std::string path;
        std::string name;
        const char* why;
    } cases[] = {
        {(dir_ / "...quillfen.json").string(), "..", "is not a folder's name"},
        {(dir_ / "..quillfen.json").string(), ".", "is not a folder's name"},
        {dir_.string() + "/", "", "is empty"},
    };
    const fs::path results = dir_ / "results";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.path.back() != '/')
            fs::copy_file(project_, c.path, fs::copy_options::overwrite_existing);
        for (const std::vector<std::string>& projects :
             {std::vector<std::string>{project_, c.path}, std::vector<std::string>{c.path}}) {
            std::ostringstream out, err;
            BatchSetOptions options;
            options.projects = projects;
            options.outDir = results.string();
            EXPECT_EQ(runBatchSet(options, out, err), BatchUsage);
            EXPECT_EQ(err.str(), "quillfen: " + c.path + ": the project's name \"" + c.name +
                                     "\" " + c.why +
                                     "; rename the project file (its name without "
                                     "\".quillfen.json\" names its output folder)\n");
            EXPECT_EQ(out.str(), "");
            EXPECT_FALSE(fs::exists(results));
            EXPECT_FALSE(fs::exists(dir_ / "fit.csv"));
        }
    }
    EXPECT_EQ(projectNameProblem("chart"), "");
    EXPECT_NE(projectNameProblem("a/b"), "");
}

}  // namespace
}  // namespace qf

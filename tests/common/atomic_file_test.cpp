#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../support/child_process.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qf-atomic-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    // Everything in the folder but the names given: leftovers of a write.
    std::vector<std::string> others(std::initializer_list<std::string> known) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) out.push_back(name);
        }
        return out;
    }
    fs::path dir;
};

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndKeepsItsPermissions) {
    const fs::path target = dir / "fit.csv";
    put(target, std::string(5000, 'o'));
    ::chmod(target.c_str(), 0600);
    const AtomicWriteResult r = writeFileAtomically(target.string(), "new");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(slurp(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(others({"fit.csv"}).empty());
}

TEST_F(AtomicFileTest, ReplacesAPlantedLinkInsteadOfWritingThroughIt) {
    const fs::path victim = dir / "elsewhere.txt";
    put(victim, "keep me");
    fs::create_symlink(victim, dir / "points.csv");
    ASSERT_TRUE(writeFileAtomically((dir / "points.csv").string(), "points").ok);
    EXPECT_EQ(slurp(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(dir / "points.csv"));
    EXPECT_EQ(slurp(dir / "points.csv"), "points");
}

TEST_F(AtomicFileTest, FailuresLeaveTheOldFileAndNoTemporary) {
    struct Case {
        const char* name;
        fs::path target;
        int errorNumber;
    };
    fs::create_directories(dir / "folder");
    const Case cases[] = {
        {"missing folder", dir / "no-such" / "x.csv", ENOENT},
        {"a folder at the name", dir / "folder", EISDIR},
    };
    for (const Case& c : cases) {
        const AtomicWriteResult r = writeFileAtomically(c.target.string(), "data");
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.errorNumber, c.errorNumber) << c.name;
        EXPECT_NE(r.error.find(c.target.string()), std::string::npos) << c.name << ": " << r.error;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(others({"folder"}).empty());
}

// The rename could replace a file the user made read-only; a plain write could not.
TEST_F(AtomicFileTest, AReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    const fs::path target = dir / "fit.csv";
    put(target, "keep");
    ::chmod(target.c_str(), 0444);
    const AtomicWriteResult r = writeFileAtomically(target.string(), "new");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorNumber, EACCES);
    EXPECT_EQ(slurp(target), "keep");
    EXPECT_TRUE(others({"fit.csv"}).empty());
}

// A full disk, as the kernel reports it to a writer over its file-size limit:
// the write fails part-way, and the good old file must survive it whole.
TEST_F(AtomicFileTest, AWriteCutShortLeavesTheOldFileWhole) {
    const fs::path target = dir / "fit.csv";
    const std::string old(3000, 'g');
    put(target, old);
    const int status = test::exitStatusInChild([&] {
        test::diskFullPast(1024);
        const AtomicWriteResult r = writeFileAtomically(target.string(), std::string(100000, 'n'));
        return r.ok ? 0 : (r.errorNumber == EFBIG ? 7 : 1);
    });
    EXPECT_EQ(status, 7);
    EXPECT_EQ(slurp(target), old);
    EXPECT_TRUE(others({"fit.csv"}).empty());
}

TEST_F(AtomicFileTest, ASetIsReplacedOnlyWhenEveryFileWasWritten) {
    put(dir / "a.csv", "old a");
    put(dir / "b.png", "old b");
    {
        std::vector<AtomicFile> files;
        files.emplace_back((dir / "a.csv").string());
        files.emplace_back((dir / "b.png").string());
        ASSERT_TRUE(files[0].open().ok);
        ASSERT_TRUE(files[0].write("new a").ok);
        // The second file of the run never got written: nothing is replaced.
        EXPECT_FALSE(commitAll(files).ok);
    }
    EXPECT_EQ(slurp(dir / "a.csv"), "old a");
    EXPECT_EQ(slurp(dir / "b.png"), "old b");
    EXPECT_TRUE(others({"a.csv", "b.png"}).empty());

    std::vector<AtomicFile> files;
    files.emplace_back((dir / "a.csv").string());
    files.emplace_back((dir / "b.png").string());
    for (AtomicFile& f : files) {
        ASSERT_TRUE(f.open().ok);
        // An encoder writes the temporary file by its name.
        std::ofstream(f.tempPath(), std::ios::binary) << "new " << f.targetPath().back();
    }
    ASSERT_TRUE(commitAll(files).ok);
    EXPECT_EQ(slurp(dir / "a.csv"), "new v");
    EXPECT_EQ(slurp(dir / "b.png"), "new g");
    EXPECT_TRUE(others({"a.csv", "b.png"}).empty());
}

}  // namespace
}  // namespace qf

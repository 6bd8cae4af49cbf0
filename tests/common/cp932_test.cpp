#include "common/cp932.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Cp932File : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qf_cp932_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST(Cp932, ConvertsAndAppendsOneNul) {
    const Cp932Text t = toCp932("No.,X\r\n係数\u3000あ");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.bytes, std::string("No.,X\r\n\x8C\x57\x90\x94\x81\x40\x82\xA0", 15) + '\0');
}

TEST(Cp932, RefusesTextOutsideTheCodePage) {
    struct Case {
        const char* text;
        const char* named;
    } cases[] = {
        {"A\u2122B", "U+2122"},         // trade mark sign
        {"x = \U0001F600", "U+1F600"},  // emoji
        {"ok\xFF", "0xFF"},             // not UTF-8
        {"cut \xE3\x81", "0xE3"},       // sequence cut short
    };
    for (const Case& c : cases) {
        const Cp932Text t = toCp932(c.text);
        EXPECT_FALSE(t.ok) << c.named;
        EXPECT_TRUE(t.bytes.empty());
        EXPECT_NE(t.error.find(c.named), std::string::npos) << t.error;
    }
}

// A fit file of some 23,000 rows once stopped at 524,286 bytes and was
// reported as saved: nothing may be cut, whatever the length.
TEST(Cp932, KeepsTextOfAnyLength) {
    const std::size_t oldLimit = 524286;
    struct Case {
        std::string text;
        std::size_t size;  // converted size including the NUL
    } cases[] = {
        {std::string(oldLimit - 1, 'a'), oldLimit},
        {std::string(oldLimit + 10, 'a'), oldLimit + 11},
        {std::string(oldLimit - 2, 'a') + "あ" + "z", oldLimit + 2},  // across the old limit
        {std::string(3u << 20, '7') + "\r\n", (3u << 20) + 3},
        {"係数" + std::string(oldLimit * 2, ',') + "係数x", oldLimit * 2 + 10},
    };
    for (const Case& c : cases) {
        const Cp932Text t = toCp932(c.text);
        ASSERT_TRUE(t.ok);
        EXPECT_EQ(t.bytes.size(), c.size);
        EXPECT_EQ(t.bytes.back(), '\0');
        EXPECT_EQ(t.bytes[t.bytes.size() - 2], c.text.back());
    }
}

TEST_F(Cp932File, CreatesThenTruncates) {
    const fs::path file = dir_ / "out.csv";
    ASSERT_TRUE(writeCp932File(file, "a much longer first content\r\n").ok);
    const FileWriteResult r = writeCp932File(file, "No.,X,Y\r\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readAll(file), std::string("No.,X,Y\r\n") + '\0');
}

TEST_F(Cp932File, WritesUnderAJapaneseFolderName) {
    const fs::path sub = dir_ / "グラフ データ";
    fs::create_directories(sub);
    ASSERT_TRUE(writeCp932File(sub / "点.csv", "係数").ok);
    EXPECT_EQ(readAll(sub / "点.csv"), std::string("\x8C\x57\x90\x94", 4) + '\0');
}

TEST_F(Cp932File, ReportsThePathAndTheReason) {
    const std::string missing = (dir_ / "no such folder" / "out.csv").string();
    FileWriteResult r = writeCp932File(missing, "x");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, missing + ": No such file or directory");

    r = writeCp932File(dir_.string(), "x");  // a folder, not a file
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, dir_.string() + ": Is a directory");
}

TEST_F(Cp932File, RefusedTextLeavesTheOldFileAlone) {
    const fs::path file = dir_ / "keep.csv";
    ASSERT_TRUE(writeCp932File(file, "old").ok);
    const FileWriteResult r = writeCp932File(file, "new \u2122");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(readAll(file), std::string("old") + '\0');
}

}  // namespace
}  // namespace qf

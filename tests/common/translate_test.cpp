// The core's texts: the translation hook and the numbered arguments that let
// a translation put the values where its language wants them.

#include "common/translate.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(Substitute, PlacesEachArgumentWhereItsNumberStands) {
    struct Case {
        const char* text;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        {"%1 へのアクセスは拒否されました。", {"/tmp/a"}, "/tmp/a へのアクセスは拒否されました。"},
        {"%2 of %1", {"ten", "one"}, "one of ten"},  // a translation reorders them
        {"cv::VideoCapture(%1)\r\nデバイス %1", {"3"}, "cv::VideoCapture(3)\r\nデバイス 3"},
        // A value holding a marker is copied as it is, never read again.
        {"%1 / %2", {"50%2", "b"}, "50%2 / b"},
        {"%1 and %3", {"a"}, "a and %3"},  // no such argument: left for the reader to see
        {"100% sure, 5%", {"x"}, "100% sure, 5%"},
        {"", {"x"}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(substitute(c.text, c.args), c.expected) << c.text;
}

TEST(Translate, SourceWithoutAHookTheHooksTextWithOne) {
    EXPECT_EQ(translate("qf::Messages", "係数"), "係数");
    setTranslateHook([](const char* context, const char* source) {
        return std::string(context) + "|" + source;
    });
    EXPECT_EQ(translate("qf::Messages", "係数"), "qf::Messages|係数");
    setTranslateHook(nullptr);
    EXPECT_EQ(translate("qf::Messages", "係数"), "係数");
}

}  // namespace
}  // namespace qf

// The Escape poll asks the display server rarely, however often the formula
// machine asks it, and a held key stops a formula run.

#include "view/escape_poll.h"

#include <gtest/gtest.h>

#include "expr/expr.h"

namespace qf {
namespace {

using namespace std::chrono_literals;

struct FakeKeyboard {
    std::chrono::steady_clock::time_point now{};
    bool escapeDown = false;
    int asked = 0;
    KeyboardEscapePoll poll{[this] {
                                ++asked;
                                return escapeDown;
                            },
                            25ms, [this] { return now; }};
};

TEST(EscapePoll, AsksTheKeyboardAtMostOncePerInterval) {
    FakeKeyboard k;
    for (int i = 0; i < 100000; ++i) EXPECT_FALSE(k.poll.escapeRequested());
    EXPECT_EQ(k.asked, 1);  // the clock has not moved

    k.escapeDown = true;
    k.now += 10ms;
    for (int i = 0; i < 1000; ++i) k.poll.escapeRequested();
    EXPECT_EQ(k.asked, 1);  // still within the interval: the old answer
    k.now += 20ms;
    bool seen = false;
    for (int i = 0; i < 1000; ++i) seen = k.poll.escapeRequested() || seen;
    EXPECT_TRUE(seen);
    EXPECT_EQ(k.asked, 2);

    k.escapeDown = false;  // released: runs go on again
    k.now += 30ms;
    for (int i = 0; i < 1000; ++i) k.poll.escapeRequested();
    EXPECT_FALSE(k.poll.escapeRequested());
}

TEST(EscapePoll, AHeldKeyEndsAFormulaRunOnlyWhileInstalled) {
    loadExprSource("x * x + 1;\r\n");
    compileProgram();
    ASSERT_EQ(exprContext().errorCount, 0);
    auto run = [] {
        exprContext().slots[1] = -1;
        exprContext().slots[0] = 3;
        runProgram();
        return exprContext().slots[1];
    };
    FakeKeyboard k;
    k.escapeDown = true;
    {
        ScopedEscapePoll installed(k.poll);
        EXPECT_NE(run(), 10.0);
    }
    EXPECT_EQ(run(), 10.0);  // the poll is gone with its scope
}

}  // namespace
}  // namespace qf

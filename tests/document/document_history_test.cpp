#include "document/document_history.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

DocumentRecord withPoints(int n) {
    DocumentRecord r;
    r.image = "chart.png";
    for (int i = 0; i < n; ++i) r.current().points.push_back({i, 2 * i});
    return r;
}

TEST(DocumentHistory, UndoAndRedoWalkTheStepsBothWays) {
    DocumentHistory h;
    h.reset(withPoints(0));
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(h.commit(withPoints(n), "点 " + std::to_string(n)));
    EXPECT_FALSE(h.commit(withPoints(5), "no change"));  // equal records make no step
    EXPECT_EQ(h.undoCount(), 5u);
    EXPECT_EQ(h.undoLabel(), "点 5");
    for (int n = 4; n >= 0; --n) {
        ASSERT_TRUE(h.undo());
        EXPECT_EQ(h.current(), withPoints(n));
    }
    EXPECT_FALSE(h.undo());
    EXPECT_EQ(h.redoLabel(), "点 1");
    for (int n = 1; n <= 5; ++n) {
        ASSERT_TRUE(h.redo());
        EXPECT_EQ(h.current(), withPoints(n));
    }
    EXPECT_FALSE(h.redo());
    // A new step after undoing drops what could have been redone.
    h.undo();
    h.undo();
    h.commit(withPoints(9), "other");
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.current(), withPoints(9));
    h.undo();
    EXPECT_EQ(h.current(), withPoints(3));
}

TEST(DocumentHistory, ModifiedFollowsTheSavedStep) {
    struct Case {
        const char* name;
        void (*walk)(DocumentHistory&);
        bool modified;
    };
    const Case cases[] = {
        {"fresh", [](DocumentHistory&) {}, false},
        {"one edit", [](DocumentHistory& h) { h.commit(withPoints(3), "e"); }, true},
        {"edit undone", [](DocumentHistory& h) { h.commit(withPoints(3), "e"), h.undo(); }, false},
        {"undone and redone",
         [](DocumentHistory& h) { h.commit(withPoints(3), "e"), h.undo(), h.redo(); }, true},
        {"saved after edits",
         [](DocumentHistory& h) {
             h.commit(withPoints(3), "e");
             h.commit(withPoints(4), "e");
             h.markSaved();
             h.undo();
             h.redo();
         },
         false},
        // The saved step was undone and replaced: no walk leads back to it.
        {"saved step dropped",
         [](DocumentHistory& h) {
             h.commit(withPoints(3), "e");
             h.markSaved();
             h.undo();
             h.commit(withPoints(7), "e");
             h.undo();
             h.commit(withPoints(3), "e");
         },
         true},
        {"restored record", [](DocumentHistory& h) { h.markModified(); }, true},
    };
    for (const Case& c : cases) {
        DocumentHistory h;
        h.reset(withPoints(0));
        c.walk(h);
        EXPECT_EQ(h.isModified(), c.modified) << c.name;
    }
}

TEST(DocumentHistory, KeepsTheNewestStepsUpToItsLimit) {
    DocumentHistory h(200);
    h.reset(withPoints(0));
    for (int n = 1; n <= 250; ++n) h.commit(withPoints(n % 7 == 0 ? 1000 + n : n), "e");
    EXPECT_EQ(h.undoCount(), 200u);
    while (h.undo()) {
    }
    EXPECT_EQ(h.current(), withPoints(50));
    EXPECT_TRUE(h.isModified());  // the opened record is out of reach
}

}  // namespace
}  // namespace qf

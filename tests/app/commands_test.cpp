// The command table: enable and check rules over view snapshots, and the
// menu and toolbar layouts that the frame builds from it.

#include "app/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace qf {
namespace {

CommandSnapshot withImage() {
    CommandSnapshot s;
    s.imagePresent = true;
    return s;
}

struct RuleCase {
    const char* name;
    int id;
    std::function<void(CommandSnapshot&)> set;
    bool expected;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class EnableRule : public testing::TestWithParam<RuleCase> {};

TEST_P(EnableRule, FollowsSnapshot) {
    const RuleCase& c = GetParam();
    CommandSnapshot s;
    c.set(s);
    const CommandInfo* info = findCommand(c.id);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->enabled(s), c.expected);
}

void image(CommandSnapshot& s) {
    s.imagePresent = true;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnableRule,
    testing::Values(
        RuleCase{"open_without_image", ID_FILE_OPEN, [](auto&) {}, true},
        RuleCase{"save_image_without_image", ID_FILE_SAVE, [](auto&) {}, false},
        RuleCase{"save_image_with_image", ID_FILE_SAVE, image, true},
        RuleCase{"display_input_without_image", ID_DISPLAY_INPUT, [](auto&) {}, false},
        RuleCase{"display_output_with_image", ID_DISPLAY_OUTPUT, image, true},
        RuleCase{"generated_graph_needs_points", ID_DISPLAY_GENERATED_GRAPH, image, false},
        RuleCase{"generated_graph_needs_image", ID_DISPLAY_GENERATED_GRAPH,
                 [](auto& s) { s.generatedCount = 50; }, false},
        RuleCase{"generated_graph_image_and_points", ID_DISPLAY_GENERATED_GRAPH,
                 [](auto& s) { s.imagePresent = true, s.generatedCount = 1; }, true},
        RuleCase{"fit_without_points", ID_FIT_RUN, image, false},
        RuleCase{"fit_without_image", ID_FIT_RUN, [](auto& s) { s.pointCount = 3; }, false},
        RuleCase{"fit_image_and_points", ID_FIT_RUN,
                 [](auto& s) { s.imagePresent = true, s.pointCount = 1; }, true},
        RuleCase{"save_points_needs_only_points", ID_SAVE_SOURCE_POINTS,
                 [](auto& s) { s.pointCount = 1; }, true},
        RuleCase{"save_points_without_points", ID_SAVE_SOURCE_POINTS, image, false},
        RuleCase{"load_points_needs_a_picture", ID_LOAD_SOURCE_POINTS, [](auto&) {}, false},
        RuleCase{"load_points_with_image", ID_LOAD_SOURCE_POINTS, image, true},
        RuleCase{"paste_without_image", ID_EDIT_PASTE, [](auto&) {}, true},
        RuleCase{"save_generated_points", ID_SAVE_GENERATED_POINTS,
                 [](auto& s) { s.imagePresent = true, s.generatedCount = 5; }, true},
        RuleCase{"save_generated_points_none", ID_SAVE_GENERATED_POINTS, image, false},
        RuleCase{"save_fit_json", ID_SAVE_FIT_JSON,
                 [](auto& s) { s.imagePresent = true, s.generatedCount = 5; }, true},
        RuleCase{"save_fit_json_without_fit", ID_SAVE_FIT_JSON, image, false},
        // The graph image follows the display flag, not the point count.
        RuleCase{"save_graph_image_flag_off", ID_SAVE_GENERATED_IMAGE,
                 [](auto& s) { s.imagePresent = true, s.generatedCount = 5; }, false},
        RuleCase{"save_graph_image_flag_on", ID_SAVE_GENERATED_IMAGE,
                 [](auto& s) { s.imagePresent = true, s.showGeneratedGraph = true; }, true},
        RuleCase{"save_graph_image_no_image", ID_SAVE_GENERATED_IMAGE,
                 [](auto& s) { s.showGeneratedGraph = true; }, false},
        RuleCase{"tools_need_image", ID_ADD_POINTS, [](auto&) {}, false},
        RuleCase{"erase_tool_with_image", ID_ERASE_POINTS, image, true},
        RuleCase{"graph_rect_tool_without_image", ID_GRAPH_RECT, [](auto&) {}, false},
        RuleCase{"corners_without_image", ID_MAPPING_CORNERS, [](auto&) {}, false},
        RuleCase{"mapping_run_without_image", ID_MAPPING_RUN, [](auto&) {}, false},
        RuleCase{"mapping_grid_with_image", ID_MAPPING_GRID, image, true},
        RuleCase{"grey_without_image", ID_GREY_IMAGE, [](auto&) {}, false},
        RuleCase{"pixel_grid_always", ID_PIXEL_GRID_SHOW, [](auto&) {}, true},
        RuleCase{"zoom_always", ID_ZOOM_IN, [](auto&) {}, true},
        RuleCase{"cameras_always", ID_CAMERA_DEVICE_3, [](auto&) {}, true},
        RuleCase{"capture_settings_always", ID_CAPTURE_SETTINGS, [](auto&) {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

class CheckRule : public testing::TestWithParam<RuleCase> {};

TEST_P(CheckRule, FollowsSnapshot) {
    const RuleCase& c = GetParam();
    CommandSnapshot s = withImage();
    c.set(s);
    const CommandInfo* info = findCommand(c.id);
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->checkable());
    EXPECT_EQ(info->checked(s), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckRule,
    testing::Values(
        RuleCase{"input_when_source_1", ID_DISPLAY_INPUT, [](auto& s) { s.displaySource = 1; },
                 true},
        RuleCase{"input_not_when_white", ID_DISPLAY_INPUT, [](auto& s) { s.displaySource = 0; },
                 false},
        RuleCase{"output_when_source_2", ID_DISPLAY_OUTPUT, [](auto& s) { s.displaySource = 2; },
                 true},
        RuleCase{"output_not_when_input", ID_DISPLAY_OUTPUT, [](auto& s) { s.displaySource = 1; },
                 false},
        RuleCase{"generated_graph_flag", ID_DISPLAY_GENERATED_GRAPH,
                 [](auto& s) { s.showGeneratedGraph = true; }, true},
        RuleCase{"corner_tool_at_start", ID_MAPPING_CORNERS, [](auto&) {}, true},
        RuleCase{"corner_tool_off", ID_MAPPING_CORNERS,
                 [](auto& s) { s.cornerMode = false, s.addPointsMode = true; }, false},
        RuleCase{"add_tool_on", ID_ADD_POINTS, [](auto& s) { s.addPointsMode = true; }, true},
        RuleCase{"erase_tool_off", ID_ERASE_POINTS, [](auto& s) { s.addPointsMode = true; }, false},
        RuleCase{"graph_rect_tool_on", ID_GRAPH_RECT, [](auto& s) { s.graphRectMode = true; },
                 true},
        RuleCase{"mapping_grid_at_start", ID_MAPPING_GRID, [](auto&) {}, true},
        RuleCase{"pixel_grid_off_at_start", ID_PIXEL_GRID_SHOW, [](auto&) {}, false},
        RuleCase{"grey_on_at_start", ID_GREY_IMAGE, [](auto&) {}, true},
        RuleCase{"grey_off", ID_GREY_IMAGE, [](auto& s) { s.greyMode = false; }, false},
        RuleCase{"camera_2_runs", ID_CAMERA_DEVICE_2, [](auto& s) { s.cameraRunning[2] = true; },
                 true},
        RuleCase{"camera_1_not_when_2_runs", ID_CAMERA_DEVICE_1,
                 [](auto& s) { s.cameraRunning[2] = true; }, false},
        RuleCase{"style_default", ID_STYLE_VS_2008, [](auto&) {}, true},
        RuleCase{"style_black", ID_STYLE_OFFICE_2007_BLACK,
                 [](auto& s) { s.visualStyle = ID_STYLE_OFFICE_2007_BLACK; }, true},
        RuleCase{"style_other_not", ID_STYLE_VS_2008,
                 [](auto& s) { s.visualStyle = ID_STYLE_OFFICE_2007_BLACK; }, false},
        RuleCase{"status_bar_hidden", ID_VIEW_STATUS_BAR,
                 [](auto& s) { s.statusBarVisible = false; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandTable, CommandsWithoutACheckMarkAreNotCheckable) {
    for (int id : {ID_FILE_OPEN, ID_FILE_SAVE, ID_MAPPING_RUN, ID_FIT_RUN, ID_ZOOM_IN,
                   ID_CAPTURE_SETTINGS, ID_PIXEL_GRID_COLOUR, ID_APP_ABOUT})
        EXPECT_FALSE(findCommand(id)->checkable()) << id;
}

TEST(CommandTable, IdsAreUniqueAndEveryRowIsReachable) {
    std::set<int> ids;
    for (const CommandInfo& c : commandTable()) EXPECT_TRUE(ids.insert(c.id).second) << c.id;

    std::set<int> placed;
    std::function<void(const std::vector<MenuEntry>&)> walk = [&](const auto& items) {
        for (const MenuEntry& e : items) {
            if (e.kind == MenuEntry::Kind::Command) placed.insert(e.id);
            walk(e.items);
        }
    };
    for (const MenuLayout& m : menuBarLayout()) walk(m.items);
    for (const ToolBarLayout& t : toolBarLayout())
        for (int id : t.ids) {
            if (id != 0) placed.insert(id);
        }
    placed.insert(ID_VIEW_CUSTOMIZE);  // lives in the toolbars-and-panes submenu

    for (int id : placed) EXPECT_NE(findCommand(id), nullptr) << "no row for " << id;
    // Reached only by its id, and by its keys.
    const std::set<int> unplaced{ID_RUN_PROCESSING, ID_FILE_PRINT};
    for (int id : ids) {
        if (!unplaced.count(id)) {
            EXPECT_TRUE(placed.count(id)) << "unplaced " << id;
        }
    }
}

TEST(CommandTable, ImageToolbarOrder) {
    const auto& bars = toolBarLayout();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_STREQ(bars[0].caption, "標準");
    EXPECT_STREQ(bars[1].caption, "ビデオキャプチャー");
    EXPECT_STREQ(bars[2].caption, "画像");
    EXPECT_EQ(bars[0].ids,
              (std::vector<int>{ID_FILE_NEW, 57601, ID_PROJECT_OPEN, 57603, ID_PROJECT_SAVE, 0,
                                ID_EDIT_UNDO, ID_EDIT_REDO, 0, 57664}));
    EXPECT_EQ(bars[1].ids, (std::vector<int>{32788, 32789, 32790, 32791, 32821}));
    EXPECT_EQ(bars[2].ids,
              (std::vector<int>{32806, 32807, 32887, 0,     32801, 32802, 33006, 32778, 32865,
                                0,     32852, 33013, 32862, 32858, 33011, 33012, 0,     32863,
                                32864, 33008, 33009, 32872, 0,     32878, 32879, 32884}));
}

TEST(CommandTable, TextsOfSomeRows) {
    struct Row {
        int id;
        const char* menu;
        const char* prompt;
        const char* tip;
    };
    const Row rows[] = {
        {57601, "画像ファイルを開く(&O)...", "既存の画像ファイルを開く", "画像ファイルを開く"},
        {32852, "マッピング 元領域(４点指定)", "マッピング 元領域を指定（入力画像表示時 有効）",
         "マッピング 元領域(４点指定)"},
        {32790, "デバイス ２", "撮像 開始/停止", "撮像 デバイス ２"},
        {32864, "フィッティング 元座標消去",
         "フィッティング元座標をクリックで消去、マウスドラッグ領域内を消去",
         "フィッティング元座標消去"},
        {32807, "画像処理出力", "マッピング実行後の画像を表示", "マッピング画像"},
    };
    for (const Row& r : rows) {
        const CommandInfo* c = findCommand(r.id);
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(c->menuText, r.menu);
        EXPECT_STREQ(c->prompt, r.prompt);
        EXPECT_STREQ(c->toolTip, r.tip);
    }
    EXPECT_STREQ(findCommand(ID_FILE_OPEN)->shortcut, "Ctrl+O");
    EXPECT_STREQ(findCommand(ID_FILE_SAVE)->shortcut, "Ctrl+S");
}

// Each key reaches one command; the view's own keys (arrows, Escape) and the
// keys the text fields need stay free.
TEST(CommandTable, KeysAreUniqueAndLeaveTheViewsKeysFree) {
    std::map<std::string, int> owner;
    for (const CommandInfo& c : commandTable()) {
        if (!c.shortcut) continue;
        std::string keys = c.shortcut;
        for (size_t from = 0; from <= keys.size();) {
            const size_t to = std::min(keys.find(';', from), keys.size());
            const std::string key = keys.substr(from, to - from);
            EXPECT_TRUE(owner.emplace(key, c.id).second)
                << key << " on " << c.id << " and " << owner[key];
            for (const char* reserved : {"Left", "Right", "Up", "Down", "Esc", "Return", "Tab"})
                EXPECT_EQ(key.find(reserved), std::string::npos) << key << " on " << c.id;
            from = to + 1;
        }
    }
}

TEST(CommandTable, TheLanguageChoiceIsOneCheckedItem) {
    for (int stored : {0, 1, 2}) {
        CommandSnapshot s;
        s.language = stored;
        const int ids[] = {ID_LANGUAGE_AUTO, ID_LANGUAGE_JAPANESE, ID_LANGUAGE_ENGLISH};
        for (int k = 0; k < 3; ++k) EXPECT_EQ(findCommand(ids[k])->checked(s), k == stored);
    }
}

}  // namespace
}  // namespace qf

#include "app/commands.h"

#include <algorithm>

namespace qf {

namespace {

using S = CommandSnapshot;

bool always(const S&) {
    return true;
}
bool image(const S& s) {
    return s.imagePresent;
}
bool imageAndPoints(const S& s) {
    return s.imagePresent && s.pointCount > 0;
}
bool imageAndGenerated(const S& s) {
    return s.imagePresent && s.generatedCount > 0;
}
bool imageAndGraphShown(const S& s) {
    return s.imagePresent && s.showGeneratedGraph;
}
bool anyPoints(const S& s) {
    return s.pointCount > 0;
}

bool showsInput(const S& s) {
    return s.displaySource == 1;
}
bool showsOutput(const S& s) {
    return s.displaySource == 2;
}
bool graphShown(const S& s) {
    return s.showGeneratedGraph;
}
bool pixelGrid(const S& s) {
    return s.showPixelGrid;
}
bool magnifier(const S& s) {
    return s.showMagnifier;
}
bool grey(const S& s) {
    return s.greyMode;
}
bool cornerTool(const S& s) {
    return s.cornerMode;
}
bool graphRectTool(const S& s) {
    return s.graphRectMode;
}
bool addTool(const S& s) {
    return s.addPointsMode;
}
bool eraseTool(const S& s) {
    return s.erasePointsMode;
}
bool extractTool(const S& s) {
    return s.extractMode;
}
bool extractionShown(const S& s) {
    return s.imagePresent && s.extractPreview;
}
bool mappingGrid(const S& s) {
    return s.showMappingGrid;
}
bool undo(const S& s) {
    return s.canUndo;
}
bool redo(const S& s) {
    return s.canRedo;
}
bool selectedPoint(const S& s) {
    return s.selectedPoint >= 0 && s.selectedPoint < s.pointCount;
}
template <int K>
bool recent(const S& s) {
    return s.recentProjects > K;
}
bool statusBar(const S& s) {
    return s.statusBarVisible;
}

template <int D>
bool cameraRuns(const S& s) {
    return s.cameraRunning[D];
}

template <int Id>
bool styleIs(const S& s) {
    return s.visualStyle == Id;
}

using I = CommandIcon;

#define RECENT_ROW(k) \
    { ID_FILE_MRU_FIRST + k, "", "このプロジェクトを開く", "", I::None, nullptr, recent<k>, nullptr }

#define STYLE_ROW(id, text) \
    { id, text, "", "", I::None, nullptr, always, styleIs<id> }

// clang-format off
const CommandInfo kCommands[] = {
    {ID_FILE_OPEN, "画像ファイルを開く(&O)...", "既存の画像ファイルを開く", "画像ファイルを開く",
     I::Open, "Ctrl+O", always, nullptr},
    {ID_FILE_SAVE, "元画像保存(&A)...", "フィッティング元画像を保存", "元画像保存",
     I::SaveImage, "Ctrl+S", image, nullptr},
    {ID_FILE_PRINT, "印刷(&P)...", "表示中のビューを印刷", "印刷", I::None, "Ctrl+P", image,
     nullptr},
    {ID_SAVE_GENERATED_IMAGE, "生成グラフ画像保存...", "生成グラフを画像ファイル保存...",
     "生成グラフ画像保存", I::SaveGeneratedImage, nullptr, imageAndGraphShown, nullptr},
    {ID_FILE_NEW, "新しいプロジェクト(&N)", "新しいプロジェクトを始める", "新しいプロジェクト",
     I::NewProject, "Ctrl+N", always, nullptr},
    {ID_PROJECT_OPEN, "プロジェクトを開く(&J)...", "保存したプロジェクトを開く",
     "プロジェクトを開く", I::OpenProject, "Ctrl+Shift+O", always, nullptr},
    {ID_PROJECT_SAVE, "プロジェクトを保存(&V)", "プロジェクトを上書き保存", "プロジェクトを保存",
     I::SaveProject, "Ctrl+Shift+S", image, nullptr},
    {ID_PROJECT_SAVE_AS, "名前を付けてプロジェクトを保存(&M)...",
     "プロジェクトを新しい名前で保存", "名前を付けてプロジェクトを保存", I::None, "Ctrl+Alt+S",
     image, nullptr},
    RECENT_ROW(0), RECENT_ROW(1), RECENT_ROW(2), RECENT_ROW(3),
    RECENT_ROW(4), RECENT_ROW(5), RECENT_ROW(6), RECENT_ROW(7),
    {ID_EDIT_UNDO, "元に戻す(&U)", "直前の操作を元に戻す", "元に戻す", I::Undo, "Ctrl+Z", undo,
     nullptr},
    {ID_EDIT_REDO, "やり直し(&R)", "元に戻した操作をやり直す", "やり直し", I::Redo,
     "Ctrl+Y;Ctrl+Shift+Z", redo, nullptr},
    {ID_DELETE_POINT, "選択した点を削除(&D)", "選択したフィッティング元座標を削除",
     "選択した点を削除", I::None, "Delete", selectedPoint, nullptr},
    {ID_REMOVE_ALL_POINTS, "すべての点を削除(&A)", "フィッティング元座標をすべて削除",
     "すべての点を削除", I::None, nullptr, anyPoints, nullptr},
    {ID_APP_EXIT, "アプリケーションの終了(&X)", "アプリケーションを終了し、ファイルの保存を指示",
     "終了", I::None, nullptr, always, nullptr},

    {ID_DISPLAY_INPUT, "入力画像", "入力画像を表示", "入力画像",
     I::InputImage, nullptr, image, showsInput},
    {ID_DISPLAY_OUTPUT, "画像処理出力", "マッピング実行後の画像を表示", "マッピング画像",
     I::OutputImage, nullptr, image, showsOutput},
    {ID_DISPLAY_GENERATED_GRAPH, "生成グラフ", "フィッティングにより生成したグラフを表示",
     "生成グラフ", I::GeneratedGraph, nullptr, imageAndGenerated, graphShown},
    {ID_PIXEL_GRID_SHOW, "表示", "画素グリッドを表示", "画素グリッド",
     I::PixelGrid, nullptr, always, pixelGrid},
    {ID_PIXEL_GRID_COLOUR, "色 ...", "画素グリッド色を変更", "画素グリッド色",
     I::None, nullptr, always, nullptr},
    {ID_GREY_IMAGE, "グレー画像化", "入力画像をグレー化", "グレー画像化",
     I::Grey, nullptr, image, grey},
    {ID_MAPPING_CORNERS, "マッピング 元領域(４点指定)",
     "マッピング 元領域を指定（入力画像表示時 有効）", "マッピング 元領域(４点指定)",
     I::MappingCorners, nullptr, image, cornerTool},
    {ID_MAPPING_RUN, "マッピング 実行", "元領域をグラフ領域ヘマッピング", "マッピング 実行",
     I::MappingRun, nullptr, image, nullptr},
    {ID_MAPPING_GRID, "マッピング グリッド表示", "マッピング グリッドを表示",
     "マッピング領域グリッド", I::None, nullptr, image, mappingGrid},
    {ID_GRAPH_RECT, "グラフ 領域(矩形指定)",
     "データ化するグラフ 領域を指定（出力画像表示時 有効）", "グラフ 領域(矩形指定)",
     I::GraphRect, nullptr, image, graphRectTool},
    {ID_ZOOM_IN, "拡大", "画像表示を拡大（マウスホイール）", "拡大",
     I::ZoomIn, nullptr, always, nullptr},
    {ID_ZOOM_OUT, "縮小", "画像表示を縮小（マウスホイール）", "縮小",
     I::ZoomOut, nullptr, always, nullptr},
    {ID_ZOOM_FIT, "ウィンドウに合わせる", "画像全体をウィンドウに合わせて表示",
     "ウィンドウに合わせる", I::ZoomFit, nullptr, always, nullptr},
    {ID_MAGNIFIER, "拡大鏡", "点の追加と角・辺の移動中、ポインタの周りを拡大して表示",
     "拡大鏡", I::None, nullptr, always, magnifier},
    {ID_CAMERA_DEVICE_0, "デバイス ０", "撮像 開始/停止", "撮像 デバイス ０",
     I::Camera0, nullptr, always, cameraRuns<0>},
    {ID_CAMERA_DEVICE_1, "デバイス １", "撮像 開始/停止", "撮像 デバイス １",
     I::Camera1, nullptr, always, cameraRuns<1>},
    {ID_CAMERA_DEVICE_2, "デバイス ２", "撮像 開始/停止", "撮像 デバイス ２",
     I::Camera2, nullptr, always, cameraRuns<2>},
    {ID_CAMERA_DEVICE_3, "デバイス ３", "撮像 開始/停止", "撮像 デバイス ３",
     I::Camera3, nullptr, always, cameraRuns<3>},
    {ID_CAPTURE_SETTINGS, "ビデオキャプチャー設定 ...", "キャプチャ設定を変更",
     "ビデオキャプチャー設定", I::CaptureSettings, nullptr, always, nullptr},
    {ID_RUN_PROCESSING, "画像処理を１回実行", "画像処理を１回実行", "実行",
     I::None, nullptr, always, nullptr},

    {ID_ADD_POINTS, "フィッティング 元座標追加",
     "表示画像上マウスクリックでフィッティング元座標を追加", "フィッティング元座標追加",
     I::AddPoints, nullptr, image, addTool},
    {ID_ERASE_POINTS, "フィッティング 元座標消去",
     "フィッティング元座標をクリックで消去、マウスドラッグ領域内を消去",
     "フィッティング元座標消去", I::ErasePoints, nullptr, image, eraseTool},
    {ID_EXTRACT_CURVE, "曲線 自動抽出",
     "曲線をクリックすると、その色の曲線をたどって点を探します（出力画像表示時 有効）",
     "曲線 自動抽出", I::ExtractCurve, nullptr, image, extractTool},
    {ID_EXTRACT_CONFIRM, "抽出した点を追加",
     "自動抽出で見つかった点をフィッティング元座標に追加（Enter、Esc で取り消し）",
     "抽出した点を追加", I::ExtractConfirm, nullptr, extractionShown, nullptr},
    {ID_SAVE_SOURCE_POINTS, "フィッティング 元座標データ保存 ...",
     "フィッティング元座標データを保存", "フィッティング元座標データ保存",
     I::SaveSourcePoints, nullptr, anyPoints, nullptr},
    {ID_FIT_RUN, "フィッティング 実行", "フィッティングを実行", "フィッティング 実行",
     I::Fit, nullptr, imageAndPoints, nullptr},
    {ID_SAVE_GENERATED_POINTS, "生成グラフ 座標データ保存 ...", "生成グラフの座標データを保存",
     "生成グラフ座標データ保存", I::SaveGeneratedPoints, nullptr, imageAndGenerated, nullptr},

    {ID_VIEW_CUSTOMIZE, "カスタマイズ...", "", "", I::None, nullptr, always, nullptr},
    {ID_VIEW_STATUS_BAR, "ステータス バー(&S)", "", "", I::None, nullptr, always, statusBar},
    STYLE_ROW(ID_STYLE_WINDOWS_2000, "Windows 2000(&2)"),
    STYLE_ROW(ID_STYLE_OFFICE_XP, "Office XP(&X)"),
    STYLE_ROW(ID_STYLE_WINDOWS_XP, "Windows XP(&W)"),
    STYLE_ROW(ID_STYLE_OFFICE_2003, "Office 2003(&3)"),
    STYLE_ROW(ID_STYLE_VS_2005, "Visual Studio 200&5"),
    STYLE_ROW(ID_STYLE_VS_2008, "Visual Studio 200&8"),
    STYLE_ROW(ID_STYLE_OFFICE_2007_BLUE, "ブルー スタイル(&B)"),
    STYLE_ROW(ID_STYLE_OFFICE_2007_BLACK, "ブラック スタイル(&L)"),
    STYLE_ROW(ID_STYLE_OFFICE_2007_SILVER, "シルバー スタイル(&S)"),
    STYLE_ROW(ID_STYLE_OFFICE_2007_AQUA, "アクア スタイル(&A)"),

    {ID_APP_ABOUT, "バージョン情報 Quillfen(&A)...",
     "プログラム情報、バージョン、著作権を表示します。", "バージョン情報",
     I::About, nullptr, always, nullptr},
};
// clang-format on

#undef STYLE_ROW
#undef RECENT_ROW

using E = MenuEntry;
using K = MenuEntry::Kind;

E cmd(int id) {
    return E{K::Command, id, nullptr, {}};
}
E sep() {
    return E{K::Separator, 0, nullptr, {}};
}
E sub(const char* text, std::vector<E> items) {
    return E{K::Submenu, 0, text, std::move(items)};
}

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(int id) {
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

const std::vector<MenuLayout>& menuBarLayout() {
    static const std::vector<MenuLayout> menus = {
        {"ファイル(&F)",
         {cmd(ID_FILE_NEW), cmd(ID_FILE_OPEN), cmd(ID_PROJECT_OPEN), cmd(ID_PROJECT_SAVE),
          cmd(ID_PROJECT_SAVE_AS), sep(), cmd(ID_FILE_SAVE), cmd(ID_SAVE_GENERATED_IMAGE), sep(),
          sub("最近使ったプロジェクト(&R)",
              {cmd(ID_FILE_MRU_FIRST), cmd(ID_FILE_MRU_FIRST + 1), cmd(ID_FILE_MRU_FIRST + 2),
               cmd(ID_FILE_MRU_FIRST + 3), cmd(ID_FILE_MRU_FIRST + 4), cmd(ID_FILE_MRU_FIRST + 5),
               cmd(ID_FILE_MRU_FIRST + 6), cmd(ID_FILE_MRU_LAST)}),
          sep(), cmd(ID_APP_EXIT)}},
        {"編集(&E)",
         {cmd(ID_EDIT_UNDO), cmd(ID_EDIT_REDO), sep(), cmd(ID_DELETE_POINT),
          cmd(ID_REMOVE_ALL_POINTS)}},
        {"画像処理",
         {sub("表示画像",
              {cmd(ID_DISPLAY_INPUT), cmd(ID_DISPLAY_OUTPUT), cmd(ID_DISPLAY_GENERATED_GRAPH),
               sep(), cmd(ID_ZOOM_FIT), cmd(ID_MAGNIFIER)}),
          sub("画素グリッド", {cmd(ID_PIXEL_GRID_SHOW), cmd(ID_PIXEL_GRID_COLOUR)}),
          cmd(ID_GREY_IMAGE), sep(), cmd(ID_MAPPING_CORNERS), cmd(ID_MAPPING_RUN),
          cmd(ID_MAPPING_GRID), sep(),
          sub("撮像", {cmd(ID_CAMERA_DEVICE_0), cmd(ID_CAMERA_DEVICE_1), cmd(ID_CAMERA_DEVICE_2),
                       cmd(ID_CAMERA_DEVICE_3)}),
          cmd(ID_CAPTURE_SETTINGS)}},
        {"フィッティング",
         {cmd(ID_ADD_POINTS), cmd(ID_ERASE_POINTS), cmd(ID_EXTRACT_CURVE),
          cmd(ID_EXTRACT_CONFIRM), cmd(ID_SAVE_SOURCE_POINTS), sep(),
          cmd(ID_FIT_RUN), cmd(ID_SAVE_GENERATED_POINTS), sep()}},
        {"表示(&V)",
         {E{K::ToolbarsAndPanes, ID_VIEW_TOOLBARS, "ツール バーとドッキング ウィンドウ(&T)", {}},
          cmd(ID_VIEW_STATUS_BAR),
          sub("アプリケーションの外観(&A)",
              {cmd(ID_STYLE_WINDOWS_2000), cmd(ID_STYLE_OFFICE_XP), cmd(ID_STYLE_WINDOWS_XP),
               cmd(ID_STYLE_OFFICE_2003), cmd(ID_STYLE_VS_2005), cmd(ID_STYLE_VS_2008),
               sub("Office 2007(&7)",
                   {cmd(ID_STYLE_OFFICE_2007_BLUE), cmd(ID_STYLE_OFFICE_2007_BLACK),
                    cmd(ID_STYLE_OFFICE_2007_SILVER), cmd(ID_STYLE_OFFICE_2007_AQUA)})})}},
        {"ヘルプ(&H)", {cmd(ID_APP_ABOUT)}},
    };
    return menus;
}

const std::vector<ToolBarLayout>& toolBarLayout() {
    static const std::vector<ToolBarLayout> bars = {
        {"StandardToolBar",
         "標準",
         {ID_FILE_NEW, ID_FILE_OPEN, ID_PROJECT_OPEN, ID_FILE_SAVE, ID_PROJECT_SAVE, 0,
          ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_APP_ABOUT}},
        {"CaptureToolBar",
         "ビデオキャプチャー",
         {ID_CAMERA_DEVICE_0, ID_CAMERA_DEVICE_1, ID_CAMERA_DEVICE_2, ID_CAMERA_DEVICE_3,
          ID_CAPTURE_SETTINGS}},
        {"ImageToolBar",
         "画像",
         {ID_DISPLAY_INPUT,
          ID_DISPLAY_OUTPUT,
          ID_DISPLAY_GENERATED_GRAPH,
          0,
          ID_ZOOM_IN,
          ID_ZOOM_OUT,
          ID_ZOOM_FIT,
          ID_PIXEL_GRID_SHOW,
          ID_GREY_IMAGE,
          0,
          ID_MAPPING_CORNERS,
          ID_GRAPH_RECT,
          ID_MAPPING_RUN,
          0,
          ID_ADD_POINTS,
          ID_ERASE_POINTS,
          ID_EXTRACT_CURVE,
          ID_EXTRACT_CONFIRM,
          ID_SAVE_SOURCE_POINTS,
          0,
          ID_FIT_RUN,
          ID_SAVE_GENERATED_POINTS,
          ID_SAVE_GENERATED_IMAGE}},
    };
    return bars;
}

}  // namespace qf

#include "app/commands.h"

#include <algorithm>

#include "common/translate.h"

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
bool anySeriesPoints(const S& s) {
    return s.totalPointCount > 0;
}
bool imageAndAnySeriesPoints(const S& s) {
    return s.imagePresent && s.totalPointCount > 0;
}
bool severalSeries(const S& s) {
    return s.seriesCount > 1;
}
bool selectedPointAndSeveralSeries(const S& s) {
    return s.seriesCount > 1 && s.selectedPoint >= 0 && s.selectedPoint < s.pointCount;
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
bool ticksTool(const S& s) {
    return s.ticksMode;
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

template <int L>
bool languageIs(const S& s) {
    return s.language == L;
}

template <int Id>
bool styleIs(const S& s) {
    return s.visualStyle == Id;
}

using I = CommandIcon;

#define RECENT_ROW(k)                                                                           \
    {                                                                                           \
        ID_FILE_MRU_FIRST + k, "", QT_TRANSLATE_NOOP("qf::Commands", "このプロジェクトを開く"), \
            "", I::None, nullptr, recent<k>, nullptr                                            \
    }

#define STYLE_ROW(id, text) \
    { id, text, "", "", I::None, nullptr, always, styleIs<id> }

// clang-format off
const CommandInfo kCommands[] = {
    {ID_FILE_OPEN,
     QT_TRANSLATE_NOOP("qf::Commands", "画像ファイルを開く(&O)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "既存の画像ファイルを開く"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像ファイルを開く"),
     I::Open, "Ctrl+O", always, nullptr},
    {ID_FILE_SAVE,
     QT_TRANSLATE_NOOP("qf::Commands", "元画像保存(&A)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元画像を保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "元画像保存"),
     I::SaveImage, "Ctrl+S", image, nullptr},
    {ID_FILE_PRINT,
     QT_TRANSLATE_NOOP("qf::Commands", "印刷(&P)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "表示中のビューを印刷"),
     QT_TRANSLATE_NOOP("qf::Commands", "印刷"),
     I::None, "Ctrl+P", image, nullptr},
    {ID_SAVE_GENERATED_IMAGE,
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ画像保存..."),
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフを画像ファイル保存..."),
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ画像保存"),
     I::SaveGeneratedImage, nullptr, imageAndGraphShown, nullptr},
    {ID_SAVE_FIT_JSON,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング結果保存 (fit.json)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティングの結果 (式、係数、残差) を fit.json 形式で保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング結果保存 (fit.json)"),
     I::None, nullptr, imageAndGenerated, nullptr},
    {ID_FILE_NEW,
     QT_TRANSLATE_NOOP("qf::Commands", "新しいプロジェクト(&N)"),
     QT_TRANSLATE_NOOP("qf::Commands", "新しいプロジェクトを始める"),
     QT_TRANSLATE_NOOP("qf::Commands", "新しいプロジェクト"),
     I::NewProject, "Ctrl+N", always, nullptr},
    {ID_PROJECT_OPEN,
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを開く(&J)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "保存したプロジェクトを開く"),
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを開く"),
     I::OpenProject, "Ctrl+Shift+O", always, nullptr},
    {ID_PROJECT_SAVE,
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを保存(&V)"),
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを上書き保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを保存"),
     I::SaveProject, "Ctrl+Shift+S", image, nullptr},
    {ID_PROJECT_SAVE_AS,
     QT_TRANSLATE_NOOP("qf::Commands", "名前を付けてプロジェクトを保存(&M)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "プロジェクトを新しい名前で保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "名前を付けてプロジェクトを保存"),
     I::None, "Ctrl+Alt+S", image, nullptr},
    RECENT_ROW(0), RECENT_ROW(1), RECENT_ROW(2), RECENT_ROW(3),
    RECENT_ROW(4), RECENT_ROW(5), RECENT_ROW(6), RECENT_ROW(7),
    {ID_EDIT_UNDO,
     QT_TRANSLATE_NOOP("qf::Commands", "元に戻す(&U)"),
     QT_TRANSLATE_NOOP("qf::Commands", "直前の操作を元に戻す"),
     QT_TRANSLATE_NOOP("qf::Commands", "元に戻す"),
     I::Undo, "Ctrl+Z", undo, nullptr},
    {ID_EDIT_PASTE,
     QT_TRANSLATE_NOOP("qf::Commands", "貼り付け(&P)"),
     QT_TRANSLATE_NOOP("qf::Commands", "クリップボードの画像 (または画像ファイル) を開く"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像を貼り付け"),
     I::None, "Ctrl+V", always, nullptr},
    {ID_EDIT_REDO,
     QT_TRANSLATE_NOOP("qf::Commands", "やり直し(&R)"),
     QT_TRANSLATE_NOOP("qf::Commands", "元に戻した操作をやり直す"),
     QT_TRANSLATE_NOOP("qf::Commands", "やり直し"),
     I::Redo, "Ctrl+Y;Ctrl+Shift+Z", redo, nullptr},
    {ID_DELETE_POINT,
     QT_TRANSLATE_NOOP("qf::Commands", "選択した点を削除(&D)"),
     QT_TRANSLATE_NOOP("qf::Commands", "選択したフィッティング元座標を削除"),
     QT_TRANSLATE_NOOP("qf::Commands", "選択した点を削除"),
     I::None, "Delete", selectedPoint, nullptr},
    {ID_REMOVE_ALL_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "すべての点を削除(&A)"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標をすべて削除"),
     QT_TRANSLATE_NOOP("qf::Commands", "すべての点を削除"),
     I::None, nullptr, anyPoints, nullptr},
    {ID_APP_EXIT,
     QT_TRANSLATE_NOOP("qf::Commands", "アプリケーションの終了(&X)"),
     QT_TRANSLATE_NOOP("qf::Commands", "アプリケーションを終了し、ファイルの保存を指示"),
     QT_TRANSLATE_NOOP("qf::Commands", "終了"),
     I::None, nullptr, always, nullptr},

    {ID_DISPLAY_INPUT,
     QT_TRANSLATE_NOOP("qf::Commands", "入力画像"),
     QT_TRANSLATE_NOOP("qf::Commands", "入力画像を表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "入力画像"),
     I::InputImage, "F7", image, showsInput},
    {ID_DISPLAY_OUTPUT,
     QT_TRANSLATE_NOOP("qf::Commands", "画像処理出力"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング実行後の画像を表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング画像"),
     I::OutputImage, "F8", image, showsOutput},
    {ID_DISPLAY_GENERATED_GRAPH,
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティングにより生成したグラフを表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ"),
     I::GeneratedGraph, "F9", imageAndGenerated, graphShown},
    {ID_PIXEL_GRID_SHOW,
     QT_TRANSLATE_NOOP("qf::Commands", "表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "画素グリッドを表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "画素グリッド"),
     I::PixelGrid, "Ctrl+G", always, pixelGrid},
    {ID_PIXEL_GRID_COLOUR,
     QT_TRANSLATE_NOOP("qf::Commands", "色 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "画素グリッド色を変更"),
     QT_TRANSLATE_NOOP("qf::Commands", "画素グリッド色"),
     I::None, nullptr, always, nullptr},
    {ID_GREY_IMAGE,
     QT_TRANSLATE_NOOP("qf::Commands", "グレー画像化"),
     QT_TRANSLATE_NOOP("qf::Commands", "入力画像をグレー化"),
     QT_TRANSLATE_NOOP("qf::Commands", "グレー画像化"),
     I::Grey, nullptr, image, grey},
    {ID_MAPPING_CORNERS,
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング 元領域(４点指定)"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング 元領域を指定（入力画像表示時 有効）"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング 元領域(４点指定)"),
     I::MappingCorners, "Ctrl+1", image, cornerTool},
    {ID_MAPPING_RUN,
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング 実行"),
     QT_TRANSLATE_NOOP("qf::Commands", "元領域をグラフ領域ヘマッピング"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング 実行"),
     I::MappingRun, "Ctrl+M", image, nullptr},
    {ID_MAPPING_GRID,
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング グリッド表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング グリッドを表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "マッピング領域グリッド"),
     I::None, "Ctrl+Shift+G", image, mappingGrid},
    {ID_GRAPH_RECT,
     QT_TRANSLATE_NOOP("qf::Commands", "グラフ 領域(矩形指定)"),
     QT_TRANSLATE_NOOP("qf::Commands", "データ化するグラフ 領域を指定（出力画像表示時 有効）"),
     QT_TRANSLATE_NOOP("qf::Commands", "グラフ 領域(矩形指定)"),
     I::GraphRect, "Ctrl+2", image, graphRectTool},
    {ID_ZOOM_IN,
     QT_TRANSLATE_NOOP("qf::Commands", "拡大"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像表示を拡大（マウスホイール）"),
     QT_TRANSLATE_NOOP("qf::Commands", "拡大"),
     I::ZoomIn, "Ctrl++;Ctrl+=", always, nullptr},
    {ID_ZOOM_OUT,
     QT_TRANSLATE_NOOP("qf::Commands", "縮小"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像表示を縮小（マウスホイール）"),
     QT_TRANSLATE_NOOP("qf::Commands", "縮小"),
     I::ZoomOut, "Ctrl+-", always, nullptr},
    {ID_ZOOM_FIT,
     QT_TRANSLATE_NOOP("qf::Commands", "ウィンドウに合わせる"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像全体をウィンドウに合わせて表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "ウィンドウに合わせる"),
     I::ZoomFit, "Ctrl+0", always, nullptr},
    {ID_MAGNIFIER,
     QT_TRANSLATE_NOOP("qf::Commands", "拡大鏡"),
     QT_TRANSLATE_NOOP("qf::Commands", "点の追加と角・辺の移動中、ポインタの周りを拡大して表示"),
     QT_TRANSLATE_NOOP("qf::Commands", "拡大鏡"),
     I::None, "Ctrl+L", always, magnifier},
    {ID_CAMERA_DEVICE_0,
     QT_TRANSLATE_NOOP("qf::Commands", "デバイス ０"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 開始/停止"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 デバイス ０"),
     I::Camera0, nullptr, always, cameraRuns<0>},
    {ID_CAMERA_DEVICE_1,
     QT_TRANSLATE_NOOP("qf::Commands", "デバイス １"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 開始/停止"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 デバイス １"),
     I::Camera1, nullptr, always, cameraRuns<1>},
    {ID_CAMERA_DEVICE_2,
     QT_TRANSLATE_NOOP("qf::Commands", "デバイス ２"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 開始/停止"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 デバイス ２"),
     I::Camera2, nullptr, always, cameraRuns<2>},
    {ID_CAMERA_DEVICE_3,
     QT_TRANSLATE_NOOP("qf::Commands", "デバイス ３"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 開始/停止"),
     QT_TRANSLATE_NOOP("qf::Commands", "撮像 デバイス ３"),
     I::Camera3, nullptr, always, cameraRuns<3>},
    {ID_CAPTURE_SETTINGS,
     QT_TRANSLATE_NOOP("qf::Commands", "ビデオキャプチャー設定 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "キャプチャ設定を変更"),
     QT_TRANSLATE_NOOP("qf::Commands", "ビデオキャプチャー設定"),
     I::CaptureSettings, nullptr, always, nullptr},
    {ID_RUN_PROCESSING,
     QT_TRANSLATE_NOOP("qf::Commands", "画像処理を１回実行"),
     QT_TRANSLATE_NOOP("qf::Commands", "画像処理を１回実行"),
     QT_TRANSLATE_NOOP("qf::Commands", "実行"),
     I::None, nullptr, always, nullptr},

    {ID_ADD_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 元座標追加"),
     QT_TRANSLATE_NOOP("qf::Commands", "表示画像上マウスクリックでフィッティング元座標を追加"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標追加"),
     I::AddPoints, "Ctrl+3", image, addTool},
    {ID_ERASE_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 元座標消去"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標をクリックで消去、マウスドラッグ領域内を消去"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標消去"),
     I::ErasePoints, "Ctrl+4", image, eraseTool},
    {ID_EXTRACT_CURVE,
     QT_TRANSLATE_NOOP("qf::Commands", "曲線 自動抽出"),
     QT_TRANSLATE_NOOP("qf::Commands", "曲線をクリックすると、その色の曲線をたどって点を探します（出力画像表示時 有効）"),
     QT_TRANSLATE_NOOP("qf::Commands", "曲線 自動抽出"),
     I::ExtractCurve, "Ctrl+5", image, extractTool},
    {ID_CALIBRATE_TICKS,
     QT_TRANSLATE_NOOP("qf::Commands", "目盛りで校正"),
     QT_TRANSLATE_NOOP("qf::Commands", "X 軸の目盛り 2 つと Y 軸の目盛り 2 つをクリックし、それぞれの値を入力して軸を校正（出力画像表示時 有効）"),
     QT_TRANSLATE_NOOP("qf::Commands", "目盛りで校正"),
     I::CalibrateTicks, nullptr, image, ticksTool},
    {ID_DETECT_FRAME,
     QT_TRANSLATE_NOOP("qf::Commands", "枠を自動検出"),
     QT_TRANSLATE_NOOP("qf::Commands", "入力画像からグラフの枠の 4 隅を探し、マッピングのコーナーをそこへ移動"),
     QT_TRANSLATE_NOOP("qf::Commands", "枠を自動検出"),
     I::DetectFrame, nullptr, image, nullptr},
    {ID_READ_AXES,
     QT_TRANSLATE_NOOP("qf::Commands", "軸を自動認識"),
     QT_TRANSLATE_NOOP("qf::Commands", "作業画像の枠と目盛りラベルを読み取り、軸の範囲と対数目盛りを設定"),
     QT_TRANSLATE_NOOP("qf::Commands", "軸を自動認識"),
     I::ReadAxes, nullptr, image, nullptr},
    {ID_EXTRACT_CONFIRM,
     QT_TRANSLATE_NOOP("qf::Commands", "抽出した点を追加"),
     QT_TRANSLATE_NOOP("qf::Commands", "自動抽出で見つかった点をフィッティング元座標に追加（Enter、Esc で取り消し）"),
     QT_TRANSLATE_NOOP("qf::Commands", "抽出した点を追加"),
     I::ExtractConfirm, nullptr, extractionShown, nullptr},
    {ID_SAVE_SOURCE_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 元座標データ保存 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標データを保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標データ保存"),
     I::SaveSourcePoints, nullptr, anyPoints, nullptr},
    {ID_LOAD_SOURCE_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 元座標データ読込 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "保存したフィッティング元座標データを読み込んで点を置き換える"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング元座標データ読込"),
     I::None, nullptr, image, nullptr},
    {ID_FIT_RUN,
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 実行"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティングを実行"),
     QT_TRANSLATE_NOOP("qf::Commands", "フィッティング 実行"),
     I::Fit, "Ctrl+R", imageAndPoints, nullptr},
    {ID_FIT_ALL_SERIES,
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列をフィット"),
     QT_TRANSLATE_NOOP("qf::Commands", "点のある系列をそれぞれの設定でフィッティング"),
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列をフィット"),
     I::None, nullptr, imageAndAnySeriesPoints, nullptr},
    {ID_EXTRACT_ALL_SERIES,
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列を抽出"),
     QT_TRANSLATE_NOOP("qf::Commands", "軸の範囲にある曲線を色ごとに探し、曲線ごとに系列を作る（クリック不要）"),
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列を抽出"),
     I::None, nullptr, image, nullptr},
    {ID_SAVE_ALL_SERIES_CSV,
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列を CSV に保存 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列の点を 1 つの CSV ファイル (series, x, y) に保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "すべての系列を CSV に保存"),
     I::None, nullptr, anySeriesPoints, nullptr},
    {ID_SERIES_ADD,
     QT_TRANSLATE_NOOP("qf::Commands", "系列を追加"),
     QT_TRANSLATE_NOOP("qf::Commands", "新しい系列を追加して、点の追加先にする"),
     QT_TRANSLATE_NOOP("qf::Commands", "系列を追加"),
     I::None, nullptr, always, nullptr},
    {ID_SERIES_RENAME,
     QT_TRANSLATE_NOOP("qf::Commands", "系列の名前を変更..."),
     QT_TRANSLATE_NOOP("qf::Commands", "選択中の系列の名前を変更"),
     QT_TRANSLATE_NOOP("qf::Commands", "系列の名前を変更"),
     I::None, nullptr, always, nullptr},
    {ID_SERIES_RECOLOUR,
     QT_TRANSLATE_NOOP("qf::Commands", "系列の色を変更..."),
     QT_TRANSLATE_NOOP("qf::Commands", "選択中の系列の点と曲線の色を変更"),
     QT_TRANSLATE_NOOP("qf::Commands", "系列の色を変更"),
     I::None, nullptr, always, nullptr},
    {ID_SERIES_DELETE,
     QT_TRANSLATE_NOOP("qf::Commands", "系列を削除"),
     QT_TRANSLATE_NOOP("qf::Commands", "選択中の系列をその点ごと削除"),
     QT_TRANSLATE_NOOP("qf::Commands", "系列を削除"),
     I::None, nullptr, severalSeries, nullptr},
    {ID_SERIES_MOVE_POINT,
     QT_TRANSLATE_NOOP("qf::Commands", "系列へ移動..."),
     QT_TRANSLATE_NOOP("qf::Commands", "選択した点を別の系列へ移動"),
     QT_TRANSLATE_NOOP("qf::Commands", "系列へ移動"),
     I::None, nullptr, selectedPointAndSeveralSeries, nullptr},
    {ID_SAVE_GENERATED_POINTS,
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ 座標データ保存 ..."),
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフの座標データを保存"),
     QT_TRANSLATE_NOOP("qf::Commands", "生成グラフ座標データ保存"),
     I::SaveGeneratedPoints, nullptr, imageAndGenerated, nullptr},

    {ID_VIEW_CUSTOMIZE,
     QT_TRANSLATE_NOOP("qf::Commands", "カスタマイズ..."),
     "",
     "",
     I::None, nullptr, always, nullptr},
    {ID_VIEW_STATUS_BAR,
     QT_TRANSLATE_NOOP("qf::Commands", "ステータス バー(&S)"),
     "",
     "",
     I::None, nullptr, always, statusBar},
    STYLE_ROW(ID_STYLE_WINDOWS_2000, "Windows 2000(&2)"),
    STYLE_ROW(ID_STYLE_OFFICE_XP, "Office XP(&X)"),
    STYLE_ROW(ID_STYLE_WINDOWS_XP, "Windows XP(&W)"),
    STYLE_ROW(ID_STYLE_OFFICE_2003, "Office 2003(&3)"),
    STYLE_ROW(ID_STYLE_VS_2005, "Visual Studio 200&5"),
    STYLE_ROW(ID_STYLE_VS_2008, "Visual Studio 200&8"),
    STYLE_ROW(ID_STYLE_OFFICE_2007_BLUE, QT_TRANSLATE_NOOP("qf::Commands", "ブルー スタイル(&B)")),
    STYLE_ROW(ID_STYLE_OFFICE_2007_BLACK, QT_TRANSLATE_NOOP("qf::Commands", "ブラック スタイル(&L)")),
    STYLE_ROW(ID_STYLE_OFFICE_2007_SILVER, QT_TRANSLATE_NOOP("qf::Commands", "シルバー スタイル(&S)")),
    STYLE_ROW(ID_STYLE_OFFICE_2007_AQUA, QT_TRANSLATE_NOOP("qf::Commands", "アクア スタイル(&A)")),

    {ID_LANGUAGE_AUTO,
     "自動 / Automatic",
     QT_TRANSLATE_NOOP("qf::Commands", "システムの言語に従う (次回起動時に反映)"),
     "",
     I::None, nullptr, always, languageIs<0>},
    {ID_LANGUAGE_JAPANESE,
     "日本語",
     QT_TRANSLATE_NOOP("qf::Commands", "日本語で表示 (次回起動時に反映)"),
     "",
     I::None, nullptr, always, languageIs<1>},
    {ID_LANGUAGE_ENGLISH,
     "English",
     QT_TRANSLATE_NOOP("qf::Commands", "英語で表示 (次回起動時に反映)"),
     "",
     I::None, nullptr, always, languageIs<2>},
    {ID_HELP_FINDER,
     QT_TRANSLATE_NOOP("qf::Commands", "Quillfen ヘルプ(&H)"),
     QT_TRANSLATE_NOOP("qf::Commands", "使い方の説明を開く"),
     QT_TRANSLATE_NOOP("qf::Commands", "Quillfen ヘルプ"),
     I::None, "F1", always, nullptr},

    {ID_APP_ABOUT,
     QT_TRANSLATE_NOOP("qf::Commands", "バージョン情報 Quillfen(&A)..."),
     QT_TRANSLATE_NOOP("qf::Commands", "プログラム情報、バージョン、著作権を表示します。"),
     QT_TRANSLATE_NOOP("qf::Commands", "バージョン情報"),
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
        {QT_TRANSLATE_NOOP("qf::Commands", "ファイル(&F)"),
         {cmd(ID_FILE_NEW), cmd(ID_FILE_OPEN), cmd(ID_PROJECT_OPEN), cmd(ID_PROJECT_SAVE),
          cmd(ID_PROJECT_SAVE_AS), sep(), cmd(ID_FILE_SAVE), cmd(ID_SAVE_GENERATED_IMAGE),
          cmd(ID_SAVE_FIT_JSON), cmd(ID_SAVE_ALL_SERIES_CSV), sep(),
          sub(QT_TRANSLATE_NOOP("qf::Commands", "最近使ったプロジェクト(&R)"),
              {cmd(ID_FILE_MRU_FIRST), cmd(ID_FILE_MRU_FIRST + 1), cmd(ID_FILE_MRU_FIRST + 2),
               cmd(ID_FILE_MRU_FIRST + 3), cmd(ID_FILE_MRU_FIRST + 4), cmd(ID_FILE_MRU_FIRST + 5),
               cmd(ID_FILE_MRU_FIRST + 6), cmd(ID_FILE_MRU_LAST)}),
          sep(), cmd(ID_APP_EXIT)}},
        {QT_TRANSLATE_NOOP("qf::Commands", "編集(&E)"),
         {cmd(ID_EDIT_UNDO), cmd(ID_EDIT_REDO), sep(), cmd(ID_EDIT_PASTE), sep(),
          cmd(ID_DELETE_POINT), cmd(ID_REMOVE_ALL_POINTS), cmd(ID_SERIES_MOVE_POINT)}},
        {QT_TRANSLATE_NOOP("qf::Commands", "画像処理"),
         {sub(QT_TRANSLATE_NOOP("qf::Commands", "表示画像"),
              {cmd(ID_DISPLAY_INPUT), cmd(ID_DISPLAY_OUTPUT), cmd(ID_DISPLAY_GENERATED_GRAPH),
               sep(), cmd(ID_ZOOM_IN), cmd(ID_ZOOM_OUT), cmd(ID_ZOOM_FIT), cmd(ID_MAGNIFIER)}),
          sub(QT_TRANSLATE_NOOP("qf::Commands", "画素グリッド"),
              {cmd(ID_PIXEL_GRID_SHOW), cmd(ID_PIXEL_GRID_COLOUR)}),
          cmd(ID_GREY_IMAGE), sep(), cmd(ID_MAPPING_CORNERS), cmd(ID_DETECT_FRAME),
          cmd(ID_MAPPING_RUN), cmd(ID_GRAPH_RECT), cmd(ID_CALIBRATE_TICKS), cmd(ID_READ_AXES),
          cmd(ID_MAPPING_GRID), sep(), cmd(ID_EXTRACT_ALL_SERIES), sep(),
          sub(QT_TRANSLATE_NOOP("qf::Commands", "撮像"),
              {cmd(ID_CAMERA_DEVICE_0), cmd(ID_CAMERA_DEVICE_1), cmd(ID_CAMERA_DEVICE_2),
               cmd(ID_CAMERA_DEVICE_3)}),
          cmd(ID_CAPTURE_SETTINGS)}},
        {QT_TRANSLATE_NOOP("qf::Commands", "フィッティング"),
         {cmd(ID_ADD_POINTS), cmd(ID_ERASE_POINTS), cmd(ID_EXTRACT_CURVE), cmd(ID_EXTRACT_CONFIRM),
          cmd(ID_SAVE_SOURCE_POINTS), cmd(ID_LOAD_SOURCE_POINTS), sep(),
          sub(QT_TRANSLATE_NOOP("qf::Commands", "系列"),
              {cmd(ID_SERIES_ADD), cmd(ID_SERIES_RENAME), cmd(ID_SERIES_RECOLOUR),
               cmd(ID_SERIES_DELETE)}),
          sep(), cmd(ID_FIT_RUN), cmd(ID_FIT_ALL_SERIES), cmd(ID_SAVE_GENERATED_POINTS), sep()}},
        {QT_TRANSLATE_NOOP("qf::Commands", "表示(&V)"),
         {
             E{K::ToolbarsAndPanes,
               ID_VIEW_TOOLBARS,
               QT_TRANSLATE_NOOP("qf::Commands", "ツール バーとドッキング ウィンドウ(&T)"),
               {}},
             sub("言語 / Language", {cmd(ID_LANGUAGE_AUTO), sep(), cmd(ID_LANGUAGE_JAPANESE),
                                     cmd(ID_LANGUAGE_ENGLISH)}),
             cmd(ID_VIEW_STATUS_BAR),
             sub(QT_TRANSLATE_NOOP("qf::Commands", "アプリケーションの外観(&A)"),
                 {cmd(ID_STYLE_WINDOWS_2000), cmd(ID_STYLE_OFFICE_XP), cmd(ID_STYLE_WINDOWS_XP),
                  cmd(ID_STYLE_OFFICE_2003), cmd(ID_STYLE_VS_2005), cmd(ID_STYLE_VS_2008),
                  sub("Office 2007(&7)",
                      {cmd(ID_STYLE_OFFICE_2007_BLUE), cmd(ID_STYLE_OFFICE_2007_BLACK),
                       cmd(ID_STYLE_OFFICE_2007_SILVER), cmd(ID_STYLE_OFFICE_2007_AQUA)})}),
         }},
        {QT_TRANSLATE_NOOP("qf::Commands", "ヘルプ(&H)"),
         {cmd(ID_HELP_FINDER), sep(), cmd(ID_APP_ABOUT)}},
    };
    return menus;
}

const std::vector<ToolBarLayout>& toolBarLayout() {
    static const std::vector<ToolBarLayout> bars = {
        {"StandardToolBar",
         QT_TRANSLATE_NOOP("qf::Commands", "標準"),
         {ID_FILE_NEW, ID_FILE_OPEN, ID_PROJECT_OPEN, ID_FILE_SAVE, ID_PROJECT_SAVE, 0,
          ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_APP_ABOUT}},
        {"CaptureToolBar",
         QT_TRANSLATE_NOOP("qf::Commands", "ビデオキャプチャー"),
         {ID_CAMERA_DEVICE_0, ID_CAMERA_DEVICE_1, ID_CAMERA_DEVICE_2, ID_CAMERA_DEVICE_3,
          ID_CAPTURE_SETTINGS}},
        {"ImageToolBar",
         QT_TRANSLATE_NOOP("qf::Commands", "画像"),
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
          ID_DETECT_FRAME,
          ID_GRAPH_RECT,
          ID_MAPPING_RUN,
          ID_CALIBRATE_TICKS,
          ID_READ_AXES,
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

// The main frame: menus and toolbars built from the command table, the
// enable/check refresh from the target's snapshot, and command routing.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <set>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/icons.h"
#include "app/output_pane.h"

namespace qf {
namespace {

class FakeTarget : public CommandTarget {
public:
    FakeTarget() {
        for (const CommandInfo& c : commandTable()) handled.insert(c.id);
        handled.insert(ID_SOURCE_POINT_SELCHANGE);
    }
    CommandSnapshot snapshot() const override { return state; }
    // A row for each handled id, recording that it ran.
    std::vector<CommandRow> commandRows() override {
        std::vector<CommandRow> rows;
        for (int id : handled) rows.push_back({id, [this, id] { received.push_back(id); }});
        return rows;
    }

    CommandSnapshot state;
    std::set<int> handled;
    std::vector<int> received;
};

std::string str(const QString& s) {
    return s.toStdString();
}

// One line per entry: the text, "-" for a separator, "> title" opening a
// submenu and "<" closing it.
void describe(const QMenu* menu, std::vector<std::string>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out.push_back("-");
        } else if (a->menu()) {
            out.push_back("> " + str(a->text()));
            describe(a->menu(), out);
            out.push_back("<");
        } else {
            out.push_back(str(a->text()));
        }
    }
}

QMenu* topMenu(MainWindow& f, int index) {
    return f.menuBar()->actions().at(index)->menu();
}

std::vector<std::string> describe(const QMenu* menu) {
    std::vector<std::string> out;
    describe(menu, out);
    return out;
}

bool isCustomizeButton(const QAction* a) {
    return a->objectName() == QStringLiteral("CustomizeButton");
}

// The command buttons and separators, without the customize button at the end.
std::vector<int> toolbarIds(const QToolBar* bar) {
    std::vector<int> ids;
    for (QAction* a : bar->actions())
        if (!isCustomizeButton(a)) ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    return ids;
}

class MainWindowTest : public testing::Test {
protected:
    MainWindow frame;
    FakeTarget target;
    bool enabled(int id) { return frame.action(id)->isEnabled(); }
    bool checked(int id) { return frame.action(id)->isChecked(); }
};

TEST_F(MainWindowTest, CreatedAt800By600) {
    EXPECT_EQ(frame.size(), QSize(800, 600));
}

TEST_F(MainWindowTest, MenuBarTitlesInOrder) {
    std::vector<std::string> titles;
    for (QAction* a : frame.menuBar()->actions()) titles.push_back(str(a->text()));
    EXPECT_EQ(titles, (std::vector<std::string>{"ファイル(&F)", "編集(&E)", "画像処理",
                                                "フィッティング", "表示(&V)", "ヘルプ(&H)"}));
}

TEST_F(MainWindowTest, FileMenu) {
    EXPECT_EQ(describe(topMenu(frame, 0)),
              (std::vector<std::string>{"新しいプロジェクト(&N)",
                                        "画像ファイルを開く(&O)...",
                                        "プロジェクトを開く(&J)...",
                                        "プロジェクトを保存(&V)",
                                        "名前を付けてプロジェクトを保存(&M)...",
                                        "-",
                                        "元画像保存(&A)...",
                                        "生成グラフ画像保存...",
                                        "フィッティング結果保存 (fit.json)...",
                                        "すべての系列を CSV に保存 ...",
                                        "-",
                                        "> 最近使ったプロジェクト(&R)",
                                        "",
                                        "",
                                        "",
                                        "",
                                        "",
                                        "",
                                        "",
                                        "",
                                        "<",
                                        "-",
                                        "アプリケーションの終了(&X)"}));
    EXPECT_EQ(describe(topMenu(frame, 1)),
              (std::vector<std::string>{"元に戻す(&U)", "やり直し(&R)", "-", "貼り付け(&P)", "-",
                                        "選択した点を削除(&D)", "すべての点を削除(&A)",
                                        "系列へ移動..."}));
}

TEST_F(MainWindowTest, ImageProcessingMenu) {
    EXPECT_EQ(describe(topMenu(frame, 2)),
              (std::vector<std::string>{"> 表示画像",
                                        "入力画像",
                                        "画像処理出力",
                                        "生成グラフ",
                                        "-",
                                        "拡大",
                                        "縮小",
                                        "ウィンドウに合わせる",
                                        "拡大鏡",
                                        "<",
                                        "> 画素グリッド",
                                        "表示",
                                        "色 ...",
                                        "<",
                                        "グレー画像化",
                                        "-",
                                        "マッピング 元領域(４点指定)",
                                        "枠を自動検出",
                                        "マッピング 実行",
                                        "グラフ 領域(矩形指定)",
                                        "目盛りで校正",
                                        "軸を自動認識",
                                        "マッピング グリッド表示",
                                        "-",
                                        "すべての系列を抽出",
                                        "-",
                                        "> 撮像",
                                        "デバイス ０",
                                        "デバイス １",
                                        "デバイス ２",
                                        "デバイス ３",
                                        "<",
                                        "ビデオキャプチャー設定 ..."}));
}

TEST_F(MainWindowTest, FittingAndViewMenus) {
    EXPECT_EQ(describe(topMenu(frame, 3)),
              (std::vector<std::string>{
                  "フィッティング 元座標追加", "フィッティング 元座標消去", "曲線 自動抽出",
                  "抽出した点を追加", "フィッティング 元座標データ保存 ...",
                  "フィッティング 元座標データ読込 ...", "-", "> 系列", "系列を追加",
                  "系列の名前を変更...", "系列の色を変更...", "系列を削除", "<", "-",
                  "フィッティング 実行", "すべての系列をフィット", "生成グラフ 座標データ保存 ...",
                  "-"}));
    const auto view = describe(topMenu(frame, 4));
    ASSERT_GE(view.size(), 3u);
    EXPECT_EQ(view[0], "> ツール バーとドッキング ウィンドウ(&T)");
    const std::vector<std::string> tail(view.end() - 15, view.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "ステータス バー(&S)", "> アプリケーションの外観(&A)", "Windows 2000(&2)",
                        "Office XP(&X)", "Windows XP(&W)", "Office 2003(&3)", "Visual Studio 200&5",
                        "Visual Studio 200&8", "> Office 2007(&7)", "ブルー スタイル(&B)",
                        "ブラック スタイル(&L)", "シルバー スタイル(&S)", "アクア スタイル(&A)",
                        "<", "<"}));
    EXPECT_EQ(
        describe(topMenu(frame, 5)),
        (std::vector<std::string>{"Quillfen ヘルプ(&H)", "-", "バージョン情報 Quillfen(&A)..."}));
}

TEST_F(MainWindowTest, ToolbarsAndPanesSubmenuListsBarsAndPanes) {
    QMenu* sub = frame.findChild<QMenu*>(QStringLiteral("ToolbarsAndPanesMenu"));
    ASSERT_NE(sub, nullptr);
    emit sub->aboutToShow();
    EXPECT_EQ(describe(sub), (std::vector<std::string>{"標準", "ビデオキャプチャー", "画像", "出力",
                                                       "-", "カスタマイズ..."}));
}

TEST_F(MainWindowTest, ToolbarsHoldTheTableLayoutWithIcons) {
    const auto& bars = frame.toolBars();
    ASSERT_EQ(bars.size(), 3u);
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(str(bars[i]->windowTitle()), toolBarLayout()[i].caption);
        EXPECT_EQ(toolbarIds(bars[i]), toolBarLayout()[i].ids);
        for (QAction* a : bars[i]->actions())
            if (!a->isSeparator() && !isCustomizeButton(a)) {
                EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
            }
    }
    // Standard and capture bars share the first row; the image bar has its own.
    EXPECT_FALSE(frame.toolBarBreak(bars[1]));
    EXPECT_TRUE(frame.toolBarBreak(bars[2]));
}

TEST_F(MainWindowTest, IconsAreDrawnAndDistinct) {
    // Bytes as a QByteArray: GCC 12 at -O3 warns falsely (-Wstringop-overread)
    // on the three-way comparison of std::vector<uchar> keys.
    std::set<QByteArray> seen;
    for (const CommandInfo& c : commandTable()) {
        if (c.icon == CommandIcon::None) continue;
        QImage img = commandPixmap(c.icon, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) opaque += qAlpha(img.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 20) << c.id;
        const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()),
                               static_cast<qsizetype>(img.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bytes).second) << "icon of " << c.id << " repeats another";
    }
}

TEST_F(MainWindowTest, ActionsCarryPromptTooltipAndShortcut) {
    QAction* open = frame.action(ID_FILE_OPEN);
    EXPECT_EQ(str(open->statusTip()), "既存の画像ファイルを開く");
    EXPECT_EQ(str(open->toolTip()), "画像ファイルを開く");
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(frame.action(ID_FILE_SAVE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(str(frame.action(ID_ZOOM_OUT)->statusTip()), "画像表示を縮小（マウスホイール）");
}

TEST_F(MainWindowTest, StatusBarShowsIdleTextAndPromptOnHover) {
    frame.show();
    EXPECT_EQ(str(frame.idleLabel()->text()), "レディ");
    EXPECT_TRUE(frame.idleLabel()->isVisible());
    frame.action(ID_ADD_POINTS)->showStatusText(&frame);
    EXPECT_EQ(str(frame.statusBar()->currentMessage()),
              "表示画像上マウスクリックでフィッティング元座標を追加");
    EXPECT_FALSE(frame.idleLabel()->isVisible());
    frame.statusBar()->clearMessage();
    EXPECT_TRUE(frame.idleLabel()->isVisible());
}

TEST_F(MainWindowTest, WithoutTargetOnlyFrameCommandsAreEnabled) {
    EXPECT_TRUE(enabled(ID_APP_EXIT));
    EXPECT_TRUE(enabled(ID_APP_ABOUT));
    EXPECT_TRUE(enabled(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(enabled(ID_FILE_OPEN));
    EXPECT_FALSE(enabled(ID_ZOOM_IN));
}

TEST_F(MainWindowTest, RefreshFollowsSnapshot) {
    frame.setView(nullptr, &target);
    EXPECT_TRUE(enabled(ID_FILE_OPEN));
    EXPECT_FALSE(enabled(ID_FILE_SAVE));
    EXPECT_FALSE(enabled(ID_ADD_POINTS));
    EXPECT_TRUE(checked(ID_MAPPING_CORNERS));
    EXPECT_TRUE(checked(ID_DISPLAY_INPUT));

    target.state.imagePresent = true;
    target.state.displaySource = 2;
    target.state.cornerMode = false;
    target.state.graphRectMode = true;
    target.state.cameraRunning[1] = true;
    frame.refreshCommands();
    EXPECT_TRUE(enabled(ID_FILE_SAVE));
    EXPECT_TRUE(enabled(ID_ADD_POINTS));
    EXPECT_FALSE(enabled(ID_FIT_RUN));
    EXPECT_FALSE(checked(ID_DISPLAY_INPUT));
    EXPECT_TRUE(checked(ID_DISPLAY_OUTPUT));
    EXPECT_FALSE(checked(ID_MAPPING_CORNERS));
    EXPECT_TRUE(checked(ID_GRAPH_RECT));
    EXPECT_TRUE(checked(ID_CAMERA_DEVICE_1));
    EXPECT_FALSE(checked(ID_CAMERA_DEVICE_0));

    target.state.pointCount = 2;
    frame.refreshCommands();
    EXPECT_TRUE(enabled(ID_FIT_RUN));
}

TEST_F(MainWindowTest, CommandsWithoutHandlerStayDisabled) {
    target.handled.erase(ID_FIT_RUN);
    target.handled.erase(ID_CAMERA_DEVICE_0);
    target.state.imagePresent = true;
    target.state.pointCount = 3;
    frame.setView(nullptr, &target);
    EXPECT_FALSE(enabled(ID_FIT_RUN));
    EXPECT_FALSE(enabled(ID_CAMERA_DEVICE_0));
    EXPECT_TRUE(enabled(ID_CAMERA_DEVICE_1));
    frame.triggerCommand(ID_FIT_RUN);
    EXPECT_TRUE(target.received.empty());

    // A handler registered with the frame makes the command available.
    int runs = 0;
    frame.setCommandHandler(ID_FIT_RUN, [&] { ++runs; });
    EXPECT_TRUE(enabled(ID_FIT_RUN));
    frame.action(ID_FIT_RUN)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(target.received.empty());
}

TEST_F(MainWindowTest, MenuRefreshesBeforeShowing) {
    frame.setView(nullptr, &target);
    target.state.imagePresent = true;
    EXPECT_FALSE(enabled(ID_FILE_SAVE));
    emit topMenu(frame, 0)->aboutToShow();
    EXPECT_TRUE(enabled(ID_FILE_SAVE));
}

TEST_F(MainWindowTest, TriggerSendsIdAndRefreshes) {
    frame.setView(nullptr, &target);
    target.state.imagePresent = true;
    frame.refreshCommands();
    for (int id : {ID_ADD_POINTS, ID_FILE_OPEN, ID_ZOOM_IN, ID_MAPPING_RUN, ID_CAMERA_DEVICE_3})
        frame.action(id)->trigger();
    EXPECT_EQ(target.received, (std::vector<int>{ID_ADD_POINTS, ID_FILE_OPEN, ID_ZOOM_IN,
                                                 ID_MAPPING_RUN, ID_CAMERA_DEVICE_3}));
    // The target did not switch the tool on, so the toggled button goes back.
    EXPECT_FALSE(checked(ID_ADD_POINTS));
}

TEST_F(MainWindowTest, StaleEnabledActionDoesNotRun) {
    frame.setView(nullptr, &target);
    target.state.imagePresent = true;
    frame.refreshCommands();
    target.state.imagePresent = false;  // changed without a refresh
    ASSERT_TRUE(enabled(ID_FILE_SAVE));
    frame.action(ID_FILE_SAVE)->trigger();
    EXPECT_TRUE(target.received.empty());
    EXPECT_FALSE(enabled(ID_FILE_SAVE));
}

TEST_F(MainWindowTest, AcceleratorsReachTheTarget) {
    frame.setView(nullptr, &target);
    target.state.imagePresent = true;
    frame.refreshCommands();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(target.received, (std::vector<int>{ID_FILE_OPEN, ID_FILE_SAVE}));
}

TEST_F(MainWindowTest, ListSelectionIsRoutedAsCommand102) {
    frame.setView(nullptr, &target);
    OutputPane* pane = frame.outputPane();
    pane->insertSourcePointRow(0, {"1", "0.5", "0.5", "10", "20"});
    pane->selectSourcePointRow(0);
    EXPECT_EQ(target.received, (std::vector<int>{ID_SOURCE_POINT_SELCHANGE}));
}

TEST_F(MainWindowTest, FrameOwnCommands) {
    frame.show();
    frame.action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_TRUE(frame.statusBar()->isHidden());
    EXPECT_FALSE(checked(ID_VIEW_STATUS_BAR));
    frame.action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(frame.statusBar()->isHidden());
    EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));

    frame.setVisualStyle(ID_STYLE_OFFICE_2007_BLACK);
    frame.refreshCommands();
    EXPECT_TRUE(checked(ID_STYLE_OFFICE_2007_BLACK));
    EXPECT_FALSE(checked(ID_STYLE_VS_2008));

    frame.action(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainWindowTest, OutputPaneDockedAtBottom) {
    EXPECT_EQ(frame.dockWidgetArea(frame.outputPane()), Qt::BottomDockWidgetArea);
}

TEST_F(MainWindowTest, LayoutSurvivesARestart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings store(dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
    EXPECT_FALSE(frame.restoreLayout(store));  // empty store: the built-in layout stays
    EXPECT_EQ(frame.dockWidgetArea(frame.outputPane()), Qt::BottomDockWidgetArea);

    frame.show();
    frame.toolBars()[1]->hide();
    frame.addDockWidget(Qt::TopDockWidgetArea, frame.outputPane());
    frame.saveLayout(store);
    store.sync();

    MainWindow next;
    next.show();
    QSettings reread(dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
    EXPECT_TRUE(next.restoreLayout(reread));
    EXPECT_TRUE(next.toolBars()[1]->isHidden());
    EXPECT_EQ(next.dockWidgetArea(next.outputPane()), Qt::TopDockWidgetArea);
}

TEST(AboutBox, TitleAndText) {
    AboutDialog dlg;
    EXPECT_EQ(str(dlg.windowTitle()), "バージョン情報 Quillfen");
    auto* text = dlg.findChild<QLabel*>(QStringLiteral("AboutText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(str(text->text()), "Quillfen, Version 1.0");
}

TEST(AboutBox, IconAndOkButtonThatCloses) {
    AboutDialog dlg;
    auto* icon = dlg.findChild<QLabel*>(QStringLiteral("AboutIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    const auto buttons = dlg.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(str(buttons[0]->text()), "OK");
    dlg.show();
    buttons[0]->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

// Renders the whole frame; QF_GRAB_DIR keeps the picture for a look.
TEST_F(MainWindowTest, GrabsAFullFrame) {
    auto* view = new QLabel(QStringLiteral("view"));
    view->setAlignment(Qt::AlignCenter);
    frame.setView(view, &target);
    target.state.imagePresent = true;
    target.state.pointCount = 3;
    frame.refreshCommands();
    frame.show();
    QImage shot = frame.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(800, 600));
    if (const QByteArray dir = qgetenv("QF_GRAB_DIR"); !dir.isEmpty()) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/main_window.png")));
        // Every icon at 16 and 48 pixels, for a closer look.
        QImage sheet(26 * 56, 72, QImage::Format_ARGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        int x = 4;
        for (const CommandInfo& c : commandTable()) {
            if (c.icon == CommandIcon::None) continue;
            p.drawPixmap(x + 16, 2, commandPixmap(c.icon, 16));
            p.drawImage(QRect(x, 20, 48, 48), commandPixmap(c.icon, 16).toImage());
            x += 56;
        }
        p.end();
        EXPECT_TRUE(sheet.save(QString::fromLocal8Bit(dir) + QStringLiteral("/icons.png")));
    }
}

}  // namespace
}  // namespace qf

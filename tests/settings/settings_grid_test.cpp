// The settings grid driven with real key and mouse events under the offscreen
// platform: what it shows, how edits end, and what it stores and sends.

#include "settings/settings_grid.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "settings/property_editors.h"
#include "support/fake_dialogs.h"

namespace qf {
namespace {

using I = PanelItem;

std::string str(const QString& s) {
    return s.toStdString();
}

class SettingsGridTest : public testing::Test {
protected:
    // Closing the window ends an open edit, which still reports to the sink.
    std::vector<int> sent;
    testing_support::FakeDialogs dialogs;
    QWidget window;
    SettingsGrid* grid = new SettingsGrid(dialogs);
    QLineEdit* elsewhere = new QLineEdit;  // somewhere for the focus to go

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid, 1);
        layout->addWidget(elsewhere);
        grid->setCommandSink([this](int id) { sent.push_back(id); });
        window.resize(420, 900);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QTreeView* tree() const { return grid->tree(); }

    // The open editor of an item (the offscreen platform may leave the
    // focus with a closed popup).
    QComboBox* openList(PanelItem item) const {
        return qobject_cast<QComboBox*>(tree()->indexWidget(grid->valueIndex(item)));
    }

    void click(const QModelIndex& index) {
        tree()->scrollTo(index);
        const QRect cell = tree()->visualRect(index);
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickValue(PanelItem item) { click(grid->valueIndex(item)); }
    void clickName(PanelItem item) { click(grid->nameIndex(item)); }

    template <class Editor>
    Editor* editor() const {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto* e = qobject_cast<Editor*>(w)) return e;
        }
        return nullptr;
    }

    // Opens the item's editor and replaces its text with the typed keys.
    void type(PanelItem item, const char* text) {
        clickValue(item);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_Delete);
        QTest::keyClicks(focus, QString::fromUtf8(text));
    }

    void pressEnter() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();  // the view commits Enter from its queue
    }

    bool bold(PanelItem item) const {
        return grid->nameIndex(item).data(Qt::FontRole).value<QFont>().bold() &&
               grid->valueIndex(item).data(Qt::FontRole).value<QFont>().bold();
    }
};

TEST_F(SettingsGridTest, ShowsTheGroupsAndItemsInOrder) {
    struct Row {
        const char* group;
        const char* name;
        const char* description;
        const char* value;
    } const expected[] = {
        {"フィッティング", "モデル関数", nullptr, "ｎ次多項式"},
        {"フィッティング", "次数 n", "n = -20 ... +20", "5"},
        {"任意関数 線型和", "f0(x)", "任意関数 線型和選択時、f0(x)を指定します", "1"},
        {"任意関数 線型和", "f1(x)", "任意関数 線型和選択時、f1(x)を指定します", "x"},
        {"任意関数 線型和", "f2(x)", "任意関数 線型和選択時、f2(x)を指定します", "x * x"},
        {"任意関数 線型和", "f3(x)", "任意関数 線型和選択時、f3(x)を指定します", "x * x * x"},
        {"任意関数 線型和", "f4(x)", "任意関数 線型和選択時、f4(x)を指定します", "x * x * x * x"},
        {"任意関数 線型和", "f5(x)", "任意関数 線型和選択時、f5(x)を指定します",
         "x * x * x * x * x"},
        {"X軸", "X min", "X最小 Xmin", "0"},
        {"X軸", "X max", "X最大 Xmax", "1"},
        {"X軸", "X リニア／対数", "X軸\u3000リニア／対数", "リニア"},
        {"Y軸", "Y min", "Y最小 Ymin", "0"},
        {"Y軸", "Y max", "Y最大 Ymax", "1"},
        {"Y軸", "Y リニア／対数", "Y軸\u3000リニア／対数", "リニア"},
        {"グラフ生成", "データ数", "フィッティング実行後、グラフ作成するデータ数", "50"},
        {"グラフ表示", "データ表示", "グラフ内 データ点、線 表示設定", "点 + 線"},
        {"グラフ表示", "グリッド", "グラフ内 グリッド 表示設定", "表示"},
        {"グラフ表示", "グラフの色", "グラフの色を指定します", ""},
        {"グラフ表示", "フォント", "生成するグラフ内のフォントを指定します", nullptr},
        {"マッピング", "マッピング方式",
         "マッピング 実行時の変換\n<双一次 (標準)>\n  4点の辺に沿って補間します。正面から撮影した"
         "グラフ向き\n<射影変換>\n  斜めから撮影したグラフの遠近のゆがみも補正し、等間隔の目盛りを"
         "等間隔に戻します",
         "双一次 (標準)"},
        {"マッピング", "画素の補間",
         "射影変換で画素を読む方法\n<なし (最近傍)>\n  最も近い画素をそのまま使います\n<双一次補間>\n"
         "  周りの4画素を重み付けして読み、線の位置を画素以下の精度で保ちます",
         "なし (最近傍)"},
        {"曲線 自動抽出", "色の許容差",
         "クリックした曲線の色とみなす色の差 (1 ... 255)\n"
         "小さいと他の色の線を拾わず、大きいと写真のにじんだ線も拾います",
         "40"},
        {"曲線 自動抽出", "点の数",
         "線の曲線に等間隔に置く点の数 (1 ... 128)\nマーカーの系列はマーカー1個に1点です", "20"},
        {"曲線 自動抽出", "途切れの橋渡し",
         "破線や点線の途切れをつなぐ最大の長さ (画素、1 ... 100)", "8"},
    };
    const char* const modelDescription =
        "<n次多項式>\n  y=A0+A1*x + A2*(x**2) + ... + An*(pow(x, n))\n<指数関数積>\n  "
        "y=exp(A0) * exp(A1*x) * exp(A2*x*x) * ... * exp(An*(pow(x, n)))\n<任意関数 "
        "線型和>\n  y=A0*f0(x) + A1*f1(x) + ... + A5*f5(x)\n  f0(x) ... f5(x)を別指定";

    EXPECT_TRUE(tree()->isHeaderHidden());
    const QAbstractItemModel* model = tree()->model();
    std::vector<std::string> groups;
    size_t k = 0;
    for (int g = 0; g < model->rowCount(); ++g) {
        const QModelIndex group = model->index(g, 0);
        groups.push_back(str(group.data().toString()));
        EXPECT_TRUE(tree()->isFirstColumnSpanned(g, QModelIndex()));
        EXPECT_TRUE(tree()->isExpanded(group));
        for (int r = 0; r < model->rowCount(group); ++r, ++k) {
            ASSERT_LT(k, std::size(expected));
            const Row& row = expected[k];
            const QModelIndex name = model->index(r, 0, group);
            EXPECT_EQ(groups.back(), row.group);
            EXPECT_EQ(str(name.data().toString()), row.name);
            const auto item = static_cast<PanelItem>(k);
            if (row.value) {
                EXPECT_EQ(str(grid->valueText(item)), row.value) << row.name;
            }
            tree()->setCurrentIndex(name);
            EXPECT_EQ(str(grid->descriptionName()->text()), row.name);
            const std::string description = str(grid->descriptionText()->text());
            EXPECT_EQ(description, row.description ? row.description : modelDescription);
            EXPECT_FALSE(bold(item)) << row.name;
        }
    }
    EXPECT_EQ(k, std::size(expected));
    EXPECT_EQ(groups, (std::vector<std::string>{"フィッティング", "任意関数 線型和", "X軸", "Y軸",
                                                "グラフ生成", "グラフ表示", "マッピング",
                                                "曲線 自動抽出"}));
    EXPECT_EQ(QString::fromUtf8(modelDescription).size(), 202);
    EXPECT_TRUE(sent.empty());
}

TEST_F(SettingsGridTest, ListItemsOfferExactlyTheirChoices) {
    std::vector<std::string> degrees;
    for (int n = -20; n <= 20; ++n) degrees.push_back(std::to_string(n));
    struct Case {
        PanelItem item;
        std::vector<std::string> choices;
    } const cases[] = {
        {I::ModelKind, {"ｎ次多項式", "指数関数積", "任意関数 線型和"}},
        {I::Degree, degrees},
        {I::XScale, {"リニア", "対数", "日付"}},
        {I::YScale, {"リニア", "対数", "日付"}},
        {I::PointDisplay, {"点", "線", "点 + 線", "点 + 番号"}},
        {I::Grid, {"表示", "非表示"}},
    };
    for (const Case& c : cases) {
        clickValue(c.item);
        auto* combo = editor<QComboBox>();
        ASSERT_NE(combo, nullptr) << static_cast<int>(c.item);
        // Only the degree, a number, can also be typed.
        EXPECT_EQ(combo->isEditable(), c.item == I::Degree);
        std::vector<std::string> shown;
        for (int i = 0; i < combo->count(); ++i) shown.push_back(str(combo->itemText(i)));
        EXPECT_EQ(shown, c.choices);
        EXPECT_EQ(str(combo->currentText()), str(grid->valueText(c.item)));
    }
}

TEST_F(SettingsGridTest, MovingToAnotherItemAcceptsTheEdit) {
    type(I::XMin, "0.1");
    EXPECT_TRUE(sent.empty());  // nothing until the edit ends
    clickValue(I::YMax);
    EXPECT_EQ(grid->settings().xMin, static_cast<double>(0.1F));
    EXPECT_NEAR(grid->settings().xMin, 0.100000001490116, 1e-15);
    EXPECT_EQ(str(grid->valueText(I::XMin)), "0.1");
    EXPECT_EQ(sent, (std::vector<int>{104}));
    EXPECT_TRUE(bold(I::XMin));

    // Back to the starting value: no longer marked.
    type(I::XMin, "0");
    clickName(I::XMax);
    EXPECT_EQ(grid->settings().xMin, 0.0);
    EXPECT_FALSE(bold(I::XMin));
    EXPECT_EQ(sent.size(), 3u);  // Y max and X min ended their edits
}

TEST_F(SettingsGridTest, EnterAndLeavingTheGridAcceptTheEdit) {
    struct Case {
        PanelItem item;
        const char* typed;
        bool byEnter;  // else the focus leaves the grid
        const char* shown;
    } const cases[] = {
        {I::XMax, " 2.5e3x ", true, "2500"}, {I::YMin, "abc", false, "0"},
        {I::YMax, "1e-5", true, "1E-005"},   {I::Basis2, " sin(x) + 1", false, " sin(x) + 1"},
        {I::Basis0, "", true, ""},
        {I::ExtractTolerance, "999", true, "255"},  // shown as kept in range
    };
    for (const Case& c : cases) {
        sent.clear();
        type(c.item, c.typed);
        if (c.byEnter) {
            pressEnter();
        } else {
            elsewhere->setFocus();
            QApplication::processEvents();
        }
        EXPECT_EQ(sent, (std::vector<int>{104})) << c.typed;
        EXPECT_EQ(str(grid->valueText(c.item)), c.shown);
    }
    const PanelSettings& s = grid->settings();
    EXPECT_EQ(s.xMax, 2500.0);
    EXPECT_EQ(s.yMin, 0.0);
    EXPECT_EQ(s.yMax, static_cast<double>(1e-5F));
    EXPECT_EQ(s.basisExpr[2], " sin(x) + 1");  // stored as typed
    EXPECT_EQ(s.basisExpr[0], "");
}

TEST_F(SettingsGridTest, EscapeCancelsTheEdit) {
    type(I::XMin, "7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(str(grid->valueText(I::XMin)), "0");
    clickValue(I::XScale);
    QTest::keyClick(editor<QComboBox>(), Qt::Key_Down);
    QTest::keyClick(editor<QComboBox>(), Qt::Key_Escape);
    clickName(I::YMin);
    elsewhere->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(grid->settings(), PanelSettings{});
    EXPECT_EQ(str(grid->valueText(I::XScale)), "リニア");
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(bold(I::XMin));
}

TEST_F(SettingsGridTest, PickingFromAListStoresItsSetting) {
    struct Case {
        PanelItem item;
        int downs;  // key presses from the current choice
        const char* shown;
    } const cases[] = {
        {I::XScale, 1, "対数"},  {I::PointDisplay, 1, "点 + 番号"},
        {I::Grid, 1, "非表示"},  {I::ModelKind, 2, "任意関数 線型和"},
        {I::Degree, -25, "-20"},
    };
    for (const Case& c : cases) {
        clickValue(c.item);
        auto* combo = editor<QComboBox>();
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < std::abs(c.downs); ++i)
            QTest::keyClick(combo, c.downs > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    clickName(I::XMin);
    EXPECT_EQ(sent, std::vector<int>(5, 104));
    for (const Case& c : cases) {
        EXPECT_EQ(str(grid->valueText(c.item)), c.shown);
        EXPECT_TRUE(bold(c.item));
    }
    PanelSettings expected;
    expected.xLog = 1;
    expected.showMarkers = 1, expected.showLines = 0, expected.showNumbers = 1;
    expected.showGrid = 0;
    expected.modelKind = 2;
    expected.degree = -20;
    EXPECT_EQ(grid->settings(), expected);
}

TEST_F(SettingsGridTest, TheDegreeIsTypedWheeledOrPickedAndAPickCountsAtOnce) {
    enum class Way { Typed, TypedOnTheRow, Wheel, Picked };
    struct Case {
        Way way;
        const char* text;  // typed, or the choice picked from the list
        int wheelSteps;    // notches towards the user (down the list)
        int degree;        // stored afterwards; 5 is where each case starts
        const char* shown;
    } const cases[] = {
        {Way::Typed, "7", 0, 7, "7"},
        {Way::Typed, " -12 ", 0, -12, "-12"},
        {Way::Typed, "+3", 0, 3, "3"},
        {Way::Typed, "-1", 0, -1, "-1"},  // not completed to "-19"
        {Way::Typed, "20", 0, 20, "20"},
        {Way::TypedOnTheRow, "8", 0, 8, "8"},
        // Out of range or no whole number: refused, the value stays.
        {Way::Typed, "21", 0, 5, "5"},
        {Way::Typed, "-25", 0, 5, "5"},
        {Way::Typed, "2.5", 0, 5, "5"},
        {Way::Typed, "3x", 0, 5, "5"},
        {Way::Typed, "", 0, 5, "5"},
        {Way::Wheel, nullptr, 2, 7, "7"},
        {Way::Wheel, nullptr, -3, 2, "2"},
        {Way::Picked, "-4", 0, -4, "-4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "wheel");
        grid->showSettings(PanelSettings{});
        tree()->setCurrentIndex(grid->nameIndex(I::XMin));  // each case comes to the row anew
        sent.clear();
        if (c.way == Way::Typed) {
            type(I::Degree, c.text);
            pressEnter();
        } else if (c.way == Way::TypedOnTheRow) {
            clickName(I::Degree);
            QTest::keyClicks(tree(), QString::fromUtf8(c.text));
            pressEnter();
        } else if (c.way == Way::Wheel) {
            clickValue(I::Degree);
            auto* combo = editor<QComboBox>();
            ASSERT_NE(combo, nullptr);
            for (int i = 0; i < std::abs(c.wheelSteps); ++i) {
                const QPointF at = combo->rect().center();
                QWheelEvent wheel(at, combo->mapToGlobal(at), {},
                                  {0, c.wheelSteps > 0 ? -120 : 120}, Qt::NoButton, {},
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(combo, &wheel);
            }
            EXPECT_TRUE(sent.empty());  // counts when the edit ends
            clickName(I::XMin);
        } else {
            clickValue(I::Degree);
            auto* combo = editor<QComboBox>();
            ASSERT_NE(combo, nullptr);
            combo->showPopup();
            QAbstractItemView* list = combo->view();
            const QModelIndex choice = list->model()->index(combo->findText(c.text), 0);
            list->scrollTo(choice);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(choice).center());
            QApplication::processEvents();
            // Counted without leaving the field, and the field is closed.
            EXPECT_EQ(openList(I::Degree), nullptr);
        }
        EXPECT_EQ(sent, (std::vector<int>{104}));
        EXPECT_EQ(grid->settings().degree, c.degree);
        EXPECT_EQ(str(grid->valueText(I::Degree)), c.shown);
    }
}

TEST_F(SettingsGridTest, AChoiceFromAnyListCountsAtOnce) {
    clickValue(I::YScale);
    auto* combo = editor<QComboBox>();
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QApplication::processEvents();
    EXPECT_EQ(sent, (std::vector<int>{104}));
    EXPECT_TRUE(grid->settings().yLog);
    EXPECT_EQ(str(grid->valueText(I::YScale)), "対数");
    EXPECT_EQ(openList(I::YScale), nullptr);
    // A list closed without a choice changes nothing.
    clickValue(I::XScale);
    combo = openList(I::XScale);
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    QTest::keyClick(combo->view(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(sent, (std::vector<int>{104}));
    EXPECT_FALSE(grid->settings().xLog);
}

TEST_F(SettingsGridTest, CountIsStoredAsTypedButStepsStayInRange) {
    type(I::GraphPointCount, "300");
    pressEnter();
    EXPECT_EQ(grid->settings().graphPointCount, 300);
    EXPECT_EQ(str(grid->valueText(I::GraphPointCount)), "300");
    EXPECT_EQ(sent, (std::vector<int>{104}));

    // Stepping from outside the range comes back into it.
    QTest::keyClick(tree(), Qt::Key_F2);
    auto* spin = editor<QSpinBox>();
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->value(), 300);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->value(), 300);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->value(), 256);

    // The up button stops at 256, the down button at 10.
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, "250");
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = spin->buttonSymbols();
    option.frame = spin->hasFrame();
    const QPoint up = spin->style()
                          ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin)
                          .center();
    const QPoint down =
        spin->style()
            ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, spin)
            .center();
    for (int i = 0; i < 10; ++i) QTest::mouseClick(spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin->value(), 256);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, "12");
    for (int i = 0; i < 5; ++i) QTest::mouseClick(spin, Qt::LeftButton, {}, down);
    EXPECT_EQ(spin->value(), 10);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, "7x");
    pressEnter();
    EXPECT_EQ(grid->settings().graphPointCount, 7);
    EXPECT_EQ(sent, (std::vector<int>{104, 104}));
}

TEST_F(SettingsGridTest, ColourFromTheDialogOrTheDefaultEntry) {
    ColourValueWidget* colour = grid->colourWidget();
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(str(colour->defaultButton()->text()), "既定値");
    EXPECT_EQ(str(colour->otherButton()->text()), "その他...");

    dialogs.colourAnswer = std::nullopt;  // cancelled
    QTest::mouseClick(colour->otherButton(), Qt::LeftButton);
    EXPECT_TRUE(sent.empty());

    dialogs.colourAnswer = 0x123456;
    QTest::mouseClick(colour->otherButton(), Qt::LeftButton);
    EXPECT_EQ(grid->settings().colour, 0x123456u);
    EXPECT_EQ(sent, (std::vector<int>{104}));
    EXPECT_TRUE(bold(I::Colour));
    EXPECT_EQ(colour->swatch()->pixmap().toImage().pixelColor(10, 6), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(str(grid->descriptionName()->text()), "グラフの色");

    QTest::mouseClick(colour->defaultButton(), Qt::LeftButton);
    EXPECT_EQ(grid->settings().colour, 0x000000u);
    EXPECT_EQ(sent, (std::vector<int>{104, 104}));
    EXPECT_FALSE(bold(I::Colour));
}

TEST_F(SettingsGridTest, AnOpenEditEndsBeforeTheColourIsApplied) {
    type(I::XMax, "5");
    dialogs.colourAnswer = 0x0000FF;
    QTest::mouseClick(grid->colourWidget()->otherButton(), Qt::LeftButton);
    EXPECT_EQ(grid->settings().xMax, 5.0);
    EXPECT_EQ(grid->settings().colour, 0x0000FFu);
    EXPECT_EQ(sent, (std::vector<int>{104, 104}));
}

TEST_F(SettingsGridTest, FontChangesTheLabelFontOnlyOnceHandedOver) {
    FontValueWidget* font = grid->fontWidget();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(grid->fontValue(), grid->font());  // starts as the grid's own font

    dialogs.fontAnswer = std::nullopt;
    QTest::mouseClick(font->chooseButton(), Qt::LeftButton);
    EXPECT_TRUE(sent.empty());

    const QFont first("Serif", 20);
    dialogs.fontAnswer = first;
    QTest::mouseClick(font->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(sent, (std::vector<int>{105}));
    EXPECT_EQ(grid->fontValue(), first);
    EXPECT_EQ(font->text(), FontValueWidget::describe(first));
    EXPECT_TRUE(grid->isModified(I::Font));

    QFont label("Sans", 12);
    const QFont original = label;
    EXPECT_EQ(label, original);  // nothing to change yet
    grid->setLabelFont(&label);
    const QFont second("Monospace", 14);
    dialogs.fontAnswer = second;
    QTest::mouseClick(font->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(label, second);
    EXPECT_EQ(sent, (std::vector<int>{105, 105}));
    EXPECT_EQ(grid->settings(), PanelSettings{});
}

TEST(SettingsGridLifetime, ClosingWithAnEditOpenSendsNothing) {
    testing_support::FakeDialogs dialogs;
    int sent = 0;
    auto* grid = new SettingsGrid(dialogs);
    grid->setCommandSink([&sent](int) { ++sent; });
    grid->resize(320, 800);
    grid->show();
    grid->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(grid));
    const QModelIndex value = grid->valueIndex(I::XMax);
    QTest::mouseClick(grid->tree()->viewport(), Qt::LeftButton, {},
                      grid->tree()->visualRect(value).center());
    QTest::keyClicks(QApplication::focusWidget(), "9");
    delete grid;
    QApplication::processEvents();
    EXPECT_EQ(sent, 0);
}

TEST(GridFont, FourFifthsOfTheMenuFont) {
    struct Case {
        int pointSize;  // -1: pixel size instead
        int pixelSize;
        int weight;
        bool italic;
        int expectedSize;
        int expectedWeight;
    } const cases[] = {
        {12, -1, 400, false, 9, 320}, {10, -1, 700, true, 8, 560}, {-1, 15, 400, false, 12, 320},
        {-1, 12, 300, true, 9, 240},  {1, -1, 100, false, 1, 80},  // never below one
    };
    for (const Case& c : cases) {
        QFont menu("Sans");
        if (c.pointSize > 0)
            menu.setPointSize(c.pointSize);
        else
            menu.setPixelSize(c.pixelSize);
        menu.setWeight(static_cast<QFont::Weight>(c.weight));
        menu.setItalic(c.italic);
        const QFont f = SettingsGrid::gridFontFrom(menu);
        EXPECT_EQ(c.pointSize > 0 ? f.pointSize() : f.pixelSize(), c.expectedSize);
        EXPECT_EQ(f.weight(), c.expectedWeight);
        EXPECT_EQ(f.italic(), c.italic);
        EXPECT_EQ(f.family(), menu.family());
    }
}

}  // namespace
}  // namespace qf

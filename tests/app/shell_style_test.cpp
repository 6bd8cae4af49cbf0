// The visual style: applied to the whole application at once, kept in the
// workspace store as "ApplicationLook" and restored by the next frame.

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <memory>

#include "app/main_window.h"
#include "app/visual_style.h"

namespace qf {
namespace {

QColor colour(Rgb rgb) {
    return QColor::fromRgb(0xFF000000u | rgb);
}

QColor appColour(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}

// What the application shows matches the table row of `expected`.
void expectLook(int expected) {
    const VisualStyle& s = visualStyleOf(expected, expected);
    EXPECT_EQ(QApplication::style()->name().toLower().toStdString(),
              QString::fromLatin1(s.qtStyle).toLower().toStdString());
    EXPECT_EQ(appColour(QPalette::Window), colour(s.colours.window)) << s.name;
    EXPECT_EQ(appColour(QPalette::WindowText), colour(s.colours.windowText)) << s.name;
    EXPECT_EQ(appColour(QPalette::Highlight), colour(s.colours.highlight)) << s.name;
}

std::vector<int> checkedStyles(const MainWindow& f) {
    std::vector<int> ids;
    for (const VisualStyle& s : visualStyles())
        if (QAction* a = f.action(s.id); a && a->isChecked()) ids.push_back(s.id);
    return ids;
}

class ShellStyleTest : public testing::Test {
protected:
    void SetUp() override { openWorkspaceStore()->clear(); }
    void TearDown() override { openWorkspaceStore()->clear(); }
    static void store(const QVariant& look) {
        openWorkspaceStore()->setValue(QStringLiteral("Workspace/ApplicationLook"), look);
    }
    static QVariant stored() {
        return openWorkspaceStore()->value(QStringLiteral("Workspace/ApplicationLook"));
    }
};

TEST_F(ShellStyleTest, FirstStartIsVisualStudio2008) {
    MainWindow frame;
    EXPECT_EQ(frame.visualStyle(), ID_STYLE_VS_2008);
    EXPECT_EQ(checkedStyles(frame), std::vector<int>{ID_STYLE_VS_2008});
    expectLook(ID_STYLE_VS_2008);
    EXPECT_FALSE(stored().isValid());  // nothing written until the user chooses
}

TEST_F(ShellStyleTest, EveryMenuEntryChangesTheLookAtOnce) {
    MainWindow frame;
    frame.show();
    for (const VisualStyle& s : visualStyles()) {
        QAction* entry = frame.action(s.id);
        if (s.id == ID_STYLE_WINDOWS_7) {
            EXPECT_EQ(entry, nullptr);  // reachable only through the store
            continue;
        }
        ASSERT_NE(entry, nullptr);
        entry->trigger();
        EXPECT_EQ(frame.visualStyle(), s.id);
        EXPECT_EQ(checkedStyles(frame), std::vector<int>{s.id});
        expectLook(s.id);
        EXPECT_EQ(frame.palette().color(QPalette::Window), colour(s.colours.window)) << s.name;
        EXPECT_EQ(stored().toInt(), s.id);
        // The old looks dock with an outline, the newer ones animate.
        EXPECT_EQ(frame.dockOptions().testFlag(QMainWindow::AnimatedDocks), s.smartDocking);
    }
    // One choice: the entries are radio items of one exclusive group.
    QActionGroup* group = frame.action(ID_STYLE_VS_2008)->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isExclusive());
    EXPECT_EQ(group->actions().size(), 10);
}

TEST_F(ShellStyleTest, BlackStyleSurvivesARestart) {
    {
        MainWindow frame;
        frame.action(ID_STYLE_OFFICE_2007_BLACK)->trigger();
        EXPECT_LT(appColour(QPalette::Window).lightness(), 64);
    }
    // Another look in between, as the next start begins with Qt's own.
    QApplication::setPalette(QApplication::style()->standardPalette());
    MainWindow next;
    EXPECT_EQ(next.visualStyle(), ID_STYLE_OFFICE_2007_BLACK);
    EXPECT_EQ(checkedStyles(next), std::vector<int>{ID_STYLE_OFFICE_2007_BLACK});
    EXPECT_LT(appColour(QPalette::Window).lightness(), 64);
    EXPECT_LT(appColour(QPalette::Base).lightness(), 64);
    EXPECT_GT(appColour(QPalette::WindowText).lightness(), 192);
    EXPECT_LT(next.palette().color(QPalette::Window).lightness(), 64);
}

TEST_F(ShellStyleTest, StoredValuesWithoutAnEntry) {
    struct Case {
        QVariant stored;
        int style;  // what the frame holds
        int look;   // what it shows
    };
    const Case cases[] = {
        {ID_STYLE_WINDOWS_7, ID_STYLE_WINDOWS_7, ID_STYLE_WINDOWS_7},
        {212, 212, ID_STYLE_OFFICE_2007_BLUE},
        {-5, -5, ID_STYLE_OFFICE_2007_BLUE},
        {QStringLiteral("215"), ID_STYLE_OFFICE_2007_BLUE, ID_STYLE_OFFICE_2007_BLUE},
        {QStringLiteral("not a number"), ID_STYLE_VS_2008, ID_STYLE_VS_2008},
        {QString(), ID_STYLE_VS_2008, ID_STYLE_VS_2008},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        store(c.stored);
        MainWindow frame;
        EXPECT_EQ(frame.visualStyle(), c.style);
        expectLook(c.look);
        const auto checked = checkedStyles(frame);
        if (frame.action(c.style)) {
            EXPECT_EQ(checked, std::vector<int>{c.style});
        } else {
            EXPECT_TRUE(checked.empty());
        }
    }
}

TEST_F(ShellStyleTest, IdWithoutLookKeepsTheOffice2007ColourChosenLast) {
    MainWindow frame;
    frame.action(ID_STYLE_OFFICE_2007_SILVER)->trigger();
    frame.action(ID_STYLE_WINDOWS_2000)->trigger();
    frame.setVisualStyle(213);
    expectLook(ID_STYLE_OFFICE_2007_SILVER);
    EXPECT_TRUE(checkedStyles(frame).empty());
    EXPECT_EQ(stored().toInt(), 213);
}

}  // namespace
}  // namespace qf

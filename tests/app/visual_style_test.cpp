// The looks of the style menu: one per id, readable, and the fallback for
// ids without a look of their own.

#include "app/visual_style.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "app/commands.h"

namespace qf {
namespace {

// Relative luminance and contrast ratio as WCAG defines them.
double luminance(Rgb rgb) {
    auto channel = [](unsigned v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) +
           0.0722 * channel(rgb & 0xFF);
}

double contrast(Rgb a, Rgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const int kMenuIds[] = {
    ID_STYLE_WINDOWS_2000,     ID_STYLE_OFFICE_XP,         ID_STYLE_WINDOWS_XP,
    ID_STYLE_OFFICE_2003,      ID_STYLE_VS_2005,           ID_STYLE_VS_2008,
    ID_STYLE_OFFICE_2007_BLUE, ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_OFFICE_2007_SILVER,
    ID_STYLE_OFFICE_2007_AQUA, ID_STYLE_WINDOWS_7};

TEST(VisualStyle, EveryIdHasALookOfItsOwn) {
    std::set<Rgb> windows;
    std::set<std::string> names;
    for (int id : kMenuIds) {
        const VisualStyle& s = visualStyleOf(id, ID_STYLE_OFFICE_2007_BLUE);
        EXPECT_EQ(s.id, id);
        EXPECT_TRUE(std::string(s.qtStyle) == "Fusion" || std::string(s.qtStyle) == "Windows")
            << s.name;
        // Looks that only differ in name would make the menu pointless.
        EXPECT_TRUE(windows.insert(s.colours.window).second) << s.name;
        EXPECT_TRUE(names.insert(s.name).second) << s.name;
    }
    EXPECT_EQ(visualStyles().size(), std::size(kMenuIds));
}

TEST(VisualStyle, TextIsReadableInEveryLook) {
    for (const VisualStyle& s : visualStyles()) {
        const StyleColours& c = s.colours;
        SCOPED_TRACE(s.name);
        EXPECT_GE(contrast(c.windowText, c.window), 4.5);
        EXPECT_GE(contrast(c.text, c.base), 4.5);
        EXPECT_GE(contrast(c.text, c.alternateBase), 4.5);
        EXPECT_GE(contrast(c.buttonText, c.button), 4.5);
        EXPECT_GE(contrast(c.highlightedText, c.highlight), 4.5);
        EXPECT_GE(contrast(c.toolTipText, c.toolTipBase), 4.5);
        // Greyed out, yet still there.
        EXPECT_GE(contrast(c.disabledText, c.window), 1.8);
        EXPECT_LT(contrast(c.disabledText, c.window), contrast(c.windowText, c.window));
    }
}

TEST(VisualStyle, BlackIsReallyDark) {
    const StyleColours& c = visualStyleOf(ID_STYLE_OFFICE_2007_BLACK, 0).colours;
    EXPECT_LT(luminance(c.window), 0.05);
    EXPECT_LT(luminance(c.base), 0.05);
    EXPECT_LT(luminance(c.button), 0.08);
    EXPECT_GT(luminance(c.windowText), 0.7);
    for (const VisualStyle& s : visualStyles())
        if (s.id != ID_STYLE_OFFICE_2007_BLACK) {
            EXPECT_GT(luminance(s.colours.window), 0.5) << s.name;
        }
}

TEST(VisualStyle, OtherIdsTakeOffice2007InTheColourChosenLast) {
    struct Case {
        int id;
        int lastColour;
        int expected;
    };
    const Case cases[] = {
        {211, ID_STYLE_OFFICE_2007_BLUE, ID_STYLE_OFFICE_2007_BLUE},
        {212, ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_OFFICE_2007_BLACK},
        {213, ID_STYLE_OFFICE_2007_SILVER, ID_STYLE_OFFICE_2007_SILVER},
        {214, ID_STYLE_OFFICE_2007_AQUA, ID_STYLE_OFFICE_2007_AQUA},
        {0, ID_STYLE_OFFICE_2007_AQUA, ID_STYLE_OFFICE_2007_AQUA},
        {-1, ID_STYLE_OFFICE_2007_SILVER, ID_STYLE_OFFICE_2007_SILVER},
        {204, ID_STYLE_OFFICE_2007_BLUE, ID_STYLE_OFFICE_2007_BLUE},
        {220, ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_OFFICE_2007_BLACK},
        {2147483647, ID_STYLE_OFFICE_2007_BLUE, ID_STYLE_OFFICE_2007_BLUE},
        // No Office 2007 colour chosen yet: blue.
        {212, 0, ID_STYLE_OFFICE_2007_BLUE},
        {212, ID_STYLE_VS_2008, ID_STYLE_OFFICE_2007_BLUE},
        // An id with a look of its own ignores the last colour.
        {ID_STYLE_VS_2005, ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_VS_2005},
        {ID_STYLE_OFFICE_2007_SILVER, ID_STYLE_OFFICE_2007_BLACK, ID_STYLE_OFFICE_2007_SILVER},
    };
    for (const Case& c : cases)
        EXPECT_EQ(visualStyleOf(c.id, c.lastColour).id, c.expected)
            << "id " << c.id << " after " << c.lastColour;
}

TEST(VisualStyle, Office2007ColoursAreTheFourVariants) {
    for (int id = 200; id < 225; ++id)
        EXPECT_EQ(isOffice2007Colour(id), id >= 215 && id <= 218) << id;
}

}  // namespace
}  // namespace qf

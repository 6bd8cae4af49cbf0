#pragma once
// The looks of the menu "アプリケーションの外観(&A)": for every style id the
// Qt widget style and the colours it is drawn with. Plain data, no Qt, so the
// table is checked without a display.

#include <cstdint>
#include <span>

namespace qf {

using Rgb = std::uint32_t;  // 0xRRGGBB

struct StyleColours {
    Rgb window;
    Rgb windowText;
    Rgb base;  // text fields, lists
    Rgb alternateBase;
    Rgb text;
    Rgb button;
    Rgb buttonText;
    Rgb highlight;
    Rgb highlightedText;
    Rgb toolTipBase;
    Rgb toolTipText;
    Rgb disabledText;
    Rgb link;
};

struct VisualStyle {
    int id;
    const char* name;     // for messages and tests
    const char* qtStyle;  // a key of QStyleFactory: "Windows" or "Fusion"
    // The older looks dock with an outline only; the newer ones animate
    // the place a pane will take.
    bool smartDocking;
    StyleColours colours;
};

// Every style with an id of its own: 205..210 and 215..219.
std::span<const VisualStyle> visualStyles();

// The four colour variants of the Office 2007 look, 215..218.
bool isOffice2007Colour(int id);

// The look an id selects. Ids without a style of their own (211..214 or
// anything out of range) get the Office 2007 look in the colour chosen last,
// `office2007Colour` (one of 215..218; anything else counts as blue).
const VisualStyle& visualStyleOf(int id, int office2007Colour);

}  // namespace qf

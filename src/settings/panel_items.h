#pragma once
// What the settings panel shows: its groups and items in display order, with
// their exact names, descriptions and choices.

#include <string>
#include <vector>

#include "settings/panel_settings.h"

namespace qf {

enum class ItemKind {
    List,       // pick one of the choices
    TypedList,  // pick one of the choices or type it; other text is refused
    Text,       // free text
    Single,     // single-precision number, shown and read with "%G"
    DateTime,   // a date axis's value: shown as ISO 8601, typed so or in the locale's form
    Integer,    // whole number with up/down buttons inside kCountStepRange
    Colour,
    Font,
};

struct PanelItemInfo {
    PanelItem item;
    const char* name;
    const char* description;
    ItemKind kind;
    std::vector<std::string> choices;  // List and TypedList only
};

struct PanelGroupInfo {
    const char* name;
    std::vector<PanelItemInfo> items;
};

// The up/down buttons of "データ数" stay inside this range; typing is free.
inline constexpr int kCountStepMin = 10;
inline constexpr int kCountStepMax = 256;

const std::vector<PanelGroupInfo>& panelGroups();
const PanelItemInfo& panelItemInfo(PanelItem item);
// The kind of an item with these settings: the values of a date axis are
// date-times.
ItemKind itemKind(const PanelSettings& settings, PanelItem item);

}  // namespace qf

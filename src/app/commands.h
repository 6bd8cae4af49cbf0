#pragma once
// Every command of the menus and toolbars as one table row: its id, texts,
// icon, whether it is checkable, and its enable and check rules as pure
// functions of a snapshot of the view's state. No Qt here, so the rules are
// tested without a window.

#include <span>
#include <vector>

#include "ui/command_target.h"

namespace qf {

enum class CommandIcon {
    None,
    Open,
    SaveImage,
    About,
    Camera0,
    Camera1,
    Camera2,
    Camera3,
    CaptureSettings,
    InputImage,
    OutputImage,
    GeneratedGraph,
    ZoomIn,
    ZoomOut,
    ZoomFit,
    PixelGrid,
    Grey,
    MappingCorners,
    DetectFrame,
    GraphRect,
    MappingRun,
    AddPoints,
    ErasePoints,
    ExtractCurve,
    ExtractConfirm,
    CalibrateTicks,
    ReadAxes,
    SaveSourcePoints,
    Fit,
    SaveGeneratedPoints,
    SaveGeneratedImage,
    NewProject,
    OpenProject,
    SaveProject,
    Undo,
    Redo,
};

using CommandRule = bool (*)(const CommandSnapshot&);

struct CommandInfo {
    int id;
    const char* menuText;  // UTF-8, "&" marks the mnemonic
    const char* prompt;    // status-bar prompt
    const char* toolTip;
    CommandIcon icon;
    const char* shortcut;  // portable key text ("Ctrl+O"; several joined by ";"), or null
    CommandRule enabled;
    CommandRule checked;  // null: not checkable
    bool checkable() const { return checked != nullptr; }
};

// All commands, in no particular order; ids are unique.
std::span<const CommandInfo> commandTable();
// The row of an id, or null.
const CommandInfo* findCommand(int id);

// Menu and toolbar layouts, in terms of ids.
struct MenuEntry {
    enum class Kind { Command, Separator, Submenu, ToolbarsAndPanes };
    Kind kind = Kind::Command;
    int id = 0;                    // Command
    const char* text = nullptr;    // Submenu, ToolbarsAndPanes
    std::vector<MenuEntry> items;  // Submenu
};

struct MenuLayout {
    const char* title;
    std::vector<MenuEntry> items;
};

struct ToolBarLayout {
    const char* objectName;  // key of the saved layout
    const char* caption;
    std::vector<int> ids;  // 0 = separator
};

const std::vector<MenuLayout>& menuBarLayout();
const std::vector<ToolBarLayout>& toolBarLayout();

}  // namespace qf

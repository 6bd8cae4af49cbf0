#pragma once
// The commands' numeric ids, the snapshot their enable and check rules read,
// and the interface of whatever receives them. The frame, the view and the
// panes all speak in these, so they live below all three.

#include <array>
#include <functional>
#include <vector>

namespace qf {

// Numeric ids stay as they always were: layouts and the view's own routing
// speak in these numbers.
enum CommandId : int {
    ID_SOURCE_POINT_SELCHANGE = 102,  // a row's selection changed in the source-point list
    ID_PROPERTY_ITEM_CHANGED = 104,   // an edit was accepted in the settings pane
    ID_PROPERTY_FONT_CHANGED = 105,   // the settings pane's font changed
    ID_VIEW_CUSTOMIZE = 126,

    ID_STYLE_WINDOWS_2000 = 205,
    ID_STYLE_OFFICE_XP = 206,
    ID_STYLE_WINDOWS_XP = 207,
    ID_STYLE_OFFICE_2003 = 208,
    ID_STYLE_VS_2005 = 209,
    ID_STYLE_VS_2008 = 210,  // the default style
    ID_STYLE_OFFICE_2007_BLUE = 215,
    ID_STYLE_OFFICE_2007_BLACK = 216,
    ID_STYLE_OFFICE_2007_SILVER = 217,
    ID_STYLE_OFFICE_2007_AQUA = 218,
    ID_STYLE_WINDOWS_7 = 219,  // reachable only through the stored setting

    ID_PIXEL_GRID_SHOW = 32778,
    ID_PIXEL_GRID_COLOUR = 32779,
    ID_CAMERA_DEVICE_0 = 32788,
    ID_CAMERA_DEVICE_1 = 32789,
    ID_CAMERA_DEVICE_2 = 32790,
    ID_CAMERA_DEVICE_3 = 32791,
    ID_ZOOM_IN = 32801,
    ID_ZOOM_OUT = 32802,
    ID_DISPLAY_INPUT = 32806,
    ID_DISPLAY_OUTPUT = 32807,
    ID_CAPTURE_SETTINGS = 32821,
    ID_RUN_PROCESSING = 32824,
    ID_MAPPING_CORNERS = 32852,
    ID_MAPPING_GRID = 32854,
    ID_MAPPING_RUN = 32858,
    ID_GRAPH_RECT = 32862,
    ID_ADD_POINTS = 32863,
    ID_ERASE_POINTS = 32864,
    ID_GREY_IMAGE = 32865,
    ID_SAVE_SOURCE_POINTS = 32872,
    ID_FIT_RUN = 32878,
    ID_SAVE_GENERATED_POINTS = 32879,
    ID_SAVE_GENERATED_IMAGE = 32884,
    ID_DISPLAY_GENERATED_GRAPH = 32887,

    // Projects, undo and the point list's own commands.
    ID_PROJECT_OPEN = 33001,
    ID_PROJECT_SAVE = 33002,
    ID_PROJECT_SAVE_AS = 33003,
    ID_REMOVE_ALL_POINTS = 33004,
    ID_DELETE_POINT = 33005,     // the point selected in the list or the view
    ID_ZOOM_FIT = 33006,         // the whole picture in the view
    ID_MAGNIFIER = 33007,        // the loupe on or off
    ID_EXTRACT_CURVE = 33008,    // the automatic-extraction tool
    ID_EXTRACT_CONFIRM = 33009,  // the extraction's preview into the point list
    ID_SAVE_FIT_JSON = 33010,    // the fit's results as the batch mode's fit.json
    ID_CALIBRATE_TICKS = 33011,  // the axes from four ticks of known value
    ID_READ_AXES = 33012,        // the axes from the chart's own tick labels
    ID_DETECT_FRAME = 33013,     // the mapping's corners onto the plot's frame
    // A saved point file back into the list.
    ID_LOAD_SOURCE_POINTS = 33014,
    // The document's series: the active one's name, colour and points, and
    // the work on all of them at once.
    ID_SERIES_ADD = 33021,
    ID_SERIES_RENAME = 33022,
    ID_SERIES_RECOLOUR = 33023,
    ID_SERIES_DELETE = 33024,
    ID_SERIES_MOVE_POINT = 33025,    // the selected point into another series
    ID_EXTRACT_ALL_SERIES = 33026,   // one series per curve found, no click
    ID_FIT_ALL_SERIES = 33027,       // each series with its own fit settings
    ID_SAVE_ALL_SERIES_CSV = 33028,  // every series' points in one long-form file
    // The language of the window, applied at the next start.
    ID_LANGUAGE_AUTO = 33101,
    ID_LANGUAGE_JAPANESE = 33102,
    ID_LANGUAGE_ENGLISH = 33103,

    ID_FILE_NEW = 57600,  // a new project
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,    // reaches the same handler as ID_FILE_SAVE
    ID_FILE_PRINT = 57607,      // Ctrl+P; on no menu
    ID_FILE_MRU_FIRST = 57616,  // the recent projects, newest first
    ID_FILE_MRU_LAST = 57623,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_EDIT_PASTE = 57637,  // a picture from the clipboard
    ID_APP_ABOUT = 57664,
    ID_HELP_FINDER = 57667,  // the user's guide (F1)
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBARS = 59392,  // the toolbars-and-panes submenu, filled at run time
    ID_VIEW_STATUS_BAR = 59393,
};

// What the enable and check rules read. The view fills the view part; the
// frame adds what it owns itself (status bar, visual style).
struct CommandSnapshot {
    bool imagePresent = false;  // a current image with pixels
    int pointCount = 0;
    int displaySource = 1;  // 0 white area, 1 input, 2 processing output
    bool showGeneratedGraph = false;
    int generatedCount = 0;
    bool cornerMode = true;
    bool graphRectMode = false;
    bool addPointsMode = false;
    bool erasePointsMode = false;
    bool extractMode = false;
    bool ticksMode = false;
    bool extractPreview = false;  // extracted points wait to be added
    bool showMappingGrid = true;
    bool showPixelGrid = false;
    bool showMagnifier = true;
    bool greyMode = true;
    std::array<bool, 4> cameraRunning{};  // a capture timer runs for device 0..3

    int selectedPoint = -1;
    int seriesCount = 1;
    int totalPointCount = 0;  // over all series

    // Filled by the document's owner.
    bool canUndo = false;
    bool canRedo = false;
    int recentProjects = 0;  // entries in the recent-projects list

    // Filled by the frame.
    bool statusBarVisible = true;
    int visualStyle = ID_STYLE_VS_2008;
    int language = 0;  // the stored choice: 0 automatic, 1 Japanese, 2 English
};

// A row of a table of command handlers: the id and what carrying it out does.
struct CommandRow {
    int id;
    std::function<void()> run;
};

// The receiver of the commands: the view. The frame keeps no state of its own
// about the work; it asks the target for a snapshot to refresh the actions.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual CommandSnapshot snapshot() const = 0;
    // A row for each command it carries out. The frame keeps them in its one
    // table of handlers: a command without a row stays disabled whatever its
    // rule says.
    virtual std::vector<CommandRow> commandRows() = 0;
};

}  // namespace qf

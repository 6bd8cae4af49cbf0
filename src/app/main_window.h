#pragma once
// The main window: menu bar, the three toolbars, the status bar and the
// docked panes, all built from the command table. It owns no working state;
// each command runs its row in one table of handlers, which the view and the
// window's controllers fill.

#include <QMainWindow>
#include <QSettings>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/commands.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace qf {

class CustomizeDialog;
class OutputPane;

// The per-user store of the window layout and the visual style.
std::unique_ptr<QSettings> openWorkspaceStore();
// The visual style's key in that store.
extern const QString kApplicationLookKey;

// Which lock keys are on; what the status bar's indicators show.
struct KeyLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
// Nothing when the platform does not tell (offscreen, Wayland).
using KeyLockSource = std::function<std::optional<KeyLocks>()>;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The central widget and the receiver of its commands; the frame takes
    // ownership of the widget, not of the target, and adds the target's rows
    // to its table of handlers. Null target: only the frame's own commands
    // are enabled.
    void setView(QWidget* view, CommandTarget* target);

    // Docks the settings pane at the right, or where the restored layout
    // had it when the layout was restored before the pane existed.
    void setPropertiesPane(QDockWidget* pane);

    // The row of a command in the frame's one table of handlers: the frame's
    // own (exit, about, status bar), the target's, or a controller's. A
    // command is handled iff it has a row; an empty handler removes it.
    void setCommandHandler(int id, std::function<void()> handler);

    // Adds what the target does not know to every snapshot (the document's
    // undo state, the recent projects).
    void setSnapshotFiller(std::function<void(CommandSnapshot&)> filler) {
        m_snapshotFiller = std::move(filler);
    }
    // Asked before the window closes; false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // Sets every action's enabled and checked state from the target's
    // snapshot. Call after each state change; menus call it before showing.
    void refreshCommands();

    // Runs a command as a click would: nothing when it is disabled right now.
    void triggerCommand(int id);
    // Runs an internal command (list selection, settings applied) by its
    // row, whatever its enable rule says; nothing without a row.
    void routeCommand(int id);
    bool isCommandEnabled(int id) const;  // as of now, not as last refreshed

    QAction* action(int id) const;  // null for an unknown id
    OutputPane* outputPane() const { return m_output; }
    const std::vector<QToolBar*>& toolBars() const { return m_toolBars; }
    QLabel* idleLabel() const { return m_idle; }
    QLabel* pointerLabel() const { return m_pointer; }
    void setPointerStatus(const QString& text);

    // Window placement, the layout of toolbars and panes and the hidden
    // toolbar buttons, in the group "Workspace" of the given store. Restoring
    // from an empty or damaged store keeps the built-in layout. Closing the
    // window saves to openWorkspaceStore().
    void saveLayout(QSettings& settings) const;
    bool restoreLayout(QSettings& settings);

    // The style id (205..219, or any other value: see visualStyleOf), applied
    // to the whole application at once and stored as "ApplicationLook".
    int visualStyle() const { return m_visualStyle; }
    void setVisualStyle(int id);

    // The user's guide (F1), one window kept for the whole run.
    QWidget* helpWindow() const { return m_help; }

    // Buttons of the toolbar `bar` (index into toolBars()) in their built-in
    // order, shown or not.
    std::vector<int> toolBarButtonIds(int bar) const;
    bool isToolBarButtonShown(int bar, int id) const;
    void showToolBarButton(int bar, int id, bool show);

    // The caps, num and scroll lock indicators follow this source; by default
    // the X11 keyboard when there is one. It is asked while the window is
    // active (the lights change with the keys typed into it) and once each
    // time the window becomes active (they may have changed elsewhere); an
    // idle window in the background asks nothing.
    void setKeyLockSource(KeyLockSource source);
    void updateKeyIndicators();
    bool keyLightsPolled() const;

signals:
    // A language was chosen in the menu; the window says when it applies.
    void languageChosen(int choice);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct ToolBarEntry {
        int id;  // 0: a separator of the bar's own
        QAction* action;
    };

    void buildActions();
    void focusNextPane(int step);  // 1: next, -1: previous
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void addCustomizeButton(QToolBar* bar);
    void updateSeparators(int bar);
    void applyVisualStyle(int id);
    void showCustomize();
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& items);
    void fillToolbarsAndPanesMenu(QMenu* menu);
    CommandSnapshot currentSnapshot() const;
    bool hasHandler(int id) const;
    void dispatch(int id);
    void run(int id);  // the command's row, if it has one
    void showAbout();
    void showHelp();
    // The language chosen in the view menu (0 automatic, 1 Japanese,
    // 2 English), stored at once and applied at the next start.
    void setLanguageChoice(int choice);

    CommandTarget* m_target = nullptr;
    std::function<void(CommandSnapshot&)> m_snapshotFiller;
    std::function<bool()> m_closeGuard;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;  // id -> what runs it
    std::vector<QToolBar*> m_toolBars;
    std::vector<std::vector<ToolBarEntry>> m_barEntries;  // per bar, built-in order
    std::vector<QAction*> m_customizeButtons;             // per bar, always last
    OutputPane* m_output = nullptr;
    QLabel* m_idle = nullptr;
    QLabel* m_pointer = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    void followKeyLights();

    KeyLockSource m_keyLocks;
    bool m_keyLocksKnown = false;  // the source tells something (an X11 display)
    QTimer* m_keyPoll = nullptr;
    QActionGroup* m_styleGroup = nullptr;
    CustomizeDialog* m_customize = nullptr;
    int m_visualStyle = ID_STYLE_VS_2008;
    int m_language = 0;
    QWidget* m_help = nullptr;
    int m_office2007Colour = ID_STYLE_OFFICE_2007_BLUE;  // the last of 215..218 chosen
};

}  // namespace qf

#pragma once
// The main window: menu bar, the three toolbars, the status bar and the
// docked panes, all built from the command table. It owns no working state;
// commands go to the CommandTarget (the view) or to a handler registered here.

#include <QMainWindow>
#include <functional>
#include <map>

#include "app/commands.h"

class QAction;
class QLabel;
class QMenu;
class QSettings;
class QToolBar;

namespace qf {

class COutputWnd;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The central widget and the receiver of its commands; the frame takes
    // ownership of the widget, not of the target. Null target: only the
    // frame's own commands are enabled.
    void setView(QWidget* view, CommandTarget* target);
    CommandTarget* commandTarget() const { return m_target; }

    // Docks the settings pane at the right.
    void setPropertiesPane(QDockWidget* pane);

    // A handler of the frame's own (exit, about, status bar) or of a command
    // that the view does not take; it wins over the target.
    void setCommandHandler(int id, std::function<void()> handler);

    // Sets every action's enabled and checked state from the target's
    // snapshot. Call after each state change; menus call it before showing.
    void refreshCommands();

    // Runs a command as a click would: nothing when it is disabled right now.
    void triggerCommand(int id);
    // Passes an internal command (list selection, settings applied) straight
    // to the target when it takes it.
    void routeCommand(int id);
    bool isCommandEnabled(int id) const;  // as of now, not as last refreshed

    QAction* action(int id) const;  // null for an unknown id
    COutputWnd* outputPane() const { return m_output; }
    const std::vector<QToolBar*>& toolBars() const { return m_toolBars; }
    QLabel* idleLabel() const { return m_idle; }

    // Window placement and the layout of toolbars and panes, in the group
    // "Workspace" of the given store. Restoring from an empty store keeps the
    // built-in layout.
    void saveLayout(QSettings& settings) const;
    bool restoreLayout(QSettings& settings);

    int visualStyle() const { return m_visualStyle; }
    void setVisualStyle(int id) { m_visualStyle = id; }

private:
    void buildActions();
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& items);
    void fillToolbarsAndPanesMenu(QMenu* menu);
    CommandSnapshot currentSnapshot() const;
    bool hasHandler(int id) const;
    void dispatch(int id);
    void showAbout();

    CommandTarget* m_target = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QToolBar*> m_toolBars;
    COutputWnd* m_output = nullptr;
    QLabel* m_idle = nullptr;
    int m_visualStyle = ID_STYLE_VS_2008;
};

}  // namespace qf

#pragma once
// The docking settings pane: a small toolbar ("expand all", "run fit") above
// the settings grid.

#include <QDockWidget>
#include <functional>

#include "settings/panel_settings.h"

class QAction;
class QToolBar;

namespace qf {

class SettingsGrid;
class Document;
class Dialogs;

class SettingsPane : public QDockWidget {
    Q_OBJECT
public:
    explicit SettingsPane(Dialogs& dialogs, QWidget* parent = nullptr);

    // Receives ID_PROPERTY_ITEM_CHANGED and ID_PROPERTY_FONT_CHANGED from the grid and ID_FIT_RUN
    // from the fit button.
    void setCommandSink(std::function<void(int)> sink);
    // The document whose settings the pane shows; an accepted edit (ID_PROPERTY_ITEM_CHANGED)
    // changes it as one undoable step before the sink hears of it.
    void setDocument(Document* doc);
    // Whether a fit can run now (a view, an image, at least one point).
    void setFitEnabledProbe(std::function<bool()> probe);
    // Enables the fit button from the probe; call after the view's state changes.
    void refreshToolbar();

    const PanelSettings& settings() const;
    void setLabelFont(QFont* font);

    SettingsGrid* grid() const { return m_grid; }
    QToolBar* toolBar() const { return m_toolBar; }
    QAction* expandAllAction() const { return m_expandAll; }
    QAction* fitAction() const { return m_fit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void runFit();
    void showDocument();

    SettingsGrid* m_grid;
    QToolBar* m_toolBar;
    QAction* m_expandAll;
    QAction* m_fit;
    std::function<void(int)> m_sink;
    std::function<bool()> m_fitProbe;
    Document* m_doc = nullptr;
};

}  // namespace qf

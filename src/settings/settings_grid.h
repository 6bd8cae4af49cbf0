#pragma once
// The settings grid: the fit, axis and graph settings as grouped name/value
// rows with a description area below. It keeps its own copy of the settings;
// each accepted edit stores the item into it and sends
// ID_PROPERTY_ITEM_CHANGED, a font change sends ID_PROPERTY_FONT_CHANGED.
// Nothing flows back from the view.

#include <QFont>
#include <QModelIndex>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>

#include "settings/panel_settings.h"

class QLabel;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace qf {

class ColourValueWidget;
class Dialogs;
class FontValueWidget;
class PropertyDelegate;

class SettingsGrid : public QWidget {
    Q_OBJECT
public:
    explicit SettingsGrid(Dialogs& dialogs, QWidget* parent = nullptr);
    ~SettingsGrid() override;

    // Receives ID_PROPERTY_ITEM_CHANGED after each accepted edit and ID_PROPERTY_FONT_CHANGED after
    // each font change.
    void setCommandSink(std::function<void(int)> sink) { m_sink = std::move(sink); }
    const PanelSettings& settings() const { return m_settings; }
    // Shows other settings (an undone edit, an opened project) without
    // reporting an edit. Items that differ from their start are bold.
    void showSettings(const PanelSettings& settings);
    // The view's label font, replaced by each font chosen here; null until
    // the view hands it over.
    void setLabelFont(QFont* font) { m_labelFont = font; }
    QFont* labelFont() const { return m_labelFont; }

    void expandAllGroups();
    // Gives the grid its font, made from the desktop's menu font.
    void makeGridFont();
    // 4/5 of the menu font's size and weight (truncated), same italic.
    static QFont gridFontFrom(const QFont& menuFont);

    // The cells of an item, what it shows, and whether it differs from its
    // starting value.
    QModelIndex nameIndex(PanelItem item) const;
    QModelIndex valueIndex(PanelItem item) const;
    QString valueText(PanelItem item) const;
    bool isModified(PanelItem item) const;
    QFont fontValue() const;

    QTreeView* tree() const { return m_tree; }
    QLabel* descriptionName() const { return m_descriptionName; }
    QLabel* descriptionText() const { return m_descriptionText; }
    ColourValueWidget* colourWidget() const { return m_colourWidget; }
    FontValueWidget* fontWidget() const { return m_fontWidget; }

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class PropertyDelegate;

    void buildGrid();
    // The group rows are drawn in the colours of the current look; a new
    // look (palette or style) recolours them at once.
    void colourGroupHeaders();
    QStandardItem* valueItem(PanelItem item) const;
    // An in-place edit ended with its text accepted.
    void acceptEdit(PanelItem item, const QString& text);
    void setColour(uint32_t colour);
    void chooseOtherColour();
    void chooseFont();
    void markModified(PanelItem item);
    void showDescription(const QModelIndex& current);
    void send(int command);

    Dialogs& m_dialogs;
    PanelSettings m_settings;
    QFont* m_labelFont = nullptr;
    std::function<void(int)> m_sink;

    QStandardItemModel* m_model;
    QTreeView* m_tree;
    PropertyDelegate* m_delegate;
    QLabel* m_descriptionName;
    QLabel* m_descriptionText;
    ColourValueWidget* m_colourWidget = nullptr;
    FontValueWidget* m_fontWidget = nullptr;
    std::map<PanelItem, QStandardItem*> m_values;
};

}  // namespace qf

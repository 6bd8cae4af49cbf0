#include "settings/settings_grid.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "common/format.h"
#include "ui/date_text.h"
#include "settings/panel_items.h"
#include "settings/property_editors.h"
#include "ui/command_target.h"
#include "ui/dialogs.h"

namespace qf {
namespace {

class PropertyModel : public QStandardItemModel {
public:
    using QStandardItemModel::QStandardItemModel;
    // A click on an item's name edits its value.
    QModelIndex buddy(const QModelIndex& index) const override {
        if (index.column() == 0 && index.data(kItemRole).isValid()) return index.siblingAtColumn(1);
        return index;
    }
};

// Shows a value as typed or stored and keeps it for the test of a changed
// item: lists and texts by their text, numbers by the value the text reads as.
void showValue(QStandardItem* v, ItemKind kind, const QString& text) {
    switch (kind) {
        case ItemKind::Single: {
            const double value = parseSingle(text.toStdString());
            v->setData(value, kValueRole);
            v->setText(QString::fromStdString(formatG(value)));
            break;
        }
        case ItemKind::Integer: {
            const int value = parseInteger(text.toStdString());
            v->setData(value, kValueRole);
            v->setText(QString::number(value));
            break;
        }
        case ItemKind::List:
        case ItemKind::TypedList:
            v->setData(text, kValueRole);
            v->setText(panelText(text.toStdString()));
            break;
        case ItemKind::Text:
        case ItemKind::DateTime:
            v->setData(text, kValueRole);
            v->setText(text);
            break;
        case ItemKind::Colour:
        case ItemKind::Font:
            break;
    }
}

QFont boldness(bool bold) {
    QFont f;
    f.setBold(bold);
    return f;
}

}  // namespace

SettingsGrid::SettingsGrid(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      m_dialogs(dialogs),
      m_model(new PropertyModel(0, 2, this)),
      m_tree(new QTreeView),
      m_delegate(new PropertyDelegate(this)),
      m_descriptionName(new QLabel),
      m_descriptionText(new QLabel) {
    auto* description = new QFrame;
    description->setFrameShape(QFrame::StyledPanel);
    auto* descriptionLayout = new QVBoxLayout(description);
    descriptionLayout->setContentsMargins(4, 2, 4, 2);
    descriptionLayout->addWidget(m_descriptionName);
    descriptionLayout->addWidget(m_descriptionText, 1);
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_descriptionText->setTextFormat(Qt::PlainText);
    m_descriptionName->setTextFormat(Qt::PlainText);
    m_descriptionName->setFont(boldness(true));

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_tree);
    splitter->addWidget(description);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    m_tree->setItemDelegate(m_delegate);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // Selecting a row only shows its description; a click on the value, F2
    // or typing starts the edit. Leaving the row ends it.
    m_tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(m_tree, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == 1) m_tree->edit(index);
    });
    m_tree->setAllColumnsShowFocus(true);
    // Every row is one line of the grid's font with the same room for the
    // in-place editors, as in any property grid: the tree then measures one
    // row instead of shaping the text of all of them.
    m_tree->setUniformRowHeights(true);
    // Names and values share the width; there is no header to drag.
    m_tree->header()->setSectionResizeMode(QHeaderView::Stretch);
    buildGrid();
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { showDescription(current); });

    const int lines = m_descriptionText->fontMetrics().lineSpacing();
    splitter->setSizes({lines * 20, lines * 5});
    setFocusProxy(m_tree);
}

SettingsGrid::~SettingsGrid() {
    // An editor closed by the teardown must not report an accepted edit.
    m_delegate->detach();
}

void SettingsGrid::buildGrid() {
    makeGridFont();
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);

    const QFont bold = boldness(true);
    for (const PanelGroupInfo& group : panelGroups()) {
        auto* groupName = new QStandardItem(panelText(group.name));
        groupName->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        groupName->setData(bold, Qt::FontRole);
        auto* groupRest = new QStandardItem;
        groupRest->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);

        for (const PanelItemInfo& info : group.items) {
            auto* name = new QStandardItem(panelText(info.name));
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            name->setData(static_cast<int>(info.item), kItemRole);
            auto* value = new QStandardItem;
            value->setData(static_cast<int>(info.item), kItemRole);
            value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            const QString text = QString::fromStdString(itemText(m_settings, info.item));
            switch (info.kind) {
                case ItemKind::List:
                case ItemKind::TypedList:
                case ItemKind::Text:
                case ItemKind::Single:
                case ItemKind::DateTime:
                case ItemKind::Integer:
                    showValue(value, itemKind(m_settings, info.item), text);
                    break;
                case ItemKind::Colour:
                    value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    value->setData(m_settings.colour, kValueRole);
                    break;
                case ItemKind::Font:
                    // Starts as the grid's own font; the view keeps its own
                    // until the user picks one here.
                    value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    value->setData(font(), kValueRole);
                    break;
            }
            value->setData(value->data(kValueRole), kDefaultRole);
            m_values[info.item] = value;
            groupName->appendRow({name, value});
        }
        m_model->appendRow({groupName, groupRest});
    }
    // Filled before the view sees it: one layout instead of one per row.
    m_tree->setModel(m_model);
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_tree->setFirstColumnSpanned(row, QModelIndex(), true);
    colourGroupHeaders();
    m_tree->expandAll();

    m_colourWidget = new ColourValueWidget;
    m_colourWidget->setColour(m_settings.colour);
    m_tree->setIndexWidget(valueIndex(PanelItem::Colour), m_colourWidget);
    connect(m_colourWidget, &ColourValueWidget::defaultRequested, this, [this] {
        m_tree->setCurrentIndex(nameIndex(PanelItem::Colour));
        setColour(0x000000);
    });
    connect(m_colourWidget, &ColourValueWidget::otherRequested, this,
            &SettingsGrid::chooseOtherColour);

    m_fontWidget = new FontValueWidget;
    m_fontWidget->setFontValue(fontValue());
    m_tree->setIndexWidget(valueIndex(PanelItem::Font), m_fontWidget);
    connect(m_fontWidget, &FontValueWidget::chooseRequested, this,
            &SettingsGrid::chooseFont);
}

void SettingsGrid::colourGroupHeaders() {
    // Background and text as a pair from one palette, so that no look can
    // pair a light text with a light row.
    const QBrush background = palette().brush(QPalette::Button);
    const QBrush text = palette().brush(QPalette::ButtonText);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStandardItem* group = m_model->item(row, 0);
        group->setData(background, Qt::BackgroundRole);
        group->setData(text, Qt::ForegroundRole);
    }
}

void SettingsGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        colourGroupHeaders();
    QWidget::changeEvent(event);
}

QFont SettingsGrid::gridFontFrom(const QFont& menuFont) {
    QFont f = menuFont;
    if (menuFont.pixelSize() > 0)
        f.setPixelSize(std::max(1, menuFont.pixelSize() * 4 / 5));
    else
        f.setPointSize(std::max(1, menuFont.pointSize() * 4 / 5));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(menuFont.weight() * 4 / 5, 1, 1000)));
    f.setItalic(menuFont.italic());
    return f;
}

void SettingsGrid::makeGridFont() {
    setFont(gridFontFrom(QApplication::font("QMenu")));
}

void SettingsGrid::expandAllGroups() {
    m_tree->expandAll();
}

QStandardItem* SettingsGrid::valueItem(PanelItem item) const {
    return m_values.at(item);
}

QModelIndex SettingsGrid::valueIndex(PanelItem item) const {
    return valueItem(item)->index();
}

QModelIndex SettingsGrid::nameIndex(PanelItem item) const {
    return valueIndex(item).siblingAtColumn(0);
}

QString SettingsGrid::valueText(PanelItem item) const {
    if (item == PanelItem::Font) return m_fontWidget->text();
    return valueItem(item)->text();
}

bool SettingsGrid::isModified(PanelItem item) const {
    const QStandardItem* v = valueItem(item);
    return v->data(kValueRole) != v->data(kDefaultRole);
}

QFont SettingsGrid::fontValue() const {
    return valueItem(PanelItem::Font)->data(kValueRole).value<QFont>();
}

void SettingsGrid::acceptEdit(PanelItem item, const QString& text) {
    const ItemKind kind = itemKind(m_settings, item);
    if (kind == ItemKind::Colour || kind == ItemKind::Font) return;
    storeItemText(
        m_settings, item,
        (kind == ItemKind::DateTime ? dateTextForSettings(text, QLocale()) : text).toStdString());
    // What was stored, not what was typed: a refused text puts the value
    // back, a number kept within its range shows where it was kept. A single
    // keeps its typed digits, which "%G" would round.
    showValue(valueItem(item), kind,
              kind == ItemKind::Single ? text : QString::fromStdString(itemText(m_settings, item)));
    markModified(item);
    // A scale turned to or from dates shows its values anew.
    if (item == PanelItem::XScale || item == PanelItem::YScale) {
        const bool x = item == PanelItem::XScale;
        for (PanelItem value :
             {x ? PanelItem::XMin : PanelItem::YMin, x ? PanelItem::XMax : PanelItem::YMax}) {
            showValue(valueItem(value), itemKind(m_settings, value),
                      QString::fromStdString(itemText(m_settings, value)));
            markModified(value);
        }
    }
    send(ID_PROPERTY_ITEM_CHANGED);
}

void SettingsGrid::showSettings(const PanelSettings& settings) {
    m_settings = settings;
    for (const PanelGroupInfo& group : panelGroups()) {
        for (const PanelItemInfo& info : group.items) {
            switch (info.kind) {
                case ItemKind::Colour:
                    valueItem(info.item)->setData(m_settings.colour, kValueRole);
                    m_colourWidget->setColour(m_settings.colour);
                    break;
                case ItemKind::Font:
                    continue;  // not part of the document
                default:
                    showValue(valueItem(info.item), itemKind(m_settings, info.item),
                              QString::fromStdString(itemText(m_settings, info.item)));
                    break;
            }
            markModified(info.item);
        }
    }
}

void SettingsGrid::setColour(uint32_t colour) {
    valueItem(PanelItem::Colour)->setData(colour, kValueRole);
    m_colourWidget->setColour(colour);
    m_settings.colour = colour;
    markModified(PanelItem::Colour);
    send(ID_PROPERTY_ITEM_CHANGED);
}

void SettingsGrid::chooseOtherColour() {
    m_tree->setCurrentIndex(nameIndex(PanelItem::Colour));
    const std::optional<uint32_t> chosen = m_dialogs.colour(this, m_settings.colour);
    if (chosen) setColour(*chosen);
}

void SettingsGrid::chooseFont() {
    m_tree->setCurrentIndex(nameIndex(PanelItem::Font));
    const std::optional<QFont> chosen = m_dialogs.font(this, fontValue());
    if (!chosen) return;
    valueItem(PanelItem::Font)->setData(*chosen, kValueRole);
    m_fontWidget->setFontValue(*chosen);
    markModified(PanelItem::Font);
    // Until the view has handed over its label font (at the first accepted
    // edit) a new font only repaints.
    if (m_labelFont) *m_labelFont = *chosen;
    send(ID_PROPERTY_FONT_CHANGED);
}

void SettingsGrid::markModified(PanelItem item) {
    const bool modified = isModified(item);
    const QFont weight = boldness(modified);
    valueItem(item)->setData(weight, Qt::FontRole);
    m_model->itemFromIndex(nameIndex(item))->setData(weight, Qt::FontRole);
    if (item == PanelItem::Font) m_fontWidget->setBold(modified);
}

void SettingsGrid::showDescription(const QModelIndex& current) {
    const QModelIndex name = current.siblingAtColumn(0);
    m_descriptionName->setText(name.data(Qt::DisplayRole).toString());
    m_descriptionText->setText(
        name.data(kItemRole).isValid()
            ? panelText(
                  panelItemInfo(static_cast<PanelItem>(name.data(kItemRole).toInt())).description)
            : QString());
}

void SettingsGrid::send(int command) {
    if (m_sink) m_sink(command);
}

}  // namespace qf

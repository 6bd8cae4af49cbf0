#include "settings/property_editors.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "settings/panel_items.h"
#include "settings/settings_grid.h"

namespace qf {
namespace {

PanelItem itemOf(const QModelIndex& index) {
    return static_cast<PanelItem>(index.data(kItemRole).toInt());
}

QToolButton* smallButton(const QString& text, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}

QHBoxLayout* cellLayout(QWidget* cell) {
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(2, 0, 0, 0);
    row->setSpacing(2);
    return row;
}

}  // namespace

QString panelText(const std::string& utf8) {
    return QCoreApplication::translate("qf::SettingsGrid", utf8.c_str());
}

// ---------------------------------------------------------------------------

CountSpinBox::CountSpinBox(QWidget* parent) : QSpinBox(parent) {
    // The range only bounds what can be typed; the buttons keep to 10..256.
    setRange(INT_MIN, INT_MAX);
}

void CountSpinBox::stepBy(int steps) {
    if ((steps > 0 && value() >= kCountStepMax) || (steps < 0 && value() <= kCountStepMin)) return;
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, kCountStepMin, kCountStepMax)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CountSpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < kCountStepMax) enabled |= StepUpEnabled;
    if (value() > kCountStepMin) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State CountSpinBox::validate(QString&, int&) const {
    return QValidator::Acceptable;  // no text is refused; it reads leniently
}

void CountSpinBox::fixup(QString&) const {}

int CountSpinBox::valueFromText(const QString& text) const {
    return parseInteger(text.toStdString());
}

QString CountSpinBox::textFromValue(int value) const {
    return QString::number(value);
}

// ---------------------------------------------------------------------------

ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_fromList) return;
        m_fromList = false;
        emit chosen();
    });
}

void ChoiceBox::showPopup() {
    m_fromList = true;
    QComboBox::showPopup();
}

void ChoiceBox::keyPressEvent(QKeyEvent* event) {
    m_fromList = false;
    QComboBox::keyPressEvent(event);
}

void ChoiceBox::wheelEvent(QWheelEvent* event) {
    m_fromList = false;
    QComboBox::wheelEvent(event);
}

// ---------------------------------------------------------------------------

PropertyDelegate::PropertyDelegate(SettingsGrid* grid)
    : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    if (!index.data(kItemRole).isValid()) return nullptr;
    const PanelItemInfo& info = panelItemInfo(itemOf(index));
    switch (info.kind) {
        case ItemKind::List:
        case ItemKind::TypedList: {
            auto* combo = new ChoiceBox(parent);
            for (const std::string& choice : info.choices) combo->addItem(panelText(choice));
            if (info.kind == ItemKind::TypedList) {
                combo->setEditable(true);
                // The typed text is the value: not added to the list, and
                // not completed to a longer choice ("-1" is not "-19").
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setCompleter(nullptr);
            }
            // A choice from the list is accepted as it is made.
            auto* self = const_cast<PropertyDelegate*>(this);
            connect(combo, &ChoiceBox::chosen, self, [self, combo] {
                emit self->commitData(combo);
                emit self->closeEditor(combo);
            });
            return combo;
        }
        case ItemKind::Text:
        case ItemKind::Single:
        case ItemKind::DateTime: {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            return edit;
        }
        case ItemKind::Integer: {
            auto* spin = new CountSpinBox(parent);
            spin->setFrame(false);
            return spin;
        }
        case ItemKind::Colour:
        case ItemKind::Font:
            break;
    }
    return nullptr;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const std::string value = index.data(kValueRole).toString().toStdString();
        const std::vector<std::string>& choices = panelItemInfo(itemOf(index)).choices;
        const auto it = std::find(choices.begin(), choices.end(), value);
        combo->setCurrentIndex(it == choices.end() ? -1 : static_cast<int>(it - choices.begin()));
        if (combo->isEditable()) {
            combo->setEditText(QString::fromStdString(value));
            combo->lineEdit()->selectAll();
        }
    } else if (auto* spin = qobject_cast<CountSpinBox*>(editor)) {
        spin->setValue(index.data(kValueRole).toInt());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(index.data(Qt::DisplayRole).toString());
    }
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                    const QModelIndex& index) const {
    if (!m_grid) return;
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const std::vector<std::string>& choices = panelItemInfo(itemOf(index)).choices;
        if (combo->isEditable()) {
            // Typed or picked alike; the settings refuse what is no choice.
            text = combo->currentText();
        } else {
            const int k = combo->currentIndex();
            if (k < 0 || k >= static_cast<int>(choices.size())) return;
            text = QString::fromStdString(choices[k]);
        }
    } else if (auto* spin = qobject_cast<CountSpinBox*>(editor)) {
        spin->interpretText();
        text = QString::number(spin->value());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        text = edit->text();
    } else {
        return;
    }
    m_grid->acceptEdit(itemOf(index), text);
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // Room for the in-place editors and the buttons of the colour and font rows.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 8));
    return size;
}

// ---------------------------------------------------------------------------

ColourValueWidget::ColourValueWidget(QWidget* parent)
    : QWidget(parent),
      m_swatch(new QLabel(this)),
      m_default(smallButton(panelText(QT_TRANSLATE_NOOP("qf::SettingsGrid", "既定値")),
                            this)),
      m_other(smallButton(panelText(QT_TRANSLATE_NOOP("qf::SettingsGrid", "その他...")),
                          this)) {
    QHBoxLayout* row = cellLayout(this);
    row->addWidget(m_swatch);
    row->addWidget(m_default);
    row->addWidget(m_other);
    row->addStretch(1);
    connect(m_default, &QToolButton::clicked, this, &ColourValueWidget::defaultRequested);
    connect(m_other, &QToolButton::clicked, this, &ColourValueWidget::otherRequested);
    setColour(0x000000);
}

void ColourValueWidget::setColour(uint32_t colour) {
    const QColor c(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    QPixmap chip(20, 12);
    chip.fill(c);
    QPainter p(&chip);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(chip.rect().adjusted(0, 0, -1, -1));
    p.end();
    m_swatch->setPixmap(chip);
    m_swatch->setToolTip(
        QStringLiteral("RGB(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()));
}

// ---------------------------------------------------------------------------

FontValueWidget::FontValueWidget(QWidget* parent)
    : QWidget(parent),
      m_text(new QLabel(this)),
      m_choose(smallButton(QStringLiteral("..."), this)) {
    QHBoxLayout* row = cellLayout(this);
    row->addWidget(m_text, 1);
    row->addWidget(m_choose);
    connect(m_choose, &QToolButton::clicked, this, &FontValueWidget::chooseRequested);
}

void FontValueWidget::setFontValue(const QFont& font) {
    m_text->setText(describe(font));
    m_text->setToolTip(describe(font));
}

void FontValueWidget::setBold(bool bold) {
    QFont f;
    f.setBold(bold);
    m_text->setFont(f);
}

QString FontValueWidget::text() const {
    return m_text->text();
}

QString FontValueWidget::describe(const QFont& font) {
    const int size = font.pointSize() > 0 ? font.pointSize() : font.pixelSize();
    return QStringLiteral("%1, %2").arg(font.family()).arg(size);
}

}  // namespace qf

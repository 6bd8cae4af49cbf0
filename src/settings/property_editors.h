#pragma once
// The in-place editors of the settings grid and the value widgets of its
// colour and font items.

#include <QComboBox>
#include <QFont>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;
class QToolButton;

namespace qf {

class SettingsGrid;

// A panel text as the user interface shows it.
QString panelText(const std::string& utf8);

// Model roles of the grid's cells.
enum PropertyRole {
    kItemRole = Qt::UserRole + 1,  // int PanelItem on both cells of an item row
    kValueRole,                    // the item's value: QString, double, int, uint or QFont
    kDefaultRole,                  // the value it started with; a differing value shows bold
};

// Whole-number editor whose up/down buttons step only inside 10..256, while
// any typed value is kept as typed (a non-number reads as 0).
class CountSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit CountSpinBox(QWidget* parent = nullptr);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    StepEnabled stepEnabled() const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
};

// The drop-down of a list item. A choice made in its list counts at once
// (chosen()); the arrow keys and the wheel only move the choice, which counts
// when the edit ends, as a typed value does.
class ChoiceBox : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceBox(QWidget* parent = nullptr);
    void showPopup() override;

signals:
    void chosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_fromList = false;  // the list was opened since the last key or wheel step
};

// Opens the editor that fits the item and hands every accepted edit to the
// grid; a cancelled edit (Escape) never reaches it.
class PropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PropertyDelegate(SettingsGrid* grid);

    // The grid is going away: accepted edits are no longer passed on.
    void detach() { m_grid = nullptr; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    SettingsGrid* m_grid;
};

// The value cell of "グラフの色": a swatch, "既定値" and "その他...".
class ColourValueWidget : public QWidget {
    Q_OBJECT
public:
    explicit ColourValueWidget(QWidget* parent = nullptr);
    void setColour(uint32_t colour);  // 0x00BBGGRR
    QToolButton* defaultButton() const { return m_default; }
    QToolButton* otherButton() const { return m_other; }
    QLabel* swatch() const { return m_swatch; }

signals:
    void defaultRequested();
    void otherRequested();

private:
    QLabel* m_swatch;
    QToolButton* m_default;
    QToolButton* m_other;
};

// The value cell of "フォント": the font's name and size and a button for
// the font dialog.
class FontValueWidget : public QWidget {
    Q_OBJECT
public:
    explicit FontValueWidget(QWidget* parent = nullptr);
    void setFontValue(const QFont& font);
    void setBold(bool bold);
    QToolButton* chooseButton() const { return m_choose; }
    QString text() const;

    // "Family, size" as the cell shows it.
    static QString describe(const QFont& font);

signals:
    void chooseRequested();

private:
    QLabel* m_text;
    QToolButton* m_choose;
};

}  // namespace qf

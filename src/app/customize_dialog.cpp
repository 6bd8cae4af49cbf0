#include "app/customize_dialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_window.h"

namespace qf {

namespace {

constexpr int kBarRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;  // 0 on a toolbar's own row

Qt::CheckState checkOf(bool on) {
    return on ? Qt::Checked : Qt::Unchecked;
}

}  // namespace

CustomizeDialog::CustomizeDialog(MainWindow& frame, QWidget* parent) : QDialog(parent), m_frame(frame) {
    setObjectName(QStringLiteral("CustomizeDialog"));
    setWindowTitle(tr("カスタマイズ"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("CustomizeTree"));
    m_tree->setHeaderLabel(tr("ツール バーとボタン"));
    m_tree->header()->setStretchLastSection(true);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CustomizeDialog::onItemChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("閉じる"));
    QPushButton* reset = buttons->addButton(tr("すべてリセット"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("ResetButton"));
    connect(reset, &QPushButton::clicked, this, &CustomizeDialog::resetAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    resize(320, 420);

    // Bars are also switched from the menu and their own context menu.
    for (QToolBar* bar : m_frame.toolBars())
        connect(bar, &QToolBar::visibilityChanged, this, &CustomizeDialog::syncChecks);
    fill();
}

void CustomizeDialog::showEvent(QShowEvent* event) {
    syncChecks();
    QDialog::showEvent(event);
}

void CustomizeDialog::fill() {
    m_filling = true;
    m_tree->clear();
    const auto& bars = m_frame.toolBars();
    for (int b = 0; b < static_cast<int>(bars.size()); ++b) {
        auto* top = new QTreeWidgetItem(m_tree, {bars[b]->windowTitle()});
        top->setData(0, kBarRole, b);
        top->setData(0, kIdRole, 0);
        top->setFlags(top->flags() | Qt::ItemIsUserCheckable);
        for (int id : m_frame.toolBarButtonIds(b)) {
            const QAction* a = m_frame.action(id);
            auto* row = new QTreeWidgetItem(top, {a ? a->toolTip() : QString::number(id)});
            if (a) row->setIcon(0, a->icon());
            row->setData(0, kBarRole, b);
            row->setData(0, kIdRole, id);
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        }
        top->setExpanded(true);
    }
    m_filling = false;
    syncChecks();
}

void CustomizeDialog::syncChecks() {
    m_filling = true;
    const auto& bars = m_frame.toolBars();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        const int b = top->data(0, kBarRole).toInt();
        // isHidden, not isVisible: a bar of a minimised window is still on.
        top->setCheckState(0, checkOf(!bars[b]->isHidden()));
        for (int k = 0; k < top->childCount(); ++k) {
            QTreeWidgetItem* row = top->child(k);
            row->setCheckState(
                0, checkOf(m_frame.isToolBarButtonShown(b, row->data(0, kIdRole).toInt())));
        }
    }
    m_filling = false;
}

void CustomizeDialog::onItemChanged(QTreeWidgetItem* item) {
    if (m_filling || !item) return;
    const int b = item->data(0, kBarRole).toInt();
    const int id = item->data(0, kIdRole).toInt();
    const bool on = item->checkState(0) == Qt::Checked;
    if (id == 0)
        m_frame.toolBars()[b]->setVisible(on);
    else
        m_frame.showToolBarButton(b, id, on);
    syncChecks();
}

void CustomizeDialog::resetAll() {
    const auto& bars = m_frame.toolBars();
    for (int b = 0; b < static_cast<int>(bars.size()); ++b) {
        bars[b]->setVisible(true);
        for (int id : m_frame.toolBarButtonIds(b)) m_frame.showToolBarButton(b, id, true);
    }
    syncChecks();
}

}  // namespace qf

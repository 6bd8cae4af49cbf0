#include "app/table_copy.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableWidget>
#include <algorithm>
#include <vector>

namespace qf {
namespace {

// A tab or a line end inside a cell would split it across columns or rows.
QString cellText(QString text) {
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

QString tableText(const QTableWidget& table) {
    std::vector<int> columns;
    QStringList header;
    for (int c = 0; c < table.columnCount(); ++c) {
        const QTableWidgetItem* h = table.horizontalHeaderItem(c);
        if (!h || h->text().isEmpty()) continue;
        columns.push_back(c);
        header << cellText(h->text());
    }
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = table.selectionModel())
        for (const QModelIndex& index : selection->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.empty())
        for (int r = 0; r < table.rowCount(); ++r) rows.push_back(r);

    QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const int r : rows) {
        QStringList cells;
        for (const int c : columns) {
            const QTableWidgetItem* item = table.item(r, c);
            cells << (item ? cellText(item->text()) : QString());
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void addTableCopy(QTableWidget* table) {
    auto* copy =
        new QAction(QCoreApplication::translate("qf::OutputPane", "表をコピー(&C)"), table);
    copy->setShortcut(QKeySequence::Copy);
    // The table's own Ctrl+C copies only the current cell.
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, table,
                     [table] { QGuiApplication::clipboard()->setText(tableText(*table)); });
    table->addAction(copy);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace qf

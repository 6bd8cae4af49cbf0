#pragma once
// The point lists as a spreadsheet takes them: tab-separated columns under a
// header line.

#include <QString>

class QTableWidget;

namespace qf {

// The selected rows (all rows when none is selected) as tab-separated text:
// a line of the column headers, then a line a row, each ended by "\n".
// Columns without a header (the graph list's spare column) are left out.
QString tableText(const QTableWidget& table);

// Gives the table a "copy" entry in its context menu, and Ctrl+C, that put
// tableText on the clipboard.
void addTableCopy(QTableWidget* table);

}  // namespace qf

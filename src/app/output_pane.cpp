#include "app/output_pane.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <algorithm>

#include "common/format.h"
#include "fit/fit_types.h"

namespace qf {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Smaller than the interface font so that more rows and report lines fit.
QFont paneFont() {
    QFont f = QApplication::font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * 4 / 5);
    else
        f.setPixelSize(std::max(1, f.pixelSize() * 4 / 5));
    return f;
}

void setupTable(QTableWidget* t) {
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setShowGrid(true);
    t->setSortingEnabled(false);
    t->setWordWrap(false);
    t->verticalHeader()->hide();
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(QFontMetrics(t->font()).height() + 4);
    t->horizontalHeader()->setSectionsClickable(false);
    t->horizontalHeader()->setHighlightSections(false);
    t->horizontalHeader()->setStretchLastSection(false);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

struct Column {
    const char* header;
    int width;
};

void resetColumns(QTableWidget* t, std::initializer_list<Column> columns) {
    t->clear();
    t->setRowCount(0);
    t->setColumnCount(0);
    t->setColumnCount(int(columns.size()));
    int i = 0;
    for (const Column& c : columns) {
        auto* h = new QTableWidgetItem(QString::fromUtf8(c.header));
        h->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        t->setHorizontalHeaderItem(i, h);
        t->setColumnWidth(i, c.width);
        ++i;
    }
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

QPlainTextEdit* makeReport(QWidget* parent, const QFont& font) {
    auto* e = new QPlainTextEdit(parent);
    e->setFont(font);
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    e->setReadOnly(false);  // the user may type notes; the next report replaces them
    e->document()->setDocumentMargin(4);
    e->setTabStopDistance(8 * QFontMetricsF(font).averageCharWidth());
    return e;
}

const char* const kUsageLines[] = {
    "画像入力 : 画像ファイルドロップ対応",
    "マウス 右ボタン＋ドラッグ : 画像ドラッグ",
    "マウス ホイール           : 画像拡大／縮小",
    "フィッティング設定の変更はフォーカスを失ったときに反映（他をクリック)",
    "",
    "任意関数 f0(x)～f5(x) 以下 演算 関数 使用可能",
    "実行中のエラーは無視 （ 0除算→1E+24、sqrt(負値)→0、log(0以下値)→-1E+24 ）",
    "<arithmetic>",
    "    +           addition ",
    "    -           subtraction ",
    "    *           multiplication ",
    "    /           division ",
    "    x**y        raise x to the power of y. <pow(x,y)と同じ>",
    "",
    "<mathematical functions>",
    "    sin(x)      sine ",
    "    cos(x)      cosine ",
    "    tan(x)      tangent ",
    "    acos(x)     inverse cosine ",
    "    asin(x)     inverse sine ",
    "    atan(x)     one-parameter inverse tangent ",
    "    sinh(x)     hyperbolic sine ",
    "    cosh(x)     hyperbolic cosine ",
    "    tanh(x)     hyperbolic tangent ",
    "    exp(x)      exponential function ",
    "    log(x)      natural logarithm ",
    "    log10(x)    base-10 logarithm ",
    "    sqrt(x)     square root ",
    "    pow(x,y)    raise x to the power of y",
};

}  // namespace

CListCtrlPoints::CListCtrlPoints(QWidget* parent) : QTableWidget(parent) {
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet) emit selectionChangedNotify();
    });
}

void CListCtrlPoints::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
        // Notified even when nothing was selected: the view may still
        // highlight a point after a rebuild of the rows.
        m_quiet = true;
        clearSelection();
        m_quiet = false;
        emit selectionChangedNotify();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

COutputWnd::COutputWnd(QWidget* parent)
    : QDockWidget(QString::fromUtf8("出力"), parent), m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("OutputPane"));
    const QFont font = paneFont();

    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    m_texts[0] = makeReport(m_tabs, font);
    m_texts[1] = makeReport(m_tabs, font);
    m_sourceList = new CListCtrlPoints(m_tabs);
    m_graphList = new QTableWidget(m_tabs);
    m_sourceList->setObjectName(QStringLiteral("SourcePointList"));
    m_graphList->setObjectName(QStringLiteral("GraphPointList"));
    for (QTableWidget* t : {static_cast<QTableWidget*>(m_sourceList), m_graphList}) {
        t->setFont(font);
        setupTable(t);
    }
    ResetSourcePointColumns();
    ResetGraphPointColumns();

    m_tabs->addTab(m_texts[0], QString::fromUtf8("出力"));
    m_tabs->addTab(m_texts[1], QString::fromUtf8("フィッティング出力"));
    m_tabs->addTab(m_sourceList, QString::fromUtf8("フィッティング元座標"));
    m_tabs->addTab(m_graphList, QString::fromUtf8("生成グラフ座標データ"));
    setWidget(m_tabs);

    connect(m_sourceList, &CListCtrlPoints::selectionChangedNotify, this,
            &COutputWnd::sourcePointSelectionChanged);

    SetPaneText(PageOutput, usageSummary());
}

std::string COutputWnd::usageSummary() {
    std::string text;
    for (const char* line : kUsageLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void COutputWnd::SetPaneText(int page, const QString& text) {
    if (page < 0 || page > 1) return;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Every line ends with a line break; the editor would show that as an
    // extra empty line at the end.
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    m_texts[page]->setPlainText(shown);
}

void COutputWnd::SetPaneText(int page, const std::string& utf8) {
    SetPaneText(page, fromUtf8(utf8));
}

QString COutputWnd::PaneText(int page) const {
    return page >= 0 && page <= 1 ? m_texts[page]->toPlainText() : QString();
}

void COutputWnd::ActivateOutputTab(int page) {
    if (page >= 0 && page < m_tabs->count()) m_tabs->setCurrentIndex(page);
}

int COutputWnd::ActiveOutputTab() const {
    return m_tabs->currentIndex();
}

QPlainTextEdit* COutputWnd::reportText(int page) const {
    return page >= 0 && page <= 1 ? m_texts[page] : nullptr;
}

void COutputWnd::ResetSourcePointColumns() {
    m_sourceList->m_quiet = true;
    resetColumns(m_sourceList,
                 {{"NO.", 40}, {"X", 80}, {"Y", 80}, {"PIXEL H", 80}, {"PIXEL V", 80}, {"", 80}});
    m_sourceList->m_quiet = false;
}

void COutputWnd::InsertSourcePointRow(int row, const std::array<std::string, 5>& texts) {
    row = std::clamp(row, 0, m_sourceList->rowCount());
    m_sourceList->m_quiet = true;
    m_sourceList->insertRow(row);
    for (int c = 0; c < 5; ++c) m_sourceList->setItem(row, c, cell(fromUtf8(texts[c])));
    m_sourceList->m_quiet = false;
}

void COutputWnd::SelectSourcePointRow(int row) {
    if (row < 0 || row >= m_sourceList->rowCount()) return;
    m_sourceList->setCurrentCell(row, 0,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EnsureSourcePointVisible(row);
}

void COutputWnd::DeleteSourcePointRow(int row) {
    if (row < 0 || row >= m_sourceList->rowCount()) return;
    const bool wasSelected = m_sourceList->selectionModel()->isRowSelected(row, QModelIndex());
    m_sourceList->m_quiet = true;
    m_sourceList->removeRow(row);
    if (wasSelected) m_sourceList->clearSelection();
    m_sourceList->m_quiet = false;
    // The selected point is gone; let the view drop its highlight rather than
    // move it onto the point that takes the freed index.
    if (wasSelected) emit m_sourceList->selectionChangedNotify();
}

void COutputWnd::SetSourcePointText(int row, int column, const std::string& text) {
    if (row < 0 || row >= m_sourceList->rowCount() || column < 0 || column >= kSourceColumns)
        return;
    if (QTableWidgetItem* item = m_sourceList->item(row, column))
        item->setText(fromUtf8(text));
    else
        m_sourceList->setItem(row, column, cell(fromUtf8(text)));
}

void COutputWnd::EnsureSourcePointVisible(int row) {
    if (row < 0 || row >= m_sourceList->rowCount()) return;
    // Scroll ranges follow new rows only at the next layout pass; make it now.
    m_sourceList->doItemsLayout();
    m_sourceList->scrollTo(m_sourceList->model()->index(row, 0));
}

void COutputWnd::ClearSourcePointSelection() {
    m_sourceList->clearSelection();
}

std::vector<int> COutputWnd::SelectedSourcePointRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : m_sourceList->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int COutputWnd::SourcePointRowCount() const {
    return m_sourceList->rowCount();
}

void COutputWnd::ResetGraphPointColumns() {
    resetColumns(m_graphList, {{"NO.", 40}, {"X", 80}, {"Y", 80}, {"", 80}});
}

void COutputWnd::FillGeneratedGraph(const GeneratedGraph& graph, int graphPointCount) {
    ResetGraphPointColumns();
    const int n = std::max(
        0, std::min<int>(graph.m_generatedCount,
                         int(std::min(graph.m_generatedX.size(), graph.m_generatedY.size()))));
    m_graphList->setUpdatesEnabled(false);
    m_graphList->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        m_graphList->setItem(i, 0, cell(fromUtf8(formatD(i + 1))));
        m_graphList->setItem(i, 1, cell(fromUtf8(formatG(graph.m_generatedX[size_t(i)]))));
        m_graphList->setItem(i, 2, cell(fromUtf8(formatG(graph.m_generatedY[size_t(i)]))));
    }
    m_graphList->setUpdatesEnabled(true);
    const int last = graphPointCount - 1;
    if (last >= 0 && last < n) {
        m_graphList->doItemsLayout();
        m_graphList->scrollTo(m_graphList->model()->index(last, 0));
    }
}

}  // namespace qf

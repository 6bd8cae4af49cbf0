#include "app/output_pane.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/detachable_tabs.h"
#include "app/formula_copy_bar.h"
#include "app/table_copy.h"
#include "common/date_axis.h"
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
        auto* h = new QTableWidgetItem(QCoreApplication::translate("qf::OutputPane", c.header));
        h->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        t->setHorizontalHeaderItem(i, h);
        t->setColumnWidth(i, c.width);
        ++i;
    }
}

// Widens column c to show its longest text whole ("1.08264E+024" must not be
// cut to "1.08264E+0…"); a column never gets narrower than its default width
// here, only a reset of the columns restores that.
void widenToContents(QTableWidget* t, int c) {
    const QFontMetrics fm(t->font());
    int widest = -1;
    int widestRow = -1;
    for (int r = 0; r < t->rowCount(); ++r) {
        const QTableWidgetItem* item = t->item(r, c);
        if (!item) continue;
        const int w = fm.horizontalAdvance(item->text());
        if (w > widest) {
            widest = w;
            widestRow = r;
        }
    }
    if (widestRow < 0) return;
    // The delegate knows the cell's margins; the grid line takes one pixel more.
    const int needed =
        t->sizeHintForIndex(t->model()->index(widestRow, c)).width() + (t->showGrid() ? 1 : 0);
    if (needed > t->columnWidth(c)) t->setColumnWidth(c, needed);
}

void widenCell(QTableWidget* t, int row, int c) {
    const QModelIndex i = t->model()->index(row, c);
    const int needed = t->sizeHintForIndex(i).width() + (t->showGrid() ? 1 : 0);
    if (needed > t->columnWidth(c)) t->setColumnWidth(c, needed);
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
    QT_TRANSLATE_NOOP("qf::OutputPane", "画像入力 : 画像ファイルドロップ対応"),
    QT_TRANSLATE_NOOP("qf::OutputPane", "マウス 右ボタン＋ドラッグ : 画像ドラッグ"),
    QT_TRANSLATE_NOOP("qf::OutputPane", "マウス ホイール           : 画像拡大／縮小"),
    QT_TRANSLATE_NOOP("qf::OutputPane",
                      "フィッティング設定の変更はフォーカスを失ったときに反映（他をクリック)"),
    "",
    QT_TRANSLATE_NOOP("qf::OutputPane", "任意関数 f0(x)～f5(x) 以下 演算 関数 使用可能"),
    QT_TRANSLATE_NOOP("qf::OutputPane",
                      "実行中のエラーは無視 （ 0除算→1E+24、sqrt(負値)→0、log(0以下値)→-1E+24 ）"),
    "<arithmetic>",
    "    +           addition ",
    "    -           subtraction ",
    "    *           multiplication ",
    "    /           division ",
    QT_TRANSLATE_NOOP("qf::OutputPane",
                      "    x**y        raise x to the power of y. <pow(x,y)と同じ>"),
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

PointTable::PointTable(QWidget* parent) : QTableWidget(parent) {
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet) emit selectionChangedNotify();
    });
}

void PointTable::mousePressEvent(QMouseEvent* event) {
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

OutputPane::OutputPane(QWidget* parent)
    : QDockWidget(tr("出力"), parent),
      m_tabs(new DetachTabWidget(this)),
      m_dropTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("OutputPane"));
    m_font = paneFont();

    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    m_texts[0] = makeReport(m_tabs, m_font);
    // The pages behind the first start as empty stand-ins and are made when
    // first shown or written to: most windows are opened and closed again
    // without anyone looking at them.
    m_pages = {{{m_texts[0], tr("出力")},
                {new QWidget(m_tabs), tr("フィッティング出力")},
                {new QWidget(m_tabs), tr("フィッティング元座標")},
                {new QWidget(m_tabs), tr("生成グラフ座標データ")}}};
    for (const PageSlot& p : m_pages) m_tabs->addTab(p.widget, p.caption);
    setWidget(m_tabs);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab < 0) return;
        m_frontPage = pageOfTab(tab);
        if (m_frontPage >= 0) makePage(m_frontPage);
    });
    DetachTabBar* bar = static_cast<DetachTabWidget*>(m_tabs)->detachTabBar();
    connect(bar, &DetachTabBar::detachRequested, this, [this](int tab, QPoint at) {
        const int page = pageOfTab(tab);
        if (detachPage(page, at)) m_draggedPage = page;
    });
    connect(bar, &DetachTabBar::floatingDragMoved, this, [this](QPoint at) {
        if (m_draggedPage >= 0 && m_pages[size_t(m_draggedPage)].window)
            m_pages[size_t(m_draggedPage)].window->move(at - QPoint(20, 10));
    });
    connect(bar, &DetachTabBar::floatingDragDropped, this, [this](QPoint at) {
        const int page = std::exchange(m_draggedPage, -1);
        if (page >= 0) dropPageAt(page, at);
    });
    // A window dragged by its title bar is moved by the window manager, which
    // tells nothing of the release; a window that rests with the pointer on
    // the tab bar for a moment counts as dropped there.
    m_dropTimer->setSingleShot(true);
    m_dropTimer->setInterval(400);
    connect(m_dropTimer, &QTimer::timeout, this, [this] {
        const int page = std::exchange(m_droppingPage, -1);
        if (page >= 0) dropPageAt(page, QCursor::pos());
    });

    setPaneText(PageOutput, usageSummary());
}

std::string OutputPane::usageSummary() {
    std::string text;
    for (const char* line : kUsageLines) {
        // The formula language's own lines are English and stay as they are.
        text += *line ? QCoreApplication::translate("qf::OutputPane", line).toStdString() : "";
        text += "\r\n";
    }
    return text;
}

bool OutputPane::isMade(int page) const {
    switch (page) {
        case PageOutput:
            return true;
        case PageFitOutput:
            return m_texts[1] != nullptr;
        case PageSourcePoints:
            return m_sourceList != nullptr;
        case PageGeneratedGraph:
            return m_graphList != nullptr;
        default:
            return false;
    }
}

void OutputPane::addSourcePointAction(QAction* action) {
    m_sourceActions.push_back(action);
    if (m_sourceList) m_sourceList->addAction(action);
}

void OutputPane::makePage(int page) {
    if (page < 0 || page >= int(m_pages.size()) || isMade(page)) return;
    QWidget* made = nullptr;
    if (page == PageFitOutput) {
        // The report under the buttons that copy the fitted formula's forms.
        made = new QWidget(m_tabs);
        auto* column = new QVBoxLayout(made);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        m_formulaBar = new FormulaCopyBar(made);
        m_texts[1] = makeReport(made, m_font);
        column->addWidget(m_formulaBar);
        column->addWidget(m_texts[1]);
    } else if (page == PageSourcePoints) {
        m_sourceList = new PointTable(m_tabs);
        m_sourceList->setObjectName(QStringLiteral("SourcePointList"));
        m_sourceList->setFont(m_font);
        setupTable(m_sourceList);
        addTableCopy(m_sourceList);
        for (QAction* a : m_sourceActions) m_sourceList->addAction(a);
        resetSourcePointColumns();
        connect(m_sourceList, &PointTable::selectionChangedNotify, this,
                &OutputPane::sourcePointSelectionChanged);
        made = m_sourceList;
    } else {
        m_graphList = new QTableWidget(m_tabs);
        m_graphList->setObjectName(QStringLiteral("GraphPointList"));
        m_graphList->setFont(m_font);
        setupTable(m_graphList);
        // Nothing follows this list's selection: several rows may be chosen
        // to copy.
        m_graphList->setSelectionMode(QAbstractItemView::ExtendedSelection);
        addTableCopy(m_graphList);
        resetGraphPointColumns();
        made = m_graphList;
    }
    // The page takes its stand-in's place in the bar (a stand-in is never
    // detached: a page is made before it leaves the bar).
    PageSlot& slot = m_pages[size_t(page)];
    QWidget* standIn = std::exchange(slot.widget, made);
    const int tab = m_tabs->indexOf(standIn);
    if (tab >= 0) {
        const bool current = m_tabs->currentIndex() == tab;
        const QSignalBlocker quiet(m_tabs);
        m_tabs->insertTab(tab, made, slot.caption);
        m_tabs->removeTab(tab + 1);
        if (current) m_tabs->setCurrentIndex(tab);
    }
    // Possibly inside the tab bar's own change of the current tab.
    standIn->hide();
    standIn->deleteLater();
}

void OutputPane::setPaneText(int page, const QString& text) {
    if (page < 0 || page > 1) return;
    makePage(page);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Every line ends with a line break; the editor would show that as an
    // extra empty line at the end.
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    m_texts[page]->setPlainText(shown);
    // A new report is of another fit (or of none) until its forms are given.
    if (page == PageFitOutput) m_formulaBar->clear();
}

void OutputPane::setFormulaForms(const FormulaForms& forms) {
    makePage(PageFitOutput);
    m_formulaBar->setForms(forms);
}

FormulaCopyBar* OutputPane::formulaCopyBar() {
    makePage(PageFitOutput);
    return m_formulaBar;
}

void OutputPane::setPaneText(int page, const std::string& utf8) {
    setPaneText(page, fromUtf8(utf8));
}

QString OutputPane::paneText(int page) const {
    return page >= 0 && page <= 1 && m_texts[page] ? m_texts[page]->toPlainText() : QString();
}

void OutputPane::activateOutputTab(int page) {
    if (page < 0 || page >= int(m_pages.size())) return;
    const PageSlot& p = m_pages[size_t(page)];
    if (p.window) {
        p.window->show();
        p.window->raise();
        p.window->activateWindow();
    } else {
        m_tabs->setCurrentWidget(p.widget);
    }
    m_frontPage = page;
}

int OutputPane::activeOutputTab() const {
    return m_frontPage;
}

int OutputPane::pageOfTab(int tabIndex) const {
    QWidget* w = m_tabs->widget(tabIndex);
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i].widget == w) return int(i);
    return -1;
}

bool OutputPane::isPageDetached(int page) const {
    return page >= 0 && page < int(m_pages.size()) && m_pages[size_t(page)].window;
}

QWidget* OutputPane::pageWindow(int page) const {
    return isPageDetached(page) ? m_pages[size_t(page)].window : nullptr;
}

bool OutputPane::detachPage(int page, QPoint globalPos) {
    if (page < 0 || page >= int(m_pages.size()) || m_pages[size_t(page)].window) return false;
    makePage(page);
    PageSlot& p = m_pages[size_t(page)];
    const QSize size = m_tabs->size().expandedTo(QSize(320, 160));
    m_tabs->removeTab(m_tabs->indexOf(p.widget));
    p.window = new FloatingPage(p.widget, p.caption, this);
    p.window->resize(size);
    p.window->move(globalPos - QPoint(20, 10));
    connect(p.window, &FloatingPage::closeRequested, this, [this, page] { reattachPage(page); });
    connect(p.window, &FloatingPage::moved, this, [this, page] { floatingPageMoved(page); });
    p.window->show();
    p.window->raise();
    m_frontPage = page;
    return true;
}

void OutputPane::reattachPage(int page) {
    if (!isPageDetached(page)) return;
    PageSlot& p = m_pages[size_t(page)];
    // Back between its neighbours: after every earlier page still in the bar.
    int tab = 0;
    for (int i = 0; i < page; ++i)
        if (!m_pages[size_t(i)].window) ++tab;
    FloatingPage* window = std::exchange(p.window, nullptr);
    if (m_droppingPage == page) m_droppingPage = -1;
    if (m_draggedPage == page) m_draggedPage = -1;
    m_tabs->insertTab(tab, p.widget, p.caption);
    m_tabs->setCurrentIndex(tab);
    m_frontPage = page;
    window->hide();
    window->deleteLater();  // may be inside its own close event
}

bool OutputPane::overTabBar(QPoint globalPos) const {
    if (!isVisible()) return false;
    if (m_tabs->count() == 0) return rect().contains(mapFromGlobal(globalPos));
    const QTabBar* bar = m_tabs->tabBar();
    // The whole strip beside the tabs counts, not only the tabs themselves.
    const QRect strip(m_tabs->mapToGlobal(QPoint(0, bar->mapTo(m_tabs, QPoint(0, 0)).y())),
                      QSize(m_tabs->width(), bar->height()));
    return strip.contains(globalPos);
}

bool OutputPane::dropPageAt(int page, QPoint globalPos) {
    if (!isPageDetached(page) || !overTabBar(globalPos)) return false;
    reattachPage(page);
    return true;
}

void OutputPane::floatingPageMoved(int page) {
    // Only moves that carry the pointer along count; placing the window from
    // code leaves the pointer elsewhere.
    const FloatingPage* window = m_pages[size_t(page)].window;
    if (!window || page == m_draggedPage || !window->isVisible()) return;
    const QPoint at = QCursor::pos();
    if (window->frameGeometry().contains(at) && overTabBar(at)) {
        m_droppingPage = page;
        m_dropTimer->start();
    }
}

int OutputPane::heightForLines(int lines) const {
    const QPlainTextEdit* text = m_texts[0];
    const int report = lines * QFontMetrics(m_font).lineSpacing() +
                       2 * int(text->document()->documentMargin()) + 2 * text->frameWidth();
    const int title = fontMetrics().height() +
                      2 * style()->pixelMetric(QStyle::PM_DockWidgetTitleMargin, nullptr, this);
    // A few pixels over, for the space styles keep around pages and titles.
    return report + m_tabs->tabBar()->sizeHint().height() + title + 8;
}

QPlainTextEdit* OutputPane::reportText(int page) {
    if (page < 0 || page > 1) return nullptr;
    makePage(page);
    return m_texts[page];
}

PointTable* OutputPane::sourcePointList() {
    makePage(PageSourcePoints);
    return m_sourceList;
}

QTableWidget* OutputPane::graphPointList() {
    makePage(PageGeneratedGraph);
    return m_graphList;
}

void OutputPane::resetSourcePointColumns() {
    if (!m_sourceList) return;  // made with these columns when it is needed
    m_sourceList->m_quiet = true;
    resetColumns(m_sourceList, {{"NO.", 40},
                                {"X", 80},
                                {"Y", 80},
                                {"PIXEL H", 80},
                                {"PIXEL V", 80},
                                {QT_TRANSLATE_NOOP("qf::OutputPane", "残差"), 80}});
    m_sourceList->m_quiet = false;
}

void OutputPane::insertSourcePointRow(int row, const std::array<std::string, 5>& texts) {
    makePage(PageSourcePoints);
    row = std::clamp(row, 0, m_sourceList->rowCount());
    m_sourceList->m_quiet = true;
    m_sourceList->insertRow(row);
    for (int c = 0; c < 5; ++c) {
        m_sourceList->setItem(row, c, cell(fromUtf8(texts[c])));
        widenCell(m_sourceList, row, c);
    }
    m_sourceList->m_quiet = false;
}

void OutputPane::selectSourcePointRow(int row) {
    if (row < 0 || row >= sourcePointRowCount()) return;
    m_sourceList->setCurrentCell(row, 0,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ensureSourcePointVisible(row);
}

void OutputPane::deleteSourcePointRow(int row) {
    if (row < 0 || row >= sourcePointRowCount()) return;
    const bool wasSelected = m_sourceList->selectionModel()->isRowSelected(row, QModelIndex());
    m_sourceList->m_quiet = true;
    m_sourceList->removeRow(row);
    if (wasSelected) m_sourceList->clearSelection();
    m_sourceList->m_quiet = false;
    // The selected point is gone; let the view drop its highlight rather than
    // move it onto the point that takes the freed index.
    if (wasSelected) emit m_sourceList->selectionChangedNotify();
}

void OutputPane::setSourcePointText(int row, int column, const std::string& text) {
    if (row < 0 || row >= sourcePointRowCount() || column < 0 || column >= kSourceColumns) return;
    if (QTableWidgetItem* item = m_sourceList->item(row, column))
        item->setText(fromUtf8(text));
    else
        m_sourceList->setItem(row, column, cell(fromUtf8(text)));
    widenCell(m_sourceList, row, column);
}

void OutputPane::ensureSourcePointVisible(int row) {
    if (row < 0 || row >= sourcePointRowCount()) return;
    // Scroll ranges follow new rows only at the next layout pass; make it now.
    m_sourceList->doItemsLayout();
    m_sourceList->scrollTo(m_sourceList->model()->index(row, 0));
}

void OutputPane::clearSourcePointSelection() {
    if (m_sourceList) m_sourceList->clearSelection();
}

std::vector<int> OutputPane::selectedSourcePointRows() const {
    std::vector<int> rows;
    if (!m_sourceList) return rows;
    for (const QModelIndex& i : m_sourceList->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int OutputPane::sourcePointRowCount() const {
    return m_sourceList ? m_sourceList->rowCount() : 0;
}

void OutputPane::resetGraphPointColumns() {
    if (!m_graphList) return;  // made with these columns when it is needed
    resetColumns(m_graphList, {{"NO.", 40}, {"X", 80}, {"Y", 80}, {"", 80}});
}

void OutputPane::fillGeneratedGraph(const GeneratedGraph& graph, int graphPointCount) {
    makePage(PageGeneratedGraph);
    resetGraphPointColumns();
    const int n =
        std::max(0, std::min<int>(graph.generatedCount,
                                  int(std::min(graph.generatedX.size(), graph.generatedY.size()))));
    m_graphList->setUpdatesEnabled(false);
    m_graphList->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        m_graphList->setItem(i, 0, cell(fromUtf8(formatD(i + 1))));
        m_graphList->setItem(
            i, 1, cell(fromUtf8(formatAxisValue(graph.generatedX[size_t(i)], graph.xTime))));
        m_graphList->setItem(
            i, 2, cell(fromUtf8(formatAxisValue(graph.generatedY[size_t(i)], graph.yTime))));
    }
    for (int c = 0; c < 3; ++c) widenToContents(m_graphList, c);
    m_graphList->setUpdatesEnabled(true);
    const int last = graphPointCount - 1;
    if (last >= 0 && last < n) {
        m_graphList->doItemsLayout();
        m_graphList->scrollTo(m_graphList->model()->index(last, 0));
    }
}

}  // namespace qf

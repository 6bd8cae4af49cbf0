#pragma once
// The output pane docked at the bottom: two report texts and the two point
// tables (source points, generated graph). It holds texts only; the view's
// data is the truth and the view rebuilds the tables from it.

#include <QDockWidget>
#include <QString>
#include <QTableWidget>
#include <array>
#include <string>
#include <vector>

#include "ui/output_sink.h"

class QAction;
class QPlainTextEdit;
class QTabWidget;
class QTimer;

namespace qf {

class FloatingPage;
class FormulaCopyBar;
struct FormulaForms;

struct GeneratedGraph;

// The source-point table. It reports every change of its selection, whether
// the user or the view made it, so the view can follow the selected row.
class PointTable : public QTableWidget {
    Q_OBJECT
public:
    explicit PointTable(QWidget* parent = nullptr);

signals:
    void selectionChangedNotify();

protected:
    // A click below the rows clears the selection (a plain table keeps it).
    void mousePressEvent(QMouseEvent* event) override;

private:
    friend class OutputPane;
    bool m_quiet = false;  // a rebuild is not a selection change
};

class OutputPane : public QDockWidget, public OutputSink {
    Q_OBJECT
public:
    enum Page { PageOutput = 0, PageFitOutput = 1, PageSourcePoints = 2, PageGeneratedGraph = 3 };
    static constexpr int kSourceColumns = 6;
    static constexpr int kGraphColumns = 4;

    explicit OutputPane(QWidget* parent = nullptr);

    // Replaces the whole text of page 0 or 1; CR LF line ends are shown as
    // lines. Other pages are ignored.
    void setPaneText(int page, const QString& text);
    void setPaneText(int page, const std::string& utf8) override;
    void setPaneText(int page, const char* utf8) { setPaneText(page, std::string(utf8)); }
    QString paneText(int page) const;  // as shown, lines joined by "\n"
    // The copy buttons above page 1 for the report just set there; replacing
    // that page's text takes them away.
    void setFormulaForms(const FormulaForms& forms);
    FormulaCopyBar* formulaCopyBar();

    // 0..3, others are ignored. A detached page keeps its index: its window
    // is shown and raised instead.
    void activateOutputTab(int page) override;
    int activeOutputTab() const;

    // Pages dragged out of the tab bar live in a tool window of their own
    // until that window is closed or dropped onto the tab bar; they come back
    // at their old place. The page widgets themselves move, so their contents
    // (texts, rows, selection) stay as they are.
    bool detachPage(int page, QPoint globalPos);  // false when out of range or out already
    void reattachPage(int page);                  // no-op unless detached
    bool isPageDetached(int page) const;
    QWidget* pageWindow(int page) const;  // the floating window, or null
    // Puts a floating page back when globalPos lies on the tab bar (or on the
    // pane when every page is out); true when it did.
    bool dropPageAt(int page, QPoint globalPos);

    // Source-point table.
    void resetSourcePointColumns() override;  // no rows, the six columns
    // Inserts a row with the texts of columns 0..4 (column 5 stays empty).
    void insertSourcePointRow(int row, const std::array<std::string, 5>& texts) override;
    // Selects and focuses the row, makes it current and scrolls it into view;
    // the selection change is notified like a user's.
    void selectSourcePointRow(int row) override;
    void deleteSourcePointRow(int row) override;
    void setSourcePointText(int row, int column, const std::string& text) override;
    void ensureSourcePointVisible(int row) override;
    void clearSourcePointSelection();
    // An entry of the source-point list's context menu, after its copy.
    void addSourcePointAction(QAction* action);
    std::vector<int> selectedSourcePointRows() const override;  // ascending
    int sourcePointRowCount() const;

    // Generated-graph table.
    void resetGraphPointColumns();  // no rows, the four columns
    // Rows "No.", "%G" of X and Y for every generated point, then the row
    // graphPointCount - 1 scrolled into view when it exists.
    void fillGeneratedGraph(const GeneratedGraph& graph, int graphPointCount) override;

    // The usage summary that page 0 shows at start, with CR LF line ends.
    static std::string usageSummary();

    QTabWidget* tabs() const { return m_tabs; }
    // The pane's height that shows this many lines of a report, tab bar and
    // title included.
    int heightForLines(int lines) const;
    // The page's widget, made first when it is not yet.
    QPlainTextEdit* reportText(int page);  // page 0 or 1, else null
    PointTable* sourcePointList();
    QTableWidget* graphPointList();

signals:
    // The source-point table's selection changed (the view follows it).
    void sourcePointSelectionChanged();

private:
    struct PageSlot {
        QWidget* widget = nullptr;
        QString caption;
        FloatingPage* window = nullptr;
    };
    int pageOfTab(int tabIndex) const;
    // Pages other than the first are made on first need; until then their
    // tab holds an empty stand-in and an unmade table has no rows.
    bool isMade(int page) const;
    void makePage(int page);
    bool overTabBar(QPoint globalPos) const;
    void floatingPageMoved(int page);

    QTabWidget* m_tabs;
    std::array<PageSlot, 4> m_pages;
    int m_frontPage = 0;
    int m_draggedPage = -1;   // the page following the pointer out of the bar
    int m_droppingPage = -1;  // a window moved by the window manager onto the bar
    QTimer* m_dropTimer;

    QFont m_font;
    std::array<QPlainTextEdit*, 2> m_texts{};
    FormulaCopyBar* m_formulaBar = nullptr;  // above page 1's text
    PointTable* m_sourceList = nullptr;
    std::vector<QAction*> m_sourceActions;  // for the list once it is made
    QTableWidget* m_graphList = nullptr;
};

}  // namespace qf

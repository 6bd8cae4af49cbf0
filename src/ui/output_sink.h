#pragma once
// What the view writes into the output pane: the report pages and the two
// point tables. The pane implements it; the view knows only this.

#include <array>
#include <string>
#include <vector>

namespace qf {

struct GeneratedGraph;

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Replaces the whole text of page 0 or 1.
    virtual void setPaneText(int page, const std::string& utf8) = 0;
    virtual void activateOutputTab(int page) = 0;
    virtual void resetSourcePointColumns() = 0;
    virtual void insertSourcePointRow(int row, const std::array<std::string, 5>& texts) = 0;
    virtual void selectSourcePointRow(int row) = 0;
    virtual void deleteSourcePointRow(int row) = 0;
    virtual void setSourcePointText(int row, int column, const std::string& text) = 0;
    virtual void ensureSourcePointVisible(int row) = 0;
    virtual std::vector<int> selectedSourcePointRows() const = 0;
    virtual void fillGeneratedGraph(const GeneratedGraph& graph, int graphPointCount) = 0;
};

}  // namespace qf

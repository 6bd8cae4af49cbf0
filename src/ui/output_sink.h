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
    virtual void SetPaneText(int page, const std::string& utf8) = 0;
    virtual void ActivateOutputTab(int page) = 0;
    virtual void ResetSourcePointColumns() = 0;
    virtual void InsertSourcePointRow(int row, const std::array<std::string, 5>& texts) = 0;
    virtual void SelectSourcePointRow(int row) = 0;
    virtual void DeleteSourcePointRow(int row) = 0;
    virtual void SetSourcePointText(int row, int column, const std::string& text) = 0;
    virtual void EnsureSourcePointVisible(int row) = 0;
    virtual std::vector<int> SelectedSourcePointRows() const = 0;
    virtual void FillGeneratedGraph(const GeneratedGraph& graph, int graphPointCount) = 0;
};

}  // namespace qf

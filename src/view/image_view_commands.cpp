// The view's commands: one table row per command id, what the frame's
// actions and the tests run alike, and the snapshot their rules read.

#include "view/image_view.h"

#include "view/view_commands.h"

namespace qf {

const std::vector<ImageView::Command>& ImageView::commandTable() {
    // A tool or display switch is shown at once; an edit of the work is
    // also one step of the document, named for the undo menu.
    static const std::vector<Command> table = {
        {ID_ZOOM_IN, [](ImageView& v) { v.apply(zoomIn(v.m_state, v.clientSize())); }},
        {ID_ZOOM_OUT, [](ImageView& v) { v.apply(zoomOut(v.m_state, v.clientSize())); }},
        {ID_ZOOM_FIT, [](ImageView& v) { v.apply(zoomToFit(v.m_state, v.clientSize())); }},
        {ID_MAGNIFIER,
         [](ImageView& v) {
             v.m_state.showMagnifier = !v.m_state.showMagnifier;
             v.updateLoupe();
             emit v.magnifierSwitched(v.m_state.showMagnifier);
             emit v.stateChanged();
         }},
        {ID_DISPLAY_INPUT,
         [](ImageView& v) {
             toggleInputDisplay(v.m_state);
             v.changed();
         }},
        {ID_DISPLAY_OUTPUT,
         [](ImageView& v) {
             toggleOutputDisplay(v.m_state);
             v.changed();
         }},
        {ID_DISPLAY_GENERATED_GRAPH,
         [](ImageView& v) {
             toggleGeneratedGraph(v.m_state);
             v.changed();
         }},
        {ID_MAPPING_CORNERS,
         [](ImageView& v) {
             selectTool(v.m_state, Tool::Corners);
             v.changed();
         }},
        {ID_MAPPING_GRID,
         [](ImageView& v) {
             toggleMappingGrid(v.m_state);
             v.changed();
         }},
        {ID_MAPPING_RUN,
         [](ImageView& v) {
             runMappingCommand(v.m_state);
             v.changed();
             v.commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "マッピング 実行"));
         }},
        {ID_GRAPH_RECT,
         [](ImageView& v) {
             selectTool(v.m_state, Tool::GraphRect);
             v.changed();
         }},
        {ID_ADD_POINTS,
         [](ImageView& v) {
             selectTool(v.m_state, Tool::AddPoints);
             if (v.m_pane) v.m_pane->activateOutputTab(2);
             v.changed();
         }},
        {ID_ERASE_POINTS,
         [](ImageView& v) {
             selectTool(v.m_state, Tool::ErasePoints);
             v.changed();
         }},
        {ID_EXTRACT_CURVE,
         [](ImageView& v) {
             selectTool(v.m_state, Tool::Extract);
             if (v.m_pane) v.m_pane->activateOutputTab(2);
             v.changed();
         }},
        {ID_EXTRACT_CONFIRM, [](ImageView& v) { v.addExtractedPoints(); }},
        {ID_PIXEL_GRID_SHOW,
         [](ImageView& v) {
             togglePixelGrid(v.m_state);
             v.changed();
         }},
        {ID_PIXEL_GRID_COLOUR, [](ImageView& v) { v.choosePixelGridColour(); }},
        {ID_GREY_IMAGE,
         [](ImageView& v) {
             toggleGreyMode(v.m_state);
             v.changed();
             v.commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "グレー画像化"));
         }},
        {ID_RUN_PROCESSING,
         [](ImageView& v) {
             runProcessingCommand(v.m_state);
             v.changed();
         }},
        // The cameras repaint the view themselves.
        {ID_CAMERA_DEVICE_0, [](ImageView& v) { v.m_camera->toggleDevice(0); }},
        {ID_CAMERA_DEVICE_1, [](ImageView& v) { v.m_camera->toggleDevice(1); }},
        {ID_CAMERA_DEVICE_2, [](ImageView& v) { v.m_camera->toggleDevice(2); }},
        {ID_CAMERA_DEVICE_3, [](ImageView& v) { v.m_camera->toggleDevice(3); }},
        {ID_CAPTURE_SETTINGS,
         [](ImageView& v) {
             if (const auto chosen = v.m_dialogs.captureParameters(&v, v.m_state.capture))
                 v.m_camera->applyCaptureSettings(*chosen);
         }},
        // The pane has already replaced the label font.
        {ID_PROPERTY_FONT_CHANGED, [](ImageView& v) { v.viewport()->update(); }},
        {ID_SOURCE_POINT_SELCHANGE,
         [](ImageView& v) {
             const std::vector<int> rows =
                 v.m_pane ? v.m_pane->selectedSourcePointRows() : std::vector<int>{};
             v.m_state.points.selectedPoint = rows.empty() ? -1 : rows.front();
             v.changed();
         }},
        {ID_DELETE_POINT, [](ImageView& v) { v.deleteSelectedPoint(); }},
        {ID_REMOVE_ALL_POINTS, [](ImageView& v) { v.removeAllPoints(); }},
    };
    return table;
}

std::vector<CommandRow> ImageView::commandRows() {
    std::vector<CommandRow> rows;
    for (const Command& c : commandTable())
        rows.push_back({c.id, [this, run = c.run] { run(*this); }});
    return rows;
}

void ImageView::onCommand(int id) {
    for (const Command& c : commandTable())
        if (c.id == id) return c.run(*this);
}

void ImageView::removeAllPoints() {
    if (m_state.points.pointCount == 0) return;
    m_state.points = SourcePointList{};
    refreshSourcePointPane();
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "すべての点を削除"));
}

void ImageView::deleteSelectedPoint() {
    const int i = m_state.points.selectedPoint;
    if (!m_state.points.remove(i)) return;
    m_state.points.selectedPoint = -1;
    PaneOps ops;
    ops.removedRows.push_back(i);
    applyPaneOps(ops);
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "点の削除"));
}

void ImageView::choosePixelGridColour() {
    const std::optional<uint32_t> chosen = m_dialogs.colour(this, m_state.pixelGridColour);
    if (!chosen) return;
    m_state.pixelGridColour = *chosen;
    changed();
}

CommandSnapshot ImageView::snapshot() const {
    CommandSnapshot c;
    const ViewState& s = m_state;
    c.imagePresent = s.imagePresent();
    c.pointCount = s.points.pointCount;
    c.displaySource = s.display.displaySource;
    c.showGeneratedGraph = s.display.showGeneratedGraph != 0;
    c.generatedCount = s.generated.generatedCount;
    c.cornerMode = s.tools.cornerMode != 0;
    c.graphRectMode = s.tools.graphRectMode != 0;
    c.addPointsMode = s.tools.addPointsMode != 0;
    c.erasePointsMode = s.tools.erasePointsMode != 0;
    c.extractMode = s.tools.extractMode != 0;
    c.extractPreview = s.extractPreview.shown();
    c.showMappingGrid = s.mapping.showMappingGrid;
    c.showPixelGrid = s.showPixelGrid;
    c.showMagnifier = s.showMagnifier;
    c.greyMode = s.greyMode;
    c.cameraRunning = m_camera->runningDevices();
    c.selectedPoint = s.points.selectedPoint;
    return c;
}

}  // namespace qf

// The view's commands: one table row per command id, what the frame's
// actions and the tests run alike, and the snapshot their rules read.

#include "view/image_view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <cstring>

#include "imaging/mapping.h"
#include "reading/axis_reading.h"
#include "reading/frame_corners.h"
#include "view/document_sync.h"
#include "view/view_commands.h"

namespace qf {
namespace {

// The reading's reasons (English) and the window's words for them.
struct ReasonText {
    const char* english;
    const char* text;
};
const ReasonText kReasons[] = {
    {"the picture is too small to hold a chart",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "画像が小さすぎてグラフを含められません。")},
    {"no axis lines found", QT_TRANSLATE_NOOP("qf::AxisReasons", "軸の線が見つかりません。")},
    {"no horizontal and vertical axis lines meet at a corner",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "水平と垂直の軸の線が角で交わっていません。")},
    {"the axis lines found are too short",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "見つかった軸の線が短すぎます。")},
    {"no tick labels could be read",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "目盛りラベルを読み取れませんでした。")},
    {"fewer than three different tick labels could be read",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "異なる値の目盛りラベルを 3 個以上読み取れませんでした。")},
    {"fewer than three tick labels agree on a linear or logarithmic scale",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "線形目盛りでも対数目盛りでも、一致する目盛りラベルが 3 個未満です。")},
    {"too many tick labels disagree with the scale the others give",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "ほかのラベルが示す目盛りと合わないラベルが多すぎます。")},
    {"the tick labels that agree run against the usual direction and others disagree",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "一致する目盛りラベルが通常と逆向きに並び、ほかのラベルとも合いません。")},
    {"the tick labels give a logarithmic scale running from right to left",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "目盛りラベルが右から左へ増える対数目盛りを示しています。")},
    {"the tick labels give a logarithmic scale running from top to bottom",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "目盛りラベルが上から下へ増える対数目盛りを示しています。")},
    {"the axis's multiplier or offset could not be read",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "軸の倍率またはオフセットを読み取れませんでした。")},
    {"the tick labels are slanted",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "目盛りラベルが斜めに書かれています。")},
    {"the tick labels are not numbers (names or dates)",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "目盛りラベルが数値ではありません (名前や日付)。")},
    // The frame's corners on a photograph.
    {"no frame of a plot found",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの枠が見つかりません。")},
    {"the plot's frame is not a quadrilateral",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの枠が四角形になっていません。")},
    {"two sides of the plot's frame are parallel",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの枠の隣り合う 2 辺が平行です。")},
    {"the axes of the plot are parallel",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの 2 本の軸が平行です。")},
    {"the plot has no top and right sides, and its ticks do not show its tilt",
     QT_TRANSLATE_NOOP("qf::AxisReasons",
                       "グラフの枠に上辺と右辺がなく、目盛りからも傾きが分かりません。")},
    {"the plot's missing sides cannot be placed",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの枠の欠けた辺を置けません。")},
    {"a side of the plot's frame could not be followed",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "グラフの枠の辺をたどれませんでした。")},
    {"the corners found do not make a convex quadrilateral",
     QT_TRANSLATE_NOOP("qf::AxisReasons", "見つかった 4 隅が凸四角形になりません。")},
};

QString reasonText(const std::string& reason) {
    for (const ReasonText& r : kReasons)
        if (reason == r.english) return QCoreApplication::translate("qf::AxisReasons", r.text);
    // The text recognition's own failure keeps its detail as it came.
    const std::string unread = "the tick labels cannot be read: ";
    if (reason.rfind(unread, 0) == 0)
        return QCoreApplication::translate("qf::AxisReasons", "目盛りラベルを読み取れません: ") +
               QString::fromStdString(reason.substr(unread.size()));
    return QString::fromStdString(reason);
}

}  // namespace

const std::vector<ImageView::Command>& ImageView::commandTable() {
    static const std::vector<Command> table = {
        {ID_ZOOM_IN, [](ImageView& v) { v.apply(zoomIn(v.m_state, v.clientSize())); }},
        {ID_ZOOM_OUT, [](ImageView& v) { v.apply(zoomOut(v.m_state, v.clientSize())); }},
        {ID_ZOOM_FIT, [](ImageView& v) { v.apply(zoomToFit(v.m_state, v.clientSize())); }},
        {ID_MAGNIFIER, [](ImageView& v) { v.switchMagnifier(); }},
        {ID_DISPLAY_INPUT, [](ImageView& v) { v.runShown(toggleInputDisplay); }},
        {ID_DISPLAY_OUTPUT, [](ImageView& v) { v.runShown(toggleOutputDisplay); }},
        {ID_DISPLAY_GENERATED_GRAPH, [](ImageView& v) { v.runShown(toggleGeneratedGraph); }},
        {ID_MAPPING_GRID, [](ImageView& v) { v.runShown(toggleMappingGrid); }},
        {ID_PIXEL_GRID_SHOW, [](ImageView& v) { v.runShown(togglePixelGrid); }},
        {ID_RUN_PROCESSING, [](ImageView& v) { v.runShown(runProcessingCommand); }},
        {ID_MAPPING_RUN,
         [](ImageView& v) {
             v.runEdit(runMappingCommand, QT_TRANSLATE_NOOP("qf::Edits", "マッピング 実行"));
             // Axes still at their first values: say what comes next.
             const AxisSettings& axis = v.m_state.doc.axis;
             if (v.m_state.imagePresent() && axis.xMin == 0 && axis.xMax == 1 && axis.yMin == 0 &&
                 axis.yMax == 1)
                 emit v.statusMessage(ImageView::tr(
                     "次は軸の値です: 「軸を自動認識」を実行するか、設定ペインで X と Y の"
                     "最小・最大を入力するか、「目盛りで校正」で目盛りを 4 つ"
                     "クリックします。"));
         }},
        {ID_GREY_IMAGE,
         [](ImageView& v) {
             v.runEdit(toggleGreyMode, QT_TRANSLATE_NOOP("qf::Edits", "グレー画像化"));
         }},
        {ID_MAPPING_CORNERS, [](ImageView& v) { v.pickTool(Tool::Corners); }},
        {ID_GRAPH_RECT, [](ImageView& v) { v.pickTool(Tool::GraphRect); }},
        {ID_ADD_POINTS, [](ImageView& v) { v.pickTool(Tool::AddPoints); }},
        {ID_ERASE_POINTS, [](ImageView& v) { v.pickTool(Tool::ErasePoints); }},
        {ID_EXTRACT_CURVE, [](ImageView& v) { v.pickTool(Tool::Extract); }},
        {ID_CALIBRATE_TICKS,
         [](ImageView& v) {
             v.pickTool(Tool::Ticks);
             v.promptNextTick();
         }},
        {ID_READ_AXES, [](ImageView& v) { v.readAxesFromLabels(); }},
        {ID_DETECT_FRAME, [](ImageView& v) { v.placeCornersOnFrame(); }},
        {ID_EXTRACT_CONFIRM, [](ImageView& v) { v.addExtractedPoints(); }},
        {ID_PIXEL_GRID_COLOUR, [](ImageView& v) { v.choosePixelGridColour(); }},
        // The cameras repaint the view themselves.
        {ID_CAMERA_DEVICE_0, [](ImageView& v) { v.m_camera->toggleDevice(0); }},
        {ID_CAMERA_DEVICE_1, [](ImageView& v) { v.m_camera->toggleDevice(1); }},
        {ID_CAMERA_DEVICE_2, [](ImageView& v) { v.m_camera->toggleDevice(2); }},
        {ID_CAMERA_DEVICE_3, [](ImageView& v) { v.m_camera->toggleDevice(3); }},
        {ID_CAPTURE_SETTINGS, [](ImageView& v) { v.chooseCaptureSettings(); }},
        // The pane has already replaced the label font.
        {ID_PROPERTY_FONT_CHANGED, [](ImageView& v) { v.viewport()->update(); }},
        {ID_SOURCE_POINT_SELCHANGE, [](ImageView& v) { v.followListSelection(); }},
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

void ImageView::runShown(void (*op)(ViewState&)) {
    op(m_state);
    changed();
}

void ImageView::runEdit(void (*op)(ViewState&), const char* label) {
    runShown(op);
    commitEdit(label);
}

void ImageView::pickTool(Tool tool) {
    selectTool(m_state, tool);
    // The tools that place points show the point list.
    if (m_pane && (tool == Tool::AddPoints || tool == Tool::Extract)) m_pane->activateOutputTab(2);
    changed();
}

void ImageView::switchMagnifier() {
    m_state.showMagnifier = !m_state.showMagnifier;
    updateLoupe();
    emit magnifierSwitched(m_state.showMagnifier);
    emit stateChanged();
}

void ImageView::chooseCaptureSettings() {
    if (const auto chosen = m_dialogs.captureParameters(this, m_state.capture))
        m_camera->applyCaptureSettings(*chosen);
}

void ImageView::followListSelection() {
    const std::vector<int> rows = m_pane ? m_pane->selectedSourcePointRows() : std::vector<int>{};
    m_state.selectedPoint = rows.empty() ? -1 : rows.front();
    changed();
}

void ImageView::removeAllPoints() {
    if (m_state.pointCount() == 0) return;
    m_state.doc.current().points.clear();
    m_state.selectedPoint = -1;
    refreshSourcePointPane();
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "すべての点を削除"));
}

void ImageView::deleteSelectedPoint() {
    const int i = m_state.selectedPoint;
    if (!removeSourcePoint(m_state.doc.current().points, i)) return;
    m_state.selectedPoint = -1;
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

namespace {

// The axes read off the working picture. A straightened one is read from
// the input straightened again with a margin round the graph rectangle:
// corners placed on the plot's frame leave the tick labels beside it out
// of the working picture, or cut them.
AxisReading readWorkingAxes(const ViewState& s) {
    if (const std::optional<MappingGeometry>& applied = s.doc.applied) {
        const IntRect& g = applied->graphRect;
        const int margin = std::max(g.right - g.left, g.bottom - g.top) / 6;
        const cv::Mat around = straightenedAround(s.images.inputImage, *applied, margin);
        if (!around.empty()) {
            AxisReading read = readAxes(around);
            moveReading(read, g.left - margin, g.top - margin);
            return read;
        }
    }
    return readAxes(outputImage(s.images));
}

}  // namespace

void ImageView::readAxesFromLabels() {
    if (!m_state.imagePresent()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AxisReading read = readWorkingAxes(m_state);
    QApplication::restoreOverrideCursor();
    // What was read is drawn over the working picture: it is shown, in the
    // graph-rectangle tool (where the axis rectangle can be corrected) unless
    // a tool that works on it is in use. With nothing read nothing changes.
    if (read.ok() || !read.labels.empty()) {
        const Tool tool = m_state.tools.tool;
        selectTool(m_state, tool == Tool::Corners || tool == Tool::None ? Tool::GraphRect : tool);
    }

    AxisLabelsShown shown;
    for (const TickLabel& l : read.labels)
        shown.labels.push_back({l.box, l.text, l.value, l.parsed, l.used, l.multiplier});
    if (!read.ok()) {
        shown.axis = m_state.doc.axis;
        m_state.readLabels = std::move(shown);
        changed();
        QStringList why;
        if (!read.x.ok && !read.y.ok && read.x.reason == read.y.reason) {
            why << tr("X 軸と Y 軸を読み取れませんでした: ") + reasonText(read.x.reason);
        } else {
            if (!read.x.ok) why << tr("X 軸を読み取れませんでした: ") + reasonText(read.x.reason);
            if (!read.y.ok) why << tr("Y 軸を読み取れませんでした: ") + reasonText(read.y.reason);
        }
        m_dialogs.message(this, why.join(QLatin1Char('\n')) + tr("\n軸は変えていません。"),
                          MessageIcon::Warning);
        return;
    }
    m_state.doc.axis = read.axis;
    shown.axis = read.axis;
    m_state.readLabels = std::move(shown);
    refreshSourcePointPane();
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "軸の自動認識"));
    emit statusMessage(tr("X 軸 %1 個、Y 軸 %2 個の目盛りラベルから校正しました。")
                           .arg(read.x.labelsUsed)
                           .arg(read.y.labelsUsed));
}

void ImageView::placeCornersOnFrame() {
    if (!m_state.imagePresent()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FrameCorners found = findFrameCorners(m_state.images.inputImage);
    QApplication::restoreOverrideCursor();
    if (!found.found) {
        emit statusMessage(tr("枠を検出できませんでした: ") + reasonText(found.reason) +
                           tr(" コーナーは変えていません。"));
        return;
    }
    // The corners are shown where they were placed: on the input picture.
    selectTool(m_state, Tool::Corners);
    const auto place = [&](DocumentRecord& r) { r.mapping.corners = found.corners; };
    const char* label = QT_TRANSLATE_NOOP("qf::Edits", "枠の自動検出");
    if (m_doc) {
        m_doc->edit(label, place);
    } else {
        DocumentRecord r = m_state.doc;
        place(r);
        showRecord(m_state, r);
    }
    changed();
    emit statusMessage(
        tr("コーナーをグラフの枠の 4 隅に置きました。「マッピング 実行」で補正します。"));
}

CommandSnapshot ImageView::snapshot() const {
    CommandSnapshot c;
    const ViewState& s = m_state;
    c.imagePresent = s.imagePresent();
    c.pointCount = s.pointCount();
    c.displaySource = s.display.displaySource;
    c.showGeneratedGraph = s.display.showGeneratedGraph != 0;
    c.generatedCount = s.generated.generatedCount;
    c.cornerMode = s.tools.tool == Tool::Corners;
    c.graphRectMode = s.tools.tool == Tool::GraphRect;
    c.addPointsMode = s.tools.tool == Tool::AddPoints;
    c.erasePointsMode = s.tools.tool == Tool::ErasePoints;
    c.extractMode = s.tools.tool == Tool::Extract;
    c.ticksMode = s.tools.tool == Tool::Ticks;
    c.extractPreview = s.extractPreview.shown();
    c.showMappingGrid = s.guide.showMappingGrid;
    c.showPixelGrid = s.showPixelGrid;
    c.showMagnifier = s.showMagnifier;
    c.greyMode = s.greyMode;
    c.cameraRunning = m_camera->runningDevices();
    c.selectedPoint = s.selectedPoint;
    c.seriesCount = int(s.doc.series.size());
    for (const Series& series : s.doc.series) c.totalPointCount += int(series.points.size());
    return c;
}

}  // namespace qf

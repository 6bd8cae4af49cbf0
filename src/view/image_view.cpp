#include "view/image_view.h"

#include "common/format.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include "common/date_axis.h"
#include "graph/graph_image_file.h"
#include "graph/renderer.h"
#include "imaging/pdf_page.h"
#include "points/calibration.h"
#include "ui/date_text.h"
#include "view/cursors.h"
#include "view/document_sync.h"
#include "view/escape_poll.h"
#include "view/paint/image_display.h"
#include "view/paint/magnifier.h"
#include "view/paint/view_paint.h"
#include "view/series_fits.h"
#include "view/view_commands.h"

namespace qf {
namespace {

IntPoint pointOf(const QPointF& p) {
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
}

}  // namespace

ImageView::ImageView(Dialogs& dialogs, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_dialogs(dialogs),
      m_labelFont(defaultLabelFont()),
      m_camera(std::make_unique<CameraController>(
          m_state, [this] { changed(); },
          [this](const std::string& text) {
              if (m_pane) m_pane->setPaneText(0, text);
          })) {
    setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &ImageView::stateChanged, this, &ImageView::updateStatusNotes);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ImageView::letPointerGo);
    m_state.guide.innerQuad = computeInnerQuad(m_state.doc.mapping.corners, 40.0 / 80, 40.0 / 60)
                                  .value_or(m_state.guide.innerQuad);
}

ImageView::~ImageView() = default;

IntSize ImageView::clientSize() const {
    return {viewport()->width(), viewport()->height()};
}

void ImageView::changed() {
    // The labels read show how the axes were set; once the axes change they
    // no longer do.
    if (m_state.readLabels && m_state.readLabels->axis != m_state.doc.axis)
        m_state.readLabels.reset();
    syncScrollBars();
    viewport()->update();
    reportPointer();
    emit stateChanged();
}

void ImageView::reportPointer() {
    const QString text =
        QString::fromStdString(pointerStatusText(m_state, m_pointer, clientSize()));
    if (text == m_pointerText) return;
    m_pointerText = text;
    emit pointerStatus(text);
}

void ImageView::syncScrollBars() {
    m_syncing = true;
    // After a failed load no picture is shown, so there is nothing to scroll,
    // whatever size the previous one had.
    const bool present = m_state.imagePresent();
    if (!present) m_state.transform.scrollPos = {0, 0};
    clampScroll(m_state.transform, clientSize());
    const IntSize limit = present ? scrollLimit(m_state.transform, clientSize()) : IntSize{};
    const IntSize page = m_state.imagePresent()
                             ? scrollSizesFor(m_state.transform.zoomShift, m_state.imageSize()).page
                             : IntSize{1, 1};
    horizontalScrollBar()->setRange(0, limit.cx);
    horizontalScrollBar()->setPageStep(std::max(page.cx, 1));
    horizontalScrollBar()->setSingleStep(m_state.transform.cellSize.cx);
    horizontalScrollBar()->setValue(m_state.transform.scrollPos.x);
    verticalScrollBar()->setRange(0, limit.cy);
    verticalScrollBar()->setPageStep(std::max(page.cy, 1));
    verticalScrollBar()->setSingleStep(m_state.transform.cellSize.cy);
    verticalScrollBar()->setValue(m_state.transform.scrollPos.y);
    m_syncing = false;
}

void ImageView::scrollContentsBy(int, int) {
    if (m_syncing) return;
    m_state.transform.scrollPos = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    viewport()->update();
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    syncScrollBars();
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    paintView(painter, m_state, clientSize(), displayColoursFrom(palette()), m_labelFont,
              &m_reducedImage);
    if (const std::optional<Loupe> loupe = loupeFor(m_state, m_pointer, clientSize()))
        paintLoupe(painter, m_state, *loupe);
}

void ImageView::updateLoupe() {
    const std::optional<Loupe> loupe = loupeFor(m_state, m_pointer, clientSize());
    const std::optional<IntRect> now =
        loupe ? std::optional<IntRect>(loupe->box) : std::optional<IntRect>();
    for (const std::optional<IntRect>& r : {m_loupeBox, now}) {
        if (r) viewport()->update(r->left - 2, r->top - 2, r->width() + 4, r->height() + 4);
    }
    m_loupeBox = now;
}

void ImageView::apply(const ToolResult& r) {
    // The tool's edit, once its gesture is over, is one step of the document.
    const Tool tool = activeTool(m_state);
    if (r.cursor != ToolCursor::Unchanged) viewport()->setCursor(toolCursor(r.cursor));
    if (r.takeFocus) setFocus();
    applyPaneOps(r.pane);
    if (r.scrolled || r.zoomed) syncScrollBars();
    if (r.repaintAll || r.scrolled || r.zoomed) {
        viewport()->update();
    } else {
        for (const IntRect& rect : r.repaintRects)
            viewport()->update(rect.left, rect.top, rect.width(), rect.height());
    }
    if (m_state.drag.leftDownPoint == IntPoint{-1, -1}) {
        switch (tool) {
            case Tool::Corners:
                commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "コーナーの移動"));
                break;
            case Tool::GraphRect:
                commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "領域の変更"));
                break;
            case Tool::AddPoints:
                commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "点の追加"));
                break;
            case Tool::ErasePoints:
                commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "点の消去"));
                break;
            case Tool::Extract:  // added to the list by its own command
            case Tool::Ticks:    // one step once the four ticks are known
            case Tool::None:
                break;
        }
    }
    reportPointer();
    emit stateChanged();
    // After the gesture's own work: the extraction may have to say why
    // nothing was found; a tick asks for its value.
    if (r.clickedAt && tool == Tool::Extract) extractCurveAt(*r.clickedAt);
    if (r.clickedAt && tool == Tool::Ticks) pickTick(*r.clickedAt);
}

void ImageView::promptNextTick() {
    const int n = int(m_state.tickPicks.size());
    emit statusMessage(n < 2 ? tr("X 軸の目盛りをクリックしてください (%1/4)。").arg(n + 1)
                             : tr("Y 軸の目盛りをクリックしてください (%1/4)。").arg(n + 1));
}

void ImageView::pickTick(IntPoint image) {
    const int n = int(m_state.tickPicks.size());
    const bool onX = n < 2;
    m_state.tickPicks.emplace_back(image, 0.0);
    viewport()->update();
    std::optional<double> value;
    while (!value) {
        const std::optional<QString> typed =
            m_dialogs.text(this, tr("目盛りで校正"),
                           onX ? tr("この X 軸の目盛りの値 (%1/4):").arg(n + 1)
                               : tr("この Y 軸の目盛りの値 (%1/4):").arg(n + 1));
        if (!typed) {
            // Cancelled: the calibration starts again from its first tick.
            m_state.tickPicks.clear();
            viewport()->update();
            emit statusMessage(
                tr("目盛りでの校正を最初からやり直します。X 軸の目盛りをクリックしてください "
                   "(1/4)。"));
            return;
        }
        // A date axis's ticks are read as dates, as its settings are.
        const bool time = onX ? m_state.doc.axis.xTime : m_state.doc.axis.yTime;
        value =
            time ? parseIsoDateTime(typed->toStdString()) : parseTickValue(typed->toStdString());
        if (time && !value) value = parseLocaleDateTime(*typed, QLocale());
        if (!value)
            m_dialogs.message(this,
                              time ? tr("日付を入力してください (2024-02-29 など)。")
                                   : tr("数値を入力してください。"),
                              MessageIcon::Warning);
    }
    m_state.tickPicks.back().second = *value;
    viewport()->update();
    if (m_state.tickPicks.size() < 4) {
        promptNextTick();
        return;
    }
    const auto& t = m_state.tickPicks;
    AxisSettings& axis = m_state.doc.axis;
    const IntRect& e = axis.axisRect;
    const TickAxis x = axisFromTicks({t[0].first.x, t[0].second}, {t[1].first.x, t[1].second},
                                     e.left, e.right, axis.xLog);
    const TickAxis y = axisFromTicks({t[2].first.y, t[2].second}, {t[3].first.y, t[3].second},
                                     e.bottom, e.top, axis.yLog);
    m_state.tickPicks.clear();
    viewport()->update();
    if (!x.ok() || !y.ok()) {
        const QString why = !x.ok() ? tr("X 軸: ") + QString::fromStdString(x.error)
                                    : tr("Y 軸: ") + QString::fromStdString(y.error);
        m_dialogs.message(this, why + tr("\n軸の値は変えていません。"), MessageIcon::Warning);
        promptNextTick();
        return;
    }
    axis.xMin = x.atLow;
    axis.xMax = x.atHigh;
    axis.yMin = y.atLow;
    axis.yMax = y.atHigh;
    refreshSourcePointPane();
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "目盛りで校正"));
    emit statusMessage(tr("目盛りから X 軸と Y 軸の値を設定しました。"));
}

void ImageView::extractCurveAt(IntPoint image) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    KeyboardEscapePoll escape;  // Escape stops a long extraction as it stops a fit
    const std::string error =
        previewExtraction(m_state, image, [&escape] { return escape.escapeRequested(); });
    QApplication::restoreOverrideCursor();
    viewport()->update();
    emit stateChanged();
    if (!error.empty()) {
        m_dialogs.message(this, QString::fromStdString(error), MessageIcon::Warning);
        return;
    }
    emit statusMessage(tr("%1 点が見つかりました。Enter キーで追加、Esc キーで取り消します。")
                           .arg(m_state.extractPreview.result.points.size()));
    m_previewNoted = true;
    if (const std::string note = extractionNote(m_state.extractPreview); !note.empty())
        m_dialogs.message(this, QString::fromStdString(note), MessageIcon::Information);
}

void ImageView::updateStatusNotes() {
    if (m_previewNoted && !m_state.extractPreview.shown()) {
        m_previewNoted = false;
        emit statusMessage(QString());
    }
    const MappingGeometry& m = m_state.doc.mapping;
    const bool slanted = m_state.imagePresent() && m.method == MappingMethod::Bilinear &&
                         !isNearParallelogram(m.corners);
    if (!slanted) {
        m_slantNoted.reset();
        return;
    }
    if (m_slantNoted == m) return;
    m_slantNoted = m;
    emit statusMessage(
        tr("四隅が平行四辺形ではありません。斜めに撮った写真は「射影変換」の方が"
           "正確にまっすぐになります。"));
}

void ImageView::addExtractedPoints() {
    const ExtractionPreview& preview = m_state.extractPreview;
    if (!preview.shown()) return;
    const int found = int(preview.result.points.size());
    const int added = confirmExtraction(m_state);
    if (m_pane) m_pane->activateOutputTab(2);
    refreshSourcePointPane();
    changed();
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "曲線の自動抽出"));
    if (added < found)
        m_dialogs.message(this,
                          tr("点の一覧が一杯のため、抽出した %1 点のうち %2 点だけを追加しました。")
                              .arg(found)
                              .arg(added),
                          MessageIcon::Warning);
}

void ImageView::leaveEvent(QEvent* event) {
    m_pointer.reset();
    reportPointer();
    updateLoupe();
    QAbstractScrollArea::leaveEvent(event);
}

void ImageView::letPointerGo(QWindow* focus) {
    // A dialog over the window takes the pointer without a leave event: the
    // loupe must not stay painted behind it, nor come back as a second one
    // where the pointer was.
    if (!m_pointer || (focus && focus == window()->windowHandle())) return;
    m_pointer.reset();
    reportPointer();
    updateLoupe();
}

void ImageView::applyPaneOps(const PaneOps& ops) {
    if (!m_pane) return;
    if (ops.refreshAll) refreshSourcePointPane();
    for (int row : ops.removedRows) {
        m_pane->deleteSourcePointRow(row);
        for (int k = row; k < m_state.pointCount(); ++k)
            m_pane->setSourcePointText(k, 0, std::to_string(k + 1));
    }
    if (ops.addedRow >= 0) {
        m_pane->activateOutputTab(2);
        m_pane->insertSourcePointRow(
            ops.addedRow,
            sourcePointTexts(ops.addedRow, m_state.doc.current().points[std::size_t(ops.addedRow)],
                             m_state.doc.axis));
        m_pane->selectSourcePointRow(ops.addedRow);
    }
    if (ops.selectRow >= 0) m_pane->selectSourcePointRow(ops.selectRow);
    if (ops.ensureVisibleRow >= 0 && m_state.pointCount() > 0)
        m_pane->ensureSourcePointVisible(std::min(ops.ensureVisibleRow, m_state.pointCount() - 1));
    if (ops.refreshAll || !ops.removedRows.empty() || ops.addedRow >= 0) showResiduals();
}

void ImageView::refreshSourcePointPane() {
    if (!m_pane) return;
    m_pane->resetSourcePointColumns();
    for (int i = 0; i < m_state.pointCount(); ++i)
        m_pane->insertSourcePointRow(
            i, sourcePointTexts(i, m_state.doc.current().points[std::size_t(i)], m_state.doc.axis));
    if (m_state.pointCount() > 0) m_pane->ensureSourcePointVisible(m_state.pointCount() - 1);
    showResiduals();
    viewport()->update();
}

void ImageView::showResiduals() {
    if (!m_pane) return;
    const int count = m_state.pointCount();
    const std::vector<SourcePoint>& points = m_state.doc.current().points;
    const FitDetails& d = m_state.fitDetails;
    const bool current = detailsMatch(d, points, m_state.doc.axis);
    for (int i = 0; i < count; ++i)
        m_pane->setSourcePointText(i, 5, current ? formatG(d.residuals[std::size_t(i)]) : "");
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    const IntPoint p = pointOf(event->position());
    if (event->button() == Qt::LeftButton) apply(leftButtonDown(m_state, p, clientSize()));
    if (event->button() == Qt::RightButton) apply(rightButtonDown(m_state, p, clientSize()));
    // The right button drags the picture; only a click of it alone is the menu.
    if (event->button() == Qt::RightButton && event->buttons() == Qt::RightButton)
        m_menuPress = event->position().toPoint();
    else
        m_menuPress.reset();
    m_pointer = p;
    updateLoupe();
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    const MouseButtons held{(event->buttons() & Qt::LeftButton) != 0,
                            (event->buttons() & Qt::RightButton) != 0};
    m_pointer = pointOf(event->position());
    apply(mouseMove(m_state, *m_pointer, held, clientSize()));
    updateLoupe();
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    const IntPoint p = pointOf(event->position());
    if (event->button() == Qt::LeftButton) apply(leftButtonUp(m_state, p, clientSize()));
    if (event->button() == Qt::RightButton) apply(rightButtonUp(m_state, p, clientSize()));
    updateLoupe();
    if (event->button() == Qt::RightButton && m_menuPress &&
        (event->position().toPoint() - *m_menuPress).manhattanLength() <
            QApplication::startDragDistance())
        emit contextMenuRequested(event->globalPosition().toPoint());
    m_menuPress.reset();
}

void ImageView::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's own comes with the press, before it is known to be no drag.
    if (event->reason() != QContextMenuEvent::Mouse) emit contextMenuRequested(event->globalPos());
    event->accept();
}

void ImageView::keyPressEvent(QKeyEvent* event) {
    // The extraction's preview: Enter adds it, Escape drops it.
    if (m_state.extractPreview.shown()) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            addExtractedPoints();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            m_state.extractPreview = {};
            viewport()->update();
            emit stateChanged();
            event->accept();
            return;
        }
    }
    int dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    // Shift: ten pixels at a time.
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    const ToolResult r = nudge(m_state, dx * step, dy * step);
    if (!r.repaintAll) {
        // Nothing to move: the keys scroll, as in any scrolled view.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // Each press is a step of its own, named before the tool's commit could
    // name it after the tool.
    commitEdit(QT_TRANSLATE_NOOP("qf::Edits", "キーでの移動"));
    apply(r);
    event->accept();
}

void ImageView::wheelEvent(QWheelEvent* event) {
    apply(wheelZoom(m_state, pointOf(event->position()), event->angleDelta().y(), clientSize()));
    event->accept();
}

void ImageView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ImageView::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) return;
    event->acceptProposedAction();
    // Only the first of several files.
    emit fileDropped(urls.constFirst().toLocalFile());
}

void ImageView::showOpenedPicture(cv::Mat picture, const QString& path, const QString& title,
                                  const std::string& warning, const char* step) {
    m_camera->stopAll();  // a picture from a file replaces the live one
    installPicture(m_state, std::move(picture), path.toStdString());
    // The step is handed over first: the zoom's own would be named after the tool.
    commitEdit(step);
    // The whole picture in sight, as "fit to window" shows it.
    apply(zoomToFit(m_state, clientSize()));
    if (m_pane && !warning.empty()) m_pane->setPaneText(0, warning);
    emit titleChanged(title);
    changed();
    window()->raise();
    window()->activateWindow();
}

void ImageView::showFitResults() {
    refreshGeneratedGraphPane();
    showResiduals();
    changed();
}

QImage ImageView::generatedGraphImage() {
    resetZoomToOrigin(m_state);
    const QImage canvas = renderGeneratedGraphImage(graphSceneOf(m_state, m_labelFont));
    changed();
    return canvas;
}

void ImageView::refreshGeneratedGraphPane() {
    if (m_pane)
        m_pane->fillGeneratedGraph(m_state.generated, m_state.doc.current().fit.graphPointCount);
}

void ImageView::clearResults() {
    m_state.fitResult = FitResult{};
    m_state.generated = GeneratedGraph{};
    m_state.seriesFits.clear();
    m_state.display.showGeneratedGraph = 0;
    if (m_pane) {
        m_pane->setPaneText(1, std::string());
        refreshGeneratedGraphPane();
    }
    changed();
}

void ImageView::showOpenedWork() {
    if (!m_state.imagePresent()) return;
    if (m_state.doc.applied || !m_state.doc.current().points.empty())
        selectTool(m_state,
                   m_state.doc.current().points.empty() ? Tool::GraphRect : Tool::AddPoints);
    apply(zoomToFit(m_state, clientSize()));
    changed();
}

void ImageView::setDocument(Document* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!m_doc) return;
    connect(m_doc, &Document::changed, this, &ImageView::onDocumentChanged);
    if (m_state.doc != m_doc->record()) adoptRecord(m_doc->record());
}

void ImageView::commitEdit(const char* label) {
    if (!m_doc || m_adopting) return;
    m_doc->commit(m_state.doc, label);
}

void ImageView::onDocumentChanged(Document::Change) {
    // The view's own edits are already shown.
    if (m_state.doc == m_doc->record()) {
        emit stateChanged();
        return;
    }
    adoptRecord(m_doc->record());
}

void ImageView::adoptRecord(const DocumentRecord& r) {
    m_adopting = true;
    const PictureWork work = pictureWorkFor(m_state, r);
    const DocumentRecord before = m_state.doc;
    if (work.read) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        PictureRead read = readPictureOrPdfPage(r.image, r.page, r.dpi);
        QApplication::restoreOverrideCursor();
        if (read.ok()) {
            m_camera->stopAll();
            installPicture(m_state, std::move(read.picture), r.image);
            apply(zoomToFit(m_state, clientSize()));
            if (m_pane && !read.warning.empty()) m_pane->setPaneText(0, read.warning);
            emit titleChanged(QString::fromStdString(read.title));
        } else {
            // The record stays the document's; the picture it names is
            // missing, so the view shows the one it has.
            m_dialogs.message(this, QString::fromStdString(read.message), MessageIcon::Stop);
        }
    }
    showRecord(m_state, r);
    rebuildWorkingPicture(m_state, r, work);
    if (work.remap && m_state.imagePresent()) {
        // A mapped picture is worked on in the graph-rectangle tool, as after
        // running the mapping.
        if (m_state.tools.tool == Tool::Corners) selectTool(m_state, Tool::GraphRect);
    }
    // An extraction's preview is made again with changed settings, and
    // dropped when the area it was found in moved.
    std::string extractError;
    const bool previewed = m_state.extractPreview.shown();
    if (previewed && extractionArea(before) != extractionArea(r))
        m_state.extractPreview = {};
    else if (previewed && before.current().extraction != r.current().extraction)
        extractError = redoExtraction(m_state);
    // What only the next fit reads (model, degree, formulas, count) is not
    // drawn: no repaint, no new lists.
    // The method and sampling change the guide and the grid drawn over the input.
    // Another active series brings its own points, list and fit.
    const bool switched = before.active != r.active || before.series.size() != r.series.size();
    if (switched) {
        m_state.selectedPoint = -1;
        showActiveSeriesFit(m_state);
        if (m_pane)
            m_pane->setPaneText(
                1, m_state.generated.generatedCount > 0 ? activeFitReport(m_state) : std::string());
    }
    // What is drawn of the series: their colours and points (not their
    // settings, which wait for the next extraction or fit).
    const bool seriesDrawn =
        std::equal(before.series.begin(), before.series.end(), r.series.begin(), r.series.end(),
                   [](const Series& a, const Series& b) {
                       return a.colour == b.colour && a.points == b.points;
                   });
    const bool visible = work.any() || switched || before.mapping != r.mapping ||
                         before.axis != r.axis || !seriesDrawn ||
                         before.current().points != r.current().points || before.graph != r.graph ||
                         previewed != m_state.extractPreview.shown() ||
                         (previewed && before.current().extraction != r.current().extraction);
    m_adopting = false;
    if (visible) {
        // The points' values follow the axes; the generated points are listed
        // again as they are (the next fit recomputes them).
        refreshSourcePointPane();
        refreshGeneratedGraphPane();
        changed();
    } else {
        emit stateChanged();
    }
    if (!extractError.empty())
        m_dialogs.message(this, QString::fromStdString(extractError), MessageIcon::Warning);
}

}  // namespace qf

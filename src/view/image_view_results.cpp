// The view's fit command and the commands that write its results.

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cstring>

#include "common/cp932.h"
#include "common/result_set.h"
#include "fit/report.h"
#include "graph/graph_image_file.h"
#include "points/source_point_file.h"
#include "view/escape_poll.h"
#include "view/paint/view_paint.h"
#include "view/view_commands.h"
#include "view/image_view.h"

#include <memory>

namespace qf {
namespace {

const FileDialogSpec kSaveCsv{
    QString(),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "CSV(*.csv);;TEXT(*.txt);;ALL(*)")),
    QStringLiteral("csv")};
const FileDialogSpec kSaveGraphImage{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "Save Image File")),
    QString::fromUtf8(QT_TRANSLATE_NOOP(
        "qf::FileDialogs", "BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)")),
    QStringLiteral("bmp")};

}  // namespace

void ImageView::runFitUi() {
    FitCommandResult r;
    {
        KeyboardEscapePoll poll;
        ScopedEscapePoll installed(poll);
        // The solver's work area (a quarter of a megabyte) is made for the first fit.
        if (!m_fitWork) m_fitWork = std::make_unique<SvdFitWork>();
        r = runFitCommand(m_state, *m_fitWork);
    }
    for (const FitEvent& e : r.outcome.events) {
        if (e.kind == FitEventKind::SetOutputText) {
            if (m_pane) m_pane->setPaneText(0, e.text);
        } else {
            m_dialogs.message(this, QString::fromStdString(e.text), MessageIcon::None);
        }
    }
    if (m_pane) {
        m_pane->setPaneText(1, r.report);
        m_pane->activateOutputTab(r.activeTab);
    }
    refreshGeneratedGraphPane();
    showResiduals();
    changed();
}

void ImageView::refreshGeneratedGraphPane() {
    if (m_pane) m_pane->fillGeneratedGraph(m_state.generated, m_state.fit.graphPointCount);
}

void ImageView::saveSourcePoints() {
    if (m_state.points.pointCount <= 0) return;
    // The values are those of the moment the command was chosen.
    saveTextFile(sourcePointFileText(m_state.points, m_state.axis));
}

void ImageView::saveGeneratedPoints() {
    if (!m_state.imagePresent() || m_state.generated.generatedCount <= 0) return;
    saveTextFile(
        generatedGraphFileText(m_state.fitResult, m_state.generated, m_state.fit.basisExpr));
}

void ImageView::saveTextFile(const std::string& utf8) {
    // Converted before the dialog: text the code page cannot hold is refused
    // before the user picks a file, and nothing is written.
    const Cp932Text converted = toCp932(utf8);
    if (!converted.ok) {
        m_dialogs.message(this, QString::fromStdString(converted.error), MessageIcon::Stop);
        return;
    }
    const QString path = m_dialogs.saveFile(this, kSaveCsv);
    if (path.isEmpty()) return;
    const std::string file = path.toStdString();
    // A result set a killed batch run left here is completed first, so that
    // completing it later cannot replace this file.
    if (const std::string e = recoverResultSetBeside(file); !e.empty()) {
        m_dialogs.message(this, QString::fromStdString(e), MessageIcon::Stop);
        return;
    }
    const FileWriteResult written = writeBytesToFile(file, converted.bytes);
    if (!written.ok) {
        const std::string reason = std::strerror(written.errorNumber);
        m_dialogs.message(
            this, QString::fromStdString(fileWriteFailureText(file, written.errorNumber, reason)),
            MessageIcon::Stop);
    }
}

void ImageView::saveGeneratedGraphImage() {
    if (!m_state.imagePresent()) return;
    // The view stays at 1:1 from the origin, whether or not a file is written.
    resetZoomToOrigin(m_state);
    const QImage canvas = renderGeneratedGraphImage(graphSceneOf(m_state, m_labelFont));
    changed();
    const QString path = m_dialogs.saveFile(this, kSaveGraphImage);
    if (path.isEmpty()) return;
    // A result set a killed batch run left here is completed first, so that
    // completing it later cannot replace this file.
    if (const std::string e = recoverResultSetBeside(path.toStdString()); !e.empty()) {
        m_dialogs.message(this, QString::fromStdString(e), MessageIcon::Stop);
        return;
    }
    const GraphImageSaveResult r = writeGraphImage(canvas, path.toStdString());
    if (!r.saved) m_dialogs.message(this, QString::fromStdString(r.message), MessageIcon::None);
}

void ImageView::choosePixelGridColour() {
    const std::optional<uint32_t> chosen = m_dialogs.colour(this, m_state.pixelGridColour);
    if (!chosen) return;
    m_state.pixelGridColour = *chosen;
    changed();
}

void ImageView::printView() {
    if (!m_state.imagePresent()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(window()->windowTitle());
    if (!m_dialogs.choosePrinter(this, printer)) return;
    // What the view shows, overlays and generated graph included, as large
    // as the page allows; magnified pixels stay sharp.
    const QImage shown = viewport()->grab().toImage();
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_dialogs.message(this, tr("印刷できませんでした。"), MessageIcon::Warning);
        return;
    }
    const QRect page = painter.viewport();
    const QSize fitted = shown.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), fitted.width(), fitted.height());
    painter.setWindow(shown.rect());
    painter.drawImage(0, 0, shown);
    painter.end();
}

}  // namespace qf

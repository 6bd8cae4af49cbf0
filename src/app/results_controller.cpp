#include "app/results_controller.h"

#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "app/main_window.h"
#include "app/output_pane.h"
#include "common/cp932.h"
#include "common/csv_file.h"
#include "common/result_set.h"
#include "fit/readable_results.h"
#include "fit/report.h"
#include "graph/graph_image_file.h"
#include "imaging/image_file.h"
#include "points/source_point_file.h"
#include "project/fit_json.h"
#include "project/series_output.h"
#include "ui/dialogs.h"
#include "view/escape_poll.h"
#include "view/image_view.h"
#include "view/save_path.h"
#include "view/series_fits.h"
#include "view/view_commands.h"

namespace qf {
namespace {

const FileDialogRequest kSaveImage{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "Save Image File")),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs",
                                        "BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;"
                                        "All Files (*)")),
    QStringLiteral("bmp")};
const FileDialogRequest kSaveJson{
    QString(),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "JSON (*.json);;All Files (*)")),
    QStringLiteral("json")};
// The second entry writes the same text as UTF-8 (see common/csv_file.h).
const FileDialogRequest kSaveCsv{
    QString(),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs",
                                        "CSV(*.csv);;CSV (UTF-8)(*.csv);;TEXT(*.txt);;ALL(*)")),
    QStringLiteral("csv")};
constexpr int kUtf8CsvEntry = 1;
const FileDialogRequest kOpenCsv{
    QString(),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "CSV(*.csv);;TEXT(*.txt);;ALL(*)")),
    QStringLiteral("csv")};
const QString kCsvEncodingKey = QStringLiteral("Workspace/CsvEncoding");

}  // namespace

FileDialogRequest ResultsController::proposing(const FileDialogRequest& dialog,
                                               SavedFile what) const {
    FileDialogRequest request = dialog;
    const Document* doc = m_view.document();
    QString picture = QString::fromStdString(m_view.state().doc.image);
    if (m_isPasted && m_isPasted(picture)) picture.clear();
    request.proposedName = proposedSaveName(doc ? doc->projectPath() : QString(), picture, what);
    return request;
}

ResultsController::ResultsController(MainWindow& frame, ImageView& view, Dialogs& dialogs)
    : QObject(&frame), m_view(view), m_pane(*frame.outputPane()), m_dialogs(dialogs) {
    frame.setCommandHandler(ID_FIT_RUN, [this] { runFit(); });
    frame.setCommandHandler(ID_FILE_SAVE, [this] { saveDisplayedImage(); });
    frame.setCommandHandler(ID_FILE_SAVE_AS, [this] { saveDisplayedImage(); });
    frame.setCommandHandler(ID_SAVE_SOURCE_POINTS, [this] { saveSourcePoints(); });
    frame.setCommandHandler(ID_SAVE_GENERATED_POINTS, [this] { saveGeneratedPoints(); });
    frame.setCommandHandler(ID_SAVE_GENERATED_IMAGE, [this] { saveGeneratedGraphImage(); });
    frame.setCommandHandler(ID_FILE_PRINT, [this] { printView(); });
    frame.setCommandHandler(ID_SAVE_FIT_JSON, [this] { saveFitJson(); });
    frame.setCommandHandler(ID_LOAD_SOURCE_POINTS, [this] { loadSourcePoints(); });
    frame.setCommandHandler(ID_FIT_ALL_SERIES, [this] { runFitAll(); });
    frame.setCommandHandler(ID_SAVE_ALL_SERIES_CSV, [this] { saveAllSeriesCsv(); });
}

ResultsController::~ResultsController() = default;

void ResultsController::runFit() {
    ViewState& s = m_view.state();
    FitCommandResult r;
    {
        KeyboardEscapePoll poll;
        ScopedEscapePoll installed(poll);
        // The solver's work area (a quarter of a megabyte) is made for the first fit.
        if (!m_fitWork) m_fitWork = std::make_unique<SvdFitWork>();
        r = runFitCommand(s, *m_fitWork);
    }
    for (const FitEvent& e : r.outcome.events) {
        if (e.kind == FitEventKind::SetOutputText)
            m_pane.setPaneText(0, e.text);
        else
            m_dialogs.message(&m_view, QString::fromStdString(e.text), MessageIcon::None);
    }
    m_pane.setPaneText(1, r.report);
    if (r.outcome.status == FitOk)
        m_pane.setFormulaForms(formulaFormsOf(s.fitResult, s.fitDetails));
    m_pane.activateOutputTab(r.activeTab);
    m_view.showFitResults();
}

void ResultsController::runFitAll() {
    ViewState& s = m_view.state();
    if (!m_fitWork) m_fitWork = std::make_unique<SvdFitWork>();
    std::string output;
    QStringList messages;
    int fitted = 0;
    bool activeFitted = false;
    {
        KeyboardEscapePoll poll;
        ScopedEscapePoll installed(poll);
        for (int i = 0; i < int(s.doc.series.size()); ++i) {
            if (s.doc.series[std::size_t(i)].points.empty()) continue;
            const FitCommandResult r = runSeriesFit(s, i, *m_fitWork);
            const std::string name = seriesDisplayName(s.doc, i);
            // Each series' words on the page "出力" and in one message box,
            // under its name.
            for (const FitEvent& e : r.outcome.events) {
                if (e.text.empty()) continue;
                if (e.kind == FitEventKind::SetOutputText)
                    output += name + ": " + e.text + "\r\n";
                else
                    messages << QString::fromStdString(name + ": " + e.text);
            }
            if (r.outcome.status == FitOk) {
                ++fitted;
                activeFitted = activeFitted || i == s.doc.active;
            }
        }
    }
    // A series without points or that did not fit shows no curve of its own.
    if (!activeFitted) showActiveSeriesFit(s);
    s.display.showGeneratedGraph = 1;
    refreshDisplay(s);
    m_pane.setPaneText(0, output);
    m_pane.setPaneText(1, activeFitted ? activeFitReport(s) : std::string());
    if (activeFitted) m_pane.activateOutputTab(1);
    m_view.showFitResults();
    if (!messages.isEmpty())
        m_dialogs.message(&m_view, messages.join(QLatin1Char('\n')), MessageIcon::None);
    if (auto* frame = qobject_cast<QMainWindow*>(m_view.window()))
        frame->statusBar()->showMessage(tr("%1 個の系列をフィットしました。").arg(fitted), 8000);
}

void ResultsController::fitOnOpen() {
    ViewState& s = m_view.state();
    if (!s.imagePresent()) return;
    if (!m_fitWork) m_fitWork = std::make_unique<SvdFitWork>();
    const Tool tool = s.tools.tool;
    // Every series' fit is made again, the active one's last so that it is
    // the one shown.
    bool any = false;
    for (int i = 0; i < int(s.doc.series.size()); ++i) {
        if (i == s.doc.active || s.doc.series[std::size_t(i)].points.empty()) continue;
        any = runSeriesFit(s, i, *m_fitWork).outcome.status == FitOk || any;
    }
    FitCommandResult r;
    if (!s.doc.current().points.empty()) r = runFitCommand(s, *m_fitWork);
    s.tools.tool = tool;  // the work goes on with the tool it was opened in
    if (r.outcome.status != FitOk) {
        if (!any) {
            m_view.clearResults();
            return;
        }
        showActiveSeriesFit(s);
        s.display.showGeneratedGraph = 1;
        refreshDisplay(s);
        m_pane.setPaneText(1, std::string());
        m_view.showFitResults();
        return;
    }
    // The page "出力" keeps what it says: only the fit's own page is made again.
    m_pane.setPaneText(1, r.report);
    m_pane.setFormulaForms(formulaFormsOf(s.fitResult, s.fitDetails));
    m_pane.activateOutputTab(r.activeTab);
    m_view.showFitResults();
}

bool ResultsController::completeResultSetBeside(const QString& path) {
    const std::string e = recoverResultSetBeside(path.toStdString());
    if (!e.empty()) m_dialogs.message(&m_view, QString::fromStdString(e), MessageIcon::Stop);
    return e.empty();
}

void ResultsController::saveDisplayedImage() {
    const ViewState& s = m_view.state();
    if (!s.imagePresent()) return;
    const QString path = m_dialogs.saveFile(&m_view, proposing(kSaveImage, SavedFile::Picture));
    if (path.isEmpty() || !completeResultSetBeside(path)) return;
    const ImageWriteResult r = writeImageFile(path.toStdString(), *s.current());
    if (!r.ok) m_dialogs.message(&m_view, QString::fromStdString(r.error), MessageIcon::Warning);
}

void ResultsController::saveSourcePoints() {
    const ViewState& s = m_view.state();
    if (s.pointCount() <= 0) return;
    // The values are those of the moment the command was chosen.
    saveTextFile(sourcePointFileText(s.doc.current().points, s.doc.axis), SavedFile::SourcePoints);
}

void ResultsController::loadSourcePoints() {
    const ViewState& s = m_view.state();
    Document* doc = m_view.document();
    if (!s.imagePresent() || !doc) return;
    const QString path = m_dialogs.openFile(&m_view, kOpenCsv);
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.message(&m_view, path + QStringLiteral(": ") + file.errorString(),
                          MessageIcon::Stop);
        return;
    }
    // A point file is a few kilobytes; anything far larger is no point file.
    const QByteArray bytes = file.read(4 << 20);
    SourcePointFileRead read =
        readSourcePointText(std::string_view(bytes.constData(), size_t(bytes.size())));
    const IntSize size = s.imageSize();
    for (std::size_t i = 0; read.ok() && i < read.points.size(); ++i) {
        const SourcePoint p = read.points[i];
        if (p.h < 0 || p.v < 0 || p.h >= size.cx || p.v >= size.cy)
            read.error = tr("点 %1 (H %2, V %3) は画像 (%4 × %5) の外にあります。")
                             .arg(i + 1)
                             .arg(p.h)
                             .arg(p.v)
                             .arg(size.cx)
                             .arg(size.cy)
                             .toStdString();
    }
    if (!read.ok()) {
        m_dialogs.message(&m_view,
                          tr("フィッティング元座標データを読み込めませんでした。\n%1\n%2")
                              .arg(path, QString::fromStdString(read.error)),
                          MessageIcon::Stop);
        return;
    }
    // The file's points replace the list, as one step that undo takes back.
    doc->edit(QT_TRANSLATE_NOOP("qf::Edits", "元座標データを読み込む"),
              [&read](DocumentRecord& r) { r.current().points = read.points; });
}

void ResultsController::saveGeneratedPoints() {
    const ViewState& s = m_view.state();
    if (!s.imagePresent() || s.generated.generatedCount <= 0) return;
    saveTextFile(generatedGraphFileText(s.fitResult, s.generated, s.doc.current().fit.basisExpr),
                 SavedFile::GeneratedPoints);
}

void ResultsController::saveAllSeriesCsv() {
    const ViewState& s = m_view.state();
    // The batch mode's series.csv of the same series, in the window's CSV code.
    std::vector<SeriesValues> values;
    bool any = false;
    for (std::size_t i = 0; i < s.doc.series.size(); ++i) {
        const Series& x = s.doc.series[i];
        values.push_back(seriesValuesOf(seriesLabel(x, i), x.points, s.doc.axis));
        any = any || !x.points.empty();
    }
    if (any) saveTextFile(seriesLongCsvText(values), SavedFile::SeriesPoints);
}

void ResultsController::saveFitJson() {
    const ViewState& s = m_view.state();
    if (!s.imagePresent() || s.generated.generatedCount <= 0) return;
    // The batch mode's fit.json of the same fit, in the same UTF-8.
    saveBytes(fitJsonText(s.fitResult, s.fitDetails, s.doc.current().fit),
              proposing(kSaveJson, SavedFile::FitJson));
}

void ResultsController::saveTextFile(const std::string& utf8, SavedFile what) {
    // The form chosen last is offered first; the described one until then.
    FileDialogRequest request = proposing(kSaveCsv, what);
    const bool utf8Last =
        openWorkspaceStore()->value(kCsvEncodingKey).toString() == QLatin1String("utf8");
    request.filterIndex = utf8Last ? kUtf8CsvEntry : 0;
    const SaveAnswer answer = m_dialogs.saveFileAnswer(&m_view, request);
    if (answer.path.isEmpty()) return;
    const bool asUtf8 = answer.filterIndex == kUtf8CsvEntry;
    openWorkspaceStore()->setValue(kCsvEncodingKey,
                                   asUtf8 ? QStringLiteral("utf8") : QStringLiteral("cp932"));
    // Text the code page cannot hold is refused as a whole: nothing is written.
    const CsvBytes bytes = csvFileBytes(utf8, asUtf8 ? CsvEncoding::Utf8 : CsvEncoding::Cp932);
    if (!bytes.ok) {
        m_dialogs.message(&m_view,
                          QString::fromStdString(bytes.error) +
                              tr("\nCSV (UTF-8) で保存すれば、すべての文字を書けます。"),
                          MessageIcon::Stop);
        return;
    }
    writeChosen(bytes.bytes, answer.path);
}

void ResultsController::saveBytes(const std::string& bytes, const FileDialogRequest& request) {
    writeChosen(bytes, m_dialogs.saveFile(&m_view, request));
}

void ResultsController::writeChosen(const std::string& bytes, const QString& path) {
    if (path.isEmpty() || !completeResultSetBeside(path)) return;
    const std::string file = path.toStdString();
    const FileWriteResult written = writeBytesToFile(file, bytes);
    if (!written.ok) {
        const std::string reason = std::strerror(written.errorNumber);
        m_dialogs.message(
            &m_view,
            QString::fromStdString(fileWriteFailureText(file, written.errorNumber, reason)),
            MessageIcon::Stop);
    }
}

void ResultsController::saveGeneratedGraphImage() {
    if (!m_view.state().imagePresent()) return;
    // The view stays at 1:1 from the origin, whether or not a file is written.
    const QImage canvas = m_view.generatedGraphImage();
    const QString path = m_dialogs.saveFile(&m_view, proposing(kSaveImage, SavedFile::GraphImage));
    if (path.isEmpty() || !completeResultSetBeside(path)) return;
    const GraphImageSaveResult r = writeGraphImage(canvas, path.toStdString());
    if (!r.saved) m_dialogs.message(&m_view, QString::fromStdString(r.message), MessageIcon::None);
}

void ResultsController::printView() {
    if (!m_view.state().imagePresent()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_view.window()->windowTitle());
    if (!m_dialogs.choosePrinter(&m_view, printer)) return;
    // What the view shows, overlays and generated graph included, as large
    // as the page allows; magnified pixels stay sharp.
    const QImage shown = m_view.viewport()->grab().toImage();
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_dialogs.message(&m_view, tr("印刷できませんでした。"), MessageIcon::Warning);
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

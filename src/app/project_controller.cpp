#include "app/project_controller.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "app/clipboard_picture.h"
#include "app/main_window.h"
#include "common/cp932.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_file.h"
#include "imaging/pdf_page.h"
#include "project/project_file.h"
#include "settings/settings_pane.h"
#include "ui/dialogs.h"
#include "view/document_sync.h"
#include "view/image_view.h"
#include "view/save_path.h"
#include "view/series_fits.h"

namespace qf {
namespace {

const QString kRecentKey = QStringLiteral("Workspace/RecentProjects");

const FileDialogRequest kOpenProject{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "プロジェクトを開く")),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs",
                                        "Quillfen プロジェクト (*.quillfen.json);;"
                                        "JSON (*.json);;All Files (*)")),
    QString()};
const FileDialogRequest kSaveProject{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "プロジェクトを保存")),
    QString::fromUtf8(
        QT_TRANSLATE_NOOP("qf::FileDialogs", "Quillfen プロジェクト (*.quillfen.json)")),
    QStringLiteral("quillfen.json")};
const FileDialogRequest kSavePastedPicture{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "貼り付けた画像を保存")),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "PNG (*.png)")), QStringLiteral("png")};
const FileDialogRequest kOpenImage{
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs", "Open Image File")),
    QString::fromUtf8(QT_TRANSLATE_NOOP("qf::FileDialogs",
                                        "Image Files (*.bmp *.jpg *.png *.tif *.pdf);;BMP (*.bmp);;"
                                        "JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;PDF (*.pdf)")),
    QString()};

QString withProjectSuffix(QString path) {
    if (path.endsWith(QStringLiteral(".quillfen.json"))) return path;
    if (path.endsWith(QStringLiteral(".json"))) path.chop(5);
    return path + QStringLiteral(".quillfen.json");
}

bool isProjectFileName(const QString& path) {
    return path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
}

// The page of a PDF that the picture about to be shown is: the view's edit
// that opens it then names it, in the same undoable step.
void showPage(ImageView& view, std::optional<int> page, int dpi) {
    DocumentRecord& shown = view.state().doc;
    shown.page = page;
    shown.dpi = page ? dpi : kDefaultPdfDpi;
}

}  // namespace

ProjectController::ProjectController(MainWindow& frame, ImageView& view, SettingsPane& pane,
                                     Dialogs& dialogs)
    : QObject(&frame), m_frame(frame), m_view(view), m_dialogs(dialogs) {
    m_doc.reset(newDocumentRecord());
    m_view.setDocument(&m_doc);
    pane.setDocument(&m_doc);

    frame.setCommandHandler(ID_FILE_NEW, [this] { newProject(); });
    frame.setCommandHandler(ID_FILE_OPEN, [this] {
        const QString path = m_dialogs.openFile(&m_frame, kOpenImage);
        if (!path.isEmpty()) openPicture(path);
    });
    frame.setCommandHandler(ID_PROJECT_OPEN, [this] {
        if (!confirmDiscard()) return;
        const QString path = m_dialogs.openFile(&m_frame, kOpenProject);
        if (!path.isEmpty()) openProject(path);
    });
    frame.setCommandHandler(ID_PROJECT_SAVE, [this] { save(); });
    frame.setCommandHandler(ID_PROJECT_SAVE_AS, [this] { saveAs(); });
    frame.setCommandHandler(ID_EDIT_UNDO, [this] { m_doc.undo(); });
    frame.setCommandHandler(ID_EDIT_REDO, [this] { m_doc.redo(); });
    frame.setCommandHandler(ID_EDIT_PASTE, [this] { pastePicture(); });
    for (int k = 0; k < kRecentLimit; ++k) {
        frame.setCommandHandler(ID_FILE_MRU_FIRST + k, [this, k] {
            const QStringList recent = recentProjects();
            if (k >= recent.size() || !confirmDiscard()) return;
            openProject(recent[k]);
        });
    }
    frame.setSnapshotFiller([this](CommandSnapshot& s) {
        s.canUndo = m_doc.history().canUndo();
        s.canRedo = m_doc.history().canRedo();
        s.recentProjects = static_cast<int>(recentProjects().size());
    });
    frame.setCloseGuard([this] { return confirmDiscard(); });

    connect(&m_doc, &Document::changed, this, [this] {
        updateTitle();
        updateUndoTexts();
        m_frame.refreshCommands();
    });
    connect(&m_doc, &Document::modifiedChanged, this, [this] { updateTitle(); });
    connect(&m_view, &ImageView::titleChanged, this, [this](const QString& title) {
        m_pictureTitle = title;
        updateTitle();
    });
    connect(&m_view, &ImageView::fileDropped, this,
            [this](const QString& path) { openPath(path); });
    refreshRecentMenu();
    updateTitle();
    updateUndoTexts();
}

QString ProjectController::documentName() const {
    // The project's name when there is one, else the picture's, else "無題".
    if (m_doc.projectPath().isEmpty() && isPasted(QString::fromStdString(m_doc.record().image)))
        return tr("貼り付けた画像");
    if (m_doc.projectPath().isEmpty() && !m_doc.record().image.empty())
        return m_pictureTitle.isEmpty()
                   ? QFileInfo(QString::fromStdString(m_doc.record().image)).fileName()
                   : m_pictureTitle;
    return m_doc.displayName();
}

void ProjectController::updateTitle() {
    // "[*]" is where Qt marks unsaved changes.
    const bool named = !m_doc.projectPath().isEmpty() || !m_doc.record().image.empty();
    m_frame.setWindowTitle(named ? documentName() + QStringLiteral("[*] - Quillfen")
                                 : QStringLiteral("Quillfen[*]"));
    m_frame.setWindowModified(m_doc.isModified());
}

void ProjectController::updateUndoTexts() {
    const DocumentHistory& h = m_doc.history();
    const auto name = [this](int id, const std::string& step, const QString& text,
                             const QString& tip) {
        QAction* a = m_frame.action(id);
        const CommandInfo* c = findCommand(id);
        if (!a || !c) return;
        if (step.empty()) {
            a->setText(QCoreApplication::translate("qf::Commands", c->menuText));
            a->setToolTip(QCoreApplication::translate("qf::Commands", c->toolTip));
            return;
        }
        const QString shown = QCoreApplication::translate("qf::Edits", step.c_str());
        a->setText(text.arg(shown));
        a->setToolTip(tip.arg(shown));
    };
    name(ID_EDIT_UNDO, h.undoLabel(), tr("元に戻す: %1(&U)"), tr("元に戻す: %1"));
    name(ID_EDIT_REDO, h.redoLabel(), tr("やり直し: %1(&R)"), tr("やり直し: %1"));
}

bool ProjectController::confirmDiscard() {
    if (!m_doc.isModified()) return true;
    // Saving writes a project, never the picture: the question names the
    // project, untitled or as it would be saved.
    const QString proposed =
        proposedSaveName(m_doc.projectPath(), namingPicture(), SavedFile::Project);
    const QString text =
        tr("%1 への変更を保存しますか?")
            .arg(m_doc.projectPath().isEmpty() && !proposed.isEmpty() ? proposed
                                                                      : m_doc.displayName());
    const int choice = m_dialogs.choose(
        &m_frame, text, {tr("保存(&S)"), tr("保存しない(&N)"), tr("キャンセル")}, 0, 2);
    if (choice == 0) return save();
    return choice == 1;
}

void ProjectController::startDocument(DocumentRecord record, const QString& projectPath) {
    m_view.clearResults();
    m_doc.reset(std::move(record), projectPath);
}

void ProjectController::newProject() {
    if (!confirmDiscard()) return;
    m_pictureTitle.clear();
    startDocument(newDocumentRecord(), QString());
}

bool ProjectController::openPath(const QString& path) {
    if (isProjectFileName(path)) {
        if (!confirmDiscard()) return false;
        return openProject(path);
    }
    return openPicture(path);
}

bool ProjectController::openProject(const QString& path) {
    const ProjectReadResult read = readProjectFile(path.toStdString());
    if (!read.ok) {
        m_dialogs.message(
            &m_frame, tr("プロジェクトを開けませんでした。\n") + QString::fromStdString(read.error),
            MessageIcon::Stop);
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!showProject(read, path, absolute)) return false;
    addRecent(absolute);
    return true;
}

bool ProjectController::restoreRecovery(const QString& file) {
    const ProjectReadResult read = readProjectFile(file.toStdString());
    if (!read.ok) {
        m_dialogs.message(&m_frame,
                          tr("作業を復元できませんでした。\n") + QString::fromStdString(read.error),
                          MessageIcon::Stop);
        return false;
    }
    if (!showProject(read, file, QString::fromStdString(read.recoveryOf))) return false;
    // No file holds this record: it is unsaved work of the project it came from.
    m_doc.markModified();
    return true;
}

bool ProjectController::showProject(const ProjectReadResult& read, const QString& file,
                                    const QString& projectPath) {
    DocumentRecord record = read.project;
    if (record.image.empty()) {
        // Work begun before any picture was opened (settings only).
        startDocument(std::move(record), projectPath);
        return true;
    }
    record.image = projectImagePath(record, file.toStdString());
    // A PDF that names no page is shown (and saved) as its first.
    if (!record.page && isPdfFile(record.image)) record.page = 1;
    // The picture is read before anything changes: a project whose picture
    // is missing leaves the current work as it was.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PictureRead picture = readPictureOrPdfPage(record.image, record.page, record.dpi);
    QApplication::restoreOverrideCursor();
    if (!picture.ok()) {
        m_dialogs.message(
            &m_frame,
            tr("プロジェクト %1 の画像を開けませんでした。\n")
                    .arg(QFileInfo(projectPath.isEmpty() ? file : projectPath).fileName()) +
                QString::fromStdString(picture.message),
            MessageIcon::Stop);
        return false;
    }
    placeMissingGeometry(record, read.given, picture.picture.cols, picture.picture.rows);
    showPage(m_view, record.page, record.dpi);
    m_view.showOpenedPicture(std::move(picture.picture), QString::fromStdString(record.image),
                             QString::fromStdString(picture.title), picture.warning);
    const bool seeded = std::any_of(record.series.begin(), record.series.end(),
                                    [](const Series& x) { return x.extractSeed.has_value(); });
    startDocument(std::move(record), projectPath);
    if (seeded) extractOnOpen(projectPath);
    m_view.showOpenedWork();
    emit projectShown();
    return true;
}

void ProjectController::extractOnOpen(const QString& projectPath) {
    // As the batch mode does: the curve through each series' seed, found on
    // the working picture the project shows, goes before its listed points.
    DocumentRecord record = m_doc.record();
    const ViewState& s = m_view.state();
    QStringList errors;
    for (std::size_t i = 0; i < record.series.size(); ++i) {
        Series& series = record.series[i];
        if (!series.extractSeed) continue;
        const IntPoint seed = *series.extractSeed;
        series.extractSeed.reset();
        const std::string error =
            extractBeforeListed(s.imagePresent() ? *s.current() : cv::Mat(), extractionArea(record),
                                seed, series.extraction, series.points);
        // The list holds what the view can show.
        if (series.points.size() > std::size_t(kMaxSourcePoints))
            series.points.resize(kMaxSourcePoints);
        if (!error.empty())
            errors << (record.series.size() > 1
                           ? QString::fromStdString(seriesDisplayName(record, int(i)) + ": " +
                                                    error)
                           : QString::fromStdString(error));
    }
    if (!errors.isEmpty())
        m_dialogs.message(
            &m_frame,
            tr("プロジェクトの曲線を自動抽出できませんでした。\n") + errors.join(QLatin1Char('\n')),
            MessageIcon::Warning);
    // What the file asks for, carried out: the opened state of the project.
    m_doc.reset(std::move(record), projectPath);
}

bool ProjectController::openPicture(const QString& path) {
    // A PDF opens as one of its pages, at the resolution the user chooses.
    std::optional<PdfPageChoice> pdf;
    if (isPdfFile(path.toStdString())) {
        PdfPageChoice initial;
        const DocumentRecord& now = m_doc.record();
        if (now.page && QFileInfo(QString::fromStdString(now.image)) == QFileInfo(path))
            initial = {*now.page, now.dpi};  // the same paper: start at the page shown
        pdf = m_dialogs.pdfPage(&m_frame, path, initial);
        if (!pdf) return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PictureRead read = pdf ? readPdfPage(path.toStdString(), pdf->page, pdf->dpi)
                           : readPicture(path.toStdString());
    QApplication::restoreOverrideCursor();
    const std::optional<int> page = pdf ? std::optional<int>(pdf->page) : std::nullopt;
    const int dpi = pdf ? pdf->dpi : kDefaultPdfDpi;
    if (!read.ok()) {
        m_dialogs.message(&m_frame, QString::fromStdString(read.message), MessageIcon::Stop);
        return false;
    }
    return showPicture(std::move(read), QFileInfo(path).absoluteFilePath(), page, dpi);
}

bool ProjectController::showPicture(PictureRead read, const QString& absolute,
                                    std::optional<int> page, int dpi) {
    const QString title = QString::fromStdString(read.title);
    const bool pasted = isPasted(absolute);
    if (!m_doc.record().current().points.empty()) {
        const int choice = m_dialogs.choose(
            &m_frame,
            tr("%1 個の点があります。新しい画像でも点を残しますか?\n"
               "(同じグラフを撮り直した場合は「点を残す」を選びます)")
                .arg(m_doc.record().current().points.size()),
            {tr("点を残す(&K)"), tr("新しいプロジェクト(&N)"), tr("キャンセル")}, 0, 2);
        if (choice == 2) return false;
        if (choice == 1) {
            if (!confirmDiscard()) return false;
            m_view.clearResults();
            showPage(m_view, page, dpi);
            m_view.showOpenedPicture(std::move(read.picture), absolute, title, read.warning);
            DocumentRecord fresh = newDocumentRecord();
            const DocumentRecord shown = m_view.state().doc;
            fresh.image = shown.image;
            fresh.page = shown.page;
            fresh.dpi = shown.dpi;
            fresh.mapping.corners = shown.mapping.corners;
            fresh.mapping.graphRect = shown.mapping.graphRect;
            fresh.axis.axisRect = shown.axis.axisRect;
            startDocument(std::move(fresh), QString());
            if (pasted) m_doc.markModified();
            return true;
        }
    }
    // The same document with another picture: one undoable step. Into an
    // untouched untitled document it is where the work starts: nothing to
    // undo, nothing unsaved yet.
    const bool fresh = !m_doc.isModified() && m_doc.projectPath().isEmpty();
    m_view.clearResults();
    showPage(m_view, page, dpi);
    m_view.showOpenedPicture(std::move(read.picture), absolute, title, read.warning,
                             pasted ? QT_TRANSLATE_NOOP("qf::Edits", "画像の貼り付け")
                                    : QT_TRANSLATE_NOOP("qf::Edits", "画像を開く"));
    if (fresh) m_doc.reset(m_doc.record());
    // A pasted picture exists nowhere else: work to save (and to recover).
    if (pasted) m_doc.markModified();
    return true;
}

PasteStore& ProjectController::pasteStore() {
    if (m_pasteStore) return *m_pasteStore;
    if (!m_ownPasteStore) m_ownPasteStore = std::make_unique<TemporaryPasteStore>();
    return *m_ownPasteStore;
}

bool ProjectController::isPasted(const QString& path) const {
    if (path.isEmpty()) return false;
    return m_pasteStore ? m_pasteStore->holds(path)
                        : m_ownPasteStore && m_ownPasteStore->holds(path);
}

QString ProjectController::namingPicture() const {
    const QString image = QString::fromStdString(m_doc.record().image);
    return isPasted(image) ? QString() : image;
}

bool ProjectController::pastePicture() {
    const ClipboardPicture clip = pictureOnClipboard(QApplication::clipboard()->mimeData());
    if (!clip.path.isEmpty()) return openPicture(clip.path);
    if (clip.image.isNull()) {
        m_dialogs.message(&m_frame, tr("クリップボードに画像も画像ファイルもありません。"),
                          MessageIcon::Information);
        return false;
    }
    // The same limit as for a file, before any copy of the pixels is made.
    const int64_t limit = maxPicturePixels();
    if (int64_t(clip.image.width()) * clip.image.height() > limit) {
        m_dialogs.message(&m_frame,
                          tr("貼り付けた画像を開けませんでした。\n") +
                              QString::fromStdString(pictureTooLargeReason(
                                  clip.image.width(), clip.image.height(), limit)),
                          MessageIcon::Stop);
        return false;
    }
    PictureRead read;
    read.picture = bgrPictureOf(clip.image);
    read.title = tr("貼り付けた画像").toStdString();
    // Kept as a file at once: undo, the recovery copy and the saved project
    // read the picture from there.
    const PasteStore::Kept kept = pasteStore().keep(read.picture);
    if (kept.path.isEmpty()) {
        m_dialogs.message(&m_frame, tr("貼り付けた画像を保存できませんでした。\n") + kept.error,
                          MessageIcon::Stop);
        return false;
    }
    if (!kept.note.isEmpty()) read.warning = kept.note.toStdString();
    if (showPicture(std::move(read), kept.path, std::nullopt, kDefaultPdfDpi)) return true;
    QFile::remove(kept.path);  // cancelled: nothing names it
    return false;
}

bool ProjectController::save() {
    if (m_doc.projectPath().isEmpty()) return saveAs();
    return saveTo(m_doc.projectPath());
}

bool ProjectController::saveAs() {
    FileDialogRequest request = kSaveProject;
    request.proposedName =
        proposedSaveName(m_doc.projectPath(), namingPicture(), SavedFile::Project);
    const QString chosen = m_dialogs.saveFile(&m_frame, request);
    if (chosen.isEmpty()) return false;
    return saveTo(withProjectSuffix(chosen), true);
}

bool ProjectController::saveTo(const QString& path, bool askPicture) {
    if (m_doc.record().image.empty()) {
        m_dialogs.message(&m_frame, tr("画像がないため、プロジェクトを保存できません。"),
                          MessageIcon::Warning);
        return false;
    }
    const std::string file = QFileInfo(path).absoluteFilePath().toStdString();
    DocumentRecord stored = m_doc.record();
    if (const QString pasted = QString::fromStdString(stored.image); isPasted(pasted)) {
        // The project names a picture file of the user's, beside it, so that
        // it opens and replays anywhere.
        const QString png = savedPastedPicture(pasted, QString::fromStdString(file), askPicture);
        if (png.isEmpty()) return false;
        stored.image = png.toStdString();
    }
    stored.image = imageEntryFor(stored.image, file);
    if (const std::string error = writeProjectFile(file, stored); !error.empty()) {
        m_dialogs.message(
            &m_frame, tr("プロジェクトを保存できませんでした。\n") + QString::fromStdString(error),
            MessageIcon::Stop);
        return false;
    }
    m_doc.markSaved(QString::fromStdString(file));
    addRecent(QString::fromStdString(file));
    updateTitle();
    return true;
}

QString ProjectController::savedPastedPicture(const QString& pasted, const QString& projectFile,
                                              bool ask) {
    const QString before = m_savedPastes.value(pasted);
    if (!ask && !before.isEmpty() && QFileInfo::exists(before)) return before;
    FileDialogRequest request = kSavePastedPicture;
    request.directory = QFileInfo(projectFile).absolutePath();
    QString stem = QFileInfo(projectFile).fileName();
    for (const char* suffix : {".quillfen.json", ".json"})
        if (stem.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            stem.chop(qsizetype(qstrlen(suffix)));
            break;
        }
    request.proposedName = stem + QStringLiteral("-picture.png");
    const QString chosen = m_dialogs.saveFile(&m_frame, request);
    if (chosen.isEmpty()) return {};
    const QString png = QFileInfo(chosen).absoluteFilePath();
    if (png != QFileInfo(pasted).absoluteFilePath()) {
        QFile kept(pasted);
        const bool read = kept.open(QIODevice::ReadOnly);
        const QByteArray bytes = read ? kept.readAll() : QByteArray();
        const FileWriteResult written =
            read ? writeBytesToFile(png.toStdString(),
                                    std::string_view(bytes.constData(), size_t(bytes.size())))
                 : FileWriteResult{
                       false, (pasted + QStringLiteral(": ") + kept.errorString()).toStdString()};
        if (!written.ok) {
            m_dialogs.message(&m_frame,
                              tr("貼り付けた画像を保存できませんでした。\n") +
                                  QString::fromStdString(written.error),
                              MessageIcon::Stop);
            return {};
        }
    }
    m_savedPastes.insert(pasted, png);
    return png;
}

QStringList ProjectController::recentProjects() const {
    return openWorkspaceStore()->value(kRecentKey).toStringList().mid(0, kRecentLimit);
}

void ProjectController::addRecent(const QString& path) {
    QStringList list = recentProjects();
    list.removeAll(path);
    list.prepend(path);
    openWorkspaceStore()->setValue(kRecentKey, list.mid(0, kRecentLimit));
    refreshRecentMenu();
}

void ProjectController::refreshRecentMenu() {
    const QStringList list = recentProjects();
    for (int k = 0; k < kRecentLimit; ++k) {
        QAction* a = m_frame.action(ID_FILE_MRU_FIRST + k);
        if (!a) continue;
        const bool used = k < list.size();
        a->setVisible(used || k == 0);
        a->setText(used ? QStringLiteral("&%1 %2").arg(k + 1).arg(QDir::toNativeSeparators(list[k]))
                        : tr("(なし)"));
    }
    m_frame.refreshCommands();
}

}  // namespace qf

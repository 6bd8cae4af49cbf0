#include "view/qt_dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <algorithm>
#include <memory>
#include <vector>

#include "view/capture_dialog.h"
#include "view/pdf_page_dialog.h"
#include "view/save_path.h"

namespace qf {
namespace {

const QString kLastFolderKey = QStringLiteral("Workspace/LastFileFolder");

std::unique_ptr<QSettings> workspaceStore() {
    return std::make_unique<QSettings>(QStringLiteral("Obrin-Quillfen-Vantor"),
                                       QStringLiteral("Quillfen"));
}

bool execDialog(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool askBeforeReplacing(QWidget* parent, const QString& path) {
    // Qt's own question, in its own translation, as the dialog asks it.
    const QString text = QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                             .arg(QFileInfo(path).fileName());
    return QMessageBox::warning(parent, QStringLiteral("Quillfen"), text,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void rememberFileFolder(const QString& chosenPath) {
    workspaceStore()->setValue(kLastFolderKey, QFileInfo(chosenPath).absolutePath());
}

}  // namespace

QString lastFileFolder() {
    const QString folder = workspaceStore()->value(kLastFolderKey).toString();
    // A folder removed since then leaves the dialog to its own start.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

QtDialogs::QtDialogs() : m_seam{execDialog, askBeforeReplacing} {}

SaveAnswer QtDialogs::runFileDialog(QWidget* parent, const FileDialogRequest& asked,
                                    QFileDialog::AcceptMode mode) {
    // The callers keep their titles and filters as source texts; they are
    // put into the user's language here, where the dialog shows them, and
    // the chosen filter is matched against the translated list.
    FileDialogRequest request = asked;
    const auto inLanguage = [](const QString& text) {
        return text.isEmpty()
                   ? text
                   : QCoreApplication::translate("qf::FileDialogs", text.toUtf8().constData());
    };
    request.title = inLanguage(asked.title);
    request.filter = inLanguage(asked.filter);
    const bool save = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(parent, request.title,
                       request.directory.isEmpty() ? lastFileFolder() : request.directory,
                       request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A saved name is completed below from the filter chosen; the dialog's
    // own default would add one fixed extension whatever the filter.
    dialog.setDefaultSuffix(save ? QString() : request.defaultSuffix);
    const QStringList entries = request.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (save && request.filterIndex >= 0 && request.filterIndex < entries.size()) {
        dialog.selectNameFilter(entries[request.filterIndex]);
        if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    } else if (save && !request.proposedName.isEmpty()) {
        // The type offered is the proposed name's, whatever the list's order.
        const auto names = [&request](const QString& suffix) {
            return request.proposedName.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive);
        };
        for (const QString& entry : entries) {
            const QStringList suffixes = filterSuffixes(entry);
            if (std::any_of(suffixes.begin(), suffixes.end(), names)) {
                dialog.selectNameFilter(entry);
                break;
            }
        }
        dialog.selectFile(request.proposedName);
    }
    for (;;) {
        if (!m_seam.run(dialog) || dialog.selectedFiles().isEmpty()) return {};
        const QString typed = dialog.selectedFiles().constFirst();
        QString path = typed;
        if (save) {
            path = savePathFor(typed, dialog.selectedNameFilter(), request.filter,
                               request.defaultSuffix);
            // The dialog asked about the name as typed; the completed name
            // is asked about here, and a "no" goes back to the dialog.
            if (path != typed && QFileInfo::exists(path) && !m_seam.confirmReplace(parent, path))
                continue;
        }
        rememberFileFolder(path);
        return {path, int(entries.indexOf(dialog.selectedNameFilter()))};
    }
}

QString QtDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen).path;
}

QString QtDialogs::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave).path;
}

SaveAnswer QtDialogs::saveFileAnswer(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtDialogs::message(QWidget* parent, const QString& text, MessageIcon icon) {
    const QMessageBox::Icon qicon = icon == MessageIcon::Stop          ? QMessageBox::Critical
                                    : icon == MessageIcon::Warning     ? QMessageBox::Warning
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::NoIcon;
    QMessageBox box(qicon, QStringLiteral("Quillfen"), text, QMessageBox::Ok, parent);
    box.exec();
}

int QtDialogs::choose(QWidget* parent, const QString& text, const QStringList& buttons,
                      int defaultButton, int escapeButton) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillfen"), text, QMessageBox::NoButton,
                    parent);
    std::vector<QPushButton*> pushed;
    for (const QString& b : buttons) pushed.push_back(box.addButton(b, QMessageBox::ActionRole));
    if (defaultButton >= 0 && defaultButton < buttons.size())
        box.setDefaultButton(pushed[defaultButton]);
    if (escapeButton >= 0 && escapeButton < buttons.size())
        box.setEscapeButton(pushed[escapeButton]);
    box.exec();
    for (int i = 0; i < static_cast<int>(pushed.size()); ++i)
        if (box.clickedButton() == pushed[i]) return i;
    return escapeButton;
}

std::optional<uint32_t> QtDialogs::colour(QWidget* parent, uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<uint32_t>(chosen.red()) | static_cast<uint32_t>(chosen.green()) << 8 |
           static_cast<uint32_t>(chosen.blue()) << 16;
}

std::optional<QFont> QtDialogs::font(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return chosen;
}

std::optional<PdfPageChoice> QtDialogs::pdfPage(QWidget* parent, const QString& path,
                                                const PdfPageChoice& initial) {
    return choosePdfPage(parent, path, initial);
}

std::optional<CaptureSettings> QtDialogs::captureParameters(QWidget* parent,
                                                            const CaptureSettings& initial) {
    CaptureDialog dialog(
        initial,
        [this](QWidget* owner, const QString& text) { message(owner, text, MessageIcon::Warning); },
        parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

std::optional<QString> QtDialogs::text(QWidget* parent, const QString& title,
                                       const QString& label) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return answer;
}

bool QtDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace qf

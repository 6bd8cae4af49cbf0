#include "view/qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <vector>

#include "view/capture_dialog.h"

namespace qf {
namespace {

QString runFileDialog(QWidget* parent, const FileDialogSpec& request,
                      QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDialogs::openFile(QWidget* parent, const FileDialogSpec& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(QWidget* parent, const FileDialogSpec& request) {
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

std::optional<CaptureSettings> QtDialogs::captureParameters(QWidget* parent,
                                                            const CaptureSettings& initial) {
    CDialogExCaptureParameters dialog(
        initial,
        [this](QWidget* owner, const QString& text) { message(owner, text, MessageIcon::Warning); },
        parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

bool QtDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace qf

#pragma once
// The desktop's own dialogs behind the dialogs interface.

#include <QFileDialog>
#include <functional>

#include "ui/dialogs.h"

namespace qf {

// The folder a file was last opened from or saved to, kept in the settings
// store (group "Workspace") for the next dialog, in this run and the next.
QString lastFileFolder();

// The real dialogs of the desktop.
class QtDialogs final : public Dialogs {
public:
    // How a file dialog is shown and answered, and how a name completed
    // after it is confirmed before it replaces a file. Tests answer both
    // without showing anything.
    struct FileDialogSeam {
        // true when accepted; the answer is read from the dialog.
        std::function<bool(QFileDialog&)> run;
        // true to write over `path`.
        std::function<bool(QWidget* parent, const QString& path)> confirmReplace;
    };
    QtDialogs();
    explicit QtDialogs(FileDialogSeam seam) : m_seam(std::move(seam)) {}

    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    SaveAnswer saveFileAnswer(QWidget* parent, const FileDialogRequest& request) override;
    void message(QWidget* parent, const QString& text, MessageIcon icon) override;
    int choose(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
               int escapeButton) override;
    std::optional<uint32_t> colour(QWidget* parent, uint32_t initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    std::optional<CaptureSettings> captureParameters(QWidget* parent,
                                                     const CaptureSettings& initial) override;
    std::optional<QString> text(QWidget* parent, const QString& title,
                                const QString& label) override;
    std::optional<PdfPageChoice> pdfPage(QWidget* parent, const QString& path,
                                         const PdfPageChoice& initial) override;

private:
    SaveAnswer runFileDialog(QWidget* parent, const FileDialogRequest& request,
                             QFileDialog::AcceptMode mode);

    FileDialogSeam m_seam;
};

}  // namespace qf

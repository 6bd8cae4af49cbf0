#pragma once
// The desktop's own dialogs behind the dialogs interface.

#include "ui/dialogs.h"

namespace qf {

// The real dialogs of the desktop.
class QtDialogs final : public Dialogs {
public:
    QString openFile(QWidget* parent, const FileDialogSpec& request) override;
    QString saveFile(QWidget* parent, const FileDialogSpec& request) override;
    void message(QWidget* parent, const QString& text, MessageIcon icon) override;
    int choose(QWidget* parent, const QString& text, const QStringList& buttons,
               int defaultButton, int escapeButton) override;
    std::optional<uint32_t> colour(QWidget* parent, uint32_t initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    std::optional<CaptureSettings> captureParameters(QWidget* parent,
                                                     const CaptureSettings& initial) override;
};

}  // namespace qf

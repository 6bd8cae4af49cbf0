#pragma once
// Every dialog the window opens goes through this interface, so that tests
// can answer them without a user.

#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "common/capture_settings.h"
#include "common/pdf_resolution.h"

class QPrinter;
class QWidget;

namespace qf {

struct FileDialogRequest {
    QString title;          // empty: the platform's own
    QString filter;         // Qt form: "PNG (*.png);;All Files (*)"
    QString defaultSuffix;  // added to a name typed without one
    QString directory{};    // where the dialog starts; empty: the folder used last
    // A save dialog's name to start with; the type offered is the one it names.
    QString proposedName{};
    // The entry of the filter list a save dialog starts at, from 0; -1: the
    // one the proposed name's extension picks. For entries that share an
    // extension and differ in what is written (CSV and CSV (UTF-8)).
    int filterIndex = -1;
};

// A save dialog's answer with the filter entry it was given under.
struct SaveAnswer {
    QString path;  // empty when cancelled
    int filterIndex = -1;
};

enum class MessageIcon { None, Stop, Warning, Information };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen path, or empty when cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Asks before overwriting an existing file.
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // saveFile, also saying which entry of the filter list was chosen.
    virtual SaveAnswer saveFileAnswer(QWidget* parent, const FileDialogRequest& request) {
        return {saveFile(parent, request), request.filterIndex};
    }
    virtual void message(QWidget* parent, const QString& text, MessageIcon icon) = 0;
    // A question with its own buttons: the index of the one chosen; closing
    // the box chooses escapeButton.
    virtual int choose(QWidget* /*parent*/, const QString& /*text*/, const QStringList& /*buttons*/,
                       int /*defaultButton*/, int escapeButton) {
        return escapeButton;
    }
    // 0x00BBGGRR, or nothing when cancelled.
    virtual std::optional<uint32_t> colour(QWidget* parent, uint32_t initial) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    // The capture-parameter dialog; nothing when cancelled.
    virtual std::optional<CaptureSettings> captureParameters(QWidget* /*parent*/,
                                                             const CaptureSettings& /*initial*/) {
        return std::nullopt;
    }
    // A line of text typed in answer to label; nothing when cancelled.
    virtual std::optional<QString> text(QWidget* /*parent*/, const QString& /*title*/,
                                        const QString& /*label*/) {
        return std::nullopt;
    }
    // The page of the PDF at path to open and its resolution; nothing when
    // cancelled.
    virtual std::optional<PdfPageChoice> pdfPage(QWidget* /*parent*/, const QString& /*path*/,
                                                 const PdfPageChoice& /*initial*/) {
        return std::nullopt;
    }
    // The print dialog, which sets up the printer; false when cancelled.
    virtual bool choosePrinter(QWidget* /*parent*/, QPrinter& /*printer*/) { return false; }
};

}  // namespace qf

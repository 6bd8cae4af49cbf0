#pragma once
// Choosing the page of a PDF to open, and the resolution to render it at:
// the pages as thumbnails (rendered one after another while the dialog is
// open, so that a long paper shows at once), the resolution, and the size
// the page will have at it, against the picture limit.

#include <QDialog>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "imaging/pdf_page.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace qf {

// Asks which page of the PDF at path (and at which resolution) to open;
// nothing when the user cancels. A PDF that cannot be opened is not shown:
// the answer is `initial`, and readPdfPage then says why in the words of
// every other refused picture.
std::optional<PdfPageChoice> choosePdfPage(QWidget* parent, const QString& path,
                                           PdfPageChoice initial = {});

class PdfPageDialog : public QDialog {
    Q_OBJECT
public:
    PdfPageDialog(const QString& path, PdfPageChoice initial, QWidget* parent = nullptr);
    ~PdfPageDialog() override;

    // Whether the PDF was opened (when not, there is nothing to choose).
    bool documentOpened() const { return m_document->ok(); }
    PdfPageChoice choice() const;

    QListWidget* pageList() const { return m_pages; }
    QSpinBox* dpiBox() const { return m_dpi; }
    QLabel* sizeLabel() const { return m_size; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    // Pages whose thumbnail is drawn, from the first.
    int thumbnailsDrawn() const { return m_nextThumbnail - 1; }

private:
    void drawNextThumbnail();
    void showSize();

    std::unique_ptr<PdfDocument> m_document;
    QListWidget* m_pages = nullptr;
    QSpinBox* m_dpi = nullptr;
    QLabel* m_size = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QTimer m_thumbnailTimer;
    int m_nextThumbnail = 1;
};

}  // namespace qf

#pragma once
// Pages of PDF files as pictures: a chart in a paper is opened as its page,
// rendered at a resolution the user chooses, and is then a picture like any
// other (the same size limit, the same kind of refusal). Poppler renders the
// pages in a module loaded at the first PDF (see imaging/module_loader.h).
//
// Pages are numbered from 1, as the user counts them.

#include <memory>
#include <opencv2/core.hpp>
#include <string>

#include <optional>

#include "common/pdf_resolution.h"
#include "imaging/image_pair.h"

namespace qf {

// Whether the file says it is a PDF ("%PDF-" in its first 1024 bytes, where
// readers look for it), whatever its name: how an open path tells a PDF
// from a picture.
bool isPdfFile(const std::string& path);

// Width and height in points (1/72 inch) of a page as it is shown.
struct PdfPageSize {
    double width = 0;
    double height = 0;
};

// The picture size of a page of that size rendered at dpi.
cv::Size pdfPixelSize(PdfPageSize size, double dpi);

// The highest dpi (at most kMaxPdfDpi) at which the page stays within
// maxPixels; below kMinPdfDpi when not even that does.
int largestPdfDpi(PdfPageSize size, int64_t maxPixels);

// A PDF opened once for several pages (the page dialog's thumbnails).
class PdfDocument {
public:
    explicit PdfDocument(const std::string& path);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    bool ok() const { return m_message.empty(); }
    // Why it was not opened, in the words readPdfPage uses (file, then reason).
    const std::string& message() const { return m_message; }
    int pageCount() const { return m_pageCount; }
    // {0, 0} for a page that is not there or whose size cannot be read.
    PdfPageSize pageSize(int page) const;
    // The page rendered to fit a square of maxSide pixels; empty on failure.
    cv::Mat thumbnail(int page, int maxSide) const;
    // The page at dpi, within the process's picture limit (maxPicturePixels).
    PictureRead read(int page, int dpi) const;

private:
    std::string m_path;
    std::string m_message;
    int m_pageCount = 0;
    const void* m_module = nullptr;
    void* m_document = nullptr;
};

// The number of pages, or 0 with the reason in `message`.
struct PdfPageCount {
    int pages = 0;
    std::string message;
    bool ok() const { return message.empty(); }
};
PdfPageCount pdfPageCount(const std::string& path);

// Page `page` of the PDF at `dpi`, as readPicture reads a picture: the
// picture (8-bit BGR, white paper), the title, or the message naming the file
// and why it was refused (not a PDF, damaged, locked by a password, no such
// page, a resolution out of range, too large at that resolution).
PictureRead readPdfPage(const std::string& path, int page, int dpi = kDefaultPdfDpi);

// A document's picture: the file at path, or when it is a PDF its page (the
// first when none is named) at dpi.
PictureRead readPictureOrPdfPage(const std::string& path, std::optional<int> page,
                                 int dpi = kDefaultPdfDpi);

}  // namespace qf

// PDF pages through Poppler's Qt interface, loaded only when a PDF is opened:
// Poppler and the libraries it maps (fonts, colour management, NSS) cost a
// start that never opens a PDF nothing.

#include <poppler-qt6.h>

#include <QImage>
#include <QString>
#include <QVariant>
#include <exception>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "imaging/pdf_module_abi.h"

namespace {

// Poppler's complaints about the file would reach standard error through
// qDebug; the program says itself what failed.
void quiet(const QString&, const QVariant&) {}

Poppler::Document* documentOf(void* document) {
    return static_cast<Poppler::Document*>(document);
}

void* openDocument(const char* path, int* status) {
    *status = kPdfDamaged;
    try {
        std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(QString::fromUtf8(path));
        if (!doc) return nullptr;
        if (doc->isLocked()) {
            *status = kPdfLocked;
            return nullptr;
        }
        // A file Poppler reconstructed and found no page in is as damaged as
        // one it could not read.
        if (doc->numPages() <= 0) return nullptr;
        // A chart's lines and labels look as a viewer shows them.
        doc->setRenderHint(Poppler::Document::Antialiasing);
        doc->setRenderHint(Poppler::Document::TextAntialiasing);
        *status = kPdfOpened;
        return doc.release();
    } catch (const std::exception&) {
        return nullptr;
    }
}

void closeDocument(void* document) {
    delete documentOf(document);
}

int pageCount(void* document) {
    return documentOf(document)->numPages();
}

int pageSize(void* document, int index, double* width, double* height) {
    try {
        const std::unique_ptr<Poppler::Page> page = documentOf(document)->page(index);
        if (!page) return 0;
        const QSizeF size = page->pageSizeF();
        *width = size.width();
        *height = size.height();
        return size.width() > 0 && size.height() > 0 ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

int renderPage(void* document, int index, double dpi, cv::Mat* out) {
    try {
        const std::unique_ptr<Poppler::Page> page = documentOf(document)->page(index);
        if (!page) return 0;
        QImage image = page->renderToImage(dpi, dpi);
        if (image.isNull()) return 0;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        // 32-bit pixels are B, G, R, A in memory: converted in one pass,
        // without a second copy of a page that may be 100 megapixels.
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
            image.format() != QImage::Format_ARGB32_Premultiplied)
            image = image.convertToFormat(QImage::Format_RGB32);
        const cv::Mat bgra(image.height(), image.width(), CV_8UC4,
                           const_cast<uchar*>(image.constBits()),
                           std::size_t(image.bytesPerLine()));
        cv::cvtColor(bgra, *out, cv::COLOR_BGRA2BGR);
#else
        image = image.convertToFormat(QImage::Format_BGR888);
        cv::Mat(image.height(), image.width(), CV_8UC3, const_cast<uchar*>(image.constBits()),
                std::size_t(image.bytesPerLine()))
            .copyTo(*out);
#endif
        return 1;
    } catch (const std::exception&) {
        return 0;  // cv::Exception included: memory for the page not there
    }
}

const QfPdfModule kModule{openDocument, closeDocument, pageCount, pageSize, renderPage};

}  // namespace

extern "C" __attribute__((visibility("default"))) const void* quillfen_pdf_module(int version) {
    Poppler::setDebugErrorFunction(quiet, QVariant());
    return version == kPdfModuleVersion ? &kModule : nullptr;
}

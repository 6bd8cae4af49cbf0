#include "app/clipboard_picture.h"

#include <QDir>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace qf {
namespace {

// A file named in text: a file:// URL or an absolute path, on the first line.
QString fileNamedIn(const QString& text) {
    const QString line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (line.isEmpty()) return {};
    if (line.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(line);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    return QDir::isAbsolutePath(line) ? QDir::cleanPath(line) : QString();
}

}  // namespace

ClipboardPicture pictureOnClipboard(const QMimeData* mime) {
    ClipboardPicture p;
    if (!mime) return p;
    // A copied file first: the project can then name the file itself.
    if (mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile()) {
                p.path = url.toLocalFile();
                return p;
            }
    if (mime->hasImage()) {
        p.image = qvariant_cast<QImage>(mime->imageData());
        if (!p.image.isNull()) return p;
    }
    if (mime->hasText()) p.path = fileNamedIn(mime->text());
    return p;
}

cv::Mat bgrPictureOf(const QImage& image) {
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    {
        // One picture pixel per pixel, whatever screen it was copied from.
        QImage source = image;
        source.setDevicePixelRatio(1.0);
        QPainter painter(&flat);
        painter.drawImage(0, 0, source);
    }
    flat = flat.convertToFormat(QImage::Format_BGR888);
    cv::Mat wrapped(flat.height(), flat.width(), CV_8UC3, flat.bits(), size_t(flat.bytesPerLine()));
    return wrapped.clone();
}

}  // namespace qf

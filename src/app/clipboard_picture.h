#pragma once
// What the clipboard holds that can be opened as a picture: a file named on
// it (a file manager's copied file, a file:// URL or a path as text), else
// image data (a screenshot, a browser's copied image).

#include <QImage>
#include <QString>
#include <opencv2/core.hpp>

class QMimeData;

namespace qf {

struct ClipboardPicture {
    QString path;  // a local file, opened as "open picture" opens it
    QImage image;  // else the pixels themselves
    bool empty() const { return path.isEmpty() && image.isNull(); }
};

ClipboardPicture pictureOnClipboard(const QMimeData* mime);

// The image as the program's pictures are: 8-bit BGR, anything transparent
// on white paper (a chart copied from a web page often has no background).
cv::Mat bgrPictureOf(const QImage& image);

}  // namespace qf

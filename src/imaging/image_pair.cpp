#include "imaging/image_pair.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/translate.h"
#include "imaging/image_file.h"
#include "imaging/mapping.h"
#include "imaging/processing.h"

namespace qf {

const cv::Mat& outputImage(const ImagePair& images) {
    settleOutput(images);
    return images.outputImage;
}

void settleOutput(const ImagePair& images) {
    const PendingOutput pending = images.pendingOutput;
    if (pending == PendingOutput::None) return;
    images.pendingOutput = PendingOutput::None;
    images.outputImage = pending == PendingOutput::Grey ? greyRendering(images.inputImage)
                                                        : images.inputImage.clone();
}

const cv::Mat* currentImage(const ImagePair& images, CurrentImage current) {
    switch (current) {
        case CurrentImage::Input:
            return &images.inputImage;
        case CurrentImage::Output:
            return &outputImage(images);
        case CurrentImage::None:
            break;
    }
    return nullptr;
}

bool imagePresent(const ImagePair& images, CurrentImage current) {
    // A pending output will have the input's size: no need to build it to know.
    if (current == CurrentImage::Output && images.pendingOutput != PendingOutput::None)
        return !images.inputImage.empty();
    const cv::Mat* image = currentImage(images, current);
    return image != nullptr && !image->empty();
}

cv::Size currentImageSize(const ImagePair& images, CurrentImage current) {
    if (!imagePresent(images, current)) return {};
    const cv::Mat& image =
        current == CurrentImage::Output && images.pendingOutput != PendingOutput::None
            ? images.inputImage
            : *currentImage(images, current);
    return image.size();
}

void selectCurrentImage(DisplaySource& display) {
    display.currentImage = display.displaySource == 2 ? CurrentImage::Output : CurrentImage::Input;
}

std::string imageTitleName(const std::string& path, bool read) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (read) return name;
    const std::size_t dot = name.find_last_of('.');
    return "untitled" + (dot == std::string::npos ? std::string() : name.substr(dot));
}

void installLoadedImage(cv::Mat picture, ImagePair& images, MappingGeometry& mapping,
                        IntRect& axisRect, DisplaySource& display, int& zoomShift, bool greyMode) {
    images.inputImage = std::move(picture);
    zoomShift = 0;
    // Until the refresh the picture just read is the current image, so the
    // grey conversion's guard lets it run.
    display.currentImage = CurrentImage::Input;
    convertGrey(images, display.currentImage, greyMode);
    display.displaySource = 1;
    selectCurrentImage(display);
    resetMappingForImage(images.inputImage.cols, images.inputImage.rows, mapping, axisRect);
}

LoadResult loadImageFile(const std::string& path, ImagePair& images, MappingGeometry& mapping,
                         IntRect& axisRect, DisplaySource& display, int& zoomShift, bool greyMode) {
    PictureFileRead read = readPictureFile(path, maxPicturePixels());
    if (read.image.empty()) {
        display.currentImage = CurrentImage::None;
        // Why, when known: its size over the limit, or another refusal.
        const std::string message = translate("qf::Messages", kUnableToOpenFile) + read.reason;
        return {false, imageTitleName(path, false), message, {}};
    }
    installLoadedImage(std::move(read.image), images, mapping, axisRect, display, zoomShift,
                       greyMode);
    return {true, imageTitleName(path, true), {}, read.warning};
}

// Why a picture could not be read, in the user's words. A file that is not a
// regular file (a FIFO, a device) is refused before it is opened: reading it
// could block for ever.
std::string fileUnreadableReason(const std::string& path, bool decoded) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        switch (errno) {
            case ENOENT:
                return translate("qf::Messages", "ファイルが見つかりません。");
            case EACCES:
                return translate("qf::Messages", "ファイルを読み取る権限がありません。");
            default:
                return std::strerror(errno);
        }
    }
    if (S_ISDIR(st.st_mode))
        return translate("qf::Messages", "フォルダーです。画像ファイルを選んでください。");
    if (!S_ISREG(st.st_mode)) return translate("qf::Messages", "通常のファイルではありません。");
    if (::access(path.c_str(), R_OK) != 0)
        return translate("qf::Messages", "ファイルを読み取る権限がありません。");
    if (!decoded) return {};
    return translate("qf::Messages",
                     "画像として読み込めませんでした（壊れているか、対応していない形式です）。");
}

std::string pictureTooLargeReason(int64_t width, int64_t height, int64_t maxPixels) {
    return substitute(
        translate("qf::Messages",
                  "画像が大きすぎます: %1 × %2 ピクセル（%3 メガピクセル）。"
                  "上限は %4 メガピクセルです（設定 Workspace/%5 で変更できます）。"),
        {std::to_string(width), std::to_string(height), megapixelsText(width * height),
         megapixelsText(maxPixels), kMaxPictureMegapixelsKey});
}

PictureRead readPicture(const std::string& path) {
    PictureRead r;
    const auto refused = [&](const std::string& shownPath, const std::string& reason) {
        r.title = imageTitleName(path, false);
        r.message = translate("qf::Messages", kUnableToOpenFile) + "\n" + shownPath + reason;
        return r;
    };
    // A name the system would cut at the NUL is not quoted either.
    if (path.find('\0') != std::string::npos)
        return refused({}, translate("qf::Messages", "ファイル名に使えない文字が含まれています。"));
    if (std::string reason = fileUnreadableReason(path, false); !reason.empty())
        return refused(path, "\n" + reason);
    const int64_t limit = maxPicturePixels();
    PictureFileRead read = readPictureFile(path, limit);
    if (read.tooLarge && read.width > 0)
        return refused(path, "\n" + pictureTooLargeReason(read.width, read.height, limit));
    if (read.image.empty())
        return refused(
            path, "\n" + (read.reason.empty() ? fileUnreadableReason(path, true) : read.reason));
    r.picture = std::move(read.image);
    r.title = imageTitleName(path, true);
    r.warning = read.warning;
    return r;
}

}  // namespace qf

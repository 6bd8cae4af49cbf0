#include "imaging/image_pair.h"

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

void installLoadedImage(cv::Mat picture, ImagePair& images, MappingQuad& mapping, IntRect& axisRect,
                        DisplaySource& display, int& zoomShift, bool greyMode) {
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

LoadResult loadImageFile(const std::string& path, ImagePair& images, MappingQuad& mapping,
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

}  // namespace qf

#include "imaging/image_pair.h"

#include "imaging/image_file.h"
#include "imaging/mapping.h"
#include "imaging/processing.h"

namespace qf {

const cv::Mat* currentImage(const ImagePair& images, CurrentImage current) {
    switch (current) {
        case CurrentImage::Input:
            return &images.m_inputImage;
        case CurrentImage::Output:
            return &images.m_outputImage;
        case CurrentImage::None:
            break;
    }
    return nullptr;
}

bool imagePresent(const ImagePair& images, CurrentImage current) {
    const cv::Mat* image = currentImage(images, current);
    return image != nullptr && !image->empty();
}

void selectCurrentImage(DisplaySource& display) {
    display.m_currentImage =
        display.m_displaySource == 2 ? CurrentImage::Output : CurrentImage::Input;
}

std::string imageTitleName(const std::string& path, bool read) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (read) return name;
    const std::size_t dot = name.find_last_of('.');
    return "untitled" + (dot == std::string::npos ? std::string() : name.substr(dot));
}

void installLoadedImage(cv::Mat picture, ImagePair& images, MappingQuad& mapping,
                        IntRect& axisRect, DisplaySource& display, int& zoomShift,
                        int greyMode) {
    images.m_inputImage = std::move(picture);
    zoomShift = 0;
    // Until the refresh the picture just read is the current image, so the
    // grey conversion's guard lets it run.
    display.m_currentImage = CurrentImage::Input;
    convertGrey(images, display.m_currentImage, greyMode);
    display.m_displaySource = 1;
    selectCurrentImage(display);
    resetMappingForImage(images.m_inputImage.cols, images.m_inputImage.rows, mapping, axisRect);
}

LoadResult loadImageFile(const std::string& path, ImagePair& images, MappingQuad& mapping,
                         IntRect& axisRect, DisplaySource& display, int& zoomShift, int greyMode) {
    cv::Mat picture = readImageFile(path);
    if (picture.empty()) {
        display.m_currentImage = CurrentImage::None;
        return {false, imageTitleName(path, false), kUnableToOpenFile};
    }
    installLoadedImage(std::move(picture), images, mapping, axisRect, display, zoomShift,
                       greyMode);
    return {true, imageTitleName(path, true), {}};
}

}  // namespace qf

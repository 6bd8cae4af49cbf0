#pragma once
// The two pictures the program works on, which of them the view shows, and
// loading a picture file into them.

#include <opencv2/core.hpp>
#include <string>

#include "common/geometry.h"
#include "common/translate.h"

namespace qf {

struct MappingGeometry;

// How the output is still to be built from the input, when it has not been yet.
enum class PendingOutput { None, Copy, Grey };

// Both images are 8-bit BGR, first row at the top. The output is always
// rebuilt from the input and never shares pixel memory with it.
//
// The grey rendering (or copy) a load or the grey command asks for is built
// when something first reads the output (outputImage(), currentImage()):
// most pictures are shown as they are, or mapped, before the grey one is
// looked at, and a full-size copy nobody reads costs as much as the picture.
struct ImagePair {
    cv::Mat inputImage;
    mutable cv::Mat outputImage;
    mutable PendingOutput pendingOutput = PendingOutput::None;
};

// The output image, built now if it was still pending.
const cv::Mat& outputImage(const ImagePair& images);

// Builds a pending output now (before the input it derives from is replaced).
void settleOutput(const ImagePair& images);

// The image the view displays. None after a failed load, until the next
// display refresh points it at one of the two images again.
enum class CurrentImage { None, Input, Output };

// Which image is displayed. The view owns this with the rest of its state.
struct DisplaySource {
    int displaySource = 1;  // 0 white area of the input's size, 1 input, 2 output
    int showGeneratedGraph = 0;
    CurrentImage currentImage = CurrentImage::None;
};

// The displayed image, or null when there is none.
const cv::Mat* currentImage(const ImagePair& images, CurrentImage current);

// What almost every image command is enabled by: a current image with pixels.
bool imagePresent(const ImagePair& images, CurrentImage current);

// Width and height of the displayed image, (0, 0) without one; a pending
// output is not built for this.
cv::Size currentImageSize(const ImagePair& images, CurrentImage current);

// The image part of the display refresh: the output when the display source
// is 2, else the input (also for 0, which keeps the input's size on screen).
void selectCurrentImage(DisplaySource& display);

struct LoadResult {
    bool ok = false;
    std::string title;    // file name and extension; "untitled" and the extension on failure
    std::string message;  // for a message box, empty on success
    std::string warning;  // on success: damage the decoder read past, for the output pane
};

inline constexpr const char* kUnableToOpenFile =
    QT_TRANSLATE_NOOP("qf::Messages", "Unable to Open File. ");

// Makes a picture already read the input, as a successful load does: zoom
// 1:1, its grey rendering as the output, the input shown, and the corners and
// rectangles placed for its size.
void installLoadedImage(cv::Mat picture, ImagePair& images, MappingGeometry& mapping,
                        IntRect& axisRect, DisplaySource& display, int& zoomShift, bool greyMode);

// Reads the picture at path (UTF-8) into the input image and resets what
// depends on it: the output becomes the grey rendering (or a copy when grey
// mode is off), the zoom exponent 0, the display source 1, and the mapping
// geometry and axis rectangle follow the new size. On failure only the current
// image changes (to None); the previous images stay in memory.
LoadResult loadImageFile(const std::string& path, ImagePair& images, MappingGeometry& mapping,
                         IntRect& axisRect, DisplaySource& display, int& zoomShift, bool greyMode);

// Title name of a path: its last component, or "untitled" followed by that
// component's extension (from its last dot) when the picture was not read.
std::string imageTitleName(const std::string& path, bool read);

// A picture read for the window, or why it could not be: the message box
// text names the file and the reason in the user's words.
struct PictureRead {
    cv::Mat picture;
    std::string title;    // the window title's file name
    std::string message;  // empty when read
    std::string warning;  // when read: damage the decoder read past, for the output pane
    bool ok() const { return message.empty(); }
};
PictureRead readPicture(const std::string& path);

// Why a picture over the limit is not opened, naming its size, the limit and
// where the limit is set.
std::string pictureTooLargeReason(int64_t width, int64_t height, int64_t maxPixels);

// Why the file at path cannot be read as a picture, in the user's words:
// missing, a folder, not a regular file (refused before it is opened: reading
// a FIFO or a device could block for ever), no permission; with `decoded`,
// that it is no picture of a known format. Empty for a readable regular file
// when not `decoded`.
std::string fileUnreadableReason(const std::string& path, bool decoded);

// The settings store's key (group "Workspace") of the largest picture the
// window opens, in megapixels.
inline constexpr const char* kMaxPictureMegapixelsKey = "MaxPictureMegapixels";

}  // namespace qf

// libFuzzer target for the picture readers (PNG, JPEG with its EXIF
// orientation, BMP, the sizes in TIFF and the other formats' headers), fed
// whole files through the way the batch mode loads a picture, with a low
// pixel limit. Any file must be read or refused with a message, never crash
// or hang; a picture that is read is 8-bit BGR within the limit, with its
// grey working copy.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/regular_file.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/mapping.h"

namespace {

// A quarter of a megapixel: a picture costs little, a header declaring more
// is refused, and both ways are taken often.
constexpr int64_t kMaxPixels = 250'000;

// The input as a file in memory, named through /proc like any path.
int g_file = -1;
std::string g_path;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // OpenCV's codecs (the other formats, and TIFF pixels) are OpenCV's to
    // fuzz: without the module they are refused like an unknown format.
    ::setenv("QUILLFEN_MODULE_DIR", "/nonexistent-quillfen-modules", 1);
    qf::setMaxPicturePixels(kMaxPixels);
    g_file = ::memfd_create("picture", 0);
    if (g_file < 0) std::abort();
    g_path = "/proc/self/fd/" + std::to_string(g_file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (::ftruncate(g_file, 0) != 0) std::abort();
    if (size > 0 && ::pwrite(g_file, data, size, 0) != ssize_t(size)) std::abort();
    if (!qf::regularFileProblem(g_path).empty()) std::abort();

    qf::ImagePair images;
    qf::MappingGeometry mapping;
    qf::IntRect axisRect;
    qf::DisplaySource display;
    int zoomShift = 0;
    const qf::LoadResult r =
        qf::loadImageFile(g_path, images, mapping, axisRect, display, zoomShift, /*greyMode=*/true);
    if (!r.ok) {
        if (r.message.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const cv::Mat& in = images.inputImage;
    if (in.empty() || in.type() != CV_8UC3 || int64_t(in.total()) > kMaxPixels) std::abort();
    const cv::Mat& grey = qf::outputImage(images);
    if (grey.size() != in.size() || grey.type() != CV_8UC3) std::abort();
    return 0;
}

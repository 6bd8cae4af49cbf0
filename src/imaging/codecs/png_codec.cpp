#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

#include "imaging/codecs/codecs.h"

namespace qf::codec {
namespace {

// libpng reports through longjmp; its messages are not the user's business
// (the caller says what failed), so they are not printed.
void pngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

// Every libpng call that can fail sits in one of these small functions whose
// frames hold nothing that a longjmp must unwind.
struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
};

bool readHeader(png_structp png, png_infop info, std::FILE* file, Header& h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    int interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, info, &h.width, &h.height, &h.bitDepth, &h.colourType, &interlace,
                 &compression, &filter);
    return true;
}

// The transformations OpenCV's reader asks for when it wants 8-bit BGR.
bool readPixels(png_structp png, png_infop info, png_infop end, const Header& h, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    if (h.bitDepth == 16) png_set_strip_16(png);
    png_set_strip_alpha(png);
    if (h.colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if ((h.colourType & PNG_COLOR_MASK_COLOR) == 0 && h.bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (h.colourType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(png);
    else
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_get_image_width(png, info) * 3) return false;
    png_read_image(png, rows);
    png_read_end(png, end);
    return true;
}

int orientationOf(png_structp png, png_infop info, png_infop end) {
#ifdef PNG_eXIf_SUPPORTED
    png_uint_32 size = 0;
    png_bytep exif = nullptr;
    if (png_get_valid(png, info, PNG_INFO_eXIf))
        png_get_eXIf_1(png, info, &size, &exif);
    else if (png_get_valid(png, end, PNG_INFO_eXIf))
        png_get_eXIf_1(png, end, &size, &exif);
    if (exif && size > 0) return exifOrientation(exif, size);
#else
    (void)png, (void)info, (void)end;
#endif
    return 1;
}

class ReadStructs {
public:
    ReadStructs() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
        if (png) info = png_create_info_struct(png);
        if (png) end = png_create_info_struct(png);
    }
    ~ReadStructs() { png_destroy_read_struct(&png, &info, &end); }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;
    bool ok() const { return png && info && end; }

    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop end = nullptr;
};

bool writeRows(png_structp png, png_infop info, std::FILE* file, const cv::Mat& image,
               png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    // OpenCV's defaults: tuned for speed, run-length strategy.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_compression_strategy(png, Z_RLE);
    png_set_IHDR(png, info, png_uint_32(image.cols), png_uint_32(image.rows), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (image.channels() == 4) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

Decoded readPng(std::FILE* file, int64_t maxPixels) {
    Decoded d;
    ReadStructs s;
    Header h;
    if (!s.ok() || !readHeader(s.png, s.info, file, h)) return d;
    d.width = h.width;
    d.height = h.height;
    if (d.width * d.height > maxPixels) {
        d.status = Status::TooLarge;
        return d;
    }
    cv::Mat image;
    try {
        image.create(int(h.height), int(h.width), CV_8UC3);
    } catch (const cv::Exception&) {
        return d;
    }
    std::vector<png_bytep> rows(h.height);
    for (png_uint_32 y = 0; y < h.height; ++y) rows[y] = image.ptr(int(y));
    if (!readPixels(s.png, s.info, s.end, h, rows.data())) return d;
    applyExifOrientation(orientationOf(s.png, s.info, s.end), image);
    d.image = image;
    d.status = Status::Ok;
    return d;
}

bool writePng(std::FILE* file, const cv::Mat& image) {
    if (image.depth() != CV_8U || (image.channels() != 3 && image.channels() != 4)) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(std::size_t(image.rows));
    for (int y = 0; y < image.rows; ++y) rows[std::size_t(y)] = const_cast<uchar*>(image.ptr(y));
    const bool ok = png && info && writeRows(png, info, file, image, rows.data());
    png_destroy_write_struct(&png, &info);
    return ok;
}

}  // namespace qf::codec

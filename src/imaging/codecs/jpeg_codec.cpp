#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "imaging/codecs/codecs.h"

namespace qf::codec {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void jpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
// Warnings (a cut file, a bad marker) leave a picture that is shown as it
// decodes, as OpenCV does; they are not printed.
void jpegMessage(j_common_ptr) {}

constexpr int kApp1 = JPEG_APP0 + 1;

bool readHeader(jpeg_decompress_struct& cinfo, ErrorManager& err, std::FILE* file) {
    if (setjmp(err.jump)) return false;
    jpeg_stdio_src(&cinfo, file);
    jpeg_save_markers(&cinfo, kApp1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_calc_output_dimensions(&cinfo);
    return true;
}

// Colour and grey JPEGs decode straight to BGR rows.
bool readRows(jpeg_decompress_struct& cinfo, ErrorManager& err, cv::Mat& image) {
    if (setjmp(err.jump)) return false;
    jpeg_start_decompress(&cinfo);
    for (int y = 0; y < image.rows; ++y) {
        JSAMPROW row = image.ptr(y);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

int orientationOf(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker != kApp1) continue;
        // "Exif\0\0", then the TIFF structure.
        constexpr unsigned kTiffOffset = 6;
        return m->data_length > kTiffOffset
                   ? exifOrientation(m->data + kTiffOffset, m->data_length - kTiffOffset)
                   : 1;
    }
    return 1;
}

bool writeRows(jpeg_compress_struct& cinfo, ErrorManager& err, std::FILE* file,
               const cv::Mat& image) {
    if (setjmp(err.jump)) return false;
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(image.cols);
    cinfo.image_height = JDIMENSION(image.rows);
    cinfo.input_components = image.channels();
    cinfo.in_color_space = image.channels() == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    // OpenCV's defaults: quality 95, baseline, no optimisation, no restarts.
    jpeg_set_defaults(&cinfo);
    cinfo.restart_interval = 0;
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < image.rows; ++y) {
        JSAMPROW row = const_cast<uchar*>(image.ptr(y));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

Decoded readJpeg(std::FILE* file, int64_t maxPixels) {
    Decoded d;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegError;
    err.pub.output_message = jpegMessage;
    jpeg_create_decompress(&cinfo);
    struct Destroy {
        jpeg_decompress_struct& c;
        ~Destroy() { jpeg_destroy_decompress(&c); }
    } destroy{cinfo};

    if (!readHeader(cinfo, err, file)) return d;
    // The saved markers live until the decompression finishes.
    const int orientation = orientationOf(cinfo);
    d.width = cinfo.output_width;
    d.height = cinfo.output_height;
    if (d.width * d.height > maxPixels) {
        d.status = Status::TooLarge;
        return d;
    }
    // CMYK (print) JPEGs are left to OpenCV's reader and its conversion.
    if (cinfo.num_components == 4) {
        d.status = Status::NotHandled;
        return d;
    }
    cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.out_color_components = 3;
    cv::Mat image;
    try {
        image.create(int(d.height), int(d.width), CV_8UC3);
    } catch (const cv::Exception&) {
        return d;
    }
    if (!readRows(cinfo, err, image)) return d;
    applyExifOrientation(orientation, image);
    d.image = image;
    d.status = Status::Ok;
    return d;
}

bool writeJpeg(std::FILE* file, const cv::Mat& image) {
    if (image.depth() != CV_8U || (image.channels() != 3 && image.channels() != 4)) return false;
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegError;
    err.pub.output_message = jpegMessage;
    jpeg_create_compress(&cinfo);
    const bool ok = writeRows(cinfo, err, file, image);
    jpeg_destroy_compress(&cinfo);
    return ok;
}

}  // namespace qf::codec

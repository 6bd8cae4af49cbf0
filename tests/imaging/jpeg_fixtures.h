#pragma once
// JPEGs that OpenCV's encoder does not write, made with libjpeg itself.

#include <cstdio>
#include <cstdlib>
#include <opencv2/core.hpp>
#include <string>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace qf::test {

// A CMYK JPEG (Adobe's inverted form, as libjpeg writes it), stored as CMYK
// or as YCCK.
inline std::string cmykJpeg(const cv::Mat& cmyk, bool ycck) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(cmyk.cols);
    c.image_height = JDIMENSION(cmyk.rows);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    for (int y = 0; y < cmyk.rows; ++y) {
        JSAMPROW row = const_cast<uchar*>(cmyk.ptr(y));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return bytes;
}

}  // namespace qf::test

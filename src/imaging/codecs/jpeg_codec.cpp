#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "imaging/codecs/codecs.h"

namespace qf::codec {
namespace {

// What a decompression met on the way, reached from libjpeg's callbacks
// through client_data.
struct Reading {
    std::jmp_buf jump;
    bool tooManyScans = false;
    bool rowsRead = false;  // every row was decoded before an error
    std::string damage;     // libjpeg's words for the first damage it met
};

Reading& readingOf(j_common_ptr info) {
    return *static_cast<Reading*>(info->client_data);
}

// Damage noted in libjpeg's own words; errors end the decompression.
void noteDamage(j_common_ptr info) {
    Reading& r = readingOf(info);
    if (!r.damage.empty()) return;
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    r.damage = text;
}
void readError(j_common_ptr info) {
    noteDamage(info);
    std::longjmp(readingOf(info).jump, 1);
}

// A progressive file can repeat a scan thousands of times over a huge
// picture, each decoded in full: far more than any encoder writes (libjpeg's
// own progression has 10), so decoding stops there, as libjpeg-turbo's tools
// do with their scan limit.
void countScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans) {
        readingOf(info).tooManyScans = true;
        std::longjmp(readingOf(info).jump, 1);
    }
}

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void jpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
// The encoder's warnings are not the user's business.
void jpegMessage(j_common_ptr) {}

constexpr int kApp1 = JPEG_APP0 + 1;

bool readHeader(jpeg_decompress_struct& cinfo, Reading& r, std::FILE* file) {
    if (setjmp(r.jump)) return false;
    jpeg_stdio_src(&cinfo, file);
    jpeg_save_markers(&cinfo, kApp1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_calc_output_dimensions(&cinfo);
    return true;
}

// OpenCV's conversion of the CMYK libjpeg gives (Adobe's inverted form).
void cmykToBgr(const uint8_t* cmyk, uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const int k = cmyk[3];
        bgr[0] = uint8_t(k - ((255 - cmyk[2]) * k >> 8));
        bgr[1] = uint8_t(k - ((255 - cmyk[1]) * k >> 8));
        bgr[2] = uint8_t(k - ((255 - cmyk[0]) * k >> 8));
    }
}

// Colour and grey JPEGs decode straight to BGR rows, CMYK ones through
// `cmykRow`. Damage that libjpeg reports only after the last row (a bad
// marker where the end should be) leaves the picture whole: it is read, as
// OpenCV reads it.
bool readRows(jpeg_decompress_struct& cinfo, Reading& r, cv::Mat& image,
              std::vector<uint8_t>& cmykRow) {
    if (setjmp(r.jump)) return r.rowsRead && !r.tooManyScans;
    jpeg_start_decompress(&cinfo);
    for (int y = 0; y < image.rows; ++y) {
        JSAMPROW row = cmykRow.empty() ? image.ptr(y) : cmykRow.data();
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
        if (!cmykRow.empty()) cmykToBgr(cmykRow.data(), image.ptr(y), image.cols);
    }
    r.rowsRead = true;
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
    jpeg_error_mgr err{};
    jpeg_progress_mgr progress{};
    Reading reading;
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = readError;
    err.output_message = noteDamage;  // only the first warning reaches it
    progress.progress_monitor = countScans;
    jpeg_create_decompress(&cinfo);
    cinfo.client_data = &reading;
    cinfo.progress = &progress;
    struct Destroy {
        jpeg_decompress_struct& c;
        ~Destroy() { jpeg_destroy_decompress(&c); }
    } destroy{cinfo};

    if (!readHeader(cinfo, reading, file)) return d;
    // The saved markers live until the decompression finishes.
    const int orientation = orientationOf(cinfo);
    d.width = cinfo.output_width;
    d.height = cinfo.output_height;
    if (d.width * d.height > maxPixels) {
        d.status = Status::TooLarge;
        return d;
    }
    // CMYK (print) JPEGs come as libjpeg gives them and are converted here.
    std::vector<uint8_t> cmykRow;
    if (cinfo.num_components == 4) {
        cinfo.out_color_space = JCS_CMYK;
        cmykRow.resize(std::size_t(d.width) * 4);
    } else {
        cinfo.out_color_space = JCS_EXT_BGR;
        cinfo.out_color_components = 3;
    }
    cv::Mat image;
    try {
        image.create(int(d.height), int(d.width), CV_8UC3);
    } catch (const cv::Exception&) {
        return d;
    }
    if (!readRows(cinfo, reading, image, cmykRow)) {
        if (reading.tooManyScans) {
            d.status = Status::Refused;
            d.reason = "The picture is a JPEG of more than " + std::to_string(kMaxJpegScans) +
                       " scans; the limit is " + std::to_string(kMaxJpegScans) + " scans.";
        }
        return d;
    }
    applyExifOrientation(orientation, image);
    d.image = image;
    d.status = Status::Ok;
    if (!reading.damage.empty())
        d.warning = "The picture is damaged (" + reading.damage + "); it is shown as it decodes.";
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

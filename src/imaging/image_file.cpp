#include "imaging/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <opencv2/imgproc.hpp>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "imaging/codecs/codecs.h"
#include "imaging/module_abi.h"
#include "imaging/module_loader.h"

namespace qf {

namespace fs = std::filesystem;

namespace {

std::atomic<int64_t> g_maxPixels{kDefaultMaxPicturePixels};

constexpr const char* kCodecsModuleFile = "quillfen-opencv-codecs.so";

// The limit OpenCV's codecs hold; 0 until they are loaded.
std::atomic<int64_t> g_openCvMaxPixels{0};

// OpenCV's codecs, loaded at the first picture the program does not handle.
// OpenCV reads its own limit once, when its codecs load: it is set from ours
// then, whatever the environment says, so that it refuses pictures of the
// formats whose header is not read here from their header too. It is the
// larger of the call's and the process's limit, so that it never refuses a
// picture a limit in force allows.
const QfCodecsModule* codecsModule(int64_t maxPixels, std::string* error = nullptr) {
    static std::once_flag limitSet;
    std::call_once(limitSet, [maxPixels] {
        const int64_t limit = std::max(maxPixels, maxPicturePixels());
        ::setenv("OPENCV_IO_MAX_IMAGE_PIXELS", std::to_string(limit).c_str(), 1);
        g_openCvMaxPixels = limit;
    });
    const LoadedModule m =
        loadModule(kCodecsModuleFile, "quillfen_codecs_module", kCodecsModuleVersion);
    if (error) *error = m.error;
    return static_cast<const QfCodecsModule*>(m.entry);
}

class File {
public:
    explicit File(std::FILE* f) : m_f(f) {}
    ~File() {
        if (m_f) std::fclose(m_f);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return m_f; }
    int close() {
        const int r = m_f ? std::fclose(m_f) : 0;
        m_f = nullptr;
        return r;
    }

private:
    std::FILE* m_f;
};

// Opens a regular file for reading. A FIFO or a device would block or never
// end: it is refused before anything is read from it.
std::FILE* openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

enum class Format { Png, Jpeg, Bmp, Tiff, Other };

// w x h > maxPixels without overflow (sizes are positive).
bool overLimit(int64_t w, int64_t h, int64_t maxPixels) {
    return w > 0 && h > maxPixels / w;
}

Format formatOf(const std::array<uint8_t, 8>& head, std::size_t n) {
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (n >= 8 && std::equal(kPng, kPng + 8, head.begin())) return Format::Png;
    if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return Format::Jpeg;
    if (n >= 2 && head[0] == 'B' && head[1] == 'M') return Format::Bmp;
    // Classic TIFF (42) and BigTIFF (43).
    if (n >= 4 &&
        ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
         (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43))))
        return Format::Tiff;
    return Format::Other;
}

void refuseSize(PictureFileRead& r, int64_t width, int64_t height, int64_t maxPixels) {
    r.tooLarge = true;
    r.width = width;
    r.height = height;
    r.reason = "The picture is " + pictureSizeText(width, height, maxPixels) + ".";
}

// What a header read here says of a picture OpenCV decodes: over the limit,
// refused, or to be decoded.
codec::Decoded fromHeader(const codec::HeaderSize& s, int64_t maxPixels) {
    codec::Decoded d;
    d.status = codec::Status::NotHandled;
    if (!s.problem.empty()) {
        d.status = codec::Status::Refused;
        d.reason = s.problem;
    } else if (s.known && overLimit(s.width, s.height, maxPixels)) {
        d.status = codec::Status::TooLarge;
        d.width = s.width;
        d.height = s.height;
    }
    return d;
}

PictureFileRead readThroughOpenCv(const std::string& path, int64_t maxPixels) {
    PictureFileRead r;
    std::string why;
    const QfCodecsModule* codecs = codecsModule(maxPixels, &why);
    if (!codecs) {
        r.reason = "The picture's format is read by OpenCV's codecs, which could not be loaded (" +
                   why + ").";
        return r;
    }
    cv::Mat image;
    switch (codecs->read(path.c_str(), &image)) {
        case kReadOk:
            break;
        case kReadTooLarge:
            r.tooLarge = true;
            r.reason = "The picture is larger than the limit of " +
                       megapixelsText(g_openCvMaxPixels) + " megapixels.";
            return r;
        default:
            return r;
    }
    // IMREAD_COLOR converts every decoder's result to 8-bit BGR; the rest of
    // the program relies on that form.
    if (image.type() != CV_8UC3) return r;
    // A header not read here (or read otherwise than OpenCV reads it), under
    // a lower limit than OpenCV's: the limit holds all the same.
    if (overLimit(image.cols, image.rows, maxPixels)) {
        refuseSize(r, image.cols, image.rows, maxPixels);
        return r;
    }
    r.image = image;
    return r;
}

}  // namespace

void setMaxPicturePixels(int64_t pixels) {
    g_maxPixels = pixels > 0 ? pixels : kDefaultMaxPicturePixels;
}

int64_t maxPicturePixels() {
    return g_maxPixels;
}

std::string megapixelsText(int64_t pixels) {
    const int64_t tenths = (pixels + 50'000) / 100'000;
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

std::string pictureSizeText(int64_t width, int64_t height, int64_t maxPixels) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels (" +
           megapixelsText(width * height) + " megapixels); the limit is " +
           megapixelsText(maxPixels) + " megapixels";
}

PictureFileRead readPictureFile(const std::string& path, int64_t maxPixels) {
    PictureFileRead r;
    File file(openRegularFile(path));
    if (!file.get()) return r;
    std::array<uint8_t, 8> head{};
    const std::size_t n = std::fread(head.data(), 1, head.size(), file.get());
    const Format format = formatOf(head, n);
    std::rewind(file.get());

    codec::Decoded d;
    try {
        switch (format) {
            case Format::Png:
                d = codec::readPng(file.get(), maxPixels);
                break;
            case Format::Jpeg:
                d = codec::readJpeg(file.get(), maxPixels);
                break;
            case Format::Bmp:
                d = codec::readBmp(file.get(), maxPixels);
                break;
            case Format::Tiff:
                d = fromHeader(codec::tiffFileSize(file.get()), maxPixels);
                break;
            case Format::Other:
                d = fromHeader(codec::otherHeaderSize(file.get()), maxPixels);
                break;
        }
    } catch (const std::exception&) {
        return r;  // memory for a picture of a size the limit allows, but not there
    }
    switch (d.status) {
        case codec::Status::Ok:
            r.image = d.image;
            r.warning = d.warning;
            break;
        case codec::Status::TooLarge:
            refuseSize(r, d.width, d.height, maxPixels);
            break;
        case codec::Status::Refused:
            r.reason = d.reason;
            break;
        case codec::Status::Failed:
            break;
        case codec::Status::NotHandled:
            file.close();
            r = readThroughOpenCv(path, maxPixels);
            break;
    }
    return r;
}

cv::Mat readImageFile(const std::string& path) {
    return readPictureFile(path, maxPicturePixels()).image;
}

namespace {

ImageWriteResult failure(const std::string& path, const std::string& reason) {
    return {false, "Unable to save \"" + path + "\": " + reason};
}

// Why a file could not be created there, as far as the file system tells;
// else the system's own reason.
std::string writeFailureReason(const std::string& path, int errorNumber) {
    std::error_code ec;
    const fs::path p(path);
    if (fs::is_directory(p, ec)) return "it is a folder";
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) return "the folder does not exist";
    if (::access(parent.c_str(), W_OK) != 0) return "the folder is not writable";
    if (fs::exists(p, ec) && ::access(p.c_str(), W_OK) != 0) return "the file is not writable";
    if (errorNumber != 0) return std::strerror(errorNumber);
    return "the picture could not be written";
}

using Encoder = bool (*)(std::FILE*, const cv::Mat&);

// The encoders the program carries, by extension, as OpenCV names them.
Encoder ownEncoderFor(std::string ext) {
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".png") return codec::writePng;
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") return codec::writeJpeg;
    if (ext == ".bmp" || ext == ".dib") return codec::writeBmp;
    return nullptr;
}

// Why the picture cannot be written to path at all; empty when it can.
std::string unwritablePicture(const std::string& path, const cv::Mat& image) {
    if (image.empty()) return "there is no image";
    if (image.depth() != CV_8U || (image.channels() != 3 && image.channels() != 4))
        return "not an 8-bit colour picture";
    if (!fs::path(path).has_extension()) return "no picture format for this file extension";
    return {};
}

// The other formats, through OpenCV's codecs module: the file's bytes, or
// the reason in `error`.
bool encodeThroughOpenCv(const std::string& path, const cv::Mat& image, cv::Mat& bytes,
                         std::string& error) {
    std::string why;
    const QfCodecsModule* codecs = codecsModule(maxPicturePixels(), &why);
    if (!codecs) {
        error = "no picture format for this file extension (" + why + ")";
        return false;
    }
    if (!codecs->canWrite(path.c_str())) {
        error = "no picture format for this file extension";
        return false;
    }
    cv::Mat bgr = image;
    if (image.channels() == 4) cv::cvtColor(image, bgr, cv::COLOR_BGRA2BGR);
    char text[512] = {};
    if (!codecs->encode(fs::path(path).extension().c_str(), &bgr, &bytes, text, sizeof text)) {
        error = *text ? text : "the picture could not be encoded";
        return false;
    }
    return true;
}

}  // namespace

ImageIntoResult encodeImageInto(AtomicFile& file, const cv::Mat& image) {
    const std::string& path = file.targetPath();
    ImageIntoResult r;
    const auto refuse = [&](const std::string& reason) {
        file.discard();
        r.error = failure(path, reason).error;
        return r;
    };
    const auto unwritten = [&](AtomicWriteResult why) {
        file.discard();
        r.file = std::move(why);
        return r;
    };
    const auto unwrittenFor = [&](int errorNumber) {
        return unwritten({false, path + ": " + std::strerror(errorNumber), errorNumber});
    };
    if (const std::string why = unwritablePicture(path, image); !why.empty()) return refuse(why);
    try {
        const Encoder encode = ownEncoderFor(fs::path(path).extension().string());
        cv::Mat bytes;  // what OpenCV's codecs give for the other formats
        std::string error;
        if (!encode && !encodeThroughOpenCv(path, image, bytes, error)) return refuse(error);
        if (AtomicWriteResult opened = file.open(); !opened.ok) return unwritten(opened);
        if (!encode) {
            AtomicWriteResult w = file.write({reinterpret_cast<const char*>(bytes.datastart),
                                              std::size_t(bytes.dataend - bytes.datastart)});
            if (!w.ok) return unwritten(w);
            return r;
        }
        // The encoder writes through its own stream on the temporary file.
        std::FILE* f = std::fopen(file.tempPath().c_str(), "wb");
        if (!f) return unwrittenFor(errno);
        std::setvbuf(f, nullptr, _IOFBF, std::size_t(256) << 10);
        bool encoded = false;
        errno = 0;
        try {
            encoded = encode(f, image);
        } catch (...) {
            std::fclose(f);
            throw;
        }
        // A write refused on the way (a full disk) stops the encoder too:
        // it is reported as the write it is.
        const int writeError = errno;
        const bool writeFailed = std::ferror(f) != 0;
        errno = 0;
        const bool closed = std::fclose(f) == 0;
        if (writeFailed) return unwrittenFor(writeError != 0 ? writeError : EIO);
        if (encoded && !closed) return unwrittenFor(errno != 0 ? errno : EIO);
        if (!encoded) return refuse("the picture could not be encoded");
    } catch (const std::exception& e) {
        return refuse(e.what());
    }
    return r;
}

ImageWriteResult writeImageFile(const std::string& path, const cv::Mat& image) {
    // Through a temporary file: a full disk or a kill leaves the old picture.
    AtomicFile file(path);
    const ImageIntoResult r = encodeImageInto(file, image);
    if (!r.file.ok) return failure(path, writeFailureReason(path, r.file.errorNumber));
    if (!r.ok()) return {false, r.error};
    const AtomicWriteResult w = file.commit();
    if (!w.ok) return failure(path, writeFailureReason(path, w.errorNumber));
    return {true, {}};
}

}  // namespace qf

#include "imaging/pdf_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "common/translate.h"
#include "imaging/image_file.h"
#include "imaging/image_pair.h"
#include "imaging/module_loader.h"
#include "imaging/pdf_module_abi.h"

namespace qf {

namespace {

constexpr const char* kPdfModuleFile = "quillfen-poppler.so";

const QfPdfModule* pdfModule(std::string& error) {
    const LoadedModule m = loadModule(kPdfModuleFile, "quillfen_pdf_module", kPdfModuleVersion);
    error = m.error;
    return static_cast<const QfPdfModule*>(m.entry);
}

std::string messageFor(const std::string& path, const std::string& reason) {
    return translate("qf::Messages", kUnableToOpenFile) + "\n" + path + "\n" + reason;
}

// The size Poppler gives the page's picture: its size in points scaled, in
// the same order of operations, then rounded to the nearest pixel.
int pixels(double points, double dpi) {
    return int(dpi / 72.0 * points + 0.5);
}

bool overLimit(cv::Size size, int64_t maxPixels) {
    return size.width > 0 && int64_t(size.height) > maxPixels / size.width;
}

std::string tooLargeReason(cv::Size pixels, int dpi, int fitting, int64_t maxPixels) {
    const int64_t count = int64_t(pixels.width) * pixels.height;
    std::string reason = substitute(
        translate("qf::Messages",
                  "%1 dpi ではページが大きすぎます: %2 × %3 ピクセル（%4 メガピクセル）。"
                  "上限は %5 メガピクセルです（設定 Workspace/%6 で変更できます）。"),
        {std::to_string(dpi), std::to_string(pixels.width), std::to_string(pixels.height),
         megapixelsText(count), megapixelsText(maxPixels), kMaxPictureMegapixelsKey});
    if (fitting >= kMinPdfDpi)
        reason += substitute(translate("qf::Messages", "%1 dpi 以下で開いてください。"),
                             {std::to_string(fitting)});
    return reason;
}

}  // namespace

bool isPdfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    char head[1024];
    ssize_t n = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) n = ::read(fd, head, sizeof head);
    ::close(fd);
    return n > 0 && std::string_view(head, std::size_t(n)).find("%PDF-") != std::string_view::npos;
}

cv::Size pdfPixelSize(PdfPageSize size, double dpi) {
    return {pixels(size.width, dpi), pixels(size.height, dpi)};
}

int largestPdfDpi(PdfPageSize size, int64_t maxPixels) {
    if (size.width <= 0 || size.height <= 0) return 0;
    const double estimate = 72.0 * std::sqrt(double(maxPixels) / (size.width * size.height));
    int dpi = int(std::min(estimate, double(kMaxPdfDpi)));
    // The estimate ignores the rounding up to whole pixels.
    while (dpi > 0 && overLimit(pdfPixelSize(size, dpi), maxPixels)) --dpi;
    return dpi;
}

PdfDocument::PdfDocument(const std::string& path) : m_path(path) {
    if (path.find('\0') != std::string::npos) {
        m_message =
            messageFor({}, translate("qf::Messages", "ファイル名に使えない文字が含まれています。"));
        return;
    }
    if (std::string reason = fileUnreadableReason(path, false); !reason.empty()) {
        m_message = messageFor(path, reason);
        return;
    }
    if (!isPdfFile(path)) {
        m_message = messageFor(path, translate("qf::Messages", "PDF ファイルではありません。"));
        return;
    }
    std::string why;
    const QfPdfModule* pdf = pdfModule(why);
    if (!pdf) {
        m_message = messageFor(
            path, substitute(translate("qf::Messages",
                                       "PDF を読むモジュールを読み込めませんでした（%1）。"),
                             {why}));
        return;
    }
    int status = kPdfDamaged;
    m_document = pdf->open(path.c_str(), &status);
    if (!m_document) {
        m_message = messageFor(
            path, status == kPdfLocked
                      ? translate("qf::Messages",
                                  "パスワードで保護された PDF です。パスワードを外してから開い"
                                  "てください。")
                      : translate("qf::Messages", "PDF が壊れていて読み込めません。"));
        return;
    }
    m_module = pdf;
    m_pageCount = pdf->pageCount(m_document);
}

PdfDocument::~PdfDocument() {
    if (m_document) static_cast<const QfPdfModule*>(m_module)->close(m_document);
}

PdfPageSize PdfDocument::pageSize(int page) const {
    PdfPageSize size;
    if (!m_document || page < 1 || page > m_pageCount) return size;
    if (!static_cast<const QfPdfModule*>(m_module)->pageSize(m_document, page - 1, &size.width,
                                                             &size.height))
        return {};
    return size;
}

cv::Mat PdfDocument::thumbnail(int page, int maxSide) const {
    const PdfPageSize size = pageSize(page);
    if (size.width <= 0 || maxSide <= 0) return {};
    const double dpi = maxSide * 72.0 / std::max(size.width, size.height);
    cv::Mat image;
    if (!static_cast<const QfPdfModule*>(m_module)->render(m_document, page - 1, dpi, &image))
        return {};
    return image;
}

PictureRead PdfDocument::read(int page, int dpi) const {
    PictureRead r;
    const auto refused = [&](const std::string& message) {
        r.title = imageTitleName(m_path, false);
        r.message = message;
        return r;
    };
    if (!ok()) return refused(m_message);
    if (page < 1 || page > m_pageCount)
        return refused(messageFor(
            m_path, substitute(translate("qf::Messages",
                                         "ページ %1 はありません（この PDF は %2 ページです）。"),
                               {std::to_string(page), std::to_string(m_pageCount)})));
    if (dpi < kMinPdfDpi || dpi > kMaxPdfDpi)
        return refused(messageFor(
            m_path, substitute(translate("qf::Messages",
                                         "解像度 %1 dpi では開けません。%2〜%3 dpi で指定してく"
                                         "ださい。"),
                               {std::to_string(dpi), std::to_string(kMinPdfDpi),
                                std::to_string(kMaxPdfDpi)})));
    const std::string damaged = messageFor(
        m_path, substitute(translate("qf::Messages", "ページ %1 を描画できませんでした。"),
                           {std::to_string(page)}));
    const PdfPageSize size = pageSize(page);
    if (size.width <= 0) return refused(damaged);
    // Refused from the page's size, before the memory of its picture is taken.
    const int64_t limit = maxPicturePixels();
    if (const cv::Size expected = pdfPixelSize(size, dpi); overLimit(expected, limit))
        return refused(
            messageFor(m_path, tooLargeReason(expected, dpi, largestPdfDpi(size, limit), limit)));
    cv::Mat image;
    if (!static_cast<const QfPdfModule*>(m_module)->render(m_document, page - 1, dpi, &image) ||
        image.empty() || image.type() != CV_8UC3)
        return refused(damaged);
    // What was rendered is measured all the same.
    if (overLimit(image.size(), limit))
        return refused(messageFor(m_path, tooLargeReason(image.size(), dpi, 0, limit)));
    r.picture = std::move(image);
    r.title = imageTitleName(m_path, true);
    return r;
}

PdfPageCount pdfPageCount(const std::string& path) {
    const PdfDocument document(path);
    PdfPageCount count;
    count.pages = document.pageCount();
    count.message = document.message();
    return count;
}

PictureRead readPdfPage(const std::string& path, int page, int dpi) {
    return PdfDocument(path).read(page, dpi);
}

PictureRead readPictureOrPdfPage(const std::string& path, std::optional<int> page, int dpi) {
    if (isPdfFile(path)) return readPdfPage(path, page.value_or(1), dpi);
    return readPicture(path);
}

}  // namespace qf

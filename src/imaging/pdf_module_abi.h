#pragma once
// The table of functions quillfen-poppler.so exports: PDF pages rendered by
// Poppler, which maps Qt and Poppler's own libraries only when a PDF is
// opened. As for the other modules (imaging/module_abi.h), only cv::Mat and
// plain C types cross the boundary, and no exception does.

namespace cv {
class Mat;
}

extern "C" {

inline constexpr int kPdfModuleVersion = 1;
enum QfPdfOpenStatus { kPdfOpened = 0, kPdfDamaged = 1, kPdfLocked = 2 };
struct QfPdfModule {
    // The document, or null with *status saying why: damaged (or not a PDF
    // at all), or locked by a password.
    void* (*open)(const char* path, int* status);
    void (*close)(void* document);
    int (*pageCount)(void* document);
    // Size of page `index` (0-based) in points, as it is shown (its crop box,
    // turned by its rotation); 1 on success.
    int (*pageSize)(void* document, int index, double* width, double* height);
    // Page `index` rendered at `dpi` on white paper into *out, 8-bit BGR; 1
    // on success. The caller checks the size it will have first.
    int (*render)(void* document, int index, double dpi, cv::Mat* out);
};
const void* quillfen_pdf_module(int version);
}

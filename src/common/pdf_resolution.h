#pragma once
// The page of a PDF to open and the resolution it is rendered at: shared by
// the renderer, the page dialog, the window's dialogs and the project file.

namespace qf {

inline constexpr int kDefaultPdfDpi = 300;
inline constexpr int kMinPdfDpi = 10;
inline constexpr int kMaxPdfDpi = 2400;

struct PdfPageChoice {
    int page = 1;  // from 1
    int dpi = kDefaultPdfDpi;
    bool operator==(const PdfPageChoice&) const = default;
};

}  // namespace qf

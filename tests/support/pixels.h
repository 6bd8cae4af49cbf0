#pragma once
// Reading drawn pixels back as 0x00BBGGRR colours, for the rendering tests.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <set>

namespace qf::test {

inline uint32_t colourAt(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return static_cast<uint32_t>(qRed(c)) | static_cast<uint32_t>(qGreen(c)) << 8 |
           static_cast<uint32_t>(qBlue(c)) << 16;
}

// The distinct colours in an area (clipped to the image).
inline std::set<uint32_t> coloursIn(const QImage& image, QRect area) {
    std::set<uint32_t> colours;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) colours.insert(colourAt(image, x, y));
    }
    return colours;
}

// Columns x0..x1 on row y that have the colour.
inline std::set<int> columnsWith(const QImage& image, int y, int x0, int x1, uint32_t colour) {
    std::set<int> xs;
    for (int x = x0; x <= x1; ++x) {
        if (colourAt(image, x, y) == colour) xs.insert(x);
    }
    return xs;
}

// Rows y0..y1 in column x that have the colour.
inline std::set<int> rowsWith(const QImage& image, int x, int y0, int y1, uint32_t colour) {
    std::set<int> ys;
    for (int y = y0; y <= y1; ++y) {
        if (colourAt(image, x, y) == colour) ys.insert(y);
    }
    return ys;
}

}  // namespace qf::test

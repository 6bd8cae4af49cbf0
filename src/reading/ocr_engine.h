#pragma once
// Text recognition of small pictures (a tick label each), through the
// Tesseract module, which is loaded on the first call.

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "common/geometry.h"

namespace qf {

struct OcrSymbol {
    std::string text;  // one character, UTF-8
    IntRect box;       // in the picture given
    float confidence = 0;
    bool wordStart = false;
};

struct OcrLine {
    bool ok = false;    // false: the engine is not there or failed
    std::string error;  // why, when not ok
    std::vector<OcrSymbol> symbols;
};

enum class OcrLayout { Line = 7, Word = 8, Character = 10 };

// Reads the text in an 8-bit grey picture (dark text on light), keeping to
// the characters of `whitelist` (empty: any). Safe to call from several
// threads: calls take turns on the one engine.
OcrLine recogniseLine(const cv::Mat& grey, const std::string& whitelist,
                      OcrLayout layout = OcrLayout::Line);

// Whether the engine can be had (module and its language data), and if not why.
bool ocrAvailable(std::string* why = nullptr);

}  // namespace qf

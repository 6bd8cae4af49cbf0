#pragma once
// The table of functions quillfen-tesseract.so exports: Tesseract's text
// recognition, loaded the first time a chart's labels are read so that the
// program's start does not map Tesseract and Leptonica. Only plain C types
// and cv::Mat cross the boundary; no exception does.

#include <cstddef>

namespace cv {
class Mat;
}

extern "C" {

inline constexpr int kOcrModuleVersion = 1;

// One recognised character (UTF-8) and its box in the picture given.
struct QfOcrSymbol {
    int left, top, right, bottom;  // right and bottom exclusive
    float confidence;              // 0..100
    int wordStart;                 // 1 for the first character of a word
    char text[8];
};

struct QfOcrModule {
    // An engine for one language ("eng") with its data in `dataPath` (null:
    // Tesseract's own default). Null with a reason in `error` when the data
    // cannot be loaded.
    void* (*create)(const char* dataPath, const char* language, char* error, std::size_t errorSize);
    void (*destroy)(void* engine);
    // Recognises the text in an 8-bit grey picture, laid out as Tesseract's
    // page segmentation mode says (7: a line, 8: a word, 10: one character),
    // keeping to the characters of `whitelist` (null: any). Fills at most
    // `capacity` symbols and returns how many there were, or -1 when
    // recognition failed.
    int (*readLine)(void* engine, const cv::Mat* grey, int layout, const char* whitelist,
                    QfOcrSymbol* symbols, int capacity);
};

const void* quillfen_ocr_module(int version);
}

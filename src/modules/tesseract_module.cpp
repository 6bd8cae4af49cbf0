// Tesseract's text recognition, for the tick labels of a chart. Tesseract
// and Leptonica are mapped only when the first chart's axes are read.

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <cstring>
#include <exception>
#include <memory>
#include <opencv2/core.hpp>

#include "reading/ocr_module_abi.h"

namespace {

void copyText(const char* what, char* out, std::size_t size) {
    if (!out || size == 0) return;
    std::strncpy(out, what, size - 1);
    out[size - 1] = '\0';
}

void* create(const char* dataPath, const char* language, char* error, std::size_t errorSize) {
    try {
        auto api = std::make_unique<tesseract::TessBaseAPI>();
        // The LSTM engine: the only one the Debian data for English carries.
        if (api->Init(dataPath, language, tesseract::OEM_LSTM_ONLY) != 0) {
            copyText("Tesseract's data for the language could not be loaded", error, errorSize);
            return nullptr;
        }
        // Labels are short and isolated: no dictionary, no page layout.
        api->SetVariable("load_system_dawg", "0");
        api->SetVariable("load_freq_dawg", "0");
        api->SetVariable("debug_file", "/dev/null");
        api->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        return api.release();
    } catch (const std::exception& e) {
        copyText(e.what(), error, errorSize);
        return nullptr;
    }
}

void destroy(void* engine) {
    auto* api = static_cast<tesseract::TessBaseAPI*>(engine);
    if (!api) return;
    api->End();
    delete api;
}

int readLine(void* engine, const cv::Mat* grey, int layout, const char* whitelist,
             QfOcrSymbol* symbols, int capacity) {
    try {
        auto* api = static_cast<tesseract::TessBaseAPI*>(engine);
        if (!api || !grey || grey->empty() || grey->type() != CV_8UC1) return -1;
        const cv::Mat m = grey->isContinuous() ? *grey : grey->clone();
        if (layout != tesseract::PSM_SINGLE_LINE && layout != tesseract::PSM_SINGLE_WORD &&
            layout != tesseract::PSM_SINGLE_CHAR)
            return -1;
        api->SetPageSegMode(static_cast<tesseract::PageSegMode>(layout));
        api->SetVariable("tessedit_char_whitelist", whitelist ? whitelist : "");
        api->SetImage(m.data, m.cols, m.rows, 1, int(m.step));
        if (api->Recognize(nullptr) != 0) return -1;
        std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
        int n = 0;
        if (it) {
            do {
                std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_SYMBOL));
                if (!text) continue;
                if (n < capacity) {
                    QfOcrSymbol& s = symbols[n];
                    it->BoundingBox(tesseract::RIL_SYMBOL, &s.left, &s.top, &s.right, &s.bottom);
                    s.confidence = it->Confidence(tesseract::RIL_SYMBOL);
                    s.wordStart = it->IsAtBeginningOf(tesseract::RIL_WORD) ? 1 : 0;
                    copyText(text.get(), s.text, sizeof s.text);
                }
                ++n;
            } while (it->Next(tesseract::RIL_SYMBOL));
        }
        api->Clear();
        return n;
    } catch (const std::exception&) {
        return -1;
    }
}

const QfOcrModule kModule{create, destroy, readLine};

}  // namespace

extern "C" __attribute__((visibility("default"))) const void* quillfen_ocr_module(int version) {
    return version == kOcrModuleVersion ? &kModule : nullptr;
}

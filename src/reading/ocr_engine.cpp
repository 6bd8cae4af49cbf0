#include "reading/ocr_engine.h"

#include <cstdlib>
#include <mutex>

#include "imaging/module_loader.h"
#include "reading/ocr_module_abi.h"

namespace qf {
namespace {

struct Engine {
    const QfOcrModule* module = nullptr;
    void* handle = nullptr;
    std::string error;
};

std::mutex& engineMutex() {
    static std::mutex m;
    return m;
}

// Made on first use and kept: loading the language data takes longer than
// reading a chart's labels. Caller holds the mutex.
Engine& engine() {
    static Engine e;
    if (e.handle) return e;
    const LoadedModule m =
        loadModule("quillfen-tesseract.so", "quillfen_ocr_module", kOcrModuleVersion);
    if (!m.entry) {
        e.error = m.error;
        return e;
    }
    e.module = static_cast<const QfOcrModule*>(m.entry);
    char why[256] = "";
    // TESSDATA_PREFIX, when set, is Tesseract's own way of finding its data.
    e.handle = e.module->create(nullptr, "eng", why, sizeof why);
    if (!e.handle) e.error = std::string("Tesseract (English): ") + why;
    return e;
}

}  // namespace

bool ocrAvailable(std::string* why) {
    const std::lock_guard<std::mutex> lock(engineMutex());
    Engine& e = engine();
    if (why) *why = e.error;
    return e.handle != nullptr;
}

OcrLine recogniseLine(const cv::Mat& grey, const std::string& whitelist, OcrLayout layout) {
    OcrLine line;
    const std::lock_guard<std::mutex> lock(engineMutex());
    Engine& e = engine();
    if (!e.handle) {
        line.error = e.error;
        return line;
    }
    std::vector<QfOcrSymbol> symbols(64);
    int n = e.module->readLine(e.handle, &grey, int(layout),
                               whitelist.empty() ? nullptr : whitelist.c_str(), symbols.data(),
                               int(symbols.size()));
    if (n > int(symbols.size())) {
        symbols.resize(std::size_t(n));
        n = e.module->readLine(e.handle, &grey, int(layout),
                               whitelist.empty() ? nullptr : whitelist.c_str(), symbols.data(),
                               int(symbols.size()));
    }
    if (n < 0) {
        line.error = "text recognition failed";
        return line;
    }
    line.ok = true;
    for (int i = 0; i < n && i < int(symbols.size()); ++i) {
        const QfOcrSymbol& s = symbols[std::size_t(i)];
        line.symbols.push_back(
            {s.text, {s.left, s.top, s.right, s.bottom}, s.confidence, s.wordStart != 0});
    }
    return line;
}

}  // namespace qf

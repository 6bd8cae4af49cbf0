#include "common/translate.h"

#include <atomic>

namespace qf {

namespace {
std::atomic<TranslateHook> g_hook{nullptr};
}

void setTranslateHook(TranslateHook hook) {
    g_hook.store(hook);
}

std::string translate(const char* context, const char* source) {
    const TranslateHook hook = g_hook.load();
    return hook ? hook(context, source) : std::string(source);
}

std::string substitute(std::string text, std::initializer_list<std::string_view> args) {
    // One pass, so an argument that itself holds "%2" (a path, say) is
    // copied as it is and never taken for a marker.
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t k = size_t(text[i + 1] - '1');
            if (k < args.size()) {
                out.append(*(args.begin() + k));
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace qf

#pragma once
// Texts the core shows to the user go through one hook, so that the window can
// hand them to Qt's translator while the core itself stays free of Qt. Without
// a hook (the batch mode, core tests) every text is its Japanese source.
//
// Mark each text where it is written with translate("context", "source") or,
// where only the literal is stored, QT_TRANSLATE_NOOP("context", "source"):
// lupdate collects both forms.

#include <initializer_list>
#include <string>
#include <string_view>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace qf {

// context, source (UTF-8) -> translated UTF-8 text.
using TranslateHook = std::string (*)(const char* context, const char* source);

void setTranslateHook(TranslateHook hook);

// The text in the user's language; the source itself without a hook.
std::string translate(const char* context, const char* source);

// `text` with every "%1" (then "%2", ...) replaced by the arguments in order,
// (%1 to %9; translations may move them around).
std::string substitute(std::string text, std::initializer_list<std::string_view> args);

}  // namespace qf

#include "app/key_locks.h"

#ifdef QF_HAVE_X11
#include <QGuiApplication>
// Xlib after Qt: its macros (None, Bool, Status, ...) clash with Qt's names.
#include <X11/XKBlib.h>

namespace qf {

std::optional<KeyLocks> x11KeyLocks() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    // By name: the indicator numbers depend on the server's keyboard map.
    // One display per process, so the names are looked up once.
    static const Atom names[3] = {XInternAtom(display, "Caps Lock", False),
                                  XInternAtom(display, "Num Lock", False),
                                  XInternAtom(display, "Scroll Lock", False)};
    auto lit = [display](Atom name) {
        Bool on = False;
        return XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr) && on;
    };
    return KeyLocks{lit(names[0]), lit(names[1]), lit(names[2])};
}

}  // namespace qf
#else
namespace qf {

std::optional<KeyLocks> x11KeyLocks() {
    return std::nullopt;
}

}  // namespace qf
#endif

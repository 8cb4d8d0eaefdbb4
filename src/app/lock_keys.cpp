// SPDX-License-Identifier: GPL-3.0-or-later
#include "lock_keys.h"

#include <QGuiApplication>

#ifdef VORLO_HAVE_X11
#include <QtGui/qguiapplication_platform.h>

// Xlib's macros (None, Bool, Status...) clash with Qt: include it last.
#include <X11/XKBlib.h>
#endif

namespace vorlo {

LockKeys ReadLockKeys() {
    LockKeys keys;
#ifdef VORLO_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr) {
        return keys;
    }
    auto indicator = [display](const char* name, bool* on) {
        const Atom atom = XInternAtom(display, name, True);
        int state = 0;
        if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr)) {
            return false;
        }
        *on = state != 0;
        return true;
    };
    const bool caps = indicator("Caps Lock", &keys.capsLock);
    const bool num = indicator("Num Lock", &keys.numLock);
    keys.known = caps || num;
#endif
    return keys;
}

}  // namespace vorlo

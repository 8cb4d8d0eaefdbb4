// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_placement.h"

#include <QGuiApplication>
#include <QWindow>

#include <thread>
#include <vector>

#include "int32_math.h"

#ifdef VORLO_HAVE_X11
#include <QtGui/qguiapplication_platform.h>

// Xlib's macros (None, Bool, Status...) clash with Qt: include it last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace vorlo {

FramePlacement PlaceFrame(int32_t screenWidth, int32_t screenHeight) {
    FramePlacement p;
    p.x = WrapMul(screenWidth, 10) / 100;
    p.y = screenHeight / 100;
    p.width = WrapMul(screenWidth, 75) / 100;
    p.height = WrapMul(screenHeight, 99) / 100;
    p.boardHeight = WrapMul(screenHeight, 66) / 100;
    return p;
}

int CascadeStep(const QMargins& frame) {
    return qMax(24, frame.top());
}

ScreenPlacement PlaceFrameOnScreen(const QRect& available, const QMargins& frame, int cascade) {
    ScreenPlacement s;
    // A maximised window fills the available width; its title bar stays on
    // the screen and takes its height from the inside.
    s.fullScreen = QSize(available.width(), qMax(0, available.height() - frame.top()));
    const FramePlacement p = PlaceFrame(s.fullScreen.width(), s.fullScreen.height());
    s.outer = QRect(available.left() + p.x, available.top() + p.y, p.width, p.height);
    if (cascade > 0) {
        const int step = CascadeStep(frame);
        // Steps that fit in the width to the right and in half the height.
        const int room = qMin(available.right() - s.outer.right(), s.outer.height() / 2);
        const int steps = room >= step ? room / step : 0;
        const int at = steps > 0 ? cascade % (steps + 1) : 0;
        s.outer.translate(at * step, at * step);
        s.outer.setBottom(s.outer.bottom() - at * step);
    }
    s.inside = s.outer.marginsRemoved(frame);
    s.inside.setSize(s.inside.size().expandedTo(QSize(0, 0)));
    s.boardHeight = p.boardHeight;
    return s;
}

#ifdef VORLO_HAVE_X11
namespace {

Display* X11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The 32-bit items of a property, at most `count`; empty when it is absent.
std::vector<unsigned long> ReadCardinals(Display* display, Window window, Atom property, Atom type,
                                         long count) {
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, property, 0, count, False, type, &actualType,
                           &actualFormat, &items, &after, &data) == Success &&
        data != nullptr) {
        if (actualType == type && actualFormat == 32) {
            // Xlib hands 32-bit items over as longs.
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            values.assign(longs, longs + items);
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return values;
}

bool WindowManagerSupports(Display* display, const char* name) {
    const Atom wanted = XInternAtom(display, name, False);
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    for (unsigned long atom :
         ReadCardinals(display, DefaultRootWindow(display), supported, XA_ATOM, 4096)) {
        if (atom == wanted) {
            return true;
        }
    }
    return false;
}

}  // namespace
#endif

std::optional<QMargins> AskFrameExtents(QWindow* window, std::chrono::milliseconds wait) {
#ifdef VORLO_HAVE_X11
    Display* display = X11Display();
    if (display == nullptr || window == nullptr ||
        !WindowManagerSupports(display, "_NET_REQUEST_FRAME_EXTENTS")) {
        return std::nullopt;
    }
    const Window id = static_cast<Window>(window->winId());
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = id;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);
    // The window manager answers by setting the property on the window; it
    // usually does within a few milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    do {
        const auto v = ReadCardinals(display, id, extents, XA_CARDINAL, 4);
        if (v.size() == 4) {
            // left, right, top, bottom
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
#else
    (void)window;
    (void)wait;
    return std::nullopt;
#endif
}

bool WindowManagerFramesLater() {
#ifdef VORLO_HAVE_X11
    Display* display = X11Display();
    if (display == nullptr) {
        return false;
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    return !ReadCardinals(display, DefaultRootWindow(display), check, XA_WINDOW, 1).empty();
#else
    return false;
#endif
}

}  // namespace vorlo

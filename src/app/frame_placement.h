// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the main window goes on a screen of a given size: proportional to the
// screen, so it looks the same on every resolution.

#include <QMargins>
#include <QRect>

#include <chrono>
#include <cstdint>
#include <optional>

class QWindow;

namespace vorlo {

struct FramePlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t boardHeight = 0;  // the board's row; the text pane gets the rest
    friend constexpr bool operator==(const FramePlacement&, const FramePlacement&) = default;
};

// `screenWidth` and `screenHeight` are the inside size of a maximised window.
// 32-bit integer arithmetic, multiplying before dividing.
FramePlacement PlaceFrame(int32_t screenWidth, int32_t screenHeight);

// The window on a screen whose area available to windows is `available`,
// when the window manager frames it with `frame` (title bar and borders).
struct ScreenPlacement {
    QSize fullScreen;  // the inside of a maximised window: the area less the title bar
    QRect outer;       // the window with its frame
    QRect inside;      // the part the program draws: the outer rectangle less the frame
    int32_t boardHeight = 0;
};
// The `cascade`th window of the program running at once (from 0) stands a
// title bar's height further right and down than the one before, its height
// shortened by as much so it stays on the screen; when the free width runs
// out, the steps start again from the first place.
ScreenPlacement PlaceFrameOnScreen(const QRect& available, const QMargins& frame, int cascade = 0);

// How far one cascade step goes with `frame`: its title bar, at least 24 px.
int CascadeStep(const QMargins& frame);

// The width of the left (information) column.
inline constexpr int32_t kInfoPaneWidth = 140;

// What the window manager will put around `window` (created, not yet shown),
// asked for before the window is shown so that it can be sized to fit the
// first time. None when there is no window manager that answers within
// `wait`, or the window system is not X11.
std::optional<QMargins> AskFrameExtents(QWindow* window, std::chrono::milliseconds wait);

// Whether a window manager runs that will frame the window once it is shown,
// so its margins may still arrive after the window appears.
bool WindowManagerFramesLater();

}  // namespace vorlo

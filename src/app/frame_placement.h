#pragma once

// Where the main window goes on a screen of a given size: proportional to the
// screen, so it looks the same on every resolution.

#include <cstdint>

namespace vorlo {

struct FramePlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t boardHeight = 0;  // the board's row; the text pane gets the rest
    friend constexpr bool operator==(const FramePlacement&, const FramePlacement&) = default;
};

// `screenWidth` and `screenHeight` are the screen's area available to
// windows. 32-bit integer arithmetic, multiplying before dividing.
FramePlacement PlaceFrame(int32_t screenWidth, int32_t screenHeight);

// The width of the left (information) column.
inline constexpr int32_t kInfoPaneWidth = 140;

}  // namespace vorlo

#include "frame_placement.h"

#include "int32_math.h"

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

}  // namespace vorlo

#pragma once

// Which match lies under a board point.

#include <cstdint>

#include "match_list.h"

namespace vorlo {

// The match under (x, y), or none: the last match of the list first, so the
// match drawn on top wins. A match is hit in its head, its grip or its stick.
//
// A point is inside a polygon by the nonzero winding rule, with the polygon's
// integer vertices taken as the centres of pixels: this is exactly the set of
// pixels that the board painter fills for that polygon (see board_painter.h).
MatchList::Ref HitTest(const MatchList& matches, int32_t x, int32_t y);

// Whether (x, y) lies in the polygon of `count` points by the rule above.
bool PointInPolygon(const Point32* points, int count, int32_t x, int32_t y);

}  // namespace vorlo

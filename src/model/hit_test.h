// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which match lies under a board point.
//
// A board point (x, y) names the pixel whose top left corner it is; the pixel
// is sampled at its centre (x + 0.5, y + 0.5). A polygon with integer vertices
// contains the point when that centre lies inside it by the nonzero winding
// rule, with exactly the tie-breaking of the board painter's aliased polygon
// fill: a centre lying on a polygon edge is decided by the painter's scanline
// arithmetic (16.16 fixed point, see PointInPolygon). So a point is inside a
// polygon exactly when the painter fills that pixel for the polygon.
//
// The black one-pixel outline follows the same rule: an outline pixel is a hit
// when it lies on a pixel of the fill (the outline on the upper and left sides
// of a shape), and not when it lies just outside the fill (on the lower and
// right sides). Every pixel that shows a match's own colours is a hit on that
// match, and every pixel of untouched background is a miss.

#include <cstdint>

#include "match_list.h"

namespace vorlo {

// A match's shape reaches at most this far from its (x, y) in either
// coordinate: 65 pixels of stick plus 11 of head, rounded.
inline constexpr int32_t kMatchReach = 77;

// The match under (x, y), or none: the last match of the list first, so the
// match drawn on top wins. A match is hit in its head or its stick.
//
// The tail's grip (the first tenth of the stick) is not tested on its own: it
// lies inside the stick, except that its truncated corners can step a pixel
// off the stick's sides, where the board shows background. Testing it would
// make that background grab the match.
//
// Coordinates wrap at 32 bits like every board coordinate: a match is tested
// in the frame of the point, so a match lying across the edge of the 32-bit
// plane is hit where it is drawn.
MatchList::Ref HitTest(const MatchList& matches, int32_t x, int32_t y);

// Whether `match` lies under (x, y) by the rule above.
bool MatchContains(const Match& match, int32_t x, int32_t y);

// Whether (x, y) lies in the polygon of `count` points by the rule above. The
// vertices are taken relative to the point with 32-bit wrapping, so the answer
// is the plain one for any polygon less than 2^31 pixels across around the
// point.
bool PointInPolygon(const Point32* points, int count, int32_t x, int32_t y);

}  // namespace vorlo

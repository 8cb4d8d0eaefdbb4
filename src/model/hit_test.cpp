// SPDX-License-Identifier: GPL-3.0-or-later
#include "hit_test.h"

#include <span>
#include <utility>
#include <vector>

#include "int32_math.h"

namespace vorlo {

namespace {

constexpr int64_t kOne = int64_t{1} << 16;  // 1.0 in 16.16 fixed point

// Whether the edge from `a` to `b` (relative to the tested pixel, which is
// then pixel (0, 0)) lies left of that pixel's centre on its scanline, and
// which way it winds. The painter's scanline conversion walks each edge from
// its upper end: on row r (sampled at r + 0.5) the edge's x, plus a half pixel,
// is ax + 1/2 + s/2 + (r - ay) * s in 16.16 fixed point, where the slope s is
// dx/dy truncated toward zero and the first half step is floored; the edge
// counts for the pixels at and right of the floor of that value. This puts a
// centre lying exactly on an edge on the side the truncated slope leans to.
int EdgeWinding(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    int winding = 1;
    if (ay > by) {
        std::swap(ax, bx);
        std::swap(ay, by);
        winding = -1;
    }
    // Rows ay .. by - 1 have their centres within the edge's span; horizontal
    // edges cross none.
    if (!(ay <= 0 && 0 < by)) {
        return 0;
    }
    const int64_t slope = (bx - ax) * kOne / (by - ay);
    const int64_t xFixed = ax * kOne + kOne / 2 + (slope >> 1) + (0 - ay) * slope;
    return (xFixed >> 16) <= 0 ? winding : 0;
}

}  // namespace

bool PointInPolygon(const Point32* points, int count, int32_t x, int32_t y) {
    int winding = 0;
    for (int i = 0; i < count; ++i) {
        const Point32& a = points[i];
        const Point32& b = points[(i + 1) % count];
        // |coordinates| < 2^31, so the products stay below 2^63: the slope is
        // at most 2^48 and the row offset times the slope at most |dx| * 2^16.
        winding += EdgeWinding(WrapSub(a.x, x), WrapSub(a.y, y), WrapSub(b.x, x), WrapSub(b.y, y));
    }
    return winding != 0;
}

bool MatchContains(const Match& match, int32_t x, int32_t y) {
    // Cheap rejection first: most matches are far from the point.
    const int32_t dx = WrapSub(x, match.x);
    const int32_t dy = WrapSub(y, match.y);
    if (dx < -kMatchReach || dx > kMatchReach || dy < -kMatchReach || dy > kMatchReach) {
        return false;
    }
    const MatchShape shape = match.GetShape();
    return PointInPolygon(shape.Head.data(), static_cast<int>(shape.Head.size()), x, y) ||
           PointInPolygon(shape.Stick.data(), static_cast<int>(shape.Stick.size()), x, y);
}

namespace {

// The 32-bit values v with WrapSub(centre, v) within [-reach, reach], as up to
// two plain ranges: the range splits where it wraps past an end of 32 bits.
int WrappedRanges(int32_t centre, int32_t reach, int32_t (&lo)[2], int32_t (&hi)[2]) {
    constexpr int64_t kSpan = int64_t{1} << 32;
    const int64_t from = int64_t{centre} - reach;
    const int64_t to = int64_t{centre} + reach;
    if (from < INT32_MIN) {
        lo[0] = INT32_MIN, hi[0] = static_cast<int32_t>(to);
        lo[1] = static_cast<int32_t>(from + kSpan), hi[1] = INT32_MAX;
        return 2;
    }
    if (to > INT32_MAX) {
        lo[0] = static_cast<int32_t>(from), hi[0] = INT32_MAX;
        lo[1] = INT32_MIN, hi[1] = static_cast<int32_t>(to - kSpan);
        return 2;
    }
    lo[0] = static_cast<int32_t>(from), hi[0] = static_cast<int32_t>(to);
    return 1;
}

}  // namespace

MatchList::Ref HitTest(const MatchList& matches, int32_t x, int32_t y) {
    // Only matches whose point lies within their reach of (x, y) can be hit:
    // on a long list, let the list's grid name them, in list order.
    int32_t xLo[2], xHi[2], yLo[2], yHi[2];
    const int xs = WrappedRanges(x, kMatchReach, xLo, xHi);
    const int ys = WrappedRanges(y, kMatchReach, yLo, yHi);
    MatchList::Area areas[4];
    size_t areaCount = 0;
    for (int i = 0; i < xs; ++i) {
        for (int j = 0; j < ys; ++j) {
            areas[areaCount++] = MatchList::Area{xLo[i], yLo[j], xHi[i], yHi[j]};
        }
    }
    thread_local std::vector<MatchList::Ref> near;
    if (matches.FindNear(std::span(areas, areaCount), near)) {
        for (auto it = near.rbegin(); it != near.rend(); ++it) {
            if (MatchContains(**it, x, y)) {
                return *it;
            }
        }
        return {};
    }
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        if (MatchContains(*it, x, y)) {
            return it.ref();
        }
    }
    return {};
}

}  // namespace vorlo

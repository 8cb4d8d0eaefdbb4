#include "hit_test.h"

#include <utility>

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

bool MatchContains(const CMatch& match, int32_t x, int32_t y) {
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

MatchList::Ref HitTest(const MatchList& matches, int32_t x, int32_t y) {
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        if (MatchContains(*it, x, y)) {
            return it.ref();
        }
    }
    return {};
}

}  // namespace vorlo

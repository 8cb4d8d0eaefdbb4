// SPDX-License-Identifier: GPL-3.0-or-later
#include "snapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "int32_math.h"

namespace vorlo {

Point32 HeadTip(const Match& m) {
    const double a = static_cast<double>(m.angle) * shape_constants::kDegToRad;
    return {WrapAdd(m.x, RoundHalfUp(std::cos(a) * kEndToEnd)),
            WrapSub(m.y, RoundHalfUp(std::sin(a) * kEndToEnd))};
}

double DirectionDegrees(Point32 from, Point32 to) {
    const double dx = static_cast<double>(WrapSub(to.x, from.x));
    const double dy = static_cast<double>(WrapSub(to.y, from.y));
    return std::atan2(-dy, dx) / shape_constants::kDegToRad;
}

std::optional<int32_t> SnapAngleToStep(int32_t angle) {
    // In 64 bits: the nearest multiple may lie beyond the 32-bit range.
    const int64_t a = angle;
    int64_t r = a % kSnapAngleStep;
    if (r < 0) {
        r += kSnapAngleStep;
    }
    const int64_t nearest = r <= kSnapAngleStep / 2 ? a - r : a - r + kSnapAngleStep;
    if (std::llabs(nearest - a) > kSnapAngleWindow ||
        nearest > std::numeric_limits<int32_t>::max() ||
        nearest < std::numeric_limits<int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(nearest);
}

std::optional<EndFinder::Hit> EndFinder::Nearest(const MatchList& list,
                                                 std::span<const Point32> points,
                                                 MatchList::Ref skip, int32_t distance) {
    distance = std::max(distance, 0);
    // A match's head end lies up to kEndToEnd from its record's point, so
    // the records searched lie that much farther out than the distance.
    const int64_t reach = int64_t{kEndToEnd} + distance + 1;
    areas_.clear();
    for (const Point32& p : points) {
        areas_.push_back({Saturate(p.x - reach), Saturate(p.y - reach), Saturate(p.x + reach),
                          Saturate(p.y + reach)});
    }
    std::optional<Hit> best;
    const uint64_t limit = uint64_t(distance) * uint64_t(distance);
    auto consider = [&](MatchList::Ref ref) {
        if (ref == skip) {
            return;
        }
        const Point32 ends[2] = {{ref->x, ref->y}, HeadTip(*ref)};
        for (size_t i = 0; i < points.size(); ++i) {
            for (const Point32& end : ends) {
                const uint64_t d = PointDistanceSquared(points[i].x, points[i].y, end.x, end.y);
                if (d > limit) {
                    continue;
                }
                if (!best || d < best->distanceSquared ||
                    (d == best->distanceSquared && i < best->point)) {
                    best = Hit{i, end, d};
                }
            }
        }
    };
    if (list.FindNear(areas_, found_)) {
        for (const MatchList::Ref ref : found_) {
            consider(ref);
        }
    } else {
        for (auto it = list.begin(); it != list.end(); ++it) {
            consider(it.ref());
        }
    }
    return best;
}

}  // namespace vorlo

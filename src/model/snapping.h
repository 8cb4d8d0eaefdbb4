// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where matches meet, and how a moved or turned match is pulled onto another
// match's end.
//
// A match has two ends. Its tail end is the record's point (x, y), the middle
// of the end without the head. Its head end is the tip of the head: the point
// kEndToEnd pixels from (x, y) along the match's angle, each coordinate
// rounded half up as the match's own polygons are. A match lying at angle 0
// from (100, 100) has its ends at (100, 100) and (176, 100); at angle 90, at
// (100, 100) and (100, 24).
//
// Two ends are near when they lie within kSnapDistance of each other
// (Euclidean, so (4, 4) apart is near and (5, 4) is not).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "match.h"
#include "match_list.h"

namespace vorlo {

inline constexpr int32_t kEndToEnd = 76;  // from the tail end to the head's tip
inline constexpr int32_t kSnapDistance = 6;
inline constexpr int32_t kSnapAngleStep = 15;
inline constexpr int32_t kSnapAngleWindow = 3;

Point32 HeadTip(const Match& m);

// The direction from `from` to `to` in degrees as board angles run
// (counterclockwise on the screen, y growing downward), in (-180, 180].
double DirectionDegrees(Point32 from, Point32 to);

// The multiple of kSnapAngleStep within kSnapAngleWindow of `angle`, if any.
std::optional<int32_t> SnapAngleToStep(int32_t angle);

// Finds the end of another match nearest to one of a few points.
class EndFinder {
public:
    struct Hit {
        size_t point = 0;  // which of the points asked about
        Point32 end;       // the other match's end
        uint64_t distanceSquared = 0;
    };
    // The end of a match other than `skip` nearest to one of `points`, no
    // farther than `distance` (from 0 up). Of equal distances the first point wins,
    // then the match earlier in the list, then its tail end. The list is
    // searched through its spatial index.
    std::optional<Hit> Nearest(const MatchList& list, std::span<const Point32> points,
                               MatchList::Ref skip, int32_t distance = kSnapDistance);

private:
    std::vector<MatchList::Ref> found_;
    std::vector<MatchList::Area> areas_;
};

}  // namespace vorlo

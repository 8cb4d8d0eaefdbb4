// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One match on the board and the polygons it is drawn and hit-tested with.
//
// Board coordinates are pixels, origin at the top left, y growing downward.
// Angles are whole degrees growing counterclockwise on the screen: 0 points
// the head to the right, 90 up.

#include <array>
#include <cstdint>

namespace vorlo {

struct Point32 {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(const Point32&, const Point32&) = default;
};

// The polygons of one match, computed on demand from the record.
struct MatchShape {
    std::array<Point32, 4> Stick{};  // P0, P1 at the tail end; P2, P3 at the head end
    std::array<Point32, 20> Head{};  // the head's outline, clockwise on the screen
    std::array<Point32, 4> Grip{};   // P1, G1, G2, P0: the tenth of the stick at the tail
};

enum class ShapeParts { StickAndHead, WithGrip };

class Match {
public:
    int32_t x = 0;  // middle of the tail end (the end without the head)
    int32_t y = 0;
    int32_t angle = 0;  // direction from tail to head; any value, never normalised

    constexpr Match() = default;
    constexpr Match(int32_t x_, int32_t y_, int32_t angle_) : x(x_), y(y_), angle(angle_) {}

    // Stick and head always; the grip only when asked for.
    MatchShape GetShape(ShapeParts parts = ShapeParts::StickAndHead) const;
    void GetShape(MatchShape& shape, ShapeParts parts = ShapeParts::StickAndHead) const;

    friend constexpr bool operator==(const Match&, const Match&) = default;
};

// Nearest integer, halves toward plus infinity, decided by comparing the
// distances to floor and ceiling (which differs from floor(v + 0.5) just below
// a half). Values without a 32-bit form become INT32_MIN.
int32_t RoundHalfUp(double v);

// Distance between two points. The differences wrap at 32 bits like every
// board coordinate; the squared sum is exact in 64 bits.
double PointDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
uint64_t PointDistanceSquared(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

namespace shape_constants {
// Degrees to radians as the riddle geometry uses it: a hair above pi/180, and
// that hair decides the rounding of near-halves at multiples of 30, so stored
// riddles keep their shapes.
extern const double kDegToRad;
// Angular step between head vertices; neither pi/10 nor the nearest double to
// 0.31415926538.
extern const double kHeadStep;
extern const double kHeadFactors[20];
}  // namespace shape_constants

}  // namespace vorlo

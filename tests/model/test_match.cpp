// SPDX-License-Identifier: GPL-3.0-or-later
// The match geometry: worked shapes, rounding, distances and properties that
// must hold for every record.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "int32_math.h"
#include "match.h"

using namespace vorlo;

namespace {

using Quad = std::array<Point32, 4>;

struct StickCase {
    Match match;
    Quad stick;
};

TEST(GetShape, StickCorners) {
    const StickCase cases[] = {
        {{309, 126, 90}, {{{312, 126}, {306, 126}, {306, 61}, {312, 61}}}},
        {{199, 137, 0}, {{{199, 140}, {199, 134}, {264, 134}, {264, 140}}}},
        // Near-halves at multiples of 30 degrees: the degree constant decides.
        {{100, 100, 30}, {{{102, 103}, {99, 98}, {155, 65}, {158, 70}}}},
        {{100, 100, 150}, {{{101, 97}, {98, 102}, {42, 70}, {45, 65}}}},
        {{100, 100, 210}, {{{98, 97}, {101, 102}, {45, 135}, {42, 130}}}},
        {{100, 100, 270}, {{{97, 100}, {103, 100}, {103, 165}, {97, 165}}}},
        {{100, 100, -90}, {{{97, 100}, {103, 100}, {103, 165}, {97, 165}}}},
        {{100, 100, -30}, {{{98, 103}, {101, 98}, {157, 131}, {154, 136}}}},
        {{100, 100, 330}, {{{99, 103}, {102, 98}, {158, 130}, {155, 135}}}},
    };
    for (const StickCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "angle " << c.match.angle);
        const MatchShape shape = c.match.GetShape();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shape.Stick[i].x, c.stick[i].x) << "corner " << i;
            EXPECT_EQ(shape.Stick[i].y, c.stick[i].y) << "corner " << i;
        }
    }
}

TEST(GetShape, WorkedExampleHeadAndGrip) {
    const MatchShape shape = Match(309, 126, 90).GetShape(ShapeParts::WithGrip);
    const std::array<Point32, 20> head = {{{304, 58}, {304, 56}, {305, 53}, {307, 50}, {310, 50},
                                           {313, 53}, {314, 56}, {314, 58}, {314, 60}, {314, 62},
                                           {314, 64}, {314, 66}, {313, 69}, {311, 72}, {308, 72},
                                           {305, 69}, {304, 66}, {304, 64}, {304, 62}, {304, 60}}};
    EXPECT_EQ(shape.Head, head);
    const Quad grip = {{{306, 126}, {306, 119}, {312, 119}, {312, 126}}};
    EXPECT_EQ(shape.Grip, grip);
}

TEST(GetShape, HorizontalHeadSpanAndGrip) {
    const MatchShape shape = Match(199, 137, 0).GetShape(ShapeParts::WithGrip);
    int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (const Point32& p : shape.Head) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    EXPECT_EQ(minX, 253);
    EXPECT_EQ(maxX, 275);
    EXPECT_EQ(minY, 132);
    EXPECT_EQ(maxY, 142);
    const Quad grip = {{{199, 134}, {205, 134}, {205, 140}, {199, 140}}};
    EXPECT_EQ(shape.Grip, grip);
}

TEST(GetShape, GripTruncatesTowardZero) {
    struct Case {
        Match match;
        Point32 grip1;
    };
    const Case cases[] = {
        {{0, 0, 0}, {6, -3}},        // 6.5 truncates to 6
        {{-10, -10, 0}, {-3, -13}},  // -3.5 truncates to -3
        {{100, 100, -30}, {106, 101}},
        {{100, 100, 330}, {107, 101}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.match.x << "," << c.match.y << "," << c.match.angle);
        EXPECT_EQ(c.match.GetShape(ShapeParts::WithGrip).Grip[1], c.grip1);
    }
}

TEST(GetShape, EquivalentAnglesThatShareAShape) {
    EXPECT_EQ(Match(100, 100, 450).GetShape().Stick, Match(100, 100, 90).GetShape().Stick);
    EXPECT_EQ(Match(100, 100, 450).GetShape().Head, Match(100, 100, 90).GetShape().Head);
    EXPECT_EQ(Match(100, 100, 270).GetShape().Head, Match(100, 100, -90).GetShape().Head);
}

TEST(GetShape, ConstantsAreTheDocumentedDoubles) {
    using namespace shape_constants;
    EXPECT_EQ(kDegToRad, 0.01745329252111111);
    EXPECT_NE(kDegToRad, 3.14159265358979323846 / 180.0);
    EXPECT_EQ(kHeadStep, 0.31415926538000005);
    // One unit in the last place above the double nearest 0.31415926538.
    EXPECT_EQ(std::bit_cast<uint64_t>(kHeadStep), std::bit_cast<uint64_t>(0.31415926538) + 1);
}

TEST(RoundHalfUp, Cases) {
    struct Case {
        double in;
        int32_t out;
    };
    const Case cases[] = {{2.5, 3},
                          {-2.5, -2},
                          {-1.5, -1},
                          {3.0, 3},
                          {0.49999999999999994, 0},
                          {-0.5, 0},
                          {1.4999999995, 1},
                          {1.50000000009, 2},
                          {-1.5000000006, -2},
                          {2147483647.0, INT32_MAX},
                          {-2147483648.0, INT32_MIN}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfUp(c.in), c.out) << c.in;
    }
}

TEST(Int32Math, ConversionsAreDefinedForEveryDouble) {
    const double cases[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 2147483648.0, -2147483649.0};
    for (double v : cases) {
        EXPECT_EQ(TruncToInt32(v), INT32_MIN) << v;
        EXPECT_EQ(RoundHalfUp(v), INT32_MIN) << v;
    }
    EXPECT_EQ(TruncToInt32(-2147483648.9), INT32_MIN);
    EXPECT_EQ(TruncToInt32(2147483647.9), INT32_MAX);
    EXPECT_EQ(TruncToInt32(-3.5), -3);
    EXPECT_EQ(WrapAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(WrapSub(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(WrapMul(65536, 65536), 0);
    EXPECT_EQ(WrapDiv(INT32_MIN, -1), INT32_MIN);
    EXPECT_EQ(WrapRem(INT32_MIN, -1), 0);
    EXPECT_EQ(WrapRem(-250 + 180, 360), -70);
}

TEST(PointDistance, Cases) {
    EXPECT_EQ(PointDistance(0, 0, 3, 4), 5.0);
    EXPECT_EQ(PointDistance(5, 5, 5, 5), 0.0);
    EXPECT_EQ(PointDistanceSquared(100, 100, 110, 100), 100u);
    EXPECT_EQ(PointDistanceSquared(173, 96, 110, 100), 3985u);
    // Far beyond what 32-bit sums hold, the squared distance stays exact.
    EXPECT_EQ(PointDistanceSquared(0, 0, INT32_MIN, INT32_MIN), uint64_t{1} << 63);
    EXPECT_EQ(PointDistanceSquared(-1000000, 0, 1000000, 0), 4000000000000u);
}

// Properties over many seeded records, including values near the limits.
class ShapeProperties : public ::testing::Test {
protected:
    std::mt19937 rng{20261208};
    int32_t Coordinate() {
        switch (rng() % 4) {
            case 0:
                return static_cast<int32_t>(rng() % 2000) - 1000;
            case 1:
                return INT32_MAX - static_cast<int32_t>(rng() % 200);
            case 2:
                return INT32_MIN + static_cast<int32_t>(rng() % 200);
            default:
                return static_cast<int32_t>(rng());
        }
    }
    int32_t Angle() {
        return (rng() % 2 == 0) ? static_cast<int32_t>(rng() % 1441) - 720
                                : static_cast<int32_t>(rng());
    }
};

// Squared length of the difference of two points, with coordinates wrapped.
double Length(Point32 a, Point32 b) {
    return std::sqrt(double(PointDistanceSquared(a.x, a.y, b.x, b.y)));
}

// How many pixels apart two points are along the farther axis.
int64_t Apart(Point32 a, Point32 b) {
    return std::max(std::abs(int64_t{WrapSub(a.x, b.x)}), std::abs(int64_t{WrapSub(a.y, b.y)}));
}

TEST_F(ShapeProperties, StickIsASixBySixtyFiveRectangleUpToRounding) {
    for (int n = 0; n < 20000; ++n) {
        const Match m(Coordinate(), Coordinate(), Angle());
        const MatchShape s = m.GetShape();
        SCOPED_TRACE(::testing::Message() << m.x << "," << m.y << "," << m.angle);
        EXPECT_NEAR(Length(s.Stick[0], s.Stick[1]), 6.0, 1.5);
        EXPECT_NEAR(Length(s.Stick[2], s.Stick[3]), 6.0, 1.5);
        EXPECT_NEAR(Length(s.Stick[1], s.Stick[2]), 65.0, 1.5);
        EXPECT_NEAR(Length(s.Stick[3], s.Stick[0]), 65.0, 1.5);
        // The tail point lies between P0 and P1.
        EXPECT_LE(Length(Point32{m.x, m.y}, s.Stick[0]), 4.3);
        EXPECT_LE(Length(Point32{m.x, m.y}, s.Stick[1]), 4.3);
        // Every head vertex lies within the head's reach of the stick's far end.
        const Point32 farEnd{WrapSub(s.Stick[3].x, WrapSub(s.Stick[0].x, m.x)),
                             WrapSub(s.Stick[3].y, WrapSub(s.Stick[0].y, m.y))};
        for (const Point32& p : s.Head) {
            EXPECT_LE(Length(farEnd, p), 12.5);
        }
    }
}

TEST_F(ShapeProperties, AFullTurnMovesNoPointByMoreThanAPixel) {
    for (int n = 0; n < 20000; ++n) {
        const int32_t angle = static_cast<int32_t>(rng() % 200000) - 100000;
        const Match a(Coordinate(), Coordinate(), angle);
        const Match b(a.x, a.y, angle + 360);
        const MatchShape sa = a.GetShape(ShapeParts::WithGrip);
        const MatchShape sb = b.GetShape(ShapeParts::WithGrip);
        for (int i = 0; i < 4; ++i) {
            EXPECT_LE(Apart(sa.Stick[i], sb.Stick[i]), 1) << angle;
        }
        for (int i = 0; i < 20; ++i) {
            EXPECT_LE(Apart(sa.Head[i], sb.Head[i]), 1) << angle;
        }
    }
}

}  // namespace

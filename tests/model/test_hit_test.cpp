// SPDX-License-Identifier: GPL-3.0-or-later
// Hit testing: which match lies under a board point. That the hit pixels are
// exactly the painted ones is checked against the painter in
// tests/board/test_board_painter.cpp.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "hit_test.h"
#include "int32_math.h"

using namespace vorlo;

namespace {

MatchList Riddle(std::initializer_list<Match> matches) {
    MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return list;
}

struct PointCase {
    int32_t x, y;
    bool hit;
};

TEST(HitTest, SingleMatchAtAngleZero) {
    const MatchList matches = Riddle({{100, 100, 0}});
    const PointCase cases[] = {
        {130, 100, true},   // inside the stick
        {170, 100, true},   // inside the head, beyond the stick's end
        {130, 110, false},  // beside the stick
        {178, 100, false},  // beyond the head
        {100, 97, true},    // the stick's top left corner pixel
        {99, 100, false},   // just left of the tail
        {100, 103, false},  // the stick's lower edge: its outline lies outside the fill
        {164, 102, true},   // under the head, on the stick
        {176, 100, false},  // the head's tip: its right edge is x 176
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(bool(HitTest(matches, c.x, c.y)), c.hit);
    }
}

TEST(HitTest, LaterMatchWins) {
    MatchList matches;
    const MatchList::Ref first = matches.Append({100, 100, 0});
    const MatchList::Ref second = matches.Append({100, 100, 0});
    const MatchList::Ref crossing = matches.Append({130, 70, 270});  // down through the stick
    EXPECT_EQ(HitTest(matches, 130, 100), crossing);
    EXPECT_EQ(HitTest(matches, 110, 100), second);
    matches.Remove(second);
    EXPECT_EQ(HitTest(matches, 110, 100), first);
    EXPECT_EQ(HitTest(matches, 110, 120), MatchList::Ref());
}

TEST(HitTest, EmptyRiddleHitsNothing) {
    const MatchList matches;
    for (const PointCase& c : {PointCase{0, 0, false}, PointCase{INT32_MIN, INT32_MAX, false}}) {
        EXPECT_FALSE(HitTest(matches, c.x, c.y));
    }
}

// A match lying across the edge of the 32-bit plane is hit in its frame.
TEST(HitTest, WrapsAtThePlanesEdge) {
    const int32_t x = INT32_MAX - 20;
    const MatchList matches = Riddle({{x, INT32_MIN + 1, 0}});
    EXPECT_TRUE(HitTest(matches, x + 10, INT32_MIN + 1));          // stick before the edge
    EXPECT_TRUE(HitTest(matches, WrapAdd(x, 40), INT32_MIN + 1));  // stick after it
    EXPECT_TRUE(HitTest(matches, WrapAdd(x, 70), INT32_MIN + 1));  // head after it
    EXPECT_TRUE(HitTest(matches, WrapAdd(x, 40), WrapSub(INT32_MIN + 1, 3)));  // wraps in y too
    EXPECT_FALSE(HitTest(matches, WrapAdd(x, 40), INT32_MIN + 10));
    EXPECT_FALSE(HitTest(matches, 0, 0));
}

struct PolygonCase {
    const char* name;
    std::vector<Point32> polygon;
    std::vector<PointCase> points;
};

TEST(PointInPolygon, PixelCentresAndEdges) {
    const PolygonCase cases[] = {
        {"square: the left and top rows are in, the right and bottom rows out",
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
         {{0, 0, true}, {9, 9, true}, {10, 5, false}, {5, 10, false}, {-1, 5, false}}},
        {"the same square counterclockwise",
         {{0, 0}, {0, 10}, {10, 10}, {10, 0}},
         {{0, 0, true}, {9, 9, true}, {10, 5, false}, {5, -1, false}}},
        {"a diamond: centres on edges of slope 1 and -1",
         {{4, 0}, {8, 4}, {4, 8}, {0, 4}},
         // Row 0 samples at y 0.5, where the edges cross at x 3.5 and 4.5: a
         // centre lying on the left edge is out, on the right edge in.
         {{3, 0, false}, {4, 0, true}, {2, 1, false}, {3, 1, true}, {5, 1, true}, {6, 1, false}}},
        {"a bow tie: both wings are in, whichever way they wind",
         {{0, 0}, {10, 10}, {10, 0}, {0, 10}},
         {{1, 5, true}, {8, 5, true}, {5, 1, false}, {5, 8, false}}},
        {"a polygon wound twice is still one area by the winding rule",
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}},
         {{5, 5, true}, {11, 5, false}}},
        {"degenerate: a line has no area", {{0, 0}, {10, 10}}, {{5, 5, false}, {0, 0, false}}},
    };
    for (const PolygonCase& c : cases) {
        for (const PointCase& p : c.points) {
            SCOPED_TRACE(::testing::Message() << c.name << " at " << p.x << "," << p.y);
            EXPECT_EQ(PointInPolygon(c.polygon.data(), int(c.polygon.size()), p.x, p.y), p.hit);
        }
    }
}

// Every pixel of a match lies within kMatchReach of its (x, y): the painter and
// the renderer cull matches by that bound.
TEST(HitTest, MatchesReachNoFurtherThanTheBound) {
    std::mt19937 random(1234);
    int reach = 0;
    for (int i = 0; i < 20000; ++i) {
        const int32_t angle = i < 720 ? i - 360 : static_cast<int32_t>(random());
        const Match match(static_cast<int32_t>(random() % 2001) - 1000,
                          static_cast<int32_t>(random() % 2001) - 1000, angle);
        const MatchShape shape = match.GetShape(ShapeParts::WithGrip);
        auto take = [&](const auto& points) {
            for (const Point32& p : points) {
                reach = std::max({reach, std::abs(p.x - match.x), std::abs(p.y - match.y)});
            }
        };
        take(shape.Stick);
        take(shape.Head);
        take(shape.Grip);
    }
    EXPECT_LE(reach, kMatchReach);
    EXPECT_GE(reach, kMatchReach - 1);  // the bound is tight: 65 + 11
}

}  // namespace

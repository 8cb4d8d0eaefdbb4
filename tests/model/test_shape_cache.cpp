// SPDX-License-Identifier: GPL-3.0-or-later
// The shapes drawn and hit-tested come from per-angle offsets kept in a
// table; they must be bit for bit the shapes computed step by step from the
// record, for every angle and every position, the ends of the 32-bit range
// included.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "match.h"
#include "shape_cache.h"

using namespace vorlo;

namespace {

bool SameShape(const MatchShape& a, const MatchShape& b) {
    return a.Stick == b.Stick && a.Head == b.Head && a.Grip == b.Grip;
}

// Positions where wrapping and the grip's truncation toward zero matter: the
// ends of the range, the signs either side of zero, and ordinary ones.
const int32_t kPositions[] = {0,
                              -1,
                              1,
                              100,
                              -10,
                              309,
                              -100000,
                              INT32_MAX,
                              INT32_MIN,
                              INT32_MAX - 30,
                              INT32_MIN + 30,
                              INT32_MAX - 70,
                              INT32_MIN + 5,
                              1 << 30,
                              -(1 << 30)};

// Compares the table's shape with the step-by-step one at every position for
// `angle`; reports the first difference.
void ExpectExact(int32_t angle) {
    for (int32_t x : kPositions) {
        for (int32_t y : kPositions) {
            const Match match(x, y, angle);
            MatchShape cached;
            MatchShape direct;
            match.GetShape(cached, ShapeParts::WithGrip);
            GetShapeUncached(match, direct, ShapeParts::WithGrip);
            if (!SameShape(cached, direct)) {
                ADD_FAILURE() << "shape differs for (" << x << ", " << y << ", " << angle << ")";
                return;
            }
        }
    }
}

TEST(ShapeCache, EveryAngleFromMinus720To720) {
    for (int32_t angle = -720; angle <= 720; ++angle) {
        ExpectExact(angle);
    }
}

TEST(ShapeCache, RandomAndExtremeAngles) {
    for (int32_t angle :
         {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1, 1 << 24, -(1 << 24)}) {
        ExpectExact(angle);
    }
    std::mt19937 rng(20240611);
    for (int i = 0; i < 5000; ++i) {
        ExpectExact(static_cast<int32_t>(rng()));
    }
}

TEST(ShapeCache, AnglesSharingATableSlotDoNotMix) {
    // Many more distinct angles than the table has slots, visited twice in
    // an interleaved order, so every slot is overwritten and refilled.
    std::mt19937 rng(7);
    std::vector<int32_t> angles(8192);
    for (int32_t& a : angles) {
        a = static_cast<int32_t>(rng());
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < angles.size(); ++i) {
            const Match match(static_cast<int32_t>(i) - 4096, 77, angles[i]);
            MatchShape cached;
            MatchShape direct;
            match.GetShape(cached, ShapeParts::WithGrip);
            GetShapeUncached(match, direct, ShapeParts::WithGrip);
            ASSERT_TRUE(SameShape(cached, direct)) << "angle " << angles[i];
        }
    }
}

TEST(ShapeCache, GripTruncatesTowardZeroFromTheRealPosition) {
    // The grip's truncation depends on the sign of the coordinates, so it
    // cannot be an offset: (0, 0, 0) and (-10, -10, 0) step differently.
    EXPECT_EQ(Match(0, 0, 0).GetShape(ShapeParts::WithGrip).Grip[1], (Point32{6, -3}));
    EXPECT_EQ(Match(-10, -10, 0).GetShape(ShapeParts::WithGrip).Grip[1], (Point32{-3, -13}));
}

TEST(ShapeCache, ThreadsKeepTheirOwnTables) {
    auto work = [](uint32_t seed, bool* ok) {
        std::mt19937 rng(seed);
        *ok = true;
        for (int i = 0; i < 3000 && *ok; ++i) {
            const Match match(static_cast<int32_t>(rng()), static_cast<int32_t>(rng()),
                              static_cast<int32_t>(rng() % 1441) - 720);
            MatchShape cached;
            MatchShape direct;
            match.GetShape(cached, ShapeParts::WithGrip);
            GetShapeUncached(match, direct, ShapeParts::WithGrip);
            *ok = SameShape(cached, direct);
        }
    };
    bool ok1 = false;
    bool ok2 = false;
    std::thread t1(work, 1, &ok1);
    std::thread t2(work, 2, &ok2);
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

}  // namespace

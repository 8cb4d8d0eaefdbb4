// SPDX-License-Identifier: GPL-3.0-or-later
#include "add_spot.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "list_of.h"

namespace vorlo {
namespace {

bool Overlap(const BoardRect& a, const BoardRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether a new match `m` would be clear: inside `view` by 4 px and
// meeting no match's outline. Every match is looked at, index or not.
bool ClearBySight(const std::vector<Match>& matches, const Match& m, const BoardRect& view) {
    const BoardRect r = MatchBounds(m);
    if (r.left - 4 < view.left || r.right + 4 > view.right || r.top - 4 < view.top ||
        r.bottom + 4 > view.bottom) {
        return false;
    }
    for (const Match& other : matches) {
        if (Overlap(r, MatchBounds(other))) {
            return false;
        }
    }
    return true;
}

TEST(AddSpot, PassesOverSpotsOutOfViewOrOnOtherMatches) {
    struct Case {
        const char* what;
        std::vector<Match> matches;
        int32_t counter, width;
        BoardRect view;
        Match spot;
        int32_t nextCounter;
    };
    const BoardRect wide{0, 0, 640, 480};
    const Case cases[] = {
        {"an empty board takes the counter's spot", {}, 36, 640, wide, {56, 85, 90}, 54},
        {"18 px apart, upright matches do not meet",
         {{20, 85, 90}},
         18,
         640,
         wide,
         {38, 85, 90},
         36},
        {"a spot on a match is passed over", {{20, 85, 90}}, 0, 640, wide, {38, 85, 90}, 36},
        {"a match 12 px beside it is met too", {{44, 85, 90}}, 18, 640, wide, {74, 85, 90}, 72},
        {"a lying match takes several spots", {{20, 60, 0}}, 0, 640, wide, {110, 85, 90}, 108},
        {"a match in the next row does not", {{20, 175, 90}}, 0, 640, wide, {20, 85, 90}, 18},
        {"spots across the right edge, up to the wrap",
         {},
         288,
         640,
         {0, 0, 300, 480},
         {28, 85, 90},
         666},
        {"... and one against it, within 4 px", {}, 270, 640, {0, 0, 300, 480}, {28, 85, 90}, 666},
        {"the last spot clear of the edge", {}, 270, 640, {0, 0, 301, 480}, {290, 85, 90}, 288},
        {"a view scrolled past the first row", {}, 0, 640, {0, 30, 640, 480}, {20, 175, 90}, 18},
        {"a view scrolled to the right", {}, 0, 640, {30, 0, 640, 480}, {56, 85, 90}, 54},
        {"a full first row gives way to the next",
         {{20, 85, 90}, {38, 85, 90}, {56, 85, 90}, {74, 85, 90}},
         0,
         90,
         {0, 0, 90, 480},
         {20, 175, 90},
         18},
        {"no spot clear: the counter's own",
         {{20, 85, 90}},
         0,
         300,
         {0, 0, 40, 100},
         {20, 85, 90},
         18},
        {"a view too low for any row", {}, 0, 300, {0, 0, 300, 80}, {20, 85, 90}, 18},
        {"a board without width", {}, 7, 0, wide, {20, 85, 90}, 25},
        {"the counter wraps at 32 bits",
         {},
         INT32_MAX - 5,
         300,
         wide,
         {(INT32_MAX - 5) % 300 + 20, 85, 90},
         INT32_MIN + 12},
        {"a negative counter's spot left of the board is passed over",
         {},
         INT32_MIN + 12,
         300,
         wide,
         {(INT32_MIN + 12 + 18 * 13) % 300 + 20, 85, 90},
         INT32_MIN + 12 + 18 * 14},
    };
    for (const Case& c : cases) {
        const AddSpot spot = ClearAddSpot(ListOf(c.matches), c.counter, c.width, c.view);
        EXPECT_EQ(spot.match, c.spot) << c.what;
        EXPECT_EQ(spot.nextCounter, c.nextCounter) << c.what;
    }
}

// On random boards, large enough for the list's index to answer too, the
// spot taken is clear and every spot of the sequence before it is not.
TEST(AddSpot, TakesTheFirstClearSpotOnRandomBoards) {
    std::mt19937 random(2712);
    for (int round = 0; round < 40; ++round) {
        const bool crowded = round % 2 == 1;
        const int count = crowded ? 700 : int(random() % 40);
        std::vector<Match> matches;
        for (int i = 0; i < count; ++i) {
            // A crowded board keeps most matches off the rows, so that some
            // spots stay free.
            const int32_t y =
                crowded && i % 8 != 0 ? int32_t(300 + random() % 2000) : int32_t(random() % 400);
            matches.emplace_back(int32_t(random() % 700) - 30, y, int32_t(random() % 360));
        }
        const int32_t width = int32_t(200 + random() % 500);
        const BoardRect view{0, int32_t(random() % 60), width - int32_t(random() % 20),
                             int32_t(200 + random() % 300)};
        const int32_t counter = int32_t(random() % 1000) * 18;
        const MatchList list = ListOf(matches);
        const AddSpot spot = ClearAddSpot(list, counter, width, view);

        // Walk the sequence by hand, row by row.
        std::optional<AddSpot> expected;
        for (int32_t y = 85; !expected && y + 10 <= view.bottom; y += 90) {
            int32_t n = counter;
            for (int k = 0; k < width && !expected; ++k, n += 18) {
                const Match m(n % width + 20, y, 90);
                if (ClearBySight(matches, m, view)) {
                    expected = AddSpot{m, n + 18};
                }
            }
        }
        if (!expected) {
            expected = CounterSpot(counter, width);
        }
        EXPECT_EQ(spot.match, expected->match) << "round " << round;
        EXPECT_EQ(spot.nextCounter, expected->nextCounter) << "round " << round;
    }
}

}  // namespace
}  // namespace vorlo

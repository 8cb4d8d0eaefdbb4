// SPDX-License-Identifier: GPL-3.0-or-later
// The list's grid only narrows searches: FindNear and HitTest on a long list
// give exactly what walking the records gives, through appends, removals,
// moves and undos, at the ends of the 32-bit range too.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "board_editor.h"
#include "hit_test.h"
#include "int32_math.h"
#include "match_list.h"

using namespace vorlo;

namespace {

std::vector<MatchList::Ref> Walk(const MatchList& list, const std::vector<MatchList::Area>& areas) {
    std::vector<MatchList::Ref> out;
    for (auto it = list.begin(); it != list.end(); ++it) {
        for (const MatchList::Area& a : areas) {
            if (it->x >= a.left && it->x <= a.right && it->y >= a.top && it->y <= a.bottom) {
                out.push_back(it.ref());
                break;
            }
        }
    }
    return out;
}

MatchList::Ref WalkHitTest(const MatchList& list, int32_t x, int32_t y) {
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (MatchContains(*it, x, y)) {
            return it.ref();
        }
    }
    return {};
}

// Positions on an ordinary board, and near the ends of the 32-bit range
// where a match's reach wraps.
int32_t RandomCoordinate(std::mt19937& rng) {
    switch (rng() % 4) {
        case 0:
            return WrapAdd(INT32_MAX, static_cast<int32_t>(rng() % 400) - 200);
        case 1:
            return static_cast<int32_t>(rng());
        default:
            return static_cast<int32_t>(rng() % 3000) - 500;
    }
}

TEST(MatchGrid, AgreesWithWalkingTheListThroughEdits) {
    std::mt19937 rng(11);
    MatchList list;
    std::vector<MatchList::Ref> refs;
    for (int i = 0; i < 3000; ++i) {
        refs.push_back(list.Append(Match(RandomCoordinate(rng), RandomCoordinate(rng), 90)));
    }
    std::vector<MatchList::Ref> found;
    for (int step = 0; step < 3000; ++step) {
        switch (rng() % 4) {
            case 0:
                refs.push_back(
                    list.Append(Match(RandomCoordinate(rng), RandomCoordinate(rng), 0)));
                break;
            case 1: {
                const size_t i = rng() % refs.size();
                list.Remove(refs[i]);
                refs.erase(refs.begin() + static_cast<long>(i));
                break;
            }
            default: {
                const MatchList::Ref r = refs[rng() % refs.size()];
                r->x = RandomCoordinate(rng);
                r->y = RandomCoordinate(rng);
                list.Moved(r);
                break;
            }
        }
        const int32_t x = RandomCoordinate(rng);
        const int32_t y = RandomCoordinate(rng);
        const int32_t w = static_cast<int32_t>(rng() % 600);
        const int32_t h = static_cast<int32_t>(rng() % 600);
        const std::vector<MatchList::Area> areas = {
            {x, y, static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, INT32_MAX)),
             static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, INT32_MAX))},
            {static_cast<int32_t>(std::max<int64_t>(int64_t{x} - 100, INT32_MIN)), y, x, y}};
        if (list.FindNear(areas, found)) {
            ASSERT_EQ(found, Walk(list, areas)) << "step " << step;
        }
        ASSERT_EQ(HitTest(list, x, y), WalkHitTest(list, x, y)) << "step " << step;
    }
}

TEST(MatchGrid, HitTestFindsTheTopmostOfStackedMatchesAcrossTheWrap) {
    MatchList list;
    for (int i = 0; i < 2000; ++i) {
        list.Append(Match(i * 300, 0, 0));
    }
    // Two matches lying across the edge of the plane, the later on top; a
    // point on the far side of the edge hits it.
    const MatchList::Ref lower = list.Append(Match(INT32_MAX - 20, 100, 0));
    const MatchList::Ref upper = list.Append(Match(INT32_MAX - 10, 100, 0));
    EXPECT_EQ(HitTest(list, INT32_MIN + 20, 100), upper);
    list.Remove(upper);
    EXPECT_EQ(HitTest(list, INT32_MIN + 20, 100), lower);
    EXPECT_EQ(HitTest(list, INT32_MIN + 20, 100), WalkHitTest(list, INT32_MIN + 20, 100));
    EXPECT_FALSE(HitTest(list, -5000, -5000));
}

// The editor tells the list about every move: a drag, a turn about the head
// and the undo of either leave the hit test agreeing with the records.
class NullHost : public BoardHost {
public:
    void setModified() override {}
    void UpdateAllViews(int32_t) override {}
};

TEST(MatchGrid, EditorDragsAndUndosKeepTheGridTrue) {
    RiddleState doc;
    NullHost host;
    BoardEditor editor(doc, host);
    for (int i = 0; i < 4000; ++i) {
        doc.MatchList.Append(Match((i % 80) * 100, (i / 80) * 100, (i * 37) % 360));
    }
    std::mt19937 rng(3);
    for (int drag = 0; drag < 200; ++drag) {
        const int32_t x = static_cast<int32_t>(rng() % 8000);
        const int32_t y = static_cast<int32_t>(rng() % 5000);
        const bool turn = rng() % 2 == 0;
        if (turn) {
            editor.OnRButtonDown(MK_RBUTTON, x, y);
        } else {
            editor.OnLButtonDown(MK_LBUTTON, x, y);
        }
        for (int m = 0; m < 5; ++m) {
            const int32_t px = static_cast<int32_t>(rng() % 8000);
            const int32_t py = static_cast<int32_t>(rng() % 5000);
            editor.OnMouseMove(turn ? MK_RBUTTON : MK_LBUTTON, px, py);
            ASSERT_EQ(HitTest(doc.MatchList, px, py), WalkHitTest(doc.MatchList, px, py));
        }
        if (rng() % 3 == 0) {
            editor.OnEditUndo();
        }
        ASSERT_EQ(HitTest(doc.MatchList, x, y), WalkHitTest(doc.MatchList, x, y));
    }
}

}  // namespace

namespace {

// A list long enough to be searched through its index, spread over an
// ordinary board.
MatchList Board(size_t count) {
    MatchList list;
    for (size_t i = 0; i < count; ++i) {
        list.Append(
            Match(static_cast<int32_t>((i % 100) * 50), static_cast<int32_t>(i / 100 * 50), 0));
    }
    return list;
}

std::vector<MatchList::Ref> Near(const MatchList& list, const MatchList::Area& area) {
    std::vector<MatchList::Ref> found;
    EXPECT_TRUE(list.FindNear(std::span(&area, 1), found));
    return found;
}

// Matches in the cells at the corners and edges of the plane, where cell
// numbers are most negative and most positive, are filed and found like any.
TEST(MatchGrid, FindsMatchesInTheCellsAtTheEndsOfTheRange) {
    const std::vector<Match> edges = {
        {INT32_MIN, INT32_MIN, 0},
        {INT32_MAX, INT32_MAX, 0},
        {INT32_MIN, INT32_MAX, 0},
        {INT32_MAX, INT32_MIN, 0},
        {INT32_MIN + 255, 0, 0},
        {INT32_MIN + 256, 0, 0},
        {INT32_MAX - 255, 0, 0},
        {INT32_MAX - 256, 0, 0},
        {-1, -1, 0},
        {0, 0, 0},
        {-256, 255, 0},
        {-257, 256, 0},
    };
    MatchList list = Board(2000);
    std::vector<MatchList::Ref> refs;
    for (const Match& m : edges) {
        refs.push_back(list.Append(m));
    }
    for (size_t i = 0; i < edges.size(); ++i) {
        const Match& m = edges[i];
        SCOPED_TRACE(testing::Message() << m.x << "," << m.y);
        // The point alone, and a small area around it clamped to the range.
        const MatchList::Area exact{m.x, m.y, m.x, m.y};
        const MatchList::Area around{
            static_cast<int32_t>(std::max<int64_t>(int64_t{m.x} - 300, INT32_MIN)),
            static_cast<int32_t>(std::max<int64_t>(int64_t{m.y} - 300, INT32_MIN)),
            static_cast<int32_t>(std::min<int64_t>(int64_t{m.x} + 300, INT32_MAX)),
            static_cast<int32_t>(std::min<int64_t>(int64_t{m.y} + 300, INT32_MAX))};
        const std::vector<MatchList::Ref> found = Near(list, exact);
        EXPECT_NE(std::find(found.begin(), found.end(), refs[i]), found.end());
        EXPECT_EQ(Near(list, around), Walk(list, {around}));
    }
}

// The index knows where each match lay when it was made; Moved tells it
// otherwise. A moved match is found at its new place only, also after it
// came back, and after enough moves for the index to be made afresh.
TEST(MatchGrid, MovedMatchesAreFoundWhereTheyLieNow) {
    struct Case {
        const char* what;
        std::vector<std::pair<int32_t, int32_t>> path;  // successive positions
    };
    const std::vector<Case> cases = {
        {"within its cell", {{10, 10}}},
        {"to a far cell", {{90000, 90000}}},
        {"to the end of the range", {{INT32_MAX, INT32_MIN}}},
        {"away and back", {{90000, 90000}, {0, 0}}},
        {"a long drag", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MatchList list = Board(3000);
        const MatchList::Ref moving = list.First().Next();  // at (50, 0)
        EXPECT_FALSE(list.HasIndex());
        Near(list, {0, 0, 100, 100});
        EXPECT_TRUE(list.HasIndex());
        std::vector<std::pair<int32_t, int32_t>> path = c.path;
        if (path.empty()) {
            for (int32_t step = 0; step < 3000; ++step) {
                path.emplace_back(step * 7, step * 3);
            }
        }
        for (const auto& [x, y] : path) {
            if (c.path.empty()) {
                // Another match touched in between: every move is filed.
                list.Moved(list.First());
            }
            const MatchList::Area was{moving->x, moving->y, moving->x, moving->y};
            moving->x = x;
            moving->y = y;
            list.Moved(moving);
            const MatchList::Area now{x, y, x, y};
            const std::vector<MatchList::Ref> there = Near(list, now);
            ASSERT_NE(std::find(there.begin(), there.end(), moving), there.end());
            const std::vector<MatchList::Ref> before = Near(list, was);
            EXPECT_EQ(std::find(before.begin(), before.end(), moving) != before.end(),
                      was.left == x && was.top == y);
        }
    }
}

// A removed match is never offered, not even when its slot went back to the
// list and a new match took it somewhere else.
TEST(MatchGrid, RemovedAndReusedSlotsAreNotFoundWhereTheyWere) {
    MatchList list = Board(1000);
    const MatchList::Ref last = list.Last();
    const Match old = *last;
    Near(list, {0, 0, 10, 10});
    list.Remove(last);
    EXPECT_TRUE(Near(list, {old.x, old.y, old.x, old.y}).empty());
    const MatchList::Ref taken = list.Append(Match(-7000, -7000, 0));
    EXPECT_TRUE(Near(list, {old.x, old.y, old.x, old.y}).empty());
    EXPECT_EQ(Near(list, {-7000, -7000, -7000, -7000}), std::vector<MatchList::Ref>{taken});
    const MatchList::Ref middle = list.First().Next().Next();
    const Match m = *middle;
    list.Remove(middle);
    EXPECT_TRUE(Near(list, {m.x, m.y, m.x, m.y}).empty());
}

// The index is made only for a local search: never for an area covering the
// board, never for a paint, nor for a short list.
TEST(MatchGrid, IndexIsMadeOnlyForLocalSearches) {
    std::vector<MatchList::Ref> found;
    const MatchList::Area whole{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const MatchList::Area most{-100, -100, 4000, 4000};
    const MatchList::Area spot{100, 100, 200, 200};
    MatchList list = Board(10000);
    EXPECT_FALSE(list.FindNear(std::span(&whole, 1), found));
    EXPECT_FALSE(list.FindNear(std::span(&most, 1), found));
    EXPECT_FALSE(list.FindNear(std::span(&spot, 1), found, MatchList::IndexUse::OnlyIfBuilt));
    EXPECT_FALSE(list.HasIndex());
    EXPECT_TRUE(list.FindNear(std::span(&spot, 1), found));
    EXPECT_TRUE(list.HasIndex());
    EXPECT_TRUE(list.FindNear(std::span(&spot, 1), found, MatchList::IndexUse::OnlyIfBuilt));
    EXPECT_EQ(found, Walk(list, {spot}));

    const MatchList copy = list;
    EXPECT_FALSE(copy.HasIndex());
    MatchList shortList = Board(100);
    EXPECT_FALSE(shortList.FindNear(std::span(&spot, 1), found));
    EXPECT_FALSE(shortList.HasIndex());
}

}  // namespace

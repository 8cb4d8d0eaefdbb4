// SPDX-License-Identifier: GPL-3.0-or-later
// The list's grid only narrows searches: FindNear and HitTest on a long list
// give exactly what walking the records gives, through appends, removals,
// moves and undos, at the ends of the 32-bit range too.

#include <gtest/gtest.h>

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
        refs.push_back(list.Append(CMatch(RandomCoordinate(rng), RandomCoordinate(rng), 90)));
    }
    std::vector<MatchList::Ref> found;
    for (int step = 0; step < 3000; ++step) {
        switch (rng() % 4) {
            case 0:
                refs.push_back(
                    list.Append(CMatch(RandomCoordinate(rng), RandomCoordinate(rng), 0)));
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
        list.Append(CMatch(i * 300, 0, 0));
    }
    // Two matches lying across the edge of the plane, the later on top; a
    // point on the far side of the edge hits it.
    const MatchList::Ref lower = list.Append(CMatch(INT32_MAX - 20, 100, 0));
    const MatchList::Ref upper = list.Append(CMatch(INT32_MAX - 10, 100, 0));
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
    void SetModifiedFlag() override {}
    void UpdateAllViews(int32_t) override {}
};

TEST(MatchGrid, EditorDragsAndUndosKeepTheGridTrue) {
    RiddleState doc;
    NullHost host;
    BoardEditor editor(doc, host);
    for (int i = 0; i < 4000; ++i) {
        doc.MatchList.Append(CMatch((i % 80) * 100, (i / 80) * 100, (i * 37) % 360));
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

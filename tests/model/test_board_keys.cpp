// SPDX-License-Identifier: GPL-3.0-or-later
// The board editor's keyboard steps, selection by key, and snapping.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board_editor.h"
#include "snapping.h"

using namespace vorlo;

namespace {

class QuietHost : public BoardHost {
public:
    void BoardChanged(const BoardChange& change, bool modifies) override {
        modified += modifies ? 1 : 0;
        hints += change.Whole() ? 1 : 0;
    }
    int modified = 0;
    int hints = 0;
};

struct Board {
    RiddleState doc;
    QuietHost host;
    BoardEditor editor{doc, host};

    MatchList::Ref Put(Match m) { return doc.MatchList.Append(m); }
    Match Selected() const { return *doc.SelectedMatch; }
};

TEST(BoardKeys, ARunOfStepsIsOneUndo) {
    Board b;
    b.doc.SelectedMatch = b.Put(Match(100, 100, 0));
    for (int i = 0; i < 3; ++i) {
        b.editor.OnKeyMove(1, 0);
    }
    b.editor.OnKeyMove(0, 10);
    EXPECT_EQ(b.Selected(), Match(103, 110, 0));
    EXPECT_EQ(b.doc.LastAction, ActionMove);
    EXPECT_EQ(b.host.modified, 4);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Selected(), Match(100, 100, 0));
}

TEST(BoardKeys, TurnsInARunAreUndoneWithTheMoves) {
    Board b;
    b.doc.SelectedMatch = b.Put(Match(100, 100, 0));
    b.editor.OnKeyMove(-10, 0);
    b.editor.OnKeyTurn(15, false);
    b.editor.OnKeyMove(0, -1);
    EXPECT_EQ(b.Selected(), Match(90, 99, 15));
    EXPECT_EQ(b.doc.LastAction, ActionRotate);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Selected(), Match(100, 100, 0));
}

TEST(BoardKeys, AnythingBetweenStartsANewRun) {
    Board b;
    const MatchList::Ref first = b.Put(Match(100, 100, 0));
    b.Put(Match(300, 100, 90));
    b.doc.SelectedMatch = first;
    b.editor.OnKeyMove(5, 0);
    // Selecting away and back ends the run; so does a press or an undo.
    b.editor.SelectNextMatch();
    b.editor.SelectPreviousMatch();
    b.editor.OnKeyMove(5, 0);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Selected(), Match(105, 100, 0));
    b.editor.OnKeyMove(0, 7);
    b.editor.PressLeft(500, 500);  // misses: selection gone
    b.doc.SelectedMatch = first;
    b.editor.OnKeyMove(0, 1);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Selected(), Match(105, 107, 0));
}

TEST(BoardKeys, AStepOnAnotherMatchStartsANewRun) {
    Board b;
    const MatchList::Ref first = b.Put(Match(100, 100, 0));
    const MatchList::Ref second = b.Put(Match(300, 100, 90));
    b.doc.SelectedMatch = first;
    b.editor.OnKeyMove(1, 0);
    b.doc.SelectedMatch = second;
    b.editor.OnKeyMove(1, 0);
    b.editor.OnEditUndo();
    EXPECT_EQ(*first, Match(101, 100, 0));
    EXPECT_EQ(*second, Match(300, 100, 90));
}

TEST(BoardKeys, TurnsAboutTheTailKeepThePoint) {
    struct Case {
        int32_t degrees;
        int times;
        int32_t angle;
    };
    for (const Case& c :
         {Case{1, 1, 1}, Case{-1, 1, -1}, Case{15, 1, 15}, Case{-15, 3, -45}, Case{15, 24, 360}}) {
        Board b;
        b.doc.SelectedMatch = b.Put(Match(100, 100, 0));
        for (int i = 0; i < c.times; ++i) {
            b.editor.OnKeyTurn(c.degrees, false);
        }
        EXPECT_EQ(b.Selected(), Match(100, 100, c.angle)) << c.degrees << " x" << c.times;
    }
}

TEST(BoardKeys, TurnsAboutTheHeadKeepTheHeadOnItsPivot) {
    // (100, 100, 0) has its head vertex 2 at (173, 96). Half a turn about it
    // puts the tail where the head vertex 2 of (173, 96, 0) lies, (246, 92);
    // a whole turn brings the match back.
    Board b;
    b.doc.SelectedMatch = b.Put(Match(100, 100, 0));
    ASSERT_EQ(b.Selected().GetShape().Head[2], (Point32{173, 96}));
    for (int i = 0; i < 12; ++i) {
        b.editor.OnKeyTurn(-15, true);
    }
    EXPECT_EQ(b.Selected(), Match(246, 92, -180));
    EXPECT_EQ(b.Selected().GetShape().Head[2], (Point32{173, 96}));
    for (int i = 0; i < 24; ++i) {
        b.editor.OnKeyTurn(15, true);
    }
    EXPECT_EQ(b.Selected(), Match(246, 92, 180));
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Selected(), Match(100, 100, 0));
}

TEST(BoardKeys, StepsWithoutASelectionDoNothing) {
    Board b;
    b.Put(Match(100, 100, 0));
    b.editor.OnKeyMove(1, 0);
    b.editor.OnKeyTurn(1, true);
    EXPECT_EQ(b.doc.MatchList.ToVector(), std::vector<Match>{Match(100, 100, 0)});
    EXPECT_EQ(b.doc.LastAction, ActionNone);
    EXPECT_EQ(b.host.modified, 0);
}

TEST(BoardKeys, SelectionByKeyFollowsTheListAndWraps) {
    Board b;
    EXPECT_FALSE(b.editor.SelectNextMatch());
    EXPECT_FALSE(b.editor.SelectPreviousMatch());
    const MatchList::Ref m[3] = {b.Put(Match(1, 1, 0)), b.Put(Match(2, 2, 0)),
                                 b.Put(Match(3, 3, 0))};
    b.doc.LastAction = ActionDelete;
    const std::vector<std::pair<bool, int>> steps = {
        {true, 0}, {true, 1}, {true, 2}, {true, 0}, {false, 2}, {false, 1}, {false, 0}, {false, 2},
    };
    for (const auto& [forward, expected] : steps) {
        EXPECT_TRUE(forward ? b.editor.SelectNextMatch() : b.editor.SelectPreviousMatch());
        EXPECT_EQ(b.doc.SelectedMatch, m[expected]);
    }
    b.doc.SelectedMatch = {};
    b.editor.SelectPreviousMatch();
    EXPECT_EQ(b.doc.SelectedMatch, m[2]);
    // Selecting changes neither the undo record nor the modified flag.
    EXPECT_EQ(b.doc.LastAction, ActionDelete);
    EXPECT_EQ(b.host.modified, 0);
    EXPECT_EQ(b.host.hints, 9);
}

TEST(Snapping, EndsOfAMatch) {
    struct Case {
        Match m;
        Point32 tip;
    };
    for (const Case& c : {Case{{100, 100, 0}, {176, 100}}, Case{{100, 100, 90}, {100, 24}},
                          Case{{100, 100, 180}, {24, 100}}, Case{{100, 100, 45}, {154, 46}},
                          Case{{100, 100, -90}, {100, 176}}, Case{{0, 0, 360}, {76, 0}}}) {
        EXPECT_EQ(HeadTip(c.m), c.tip) << c.m.angle;
    }
}

TEST(Snapping, AnglesWithinThreeOfAStep) {
    const std::vector<std::pair<int32_t, std::optional<int32_t>>> cases = {
        {0, 0},
        {3, 0},
        {4, std::nullopt},
        {7, std::nullopt},
        {8, std::nullopt},
        {12, 15},
        {13, 15},
        {-3, 0},
        {-4, std::nullopt},
        {358, 360},
        {-178, -180},
        {INT32_MAX, std::nullopt},
        {INT32_MIN + 1, std::nullopt},
    };
    for (const auto& [angle, snapped] : cases) {
        EXPECT_EQ(SnapAngleToStep(angle), snapped) << angle;
    }
}

// Drags the match (100, 100, 0), grabbed 30 pixels along, by (dx, dy) beside
// the match (200, 100, 90): the dragged head's tip starts at (176, 100).
Match DragBeside(int32_t dx, int32_t dy, bool snapping, bool suspended = false) {
    Board b;
    b.Put(Match(200, 100, 90));
    b.Put(Match(100, 100, 0));
    b.editor.SetSnapping(snapping);
    b.editor.SuspendSnapping(suspended);
    b.editor.PressLeft(130, 100);
    b.editor.MovePointer(kLeftHeld, 130 + dx, 100 + dy);
    return b.Selected();
}

TEST(Snapping, ADraggedEndMeetsANearEnd) {
    struct Case {
        int32_t dx, dy;
        bool snapping, suspended;
        Match expected;
    };
    const Case cases[] = {
        {20, 0, true, false, {124, 100, 0}},   // 4 away: the ends meet
        {17, 0, true, false, {117, 100, 0}},   // 7 away: stays
        {20, 4, true, false, {124, 100, 0}},   // 4 and 4 away
        {19, 4, true, false, {119, 104, 0}},   // 5 and 4 away
        {20, 0, false, false, {120, 100, 0}},  // snapping off
        {20, 0, true, true, {120, 100, 0}},    // suspended
        {-100, 0, true, false, {0, 100, 0}},   // nothing near
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DragBeside(c.dx, c.dy, c.snapping, c.suspended), c.expected)
            << c.dx << "," << c.dy;
    }
}

TEST(Snapping, TheTailSnapsAsWellAndTheNearestWins) {
    Board b;
    b.Put(Match(50, 100, 0));   // tail at (50, 100), tip at (126, 100)
    b.Put(Match(300, 98, 90));  // tail at (300, 98)
    b.Put(Match(100, 100, 0));
    b.editor.SetSnapping(true);
    b.editor.PressLeft(130, 100);
    // Tail to (127, 103): 3.2 from the other tip. Tip to (203, 103): far off.
    b.editor.MovePointer(kLeftHeld, 157, 103);
    EXPECT_EQ(b.Selected(), Match(126, 100, 0));
    // Tip to (297, 100): 3.6 from (300, 98); tail far from everything.
    b.editor.MovePointer(kLeftHeld, 251, 100);
    EXPECT_EQ(b.Selected(), Match(224, 98, 0));
}

// Turns (100, 100, 0) about its tail with the pointer at (x, y).
Match TurnTo(int32_t x, int32_t y, bool snapping, const std::vector<Match>& others = {}) {
    Board b;
    for (const Match& m : others) {
        b.Put(m);
    }
    b.Put(Match(100, 100, 0));
    b.editor.SetSnapping(snapping);
    b.editor.PressRight(170, 100);  // near the head: the tail is the pivot
    EXPECT_FALSE(b.editor.PivotAtHead());
    b.editor.MovePointer(kRightHeld, x, y);
    return b.Selected();
}

TEST(Snapping, TurnsSettleOnStepsOfFifteen) {
    // The pivot is the tail corner (100, 103): the pointer 97 right and 23 up
    // of it gives 13 degrees, 98 right and 17 up gives 9.
    EXPECT_EQ(TurnTo(197, 80, false), Match(100, 100, 13));
    EXPECT_EQ(TurnTo(197, 80, true), Match(100, 100, 15));
    EXPECT_EQ(TurnTo(198, 86, false), Match(100, 100, 9));
    EXPECT_EQ(TurnTo(198, 86, true), Match(100, 100, 9));
}

TEST(Snapping, ATurnedTipFindsANearEnd) {
    // At 18 degrees the tip is at (172, 77), 3.2 from the tail (171, 74) of
    // the other match, which the tip reaches at 20 degrees. The end wins
    // over the step of 15 that 18 lies near.
    const std::vector<Match> other = {Match(171, 74, 90)};
    EXPECT_EQ(TurnTo(290, 40, false, other), Match(100, 100, 18));
    EXPECT_EQ(TurnTo(290, 40, true, other), Match(100, 100, 20));
    EXPECT_EQ(HeadTip(Match(100, 100, 20)), (Point32{171, 74}));
}

TEST(Snapping, ATurnAboutTheHeadBringsTheTailToAnEnd) {
    // Where two degrees about the head of (100, 100, 0) put its tail; the
    // pointer at (100, 101) turns it by 4, which leaves the tail near there.
    Board turned;
    turned.doc.SelectedMatch = turned.Put(Match(100, 100, 0));
    turned.editor.OnKeyTurn(2, true);
    const Match atTwo = turned.Selected();
    ASSERT_EQ(atTwo.angle, 2);
    for (const bool snapping : {false, true}) {
        Board b;
        b.Put(Match(atTwo.x, atTwo.y, 45));  // its tail where the other's will be
        b.Put(Match(100, 100, 0));
        b.editor.SetSnapping(snapping);
        b.editor.PressRight(105, 100);
        ASSERT_TRUE(b.editor.PivotAtHead());
        b.editor.MovePointer(kRightHeld, 100, 101);
        EXPECT_EQ(b.Selected().angle, snapping ? 2 : 4);
        if (snapping) {
            EXPECT_EQ(b.Selected(), atTwo);
        }
        EXPECT_EQ(b.Selected().GetShape().Head[2], (Point32{173, 96}));
    }
}

TEST(Snapping, FindsEndsThroughTheIndexOnALargeBoard) {
    Board b;
    for (int32_t i = 0; i < 3000; ++i) {
        b.Put(Match(1000 + (i % 60) * 200, 1000 + (i / 60) * 200, 90));
    }
    const Point32 probe[1] = {{1000 + 7 * 200 + 3, 1000 + 9 * 200 - 76 - 2}};
    EndFinder finder;
    const auto hit = finder.Nearest(b.doc.MatchList, probe, {});
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->end, (Point32{1000 + 7 * 200, 1000 + 9 * 200 - 76}));
    EXPECT_EQ(hit->distanceSquared, 13u);
}

// Where a match dropped with snapping off would have been helped by it: an
// end close to another match's end, but not on it. The other match lies at
// (100, 100, 0), its ends at (100, 100) and (176, 100).
TEST(Snapping, ANearMissIsAnEndCloseToAnotherButNotOnIt) {
    struct Case {
        const char* name;
        Match dropped;
        bool nearMiss;
    };
    const Case cases[] = {
        {"tail 3 px from the other's head", Match(179, 100, 0), true},
        {"tail 20 px from it", Match(196, 100, 0), true},
        {"tail 21 px from it", Match(197, 100, 0), false},
        {"head 12, 16 px from the other's tail", Match(12, 116, 0), true},
        {"tail on the other's head", Match(176, 100, 0), false},
        {"far from every end", Match(300, 300, 45), false},
        {"the other's twin: both ends on its ends", Match(100, 100, 0), false},
    };
    for (const Case& c : cases) {
        Board b;
        b.Put(Match(100, 100, 0));
        b.doc.SelectedMatch = b.Put(c.dropped);
        EXPECT_EQ(b.editor.SelectedNearlyMeetsAnother(), c.nearMiss) << c.name;
    }
    Board empty;
    EXPECT_FALSE(empty.editor.SelectedNearlyMeetsAnother());
    // Alone on the board, a match misses nothing.
    empty.doc.SelectedMatch = empty.Put(Match(100, 100, 0));
    EXPECT_FALSE(empty.editor.SelectedNearlyMeetsAnother());
}

}  // namespace

namespace {

// Records the board each time the editor says it is about to change it, and
// follows it from what each change says the match was and is.
class WatchingHost : public BoardHost {
public:
    explicit WatchingHost(const RiddleState& doc) : followed(doc.MatchList.ToVector()), doc_(doc) {}
    void BoardChanged(const BoardChange& change, bool) override {
        if (change.before) {
            const auto it = std::find(followed.begin(), followed.end(), *change.before);
            ASSERT_NE(it, followed.end());
            followed.erase(it);
        }
        if (change.after) {
            // Where the match was, it is now what the change says.
            followed.insert(followed.begin() + Index(change.match), *change.after);
        }
    }
    void AboutToChange() override { seen.push_back(doc_.MatchList.ToVector()); }
    std::ptrdiff_t Index(MatchList::Ref ref) const {
        std::ptrdiff_t i = 0;
        for (auto it = doc_.MatchList.begin(); it.ref() != ref; ++it) {
            ++i;
        }
        return i;
    }
    std::vector<std::vector<Match>> seen;
    std::vector<Match> followed;

private:
    const RiddleState& doc_;
};

}  // namespace

TEST(BoardEditorChanges, EveryChangeIsAnnouncedWhileTheBoardIsUnchanged) {
    const std::vector<Match> start = {Match(100, 100, 0), Match(300, 100, 80)};
    const struct {
        const char* what;
        void (*act)(BoardEditor&);
    } cases[] = {
        {"drag",
         [](BoardEditor& e) {
             e.PressLeft(130, 100);
             e.MovePointer(kLeftHeld, 150, 120);
         }},
        {"turn",
         [](BoardEditor& e) {
             e.PressRight(130, 100);
             e.MovePointer(kRightHeld, 130, 160);
         }},
        {"add", [](BoardEditor& e) { e.OnAddMatch(640); }},
        {"delete", [](BoardEditor& e) { e.OnDeleteMatch(); }},
        {"cut", [](BoardEditor& e) { e.OnEditCut(); }},
        {"paste", [](BoardEditor& e) { e.OnEditPaste(EncodeMatchBlock(Match(5, 5, 45))); }},
        {"rotate to 90", [](BoardEditor& e) { e.OnRotate90(); }},
        {"key move", [](BoardEditor& e) { e.OnKeyMove(1, 0); }},
        {"key turn", [](BoardEditor& e) { e.OnKeyTurn(15, true); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RiddleState doc;
        for (const Match& m : start) {
            doc.MatchList.Append(m);
        }
        doc.SelectedMatch = doc.MatchList.Last();
        WatchingHost host(doc);
        BoardEditor editor(doc, host);
        c.act(editor);
        ASSERT_FALSE(host.seen.empty());
        EXPECT_EQ(host.seen.front(), start);
        EXPECT_NE(doc.MatchList.ToVector(), start);
        EXPECT_EQ(host.followed, doc.MatchList.ToVector());
        // Undo is a change as well, announced before it is made.
        const std::vector<Match> before = doc.MatchList.ToVector();
        host.seen.clear();
        editor.OnEditUndo();
        if (doc.MatchList.ToVector() != before) {
            ASSERT_FALSE(host.seen.empty());
            EXPECT_EQ(host.seen.front(), before);
        }
        EXPECT_EQ(host.followed, doc.MatchList.ToVector());
    }
}

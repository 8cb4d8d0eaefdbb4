// SPDX-License-Identifier: GPL-3.0-or-later
// The board's play and edit logic: dragging and turning matches, the edit
// commands, the clipboard block and the one-step undo.

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstring>
#include <vector>

#include "board_editor.h"
#include "hit_test.h"

using namespace vorlo;

namespace {

class CountingHost : public BoardHost {
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
    CountingHost host;
    BoardEditor editor{doc, host};

    MatchList::Ref Put(Match m) { return doc.MatchList.Append(m); }
    // Selects `ref` as a command would, without a press.
    void Select(MatchList::Ref ref) { doc.SelectedMatch = ref; }
    std::vector<Match> Matches() const { return doc.MatchList.ToVector(); }
};

// Whether hit testing has been built yet: presses need it.
bool HitTestWorks() {
    MatchList list;
    list.Append(Match(100, 100, 0));
    return static_cast<bool>(HitTest(list, 130, 100));
}

#define REQUIRE_HIT_TEST()                               \
    if (!HitTestWorks()) {                               \
        GTEST_SKIP() << "hit testing not available yet"; \
    }

TEST(BoardEditor, RadiansToDegreesIsTheFixedLiteral) {
    EXPECT_EQ(BoardEditor::RadiansToDegrees(), -57.297469361769856);
    EXPECT_EQ(std::bit_cast<uint64_t>(BoardEditor::RadiansToDegrees()), 0xC04CA61379DE2E88u);
    // The division lands one unit in the last place off: the literal is not it.
    EXPECT_NE(BoardEditor::RadiansToDegrees(), -180.0 / 3.1415);
}

TEST(BoardEditor, DragStateBeforeAnyPress) {
    Board b;
    EXPECT_EQ(b.editor.Anchor(), (Point32{0, 0}));
    EXPECT_FALSE(b.editor.PivotAtHead());
    // A match selected by a command follows the pointer with that zero offset.
    b.editor.OnAddMatch(300);
    b.editor.MovePointer(kLeftHeld, 50, 60);
    EXPECT_EQ(*b.doc.SelectedMatch, Match(50, 60, 90));
}

// ---- Right press: the pivot is the end farther from the grab point ----

TEST(BoardEditor, RightPressChoosesThePivot) {
    REQUIRE_HIT_TEST();
    struct Case {
        int32_t px, py;
        Point32 pivot;
        bool atHead;
    };
    const Case cases[] = {
        {110, 100, {173, 96}, true},    // nearer the tail point: turn about the head
        {160, 100, {100, 103}, false},  // nearer the head: turn about tail corner P0
    };
    for (const Case& c : cases) {
        Board b;
        const auto ref = b.Put(Match(100, 100, 0));
        b.editor.SetDragState(b.editor.Anchor(), !c.atHead);
        const auto r = b.editor.PressRight(c.px, c.py);
        EXPECT_EQ(r.cursor, BoardCursor::Rotate);
        EXPECT_FALSE(r.repaint);
        EXPECT_EQ(b.editor.Anchor(), c.pivot) << c.px;
        EXPECT_EQ(b.editor.PivotAtHead(), c.atHead) << c.px;
        EXPECT_EQ(b.doc.SelectedMatch, ref);
        EXPECT_EQ(b.doc.LastAction, ActionRotate);
        EXPECT_EQ(b.editor.UndoMatch(), ref);
        EXPECT_EQ(b.editor.SavedAngle(), 0);
        EXPECT_EQ(b.editor.SavedPosition(), (Point32{100, 100}));
        EXPECT_EQ(b.host.hints, 1);
        EXPECT_EQ(b.host.modified, 0);
    }
}

TEST(BoardEditor, RightPressTieGoesToTheHead) {
    REQUIRE_HIT_TEST();
    // Press on a point of a match exactly as far (squared sums being equal)
    // from its tail point as from its head vertex 2.
    int ties = 0;
    for (int32_t angle = 0; angle < 360 && ties < 5; ++angle) {
        const Match m(200, 200, angle);
        const Point32 h = m.GetShape().Head[2];
        MatchList probe;
        probe.Append(m);
        for (int32_t px = 120; px <= 280; ++px) {
            for (int32_t py = 120; py <= 280; ++py) {
                if (PointDistanceSquared(m.x, m.y, px, py) !=
                        PointDistanceSquared(h.x, h.y, px, py) ||
                    !HitTest(probe, px, py)) {
                    continue;
                }
                ++ties;
                Board b;
                b.Put(m);
                b.editor.PressRight(px, py);
                EXPECT_TRUE(b.editor.PivotAtHead()) << angle;
                EXPECT_EQ(b.editor.Anchor(), h) << angle;
            }
        }
    }
    EXPECT_GT(ties, 0);
}

// ---- Turning ----

TEST(BoardEditor, TurningAboutTheTailCorner) {
    Board b;
    b.Select(b.Put(Match(100, 100, 0)));
    b.editor.SetDragState({100, 103}, false);
    struct Step {
        int32_t px, py, angle;
    };
    const Step steps[] = {
        {150, 53, 45},                     // dx 50, dy -50: T = -135
        {100, 50, 90},                     // straight up
        {150, 153, -45}, {150, 103, -45},  // level with the pivot: left as it was
        {40, 103, -45},
    };
    int modified = 0;
    for (const Step& s : steps) {
        const auto r = b.editor.MovePointer(kRightHeld, s.px, s.py);
        EXPECT_EQ(b.doc.SelectedMatch->angle, s.angle) << s.px << "," << s.py;
        EXPECT_EQ(b.doc.SelectedMatch->x, 100);
        EXPECT_EQ(b.doc.SelectedMatch->y, 100);
        EXPECT_EQ(r.cursor, BoardCursor::Rotate);
        ASSERT_TRUE(r.repaint);
        EXPECT_EQ(*r.repaint, (BoardRect{25, 28, 175, 178}));
        EXPECT_EQ(b.host.modified, ++modified);
    }
    EXPECT_EQ(b.host.hints, 0);  // only the pressed board repaints during a drag
}

TEST(BoardEditor, TurningAboutTheHeadKeepsHeadOnThePivot) {
    struct Case {
        int32_t px, py;
        Match after;
    };
    const Case cases[] = {
        {173, 20, {169, 23, 270}},  // dx 0, dy -76: T = -180
        {120, 96, {100, 100, 0}},   // level: angle kept, match re-placed where it was
    };
    for (const Case& c : cases) {
        Board b;
        b.Select(b.Put(Match(100, 100, 0)));
        b.editor.SetDragState({173, 96}, true);
        const auto r = b.editor.MovePointer(kRightHeld, c.px, c.py);
        EXPECT_EQ(*b.doc.SelectedMatch, c.after);
        EXPECT_EQ(b.doc.SelectedMatch->GetShape().Head[2], (Point32{173, 96}));
        EXPECT_EQ(b.host.modified, 1);
        ASSERT_TRUE(r.repaint);
        EXPECT_EQ(*r.repaint, (BoardRect{98, 21, 248, 171}));
    }
}

TEST(BoardEditor, TurningAtTheEndsOfTheRangeStaysDefined) {
    const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
    for (int32_t a : values) {
        for (int32_t p : values) {
            for (bool atHead : {false, true}) {
                Board b;
                b.Select(b.Put(Match(a, p, a)));
                b.editor.SetDragState({a, p}, atHead);
                const auto r = b.editor.MovePointer(kRightHeld, p, a);
                ASSERT_TRUE(r.repaint);
                EXPECT_LE(r.repaint->left, r.repaint->right);
                EXPECT_LE(r.repaint->top, r.repaint->bottom);
                const int32_t angle = b.doc.SelectedMatch->angle;
                if (a != p) {
                    // T lies within half a turn, so the angle does too.
                    EXPECT_GE(angle, -271);
                    EXPECT_LE(angle, 271);
                }
            }
        }
    }
}

// ---- Left press and moving ----

TEST(BoardEditor, LeftPressAndMove) {
    REQUIRE_HIT_TEST();
    Board b;
    const auto ref = b.Put(Match(100, 100, 0));
    auto r = b.editor.PressLeft(130, 100);
    EXPECT_EQ(r.cursor, BoardCursor::Move);
    EXPECT_EQ(b.editor.Anchor(), (Point32{30, 0}));
    EXPECT_EQ(b.editor.SavedPosition(), (Point32{100, 100}));
    EXPECT_EQ(b.editor.UndoMatch(), ref);
    EXPECT_EQ(b.doc.SelectedMatch, ref);
    EXPECT_EQ(b.doc.LastAction, ActionMove);
    EXPECT_EQ(b.host.hints, 1);
    EXPECT_EQ(b.host.modified, 0);

    r = b.editor.MovePointer(kLeftHeld, 140, 120);
    EXPECT_EQ(*ref, Match(110, 120, 0));
    EXPECT_EQ(r.cursor, BoardCursor::Move);
    ASSERT_TRUE(r.repaint);
    EXPECT_EQ(*r.repaint, (BoardRect{25, 25, 255, 215}));  // hw 115, hh 95, round the pointer
    EXPECT_EQ(b.host.modified, 1);
    EXPECT_EQ(b.host.hints, 1);
}

std::string Describe(const PointerInput& p) {
    return std::string(p.left ? "L" : "") + (p.right ? "R" : "") + (p.middle ? "M" : "") +
           (p.shift ? "+Shift" : "") + (p.ctrl ? "+Ctrl" : "");
}

TEST(BoardEditor, ModifiersAndSecondButtonHoldTheMatch) {
    REQUIRE_HIT_TEST();
    const PointerInput holding[] = {{.left = true, .shift = true},
                                    {.left = true, .ctrl = true},
                                    {.left = true, .right = true},
                                    {.left = true, .middle = true},
                                    {},
                                    {.right = true, .shift = true}};
    for (const PointerInput keys : holding) {
        Board b;
        const auto ref = b.Put(Match(100, 100, 0));
        b.editor.PressLeft(130, 100);
        b.editor.MovePointer(kLeftHeld, 140, 120);
        const auto r = b.editor.MovePointer(keys, 300, 300);
        EXPECT_EQ(r.cursor, BoardCursor::Normal) << Describe(keys);
        EXPECT_FALSE(r.repaint);
        EXPECT_EQ(*ref, Match(110, 120, 0)) << Describe(keys);
        EXPECT_EQ(b.host.modified, 1) << Describe(keys);
        // Let go of the key: the match follows again with the same grab offset.
        b.editor.MovePointer(kLeftHeld, 200, 50);
        EXPECT_EQ(*ref, Match(170, 50, 0)) << Describe(keys);
    }
}

TEST(BoardEditor, PressOnEmptyBoardClearsSelectionOnly) {
    REQUIRE_HIT_TEST();
    for (bool right : {false, true}) {
        Board b;
        b.editor.OnAddMatch(300);
        const Match added = *b.doc.SelectedMatch;
        b.editor.SetDragState({7, 8}, b.editor.PivotAtHead());
        const auto r = right ? b.editor.PressRight(500, 500) : b.editor.PressLeft(500, 500);
        EXPECT_EQ(r.cursor, BoardCursor::Unchanged);
        EXPECT_FALSE(b.doc.SelectedMatch);
        EXPECT_EQ(b.doc.LastAction, ActionAdd);
        EXPECT_EQ(b.editor.Anchor(), (Point32{7, 8}));
        EXPECT_EQ(b.host.hints, 2);
        const auto move = b.editor.MovePointer(right ? kRightHeld : kLeftHeld, 10, 10);
        EXPECT_EQ(move.cursor, BoardCursor::Normal);
        EXPECT_EQ(b.Matches(), std::vector<Match>{added});
    }
}

TEST(BoardEditor, PulledPastTheLeftEdge) {
    REQUIRE_HIT_TEST();
    Board b;
    const auto ref = b.Put(Match(100, 100, 0));
    b.editor.PressLeft(170, 100);
    b.editor.MovePointer(kLeftHeld, 10, 100);
    EXPECT_EQ(*ref, Match(-60, 100, 0));
}

TEST(BoardEditor, MoveRepaintAtTheEndsOfTheRange) {
    struct Case {
        Match start;
        Point32 anchor, to;
        Match after;
        BoardRect rect;
    };
    const Case cases[] = {
        {{INT32_MIN, INT32_MIN, 0},
         {0, 0},
         {INT32_MAX, INT32_MAX},
         {INT32_MAX, INT32_MAX, 0},
         {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}},
        {{0, 0, 0},
         {-10, 1},
         {INT32_MAX, INT32_MIN},
         {INT32_MIN + 9, INT32_MAX, 0},
         {-75, INT32_MIN, INT32_MAX, 75}},
        {{5, 5, 0}, {0, 0}, {5, 5}, {5, 5, 0}, {-70, -70, 80, 80}},
    };
    for (const Case& c : cases) {
        Board b;
        b.Select(b.Put(c.start));
        b.editor.SetDragState(c.anchor, b.editor.PivotAtHead());
        const auto r = b.editor.MovePointer(kLeftHeld, c.to.x, c.to.y);
        EXPECT_EQ(*b.doc.SelectedMatch, c.after);
        ASSERT_TRUE(r.repaint);
        EXPECT_EQ(*r.repaint, c.rect);
    }
}

// ---- Add ----

TEST(BoardEditor, AddStepsRightAndWrapsAtTheBoardWidth) {
    Board b;
    std::vector<int32_t> xs;
    for (int i = 0; i < 18; ++i) {
        b.editor.OnAddMatch(300);
        EXPECT_EQ(b.doc.SelectedMatch, b.doc.MatchList.Last());
        EXPECT_EQ(b.doc.LastAction, ActionAdd);
        xs.push_back(b.doc.SelectedMatch->x);
        EXPECT_EQ(b.doc.SelectedMatch->y, 85);
        EXPECT_EQ(b.doc.SelectedMatch->angle, 90);
    }
    EXPECT_EQ(xs[0], 20);
    EXPECT_EQ(xs[1], 38);
    EXPECT_EQ(xs[2], 56);
    EXPECT_EQ(xs[15], 290);
    EXPECT_EQ(xs[16], 308);
    EXPECT_EQ(xs[17], 26);  // n = 306
    EXPECT_EQ(b.host.modified, 18);
    EXPECT_EQ(b.host.hints, 18);

    // A new riddle does not start the sequence again.
    b.doc.DeleteContents();
    b.doc.LastAction = ActionNone;
    b.editor.OnDocumentReset();
    b.editor.OnAddMatch(300);
    EXPECT_EQ(b.doc.SelectedMatch->x, (18 * 18) % 300 + 20);
}

TEST(BoardEditor, AddOnABoardWithoutWidthAndWithACounterAtTheEnd) {
    struct Case {
        int32_t counter, width, x, nextCounter;
    };
    const Case cases[] = {
        {36, 0, 20, 54},
        {36, -5, 20, 54},
        {INT32_MIN, 0, 20, INT32_MIN + 18},
        {INT32_MAX - 5, 300, (INT32_MAX - 5) % 300 + 20, INT32_MIN + 12},
        {INT32_MIN + 12, 300, (INT32_MIN + 12) % 300 + 20, INT32_MIN + 30},  // negative remainder
        {7, INT32_MIN, 20, 25},
        {INT32_MAX, INT32_MAX, 20, INT32_MIN + 17},
    };
    for (const Case& c : cases) {
        Board b;
        b.editor.SetNewMatchCounter(c.counter);
        b.editor.OnAddMatch(c.width);
        EXPECT_EQ(b.doc.SelectedMatch->x, c.x) << c.counter << " " << c.width;
        EXPECT_EQ(b.editor.NewMatchCounter(), c.nextCounter);
    }
}

// ---- Delete and undo ----

TEST(BoardEditor, DeleteTheOnlyMatchAndUndo) {
    Board b;
    b.Select(b.Put(Match(1, 2, 3)));
    b.editor.OnDeleteMatch();
    EXPECT_TRUE(b.doc.MatchList.IsEmpty());
    EXPECT_FALSE(b.doc.SelectedMatch);
    EXPECT_FALSE(b.editor.OnUpdateNeedSelection());
    EXPECT_TRUE(b.editor.OnUpdateEditUndo());
    EXPECT_EQ(b.doc.LastAction, ActionDelete);
    EXPECT_EQ(b.host.modified, 1);
    EXPECT_EQ(b.host.hints, 1);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Matches(), std::vector<Match>{Match(1, 2, 3)});
    EXPECT_EQ(b.doc.SelectedMatch, b.doc.MatchList.Last());
    EXPECT_EQ(b.doc.LastAction, ActionAdd);
    EXPECT_EQ(b.host.modified, 2);
    EXPECT_EQ(b.host.hints, 2);
}

TEST(BoardEditor, DeleteInTheMiddleSelectsTheLastAndUndoAppends) {
    Board b;
    b.Put(Match(1, 0, 0));
    const auto mid = b.Put(Match(2, 0, 0));
    const auto last = b.Put(Match(3, 0, 0));
    b.Select(mid);
    b.editor.OnDeleteMatch();
    EXPECT_EQ(b.doc.SelectedMatch, last);
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Matches(), (std::vector<Match>{{1, 0, 0}, {3, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(b.doc.SelectedMatch->x, 2);
}

TEST(BoardEditor, UndoAfterAddAlternates) {
    Board b;
    b.Put(Match(9, 9, 9));
    b.editor.OnAddMatch(300);
    const std::vector<Match> withAdded = b.Matches();
    const std::vector<Match> without{Match(9, 9, 9)};
    const std::vector<Match> expected[] = {without, withAdded, without};
    const int32_t actions[] = {ActionDelete, ActionAdd, ActionDelete};
    for (int i = 0; i < 3; ++i) {
        b.editor.OnEditUndo();
        EXPECT_EQ(b.Matches(), expected[i]) << i;
        EXPECT_EQ(b.doc.LastAction, actions[i]) << i;
    }
    EXPECT_EQ(b.host.hints, 4);
    EXPECT_EQ(b.host.modified, 4);
}

TEST(BoardEditor, UndoWithNothingToUndo) {
    for (int32_t action : {int32_t{ActionNone}, int32_t{3}, int32_t{4}, int32_t{-1}}) {
        Board b;
        b.Select(b.Put(Match(1, 2, 3)));
        b.doc.LastAction = static_cast<LastActionCode>(action);
        b.editor.OnEditUndo();
        EXPECT_EQ(b.Matches(), std::vector<Match>{Match(1, 2, 3)});
        EXPECT_EQ(b.doc.LastAction, action);
        EXPECT_EQ(b.host.hints, 0);
        EXPECT_EQ(b.host.modified, 0);
        EXPECT_EQ(b.editor.OnUpdateEditUndo(), action != ActionNone);
    }
}

TEST(BoardEditor, UndoOfAMoveRestoresThePosition) {
    REQUIRE_HIT_TEST();
    Board b;
    const auto ref = b.Put(Match(100, 100, 0));
    b.editor.PressLeft(130, 100);
    b.editor.MovePointer(kLeftHeld, 140, 120);
    b.Select({});  // undo writes into the moved match, not the selection
    for (int i = 0; i < 2; ++i) {
        b.editor.OnEditUndo();
        EXPECT_EQ(*ref, Match(100, 100, 0));
        EXPECT_EQ(b.doc.LastAction, ActionMove);
        EXPECT_FALSE(b.doc.SelectedMatch);
    }
    EXPECT_EQ(b.host.modified, 1);  // only the drag marked the riddle
    EXPECT_EQ(b.host.hints, 3);
}

TEST(BoardEditor, UndoOfATurnAboutTheHeadRestoresPositionAndAngle) {
    REQUIRE_HIT_TEST();
    Board b;
    const auto ref = b.Put(Match(100, 100, 0));
    b.editor.PressRight(110, 100);
    ASSERT_TRUE(b.editor.PivotAtHead());
    b.editor.MovePointer(kRightHeld, 173, 20);
    ASSERT_EQ(*ref, Match(169, 23, 270));
    b.editor.OnEditUndo();
    EXPECT_EQ(*ref, Match(100, 100, 0));
    EXPECT_EQ(b.doc.LastAction, ActionRotate);
}

TEST(BoardEditor, UndoOfASnapRestoresTheAngleWhereTheMatchNowIs) {
    REQUIRE_HIT_TEST();
    Board b;
    const auto ref = b.Put(Match(100, 100, 30));
    b.editor.PressLeft(110, 95);
    b.editor.MovePointer(kLeftHeld, 210, 195);
    const Match moved = *ref;
    ASSERT_EQ(moved, Match(200, 200, 30));
    b.editor.OnRotate90();
    EXPECT_EQ(*ref, Match(200, 200, 0));
    b.editor.OnEditUndo();
    EXPECT_EQ(*ref, moved);
}

TEST(BoardEditor, DeletingTheMovedMatchThenUndoing) {
    REQUIRE_HIT_TEST();
    Board b;
    b.Put(Match(0, 300, 0));
    b.Put(Match(100, 100, 0));
    b.editor.PressLeft(130, 100);
    b.editor.OnDeleteMatch();
    EXPECT_FALSE(b.editor.UndoMatch());
    b.editor.OnEditUndo();
    EXPECT_EQ(b.doc.LastAction, ActionAdd);
    EXPECT_EQ(*b.doc.SelectedMatch, Match(100, 100, 0));
    EXPECT_EQ(b.doc.MatchList.Count(), 2u);
    EXPECT_EQ(b.doc.MatchList.Last(), b.doc.SelectedMatch);  // it came back at the end
    EXPECT_EQ(b.Matches().back(), Match(100, 100, 0));
}

// ---- Clipboard block ----

TEST(BoardEditor, ClipboardBlockIsLittleEndian) {
    const MatchBlock block = EncodeMatchBlock(Match(309, -2, INT32_MIN));
    const MatchBlock expected{0x35, 0x01, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80};
    EXPECT_EQ(block, expected);
    EXPECT_EQ(DecodeMatchBlock(block), Match(309, -2, INT32_MIN));
}

TEST(BoardEditor, PasteCascadesFromTheClipboardBlock) {
    Board b;
    b.Select(b.Put(Match(100, 200, 30)));
    std::optional<MatchBlock> clip = b.editor.OnEditCopy();
    ASSERT_TRUE(clip);
    const Match expected[] = {{105, 205, 30}, {110, 210, 30}};
    for (const Match& e : expected) {
        clip = b.editor.OnEditPaste(*clip);
        ASSERT_TRUE(clip);
        EXPECT_EQ(*b.doc.SelectedMatch, e);
        EXPECT_EQ(b.doc.SelectedMatch, b.doc.MatchList.Last());
        EXPECT_EQ(b.doc.LastAction, ActionAdd);
    }
    EXPECT_EQ(DecodeMatchBlock(*clip), Match(110, 210, 30));
    EXPECT_EQ(b.host.hints, 2);
}

TEST(BoardEditor, PasteReadsOnlyAWholeBlock) {
    struct Case {
        std::vector<uint8_t> bytes;
        std::optional<Match> pasted;
    };
    std::vector<uint8_t> wrapping(12, 0xFF);
    wrapping[3] = 0x7F;  // x = INT32_MAX
    wrapping[4] = 0xFB;  // y = -5
    std::vector<uint8_t> longer(16, 0);
    longer[0] = 1;
    longer[12] = 0xEE;
    const Case cases[] = {
        {{}, std::nullopt},
        {{1}, std::nullopt},
        {std::vector<uint8_t>(11, 0x10), std::nullopt},
        {wrapping, Match(INT32_MIN + 4, 0, -1)},
        {longer, Match(6, 5, 0)},
    };
    for (const Case& c : cases) {
        Board b;
        const auto result = b.editor.OnEditPaste(c.bytes);
        EXPECT_EQ(result.has_value(), c.pasted.has_value());
        if (c.pasted) {
            EXPECT_EQ(b.Matches(), std::vector<Match>{*c.pasted});
            EXPECT_EQ(DecodeMatchBlock(*result), c.pasted);
            EXPECT_EQ(b.host.hints, 1);
        } else {
            EXPECT_TRUE(b.doc.MatchList.IsEmpty());
            EXPECT_EQ(b.host.hints, 0);
            EXPECT_EQ(b.doc.LastAction, ActionNone);
        }
    }
}

TEST(BoardEditor, CopyAndCutWithoutSelectionTouchNothing) {
    Board b;
    b.Put(Match(1, 2, 3));
    b.doc.LastAction = ActionMove;
    EXPECT_FALSE(b.editor.OnEditCopy());
    EXPECT_FALSE(b.editor.OnEditCut());
    EXPECT_EQ(b.doc.MatchList.Count(), 1u);
    EXPECT_EQ(b.doc.LastAction, ActionMove);
    EXPECT_EQ(b.host.hints, 0);
}

TEST(BoardEditor, CutCopiesThenDeletes) {
    Board b;
    b.Put(Match(1, 2, 3));
    b.Select(b.Put(Match(4, 5, 6)));
    const auto block = b.editor.OnEditCut();
    ASSERT_TRUE(block);
    EXPECT_EQ(DecodeMatchBlock(*block), Match(4, 5, 6));
    EXPECT_EQ(b.Matches(), std::vector<Match>{Match(1, 2, 3)});
    EXPECT_EQ(b.doc.LastAction, ActionDelete);
    EXPECT_EQ(b.doc.SelectedMatch, b.doc.MatchList.First());
    b.editor.OnEditUndo();
    EXPECT_EQ(b.Matches(), (std::vector<Match>{{1, 2, 3}, {4, 5, 6}}));
}

// ---- Snap to 90 degrees ----

TEST(BoardEditor, SnapTo90ByTable) {
    struct Case {
        int32_t from, to;
    };
    const Case cases[] = {
        {45, 0},
        {46, 90},
        {-45, -90},
        {-135, -180},
        {-225, 90},
        {170, -180},
        {250, -90},
        {0, 0},
        {-44, 0},
        {135, 90},
        {136, -180},
        {225, -180},
        {315, -90},
        {316, 0},
        {-315, 0},
        {-314, 90},
        {-316, 0},
        {360, 0},
        {405, 0},
        {406, 90},
        {INT32_MAX, 90},       // = 127 (mod 360)
        {INT32_MAX - 82, 0},   // = 45: the halfway case goes down
        {INT32_MAX - 81, 90},  // = 46
        {INT32_MIN, -90},      // = 232
        {INT32_MIN + 1, -90},
        {INT32_MIN + 83, -90},  // = 315
        {INT32_MIN + 84, 0},    // = 316
        {INT32_MIN + 173, 0},   // = 405
        {INT32_MIN + 174, 90},
    };
    for (const Case& c : cases) {
        Board b;
        const auto ref = b.Put(Match(7, 8, c.from));
        b.Select(ref);
        b.editor.OnRotate90();
        EXPECT_EQ(ref->angle, c.to) << c.from;
        EXPECT_EQ(b.doc.LastAction, ActionRotate);
        EXPECT_EQ(b.editor.UndoMatch(), ref);
        EXPECT_EQ(b.host.modified, 1);
        EXPECT_EQ(b.host.hints, 1);
        b.editor.OnEditUndo();
        EXPECT_EQ(*ref, Match(7, 8, c.from));
    }
}

TEST(BoardEditor, SnapTo90IsTheNearestQuarterForEveryAngle) {
    auto check = [](int32_t a) {
        const int32_t s = BoardEditor::SnapAngleTo90(a);
        ASSERT_TRUE(s == 90 || s == 0 || s == -90 || s == -180) << a;
        // How far the snap turned, reduced to (-180, 180]: at most 45 degrees,
        // and exactly 45 only downward.
        int64_t d = (static_cast<int64_t>(a) - s) % 360;
        if (d <= -180)
            d += 360;
        if (d > 180)
            d -= 360;
        ASSERT_GT(d, -45) << a;
        ASSERT_LE(d, 45) << a;
    };
    for (int32_t a = -100000; a <= 100000; ++a) {
        check(a);
    }
    for (int64_t a = INT32_MIN; a < INT32_MIN + 2000; ++a) {
        check(static_cast<int32_t>(a));
    }
    for (int64_t a = INT32_MAX; a > INT32_MAX - 2000; --a) {
        check(static_cast<int32_t>(a));
    }
}

TEST(BoardEditor, SnapWithoutSelectionDoesNothing) {
    Board b;
    b.Put(Match(1, 2, 33));
    b.editor.OnRotate90();
    EXPECT_EQ(b.doc.MatchList.First()->angle, 33);
    EXPECT_EQ(b.doc.LastAction, ActionNone);
    EXPECT_EQ(b.host.hints, 0);
}

// ---- Indicator ----

TEST(BoardEditor, MatchCountIndicator) {
    Board b;
    const std::pair<int, const char*> cases[] = {
        {0, "0 matches"}, {1, "1 matches"}, {12, "12 matches"}};
    int count = 0;
    for (const auto& [n, text] : cases) {
        while (count < n) {
            b.Put(Match());
            ++count;
        }
        EXPECT_EQ(b.editor.OnUpdateIndicatorMatchCount(), text);
    }
}

TEST(BoardEditor, DocumentResetForgetsTheUndoMatch) {
    Board b;
    b.Select(b.Put(Match(1, 2, 3)));
    b.editor.OnRotate90();
    b.doc.DeleteContents();
    b.doc.LastAction = ActionNone;
    b.editor.OnDocumentReset();
    EXPECT_FALSE(b.editor.UndoMatch());
    EXPECT_FALSE(b.editor.OnUpdateEditUndo());
}

}  // namespace

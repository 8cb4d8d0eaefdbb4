// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Playing and editing the board: moving and turning matches with the mouse,
// the edit commands, the one-match clipboard block and the one-step undo.
//
// Everything here is plain logic on the open riddle's state. The board widget
// turns its mouse events and commands into calls on BoardEditor and does the
// rest itself: it shows the cursor it is told, repaints the rectangle it is
// given before returning to the event loop, and moves the clipboard block in
// and out of the system clipboard.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "match.h"
#include "match_list.h"
#include "match_record.h"
#include "riddle.h"
#include "snapping.h"

namespace vorlo {

// The buttons and modifier keys held during a movement of the pointer.
struct PointerInput {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool ctrl = false;
    friend constexpr bool operator==(const PointerInput&, const PointerInput&) = default;
};
inline constexpr PointerInput kLeftHeld{.left = true};
inline constexpr PointerInput kRightHeld{.right = true};

// One match on the clipboard: its record (x, y, angle), nothing else.
using MatchBlock = MatchRecord;

MatchBlock EncodeMatchBlock(const Match& match);
// Reads the first 12 bytes; none when there are fewer.
std::optional<Match> DecodeMatchBlock(std::span<const uint8_t> bytes);

// What the board should show as its cursor after a mouse event.
enum class BoardCursor {
    Unchanged,  // leave whatever is showing (a press that hit nothing)
    Normal,     // the window's ordinary cursor (a movement that neither moves nor turns)
    Move,
    Rotate,
};

// A rectangle in board coordinates. (left, top) is inside; right and bottom lie
// just outside, as with a Win32 RECT: (25, 25)-(255, 215) covers the pixels
// 25..254 by 25..214. Corners that would lie beyond the 32-bit range are held
// at its ends.
struct BoardRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend constexpr bool operator==(const BoardRect&, const BoardRect&) = default;
};

// What one edit did to the board, as the document announces it to the views.
struct BoardChange {
    enum class Kind : uint8_t {
        Selection,  // only the selection changed (or nothing at all)
        Moved,      // a match was moved or turned
        Added,
        Removed,
        Replaced,  // the whole board is new (New, Open, Revert)
    };
    Kind kind = Kind::Replaced;
    // The board rectangles to repaint at once; none: the whole board, later.
    std::array<BoardRect, 2> areas{};
    uint8_t areaCount = 0;
    // The match moved or added; none for the other kinds.
    MatchList::Ref match;
    // The match's record as it was before the change (Moved, Removed) and
    // as it is after it (Moved, Added); none for the other kinds. A listener
    // that keeps its own account of the board follows every change with
    // these alone: a removal of `before`, then an addition of `after`.
    std::optional<Match> before;
    std::optional<Match> after;
    bool Whole() const { return areaCount == 0; }
};

// What the editor needs from the document that owns the riddle.
class BoardHost {
public:
    virtual ~BoardHost() = default;
    // Just before the editor changes the matches: the last moment the board
    // is still as it was.
    virtual void AboutToChange() {}
    // After every edit, selection included. `modifies`: the riddle now counts
    // as changed.
    virtual void BoardChanged(const BoardChange& change, bool modifies) = 0;
};

// The board rectangle a match covers when drawn, one pixel more on every side
// for its outline.
BoardRect MatchBounds(const Match& match);

class BoardEditor {
public:
    BoardEditor(RiddleState& doc, BoardHost& host) : doc_(doc), host_(host) {}

    struct MouseResult {
        BoardCursor cursor = BoardCursor::Unchanged;
        // The rectangle around the pointer or the pivot that the change
        // announced with this step repaints at once. None: nothing to repaint
        // now (a press repaints the whole board later).
        std::optional<BoardRect> repaint;
    };

    // Mouse events, with the pointer in board coordinates. Modifier keys do
    // not matter for a press; a movement drags only with exactly one button
    // held and neither Shift nor Ctrl.
    MouseResult PressLeft(int32_t x, int32_t y);
    MouseResult PressRight(int32_t x, int32_t y);
    MouseResult MovePointer(PointerInput held, int32_t x, int32_t y);

    // Adds a match standing upright near the top of the board, each one 18
    // pixels right of the one before, wrapping at the board window's width.
    // Given the part of the board in view, spots that leave it or meet
    // another match are passed over (see add_spot.h).
    void OnAddMatch(int32_t boardWindowWidth, std::optional<BoardRect> view = std::nullopt);
    void OnDeleteMatch();
    // The selected match as a clipboard block; none without a selection, and
    // then the clipboard is to be left alone.
    std::optional<MatchBlock> OnEditCopy() const { return CopyBlock(); }
    std::optional<MatchBlock> CopyBlock() const;
    // Copy, then delete the selected match. Without a selection nothing is
    // copied and nothing deleted.
    std::optional<MatchBlock> OnEditCut();
    // Appends the match held by the clipboard's bytes, 5 pixels right of and
    // below the stored place, and gives back the block with that new place,
    // which the caller writes back into the clipboard in place of its first 12
    // bytes, so the next paste lands 5 pixels further on. Fewer than 12 bytes:
    // nothing happens.
    std::optional<MatchBlock> OnEditPaste(std::span<const uint8_t> clipboardBytes);
    void OnEditUndo();
    // Snaps the selected match to the nearest multiple of 90 degrees.
    void OnRotate90();

    // Enable states and the match-count text.
    bool OnUpdateNeedSelection() const { return static_cast<bool>(doc_.SelectedMatch); }
    bool OnUpdateEditUndo() const { return doc_.LastAction != ActionNone; }
    std::string OnUpdateIndicatorMatchCount() const;

    // The common end of add, paste and the undo of a delete.
    void AppendMatch(const Match& m);

    // ----- play -----
    // While on, the board's matches can only be moved and turned: adding,
    // deleting, cutting, pasting and the one-step undo do nothing, so a
    // riddle being played keeps its matches whatever reaches the editor.
    void SetMovesOnly(bool on) { movesOnly_ = on; }
    bool MovesOnly() const { return movesOnly_; }
    // Counts the actions begun: a press on a match, a run of key steps on
    // one match, a snap to 90 degrees. The steps of one drag, turn or key
    // run share a count, so a move history can keep each as one move.
    uint64_t ActionCount() const { return actionCount_; }
    // Puts `match` at `m` (a move taken back or done again) and announces
    // it; the selection and the one-step undo are left alone.
    void PlaceMatch(MatchList::Ref match, const Match& m);

    // The document was emptied (New, Open): forget the references into it.
    void OnDocumentReset();

    // The angle a snap to 90 degrees gives: one of 90, 0, -90, -180.
    static int32_t SnapAngleTo90(int32_t angle);
    // Radians to degrees for the rotation by mouse; negative because board
    // angles grow counterclockwise while y grows downward.
    static double RadiansToDegrees();

    // Drag state: after a left press the grab offset, after a right press the
    // pivot. Before any press (0, 0) and the tail corner. Set from outside
    // only to start a drag in a given state, as a test does.
    Point32 Anchor() const { return anchor_; }
    bool PivotAtHead() const { return pivotAtHead_; }
    void SetDragState(Point32 anchor, bool pivotAtHead) {
        anchor_ = anchor;
        pivotAtHead_ = pivotAtHead;
    }
    // The one-step undo store; which members count is told by LastAction.
    const Match& DeletedMatch() const { return deletedMatch_; }
    Point32 SavedPosition() const { return savedPosition_; }
    MatchList::Ref UndoMatch() const { return undoMatch_; }
    int32_t SavedAngle() const { return savedAngle_; }

    // ----- keyboard -----
    // Tab and Shift+Tab: the next or the previous match in list order,
    // wrapping; without a selection the first or the last. Only the
    // selection changes (not the undo store); false on an empty board.
    bool SelectNextMatch();
    bool SelectPreviousMatch();
    // Moves the selected match by (dx, dy) pixels.
    void OnKeyMove(int32_t dx, int32_t dy);
    // Turns the selected match by `degrees` (counterclockwise on the screen
    // when positive) about its tail end, or about its head as a turn by the
    // mouse does when the head is the pivot.
    void OnKeyTurn(int32_t degrees, bool aboutHead);
    // Steps by key on one match with nothing else between form one action:
    // undo puts the match back where the first of them found it.
    bool InKeyRun() const { return keyRun_; }

    // ----- snapping -----
    // While on, a dragged match whose end comes near another match's end
    // jumps so the two meet, and a turned match settles on a multiple of 15
    // degrees or with its free end on another match's end (see snapping.h).
    void SetSnapping(bool on) { snapping_ = on; }
    bool Snapping() const { return snapping_; }
    // Held off for the movements that follow (Alt held during a drag).
    void SuspendSnapping(bool suspended) { snapSuspended_ = suspended; }
    // Whether the selected match came close to meeting another, an end within
    // kNearMissDistance of another match's end, without meeting it: where
    // snapping would have helped.
    static constexpr int32_t kNearMissDistance = 20;
    bool SelectedNearlyMeetsAnother();

    // Where the next added match goes: steps 18 pixels with every add for as
    // long as the board lives, across riddles.
    int32_t NewMatchCounter() const { return newMatchCounter_; }
    void SetNewMatchCounter(int32_t counter) { newMatchCounter_ = counter; }

private:
    MouseResult Move(int32_t x, int32_t y);
    MouseResult Rotate(int32_t x, int32_t y);
    // A change of `match` (none for a removal and for the selection), which
    // was `before` where there was one.
    static BoardChange Change(BoardChange::Kind kind, MatchList::Ref match = {},
                              std::optional<Match> before = std::nullopt);
    // Tells the host of an edit; the area of a drag step, or the whole board.
    void Announce(const BoardChange& change, bool modifies,
                  std::optional<BoardRect> area = std::nullopt,
                  std::optional<BoardRect> alsoArea = std::nullopt);
    // The undo of a move or a turn, announced; `before`: the match as the
    // undo found it.
    void UndoneInPlace(const Match& before);
    // Puts the selected match at `angle`; about the head, the tail follows
    // so that the head stays on `pivot`.
    static void PlaceTurned(Match& m, int32_t angle, bool aboutHead, Point32 pivot);
    void BeginKeyStep(bool turning);
    void EndKeyRun() { keyRun_ = false; }
    bool SelectMatch(MatchList::Ref ref);
    // Snapping of the selected match after a drag or a turn step; the drag
    // gives the distance the match jumped.
    int64_t SnapDragged();
    void SnapTurned();

    RiddleState& doc_;
    BoardHost& host_;
    Point32 anchor_{0, 0};
    bool pivotAtHead_ = false;
    Match deletedMatch_;
    Point32 savedPosition_{0, 0};
    MatchList::Ref undoMatch_;
    int32_t savedAngle_ = 0;
    int32_t newMatchCounter_ = 0;
    bool keyRun_ = false;
    bool keyPivotSet_ = false;
    Point32 keyPivot_{0, 0};
    bool snapping_ = false;
    bool snapSuspended_ = false;
    bool movesOnly_ = false;
    uint64_t actionCount_ = 0;
    EndFinder endFinder_;
};

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_editor.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "add_spot.h"
#include "hit_test.h"
#include "int32_math.h"

namespace vorlo {

namespace {

// A match turned about its tail corner points from the tail to the pointer;
// turned about its head it points from the pointer to the head.
constexpr int32_t kTailPivotOffset = -90;
constexpr int32_t kHeadPivotOffset = 90;
constexpr int64_t kRepaintMargin = 75;
constexpr int32_t kPasteOffset = 5;

// The rectangle reaching `hw` and `hh` either side of (cx, cy).
BoardRect RectAround(int32_t cx, int32_t cy, int64_t hw, int64_t hh) {
    return BoardRect{Saturate(cx - hw), Saturate(cy - hh), Saturate(cx + hw), Saturate(cy + hh)};
}

// The smallest rectangle holding both.
BoardRect Covering(const BoardRect& a, const BoardRect& b) {
    return BoardRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}

int64_t FloorDiv(int64_t n, int64_t d) {
    int64_t q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) {
        --q;
    }
    return q;
}

}  // namespace

MatchBlock EncodeMatchBlock(const Match& match) {
    MatchBlock block{};
    PutMatchRecord(block.data(), match);
    return block;
}

std::optional<Match> DecodeMatchBlock(std::span<const uint8_t> bytes) {
    if (bytes.size() < kMatchRecordSize) {
        return std::nullopt;
    }
    return GetMatchRecord(bytes.data());
}

double BoardEditor::RadiansToDegrees() {
    // The double nearest to -180/3.1415, which the division itself misses by
    // one unit in the last place; rotations are computed with this value, and
    // changing it would turn matches to other angles in existing riddles.
    static const double k = std::bit_cast<double>(uint64_t{0xC04CA61379DE2E88});
    return k;
}

int32_t BoardEditor::SnapAngleTo90(int32_t angle) {
    // Quarter turns counted so that an angle halfway between two multiples of
    // 90 goes to the lower one: q = ceil((angle - 45) / 90). In 64 bits, so
    // angles near the ends of the 32-bit range do not overflow.
    const int64_t q = -FloorDiv(-(static_cast<int64_t>(angle) - 45), 90);
    static constexpr int32_t kByQuarter[4] = {0, 90, -180, -90};
    const int64_t r = q - FloorDiv(q, 4) * 4;
    return kByQuarter[r];
}

BoardRect MatchBounds(const Match& match) {
    const MatchShape shape = match.GetShape();
    int64_t left = INT64_MAX;
    int64_t top = INT64_MAX;
    int64_t right = INT64_MIN;
    int64_t bottom = INT64_MIN;
    auto take = [&](const Point32& p) {
        left = std::min<int64_t>(left, p.x);
        top = std::min<int64_t>(top, p.y);
        right = std::max<int64_t>(right, p.x);
        bottom = std::max<int64_t>(bottom, p.y);
    };
    std::for_each(shape.Stick.begin(), shape.Stick.end(), take);
    std::for_each(shape.Head.begin(), shape.Head.end(), take);
    return BoardRect{Saturate(left - 1), Saturate(top - 1), Saturate(right + 2),
                     Saturate(bottom + 2)};
}

BoardChange BoardEditor::Change(BoardChange::Kind kind, MatchList::Ref match,
                                std::optional<Match> before) {
    BoardChange change;
    change.kind = kind;
    change.match = match;
    change.before = before;
    if (match) {
        change.after = *match;
    }
    return change;
}

void BoardEditor::Announce(const BoardChange& announced, bool modifies,
                           std::optional<BoardRect> area, std::optional<BoardRect> alsoArea) {
    BoardChange change = announced;
    for (const std::optional<BoardRect>& a : {area, alsoArea}) {
        if (a) {
            change.areas[change.areaCount++] = *a;
        }
    }
    host_.BoardChanged(change, modifies);
}

BoardEditor::MouseResult BoardEditor::PressLeft(int32_t x, int32_t y) {
    EndKeyRun();
    MouseResult result;
    const MatchList::Ref hit = HitTest(doc_.MatchList, x, y);
    doc_.SelectedMatch = hit;
    if (hit) {
        ++actionCount_;
        doc_.LastAction = ActionMove;
        savedPosition_ = {hit->x, hit->y};
        undoMatch_ = hit;
        anchor_ = {WrapSub(x, hit->x), WrapSub(y, hit->y)};
        result.cursor = BoardCursor::Move;
    }
    Announce(Change(BoardChange::Kind::Selection), false);
    return result;
}

BoardEditor::MouseResult BoardEditor::PressRight(int32_t x, int32_t y) {
    EndKeyRun();
    MouseResult result;
    const MatchList::Ref hit = HitTest(doc_.MatchList, x, y);
    doc_.SelectedMatch = hit;
    if (hit) {
        const MatchShape shape = hit->GetShape();
        ++actionCount_;
        doc_.LastAction = ActionRotate;
        savedAngle_ = hit->angle;
        // Turning about the head moves the tail point too, so undo needs it.
        savedPosition_ = {hit->x, hit->y};
        undoMatch_ = hit;
        // The match turns about the end farther from where it was grabbed; a
        // grab exactly halfway turns it about the head. Squared distances are
        // exact, so equal distances really are a tie.
        const uint64_t toTail = PointDistanceSquared(hit->x, hit->y, x, y);
        const uint64_t toHead = PointDistanceSquared(shape.Head[2].x, shape.Head[2].y, x, y);
        if (toHead < toTail) {
            anchor_ = shape.Stick[0];
            pivotAtHead_ = false;
        } else {
            anchor_ = shape.Head[2];
            pivotAtHead_ = true;
        }
        result.cursor = BoardCursor::Rotate;
    }
    Announce(Change(BoardChange::Kind::Selection), false);
    return result;
}

BoardEditor::MouseResult BoardEditor::MovePointer(PointerInput held, int32_t x, int32_t y) {
    // Exactly one button and nothing else: Shift, Ctrl, the middle button or
    // both buttons together hold the match where it is.
    if (doc_.SelectedMatch) {
        if (held == kLeftHeld) {
            return Move(x, y);
        }
        if (held == kRightHeld) {
            return Rotate(x, y);
        }
    }
    return MouseResult{BoardCursor::Normal, std::nullopt};
}

BoardEditor::MouseResult BoardEditor::Move(int32_t x, int32_t y) {
    host_.AboutToChange();
    Match& m = *doc_.SelectedMatch;
    const Match was = m;
    const BoardRect before = MatchBounds(m);
    const int32_t oldX = m.x;
    const int32_t oldY = m.y;
    EndKeyRun();
    m.x = WrapSub(x, anchor_.x);
    m.y = WrapSub(y, anchor_.y);
    doc_.MatchList.Moved(doc_.SelectedMatch);
    const int64_t jump = SnapDragged();
    // Centred on the pointer and wide enough to reach back to where the match
    // was; exact in 64 bits, however far the pointer jumped.
    const int64_t hw = std::llabs(static_cast<int64_t>(oldX) - x) + kRepaintMargin + jump;
    const int64_t hh = std::llabs(static_cast<int64_t>(oldY) - y) + kRepaintMargin + jump;
    const MouseResult result{BoardCursor::Move, RectAround(x, y, hw, hh)};
    Announce(Change(BoardChange::Kind::Moved, doc_.SelectedMatch, was), true, result.repaint,
             Covering(before, MatchBounds(m)));
    return result;
}

BoardEditor::MouseResult BoardEditor::Rotate(int32_t x, int32_t y) {
    host_.AboutToChange();
    EndKeyRun();
    Match& m = *doc_.SelectedMatch;
    const Match was = m;
    const BoardRect before = MatchBounds(m);
    const int32_t dy = WrapSub(y, anchor_.y);
    int32_t angle = m.angle;
    // Level with the pivot the direction is left as it was.
    if (dy != 0) {
        const int32_t dx = WrapSub(x, anchor_.x);
        const double theta = std::atan2(static_cast<double>(dx), static_cast<double>(dy));
        const int32_t t = TruncToInt32(theta * RadiansToDegrees());
        angle = WrapSub(pivotAtHead_ ? kHeadPivotOffset : kTailPivotOffset, t);
    }
    PlaceTurned(m, angle, pivotAtHead_, anchor_);
    if (pivotAtHead_) {
        doc_.MatchList.Moved(doc_.SelectedMatch);
    }
    SnapTurned();
    const MouseResult result{BoardCursor::Rotate,
                             RectAround(anchor_.x, anchor_.y, kRepaintMargin, kRepaintMargin)};
    Announce(Change(BoardChange::Kind::Moved, doc_.SelectedMatch, was), true, result.repaint,
             Covering(before, MatchBounds(m)));
    return result;
}

void BoardEditor::PlaceTurned(Match& m, int32_t angle, bool aboutHead, Point32 pivot) {
    m.angle = angle;
    if (aboutHead) {
        // Put the match back so that its head vertex 2 lies on the pivot: seen
        // from the pivot, a match turned half round has its head vertex 2
        // exactly where this match's tail point belongs.
        // The half turn is taken in 64 bits: for an angle within 180 of the
        // top of the range a wrapped sum would not be a half turn, and the
        // match would jump off the pivot.
        const auto halfTurn = static_cast<int32_t>((static_cast<int64_t>(m.angle) + 180) % 360);
        const Match reversed(pivot.x, pivot.y, halfTurn);
        const Point32 tail = reversed.GetShape().Head[2];
        m.x = tail.x;
        m.y = tail.y;
    }
}

void BoardEditor::AppendMatch(const Match& m) {
    if (movesOnly_) {
        return;
    }
    host_.AboutToChange();
    EndKeyRun();
    doc_.SelectedMatch = doc_.MatchList.Append(m);
    // The record is complete before the views hear of the change.
    doc_.LastAction = ActionAdd;
    Announce(Change(BoardChange::Kind::Added, doc_.SelectedMatch), true);
}

void BoardEditor::OnAddMatch(int32_t boardWindowWidth, std::optional<BoardRect> view) {
    EndKeyRun();
    if (movesOnly_) {
        return;
    }
    const AddSpot spot =
        view ? ClearAddSpot(doc_.MatchList, newMatchCounter_, boardWindowWidth, *view)
             : CounterSpot(newMatchCounter_, boardWindowWidth);
    newMatchCounter_ = spot.nextCounter;
    AppendMatch(spot.match);
}

void BoardEditor::OnDeleteMatch() {
    EndKeyRun();
    const MatchList::Ref selected = doc_.SelectedMatch;
    if (!selected || movesOnly_) {
        return;
    }
    host_.AboutToChange();
    doc_.LastAction = ActionDelete;
    deletedMatch_ = *selected;
    if (undoMatch_ == selected) {
        undoMatch_ = {};
    }
    doc_.SelectedMatch = {};
    doc_.MatchList.Remove(selected);
    // The match drawn on top becomes the selected one.
    doc_.SelectedMatch = doc_.MatchList.Last();
    Announce(Change(BoardChange::Kind::Removed, {}, deletedMatch_), true);
}

std::optional<MatchBlock> BoardEditor::CopyBlock() const {
    if (!doc_.SelectedMatch) {
        return std::nullopt;
    }
    return EncodeMatchBlock(*doc_.SelectedMatch);
}

std::optional<MatchBlock> BoardEditor::OnEditCut() {
    if (movesOnly_) {
        return std::nullopt;
    }
    std::optional<MatchBlock> block = CopyBlock();
    if (block) {
        OnDeleteMatch();
    }
    return block;
}

std::optional<MatchBlock> BoardEditor::OnEditPaste(std::span<const uint8_t> clipboardBytes) {
    const std::optional<Match> stored = DecodeMatchBlock(clipboardBytes);
    if (!stored || movesOnly_) {
        return std::nullopt;
    }
    const Match pasted(WrapAdd(stored->x, kPasteOffset), WrapAdd(stored->y, kPasteOffset),
                       stored->angle);
    AppendMatch(pasted);
    return EncodeMatchBlock(pasted);
}

void BoardEditor::OnEditUndo() {
    EndKeyRun();
    if (movesOnly_) {
        return;
    }
    switch (doc_.LastAction) {
        case ActionAdd:
            // The added match is the last one; removing it makes the record a delete.
            doc_.SelectedMatch = doc_.MatchList.Last();
            OnDeleteMatch();
            break;
        case ActionDelete:
            AppendMatch(deletedMatch_);
            break;
        case ActionMove:
            if (undoMatch_) {
                host_.AboutToChange();
                const Match was = *undoMatch_;
                undoMatch_->x = savedPosition_.x;
                undoMatch_->y = savedPosition_.y;
                doc_.MatchList.Moved(undoMatch_);
                UndoneInPlace(was);
            } else {
                Announce(Change(BoardChange::Kind::Selection), false);
            }
            break;
        case ActionRotate:
            // A turn about the head moved the match as well.
            if (undoMatch_) {
                host_.AboutToChange();
                const Match was = *undoMatch_;
                undoMatch_->x = savedPosition_.x;
                undoMatch_->y = savedPosition_.y;
                undoMatch_->angle = savedAngle_;
                doc_.MatchList.Moved(undoMatch_);
                UndoneInPlace(was);
            } else {
                Announce(Change(BoardChange::Kind::Selection), false);
            }
            break;
        default:
            break;
    }
}

void BoardEditor::UndoneInPlace(const Match& before) {
    // The riddle's modified state is left as it was: the match went back to
    // where the move or turn found it.
    Announce(Change(BoardChange::Kind::Moved, undoMatch_, before), false);
}

void BoardEditor::OnRotate90() {
    EndKeyRun();
    const MatchList::Ref selected = doc_.SelectedMatch;
    if (!selected) {
        return;
    }
    host_.AboutToChange();
    const Match was = *selected;
    ++actionCount_;
    doc_.LastAction = ActionRotate;
    undoMatch_ = selected;
    savedAngle_ = selected->angle;
    savedPosition_ = {selected->x, selected->y};
    selected->angle = SnapAngleTo90(selected->angle);
    Announce(Change(BoardChange::Kind::Moved, selected, was), true);
}

void BoardEditor::PlaceMatch(MatchList::Ref match, const Match& m) {
    if (!doc_.MatchList.Contains(match)) {
        return;
    }
    EndKeyRun();
    host_.AboutToChange();
    const Match before = *match;
    *match = m;
    doc_.MatchList.Moved(match);
    Announce(Change(BoardChange::Kind::Moved, match, before), true, MatchBounds(before),
             MatchBounds(m));
}

std::string BoardEditor::OnUpdateIndicatorMatchCount() const {
    return std::to_string(doc_.MatchList.Count()) + " matches";
}

void BoardEditor::OnDocumentReset() {
    EndKeyRun();
    undoMatch_ = {};
}

}  // namespace vorlo

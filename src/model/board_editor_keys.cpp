// SPDX-License-Identifier: GPL-3.0-or-later
// The board editor's keyboard steps, the selection by key and snapping.

#include <cmath>
#include <cstdlib>

#include "board_editor.h"
#include "int32_math.h"

namespace vorlo {

bool BoardEditor::SelectMatch(MatchList::Ref ref) {
    EndKeyRun();
    if (!ref) {
        return false;
    }
    doc_.SelectedMatch = ref;
    Announce(Change(BoardChange::Kind::Selection), false);
    return true;
}

bool BoardEditor::SelectNextMatch() {
    const MatchList::Ref selected = doc_.SelectedMatch;
    const MatchList::Ref next = selected ? selected.Next() : MatchList::Ref();
    return SelectMatch(next ? next : doc_.MatchList.First());
}

bool BoardEditor::SelectPreviousMatch() {
    const MatchList::Ref selected = doc_.SelectedMatch;
    const MatchList::Ref previous = selected ? selected.Previous() : MatchList::Ref();
    return SelectMatch(previous ? previous : doc_.MatchList.Last());
}

void BoardEditor::BeginKeyStep(bool turning) {
    const MatchList::Ref selected = doc_.SelectedMatch;
    const bool continues = keyRun_ && undoMatch_ == selected &&
                           (doc_.LastAction == ActionMove || doc_.LastAction == ActionRotate);
    if (!continues) {
        // The undo store keeps the whole match as the run found it; a run
        // that turns restores the angle as well as the place.
        keyRun_ = true;
        ++actionCount_;
        keyPivotSet_ = false;
        undoMatch_ = selected;
        savedPosition_ = {selected->x, selected->y};
        savedAngle_ = selected->angle;
        doc_.LastAction = ActionMove;
    }
    if (turning) {
        doc_.LastAction = ActionRotate;
    }
}

void BoardEditor::OnKeyMove(int32_t dx, int32_t dy) {
    const MatchList::Ref selected = doc_.SelectedMatch;
    if (!selected) {
        return;
    }
    host_.AboutToChange();
    const Match was = *selected;
    BeginKeyStep(false);
    keyPivotSet_ = false;
    selected->x = WrapAdd(selected->x, dx);
    selected->y = WrapAdd(selected->y, dy);
    doc_.MatchList.Moved(selected);
    Announce(Change(BoardChange::Kind::Moved, selected, was), true);
}

void BoardEditor::OnKeyTurn(int32_t degrees, bool aboutHead) {
    const MatchList::Ref selected = doc_.SelectedMatch;
    if (!selected) {
        return;
    }
    host_.AboutToChange();
    const Match was = *selected;
    BeginKeyStep(true);
    // Successive turns about the head keep the pivot the first one took, so
    // the rounding of each step does not walk the match away from it.
    if (aboutHead && !keyPivotSet_) {
        keyPivot_ = selected->GetShape().Head[2];
        keyPivotSet_ = true;
    } else if (!aboutHead) {
        keyPivotSet_ = false;
    }
    PlaceTurned(*selected, WrapAdd(selected->angle, degrees), aboutHead, keyPivot_);
    doc_.MatchList.Moved(selected);
    Announce(Change(BoardChange::Kind::Moved, selected, was), true);
}

bool BoardEditor::SelectedNearlyMeetsAnother() {
    if (!doc_.SelectedMatch) {
        return false;
    }
    const Match& m = *doc_.SelectedMatch;
    const Point32 ends[2] = {{m.x, m.y}, HeadTip(m)};
    const std::optional<EndFinder::Hit> hit =
        endFinder_.Nearest(doc_.MatchList, ends, doc_.SelectedMatch, kNearMissDistance);
    return hit && hit->distanceSquared > 0;
}

int64_t BoardEditor::SnapDragged() {
    if (!snapping_ || snapSuspended_) {
        return 0;
    }
    Match& m = *doc_.SelectedMatch;
    const Point32 ends[2] = {{m.x, m.y}, HeadTip(m)};
    const std::optional<EndFinder::Hit> hit =
        endFinder_.Nearest(doc_.MatchList, ends, doc_.SelectedMatch);
    if (!hit) {
        return 0;
    }
    const Point32 from = ends[hit->point];
    m.x = WrapAdd(m.x, WrapSub(hit->end.x, from.x));
    m.y = WrapAdd(m.y, WrapSub(hit->end.y, from.y));
    doc_.MatchList.Moved(doc_.SelectedMatch);
    return kSnapDistance;
}

void BoardEditor::SnapTurned() {
    if (!snapping_ || snapSuspended_) {
        return;
    }
    Match& m = *doc_.SelectedMatch;
    // The end that swings: the head's tip about the tail, the tail about the head.
    auto freeEnd = [this](const Match& match) {
        return pivotAtHead_ ? Point32{match.x, match.y} : HeadTip(match);
    };
    const Point32 pivot = pivotAtHead_ ? anchor_ : Point32{m.x, m.y};
    const Point32 free[1] = {freeEnd(m)};
    const std::optional<EndFinder::Hit> hit =
        endFinder_.Nearest(doc_.MatchList, free, doc_.SelectedMatch);
    if (hit) {
        // Turned by the angle between the free end and the other end as seen
        // from the pivot, then the whole degree either side of it that brings
        // the two closest.
        double delta = DirectionDegrees(pivot, hit->end) - DirectionDegrees(pivot, free[0]);
        delta = std::remainder(delta, 360.0);
        const int32_t guess = WrapAdd(m.angle, RoundHalfUp(delta));
        int32_t bestAngle = m.angle;
        uint64_t best = UINT64_MAX;
        for (int32_t step : {0, -1, 1}) {
            Match trial = m;
            PlaceTurned(trial, WrapAdd(guess, step), pivotAtHead_, anchor_);
            const Point32 end = freeEnd(trial);
            const uint64_t d = PointDistanceSquared(end.x, end.y, hit->end.x, hit->end.y);
            if (d < best) {
                best = d;
                bestAngle = trial.angle;
            }
        }
        PlaceTurned(m, bestAngle, pivotAtHead_, anchor_);
    } else if (const std::optional<int32_t> step = SnapAngleToStep(m.angle)) {
        PlaceTurned(m, *step, pivotAtHead_, anchor_);
    } else {
        return;
    }
    doc_.MatchList.Moved(doc_.SelectedMatch);
}

}  // namespace vorlo

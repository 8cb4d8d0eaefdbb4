// SPDX-License-Identifier: GPL-3.0-or-later
#include "family_judge.h"

#include <algorithm>
#include <limits>

namespace vorlo {

namespace {

std::tuple<int32_t, int32_t, int32_t> KeyOf(const Match& m) {
    return {m.x, m.y, m.angle};
}

}  // namespace

RuleJudge::RuleJudge(FamilyRiddle riddle, FamilyRule rule)
    : riddle_(std::move(riddle)), rule_(rule) {
    Clear();
}

const std::vector<FamilyAnswer>& RuleJudge::Answers() const {
    if (!answers_) {
        answers_ = SolveFamily(riddle_, rule_);
    }
    return *answers_;
}

void RuleJudge::Clear() {
    onPlace_.assign(riddle_.PlaceCount(), {});
    filled_.reset();
    crowded_ = 0;
    offPlace_.clear();
    offPlaceCount_ = 0;
}

void RuleJudge::Reset(const MatchList& board) {
    Clear();
    for (const Match& m : board) {
        Add(m);
    }
}

void RuleJudge::Add(const Match& match) {
    const std::optional<size_t> p = riddle_.PlaceOf(match);
    if (!p) {
        ++offPlace_[KeyOf(match)];
        ++offPlaceCount_;
        return;
    }
    std::vector<Match>& here = onPlace_[*p];
    here.push_back(match);
    if (here.size() == 2) {
        ++crowded_;
    }
    filled_.set(*p);
}

void RuleJudge::Remove(const Match& match) {
    const std::optional<size_t> p = riddle_.PlaceOf(match);
    if (!p) {
        const auto it = offPlace_.find(KeyOf(match));
        if (it != offPlace_.end()) {
            --offPlaceCount_;
            if (--it->second == 0) {
                offPlace_.erase(it);
            }
        }
        return;
    }
    std::vector<Match>& here = onPlace_[*p];
    if (here.empty()) {
        return;
    }
    const auto it = std::find(here.begin(), here.end(), match);
    here.erase(it == here.end() ? here.end() - 1 : it);
    if (here.size() == 1) {
        --crowded_;
    }
    if (here.empty()) {
        filled_.reset(*p);
    }
}

bool RuleJudge::Solved() const {
    return offPlaceCount_ == 0 && crowded_ == 0 &&
           riddle_.IsAnswer(filled_, rule_.moves, rule_.squares);
}

std::optional<LayoutJudge::Hint> RuleJudge::NextHint() const {
    if (Solved() || Answers().empty()) {
        return std::nullopt;
    }
    const FamilyAnswer* nearest = nullptr;
    size_t nearestDistance = std::numeric_limits<size_t>::max();
    for (const FamilyAnswer& answer : Answers()) {
        const size_t distance = (answer.board ^ filled_).count();
        if (distance < nearestDistance) {
            nearest = &answer;
            nearestDistance = distance;
        }
    }
    const PlaceSet toFill = nearest->board & ~filled_;
    if (toFill.none()) {
        return std::nullopt;
    }
    const Match target = riddle_.PlaceMatch(toFill._Find_first());
    // The match to move: one lying on no place first, then one on a place
    // the answer leaves empty, then the second of a crowded place.
    if (!offPlace_.empty()) {
        const auto& [x, y, angle] = offPlace_.begin()->first;
        return LayoutJudge::Hint{Match{x, y, angle}, target};
    }
    const PlaceSet toEmpty = filled_ & ~nearest->board;
    if (toEmpty.any()) {
        return LayoutJudge::Hint{onPlace_[toEmpty._Find_first()].back(), target};
    }
    for (const std::vector<Match>& here : onPlace_) {
        if (here.size() > 1) {
            return LayoutJudge::Hint{here.back(), target};
        }
    }
    return std::nullopt;
}

}  // namespace vorlo

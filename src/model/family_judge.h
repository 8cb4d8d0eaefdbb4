// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Judging a family riddle by its rule (family.h): the board is solved by any
// answer within the riddle's moves, stored or not. The judge keeps the
// board as places, change by change; whether it is solved is then a look at
// the few places of the riddle. For hints it knows every answer, found once.

#include <cstddef>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "family.h"
#include "judge.h"

namespace vorlo {

class RuleJudge final : public Judge {
public:
    RuleJudge(FamilyRiddle riddle, FamilyRule rule);

    void Reset(const MatchList& board) override;
    void Remove(const Match& match) override;
    void Add(const Match& match) override;
    bool Solved() const override;

    const FamilyRiddle& Riddle() const { return riddle_; }
    const FamilyRule& Rule() const { return rule_; }
    // Every answer, found when first asked for: a verdict needs none of them.
    const std::vector<FamilyAnswer>& Answers() const;

    // A board match to move and a place it can go, towards the answer
    // nearest the board (the fewest places to fill and to empty, the first of
    // equals). None when solved or when the riddle has no answer.
    std::optional<LayoutJudge::Hint> NextHint() const;

private:
    void Clear();

    FamilyRiddle riddle_;
    FamilyRule rule_;
    mutable std::optional<std::vector<FamilyAnswer>> answers_;
    // The board: the matches on each place, and those on none.
    std::vector<std::vector<Match>> onPlace_;
    PlaceSet filled_;
    size_t crowded_ = 0;  // places holding more than one match
    std::map<std::tuple<int32_t, int32_t, int32_t>, size_t> offPlace_;
    size_t offPlaceCount_ = 0;
};

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the board solves its riddle. A judge follows one board as it
// changes: it is told the whole board once, then every match that goes and
// every match that comes (a move of one match is a Remove of where it was
// and an Add of where it is now), and says at any time whether the board as
// it stands is solved.
//
// Riddles of layouts are judged by LayoutJudge: the board must show one of
// the riddle's solution layouts, stick for stick (SameEnds in
// stick_pairing.h: the whole match, tail to head tip, either way round, each
// end within 8 pixels). Other kinds of riddles judge by rules of their own
// behind the same interface.

#include <cstddef>
#include <optional>
#include <vector>

#include "incremental_pairing.h"
#include "match.h"
#include "match_list.h"

namespace vorlo {

class Judge {
public:
    virtual ~Judge() = default;
    // The whole board is new.
    virtual void Reset(const MatchList& board) = 0;
    // One board match went away, given by its value.
    virtual void Remove(const Match& match) = 0;
    // One board match arrived.
    virtual void Add(const Match& match) = 0;
    virtual bool Solved() const = 0;
};

// Solved when the board pairs one to one with any of the solution layouts.
// Each change costs what the largest pairing with each solution costs to
// keep up to date (incremental_pairing.h): for matches lying apart, the same
// on a board of any size.
class LayoutJudge final : public Judge {
public:
    explicit LayoutJudge(std::vector<std::vector<Match>> solutions);

    void Reset(const MatchList& board) override;
    void Remove(const Match& match) override;
    void Add(const Match& match) override;
    bool Solved() const override;

    size_t SolutionCount() const { return pairings_.size(); }

    // For hints: the solution nearest the board (the fewest matches left
    // unpaired on both sides together, the first of equals), a board match
    // that must move to reach it, and a place it can go. None when the board
    // is solved, and when the nearest solution asks only for matches to be
    // added or taken away (the board, or the solution, has none left over).
    struct Hint {
        Match move;
        Match target;
    };
    std::optional<Hint> NextHint() const;

private:
    std::vector<IncrementalPairing> pairings_;
};

// The fewest matches a player must move to go from the riddle's start to one
// of its solutions: the smallest count of a solution's matches left over
// when they are paired with the start's. None without solutions.
std::optional<size_t> FewestMoves(const std::vector<Match>& start,
                                  const std::vector<std::vector<Match>>& solutions);
std::optional<size_t> FewestMoves(const MatchList& start,
                                  const std::vector<std::vector<Match>>& solutions);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "judge.h"

#include <algorithm>
#include <utility>

namespace vorlo {

LayoutJudge::LayoutJudge(std::vector<std::vector<Match>> solutions) {
    pairings_.reserve(solutions.size());
    for (std::vector<Match>& solution : solutions) {
        pairings_.emplace_back(solution);
        // The pairing keeps what it needs of the layout.
        std::vector<Match>().swap(solution);
    }
}

void LayoutJudge::Reset(const MatchList& board) {
    for (IncrementalPairing& pairing : pairings_) {
        pairing.Reset(board);
    }
}

void LayoutJudge::Remove(const Match& match) {
    for (IncrementalPairing& pairing : pairings_) {
        pairing.Remove(match);
    }
}

void LayoutJudge::Add(const Match& match) {
    for (IncrementalPairing& pairing : pairings_) {
        pairing.Add(match);
    }
}

bool LayoutJudge::Solved() const {
    return std::any_of(pairings_.begin(), pairings_.end(),
                       [](const IncrementalPairing& pairing) { return pairing.Complete(); });
}

std::optional<LayoutJudge::Hint> LayoutJudge::NextHint() const {
    const IncrementalPairing* nearest = nullptr;
    for (const IncrementalPairing& pairing : pairings_) {
        if (nearest == nullptr || pairing.BoardUnpaired() + pairing.ReferenceUnpaired() <
                                      nearest->BoardUnpaired() + nearest->ReferenceUnpaired()) {
            nearest = &pairing;
        }
    }
    if (nearest == nullptr) {
        return std::nullopt;
    }
    const std::optional<Match> move = nearest->UnpairedBoardMatch();
    const std::optional<Match> target = nearest->UnpairedReferenceMatch();
    if (!move || !target) {
        return std::nullopt;
    }
    return Hint{*move, *target};
}

namespace {

template <class Start>
std::optional<size_t> FewestMovesFrom(const Start& start,
                                      const std::vector<std::vector<Match>>& solutions) {
    std::optional<size_t> fewest;
    if (solutions.empty()) {
        return fewest;
    }
    // The start as the reference, each solution as a board.
    IncrementalPairing pairing(start);
    for (const std::vector<Match>& solution : solutions) {
        pairing.Reset(solution);
        fewest = std::min(fewest.value_or(pairing.BoardUnpaired()), pairing.BoardUnpaired());
    }
    return fewest;
}

}  // namespace

std::optional<size_t> FewestMoves(const std::vector<Match>& start,
                                  const std::vector<std::vector<Match>>& solutions) {
    return FewestMovesFrom(start, solutions);
}

std::optional<size_t> FewestMoves(const MatchList& start,
                                  const std::vector<std::vector<Match>>& solutions) {
    return FewestMovesFrom(start, solutions);
}

}  // namespace vorlo

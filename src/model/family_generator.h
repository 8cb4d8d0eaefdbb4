// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// New riddles of a family (family.h), made without end from a seed: the same
// seed gives the same riddles, on every machine. Each riddle is unsolved at
// the start, needs exactly its moves (no answer takes fewer), has one to
// three answers, and comes with all of them as solutions; no two riddles of
// one run are alike.
//
// - Equations: 3 to 9 glyphs, one or two moves. A true equation is made at
//   random, then as many matches moved as the riddle asks, each move leaving
//   a glyph in every slot.
// - Squares: lattices of 2 x 2 to 4 x 4 cells, 1 to 4 moves, 2 to 8
//   squares. A board of squares is made at random, then matches moved to
//   free edges of the lattice.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "family.h"
#include "match.h"

namespace vorlo {

struct GeneratedRiddle {
    std::vector<Match> matches;
    std::string text;  // the task, Hebrew then English
    FamilyRule rule;
    std::string equation;  // equations: the riddle read as text
    std::vector<std::vector<Match>> solutions;
};

struct GenerateOptions {
    RiddleFamily family = RiddleFamily::Equation;
    size_t count = 10;
    std::optional<size_t> moves;  // each riddle's own when not given
    uint64_t seed = 1;
};

// The moves a family's generator makes riddles of.
inline constexpr size_t kMaxEquationMoves = 2;
inline constexpr size_t kMaxSquaresMoves = 4;

// `options.count` riddles, fewer only when the family has no more riddles of
// the kind asked for (the attempts are bounded).
std::vector<GeneratedRiddle> GenerateRiddles(const GenerateOptions& options);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Riddle families: riddles whose answers follow from a rule, so that every
// answer can be found, and any board recognised as one, whether or not the
// riddle's author stored it.
//
// A family riddle's matches lie on places: fixed positions a match fits into
// (within the judge's tolerance, SameEnds in stick_pairing.h), whole matches
// one match long (kEndToEnd, 76 pixels). A board is then a set of places.
//
// - Squares: the places are the edges of a square lattice whose side is one
//   match. A square of any size counts when each of its sides is a row of
//   matches. An answer shows exactly K squares, every match a side of at
//   least one of them, inside the riddle's lattice rectangle (the smallest
//   rectangle of cells that holds every match of the riddle).
// - Equations: glyph slots side by side, two match lengths apart. A digit
//   slot has the seven segments of a seven-segment display on the lattice
//   (a top, b top right, c bottom right, d bottom, e bottom left, f top left,
//   g middle), one match each. An operator slot, one match wide, has room
//   for two horizontal matches (the bars of "=", a little above and below
//   the digits' middle) and one vertical (the stroke of "+", across them):
//   "-" is one bar, "+" one bar and the stroke, "=" both bars. A plus sign
//   cannot be drawn on lattice edges, so the operator places lie off the
//   lattice, at fixed places relative to the digits. An answer has a glyph
//   in every slot, exactly one "=", no number of two or more digits starting
//   with 0, no sign before a number, and both sides equal (whole numbers, +
//   and - from left to right).
//
// Either way a move takes a match from one place and lays it in a free one;
// an answer differs from the riddle in at most N places, and holds as many
// matches.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "match.h"

namespace vorlo {

enum class RiddleFamily { Equation, Squares };

// The most places a family riddle has: a squares lattice of about 15 x 15
// cells (an equation has at most kMaxGlyphs glyphs). Larger pictures are judged by their
// solution files alone.
inline constexpr size_t kMaxPlaces = 512;
using PlaceSet = std::bitset<kMaxPlaces>;

// Equation geometry, in pixels from the top left corner of the first slot.
namespace equation_geometry {
inline constexpr int32_t kSide = 76;              // one match: a digit is 1 x 2 of them
inline constexpr int32_t kSlotPitch = 2 * kSide;  // slot to slot: a match's gap between glyphs
inline constexpr int32_t kBarOffset = 12;         // the bars of "=" from the digits' middle
inline constexpr size_t kDigitPlaces = 7;
inline constexpr size_t kOperatorPlaces = 3;  // upper bar, lower bar, stroke
inline constexpr size_t kMaxGlyphs = 64;
}  // namespace equation_geometry

enum class SlotKind { Digit, Operator };

// Segment bits of a digit slot: bit 0 is a, ... bit 6 is g. Operator slot
// bits: 0 upper bar, 1 lower bar, 2 stroke.
inline constexpr uint8_t kDigitSegments[10] = {
    0b0111111,  // 0 abcdef
    0b0000110,  // 1 bc
    0b1011011,  // 2 abdeg
    0b1001111,  // 3 abcdg
    0b1100110,  // 4 bcfg
    0b1101101,  // 5 acdfg
    0b1111101,  // 6 acdefg
    0b0000111,  // 7 abc
    0b1111111,  // 8 abcdefg
    0b1101111,  // 9 abcdfg
};

// The glyph a slot's bits show: '0'..'9', '+', '-', '=', or none.
std::optional<char> GlyphOf(SlotKind kind, uint8_t bits);

// Whether a line of glyphs is a true equation by the rules above.
bool EquationHolds(std::string_view glyphs);

class FamilyRiddle {
public:
    // Recognises the family from the picture alone: every match on a place
    // of its own. Equations are tried first: their slots leave gaps no
    // squares riddle of more than one column has. None when the picture is
    // neither, holds two matches on one place, or needs more than
    // kMaxPlaces places.
    static std::optional<FamilyRiddle> Recognize(const std::vector<Match>& matches);

    RiddleFamily Family() const { return family_; }
    size_t PlaceCount() const { return places_.size(); }
    // A match lying exactly on place `p`.
    const Match& PlaceMatch(size_t p) const { return places_[p]; }
    // The riddle's matches as places, and their count.
    const PlaceSet& Start() const { return start_; }
    size_t MatchCount() const { return matchCount_; }

    // The place a match lies on, within the tolerance; none when it lies on
    // none.
    std::optional<size_t> PlaceOf(const Match& match) const;
    // A layout as places: none when a match lies on no place, two on one, or
    // the count differs from the riddle's.
    std::optional<PlaceSet> PlacesOf(const std::vector<Match>& matches) const;

    // Squares: the lattice rectangle's size in cells, and the squares a set
    // of places shows.
    int32_t Columns() const { return columns_; }
    int32_t Rows() const { return rows_; }
    size_t CountSquares(const PlaceSet& board) const;

    // Equations: the slots, and what a set of places reads as ('?' for a
    // slot that shows no glyph).
    const std::vector<SlotKind>& Slots() const { return slots_; }
    std::string Text(const PlaceSet& board) const;

    // Whether `board` answers the riddle: the rule holds (for squares with
    // `squares` squares), it holds the riddle's match count, and it differs
    // from the riddle in at most `moves` places.
    bool IsAnswer(const PlaceSet& board, size_t moves, size_t squares) const;
    // How many of the riddle's matches must move to reach `board`.
    size_t MovesTo(const PlaceSet& board) const { return (board & ~start_).count(); }

    // The places of a squares lattice of columns x rows cells whose top left
    // corner is `origin`, and of an equation's slots: what the generator and
    // the drawing build riddles from.
    static FamilyRiddle SquaresLattice(Point32 origin, int32_t columns, int32_t rows);
    static FamilyRiddle EquationSlots(Point32 origin, const std::vector<SlotKind>& slots);
    // The same places with these matches as the riddle.
    void SetStart(const PlaceSet& start);

    // Squares: the squares of the lattice as their four sides, by size, then
    // row, then column.
    const std::vector<PlaceSet>& Squares() const { return squares_; }

private:
    FamilyRiddle() = default;
    void BuildSquares();

    RiddleFamily family_ = RiddleFamily::Squares;
    std::vector<Match> places_;
    PlaceSet start_;
    size_t matchCount_ = 0;
    Point32 origin_;
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    std::vector<SlotKind> slots_;
    std::vector<size_t> slotFirstPlace_;
    std::vector<PlaceSet> squares_;
};

// What a riddle of a family asks: at most `moves` matches moved, and for
// squares how many squares are left.
struct FamilyRule {
    size_t moves = 0;
    size_t squares = 0;
};

// The rule a riddle's solution files show: the fewest moves among them, and
// the squares the one of fewest moves shows (the first of equals). Solution
// files that are not on the riddle's places, or that break the family's rule
// themselves, are passed over; none when no file is left.
std::optional<FamilyRule> RuleOfSolutions(const FamilyRiddle& riddle,
                                          const std::vector<std::vector<Match>>& solutions);

struct FamilyAnswer {
    PlaceSet board;
    size_t moved = 0;
    std::string text;  // equations: the answer read as text
};

// Every answer within the rule, each once (for equations, each equation once,
// on the places of fewest moves): the fewest moves first, then by places (the
// lowest differing place first). Equations try every choice of
// up to `moves` matches and free places; squares build answers from sets of
// squares, which is far faster than trying moves.
std::vector<FamilyAnswer> SolveFamily(const FamilyRiddle& riddle, const FamilyRule& rule);

// The same answers, found by trying every choice of up to `moves` matches to
// take and free places to lay them in: what the fast solver is checked and
// measured against. `tried` counts the boards tried.
std::vector<FamilyAnswer> SolveByTryingMoves(const FamilyRiddle& riddle, const FamilyRule& rule,
                                             uint64_t* tried = nullptr);

// A board of places as matches: the riddle's matches in their order, each
// that stays where it is unchanged, each that moves taking the next free
// place of the answer in place order.
std::vector<Match> AnswerMatches(const FamilyRiddle& riddle,
                                 const std::vector<Match>& riddleMatches, const PlaceSet& answer);

// The pairs of matches that move, from where to where, in the order of
// AnswerMatches.
struct MatchMove {
    Match from;
    Match to;
};
std::vector<MatchMove> AnswerMoves(const FamilyRiddle& riddle,
                                   const std::vector<Match>& riddleMatches, const PlaceSet& answer);

// An equation drawn as matches, slots from `origin`: none when the text holds
// a character outside 0-9 + - = (spaces aside), or is empty, or longer than
// kMaxGlyphs.
std::optional<std::vector<Match>> DrawEquation(std::string_view text, Point32 origin = {38, 38});

// The task text of a family riddle: Hebrew, then English on the next line.
std::string FamilyTaskText(RiddleFamily family, const FamilyRule& rule);

// Whether a riddle's task asks for exactly the rule: it holds the Hebrew or
// the English line of FamilyTaskText. A riddle on a family's places whose
// task asks for more ("four equal squares") is judged by its solution files
// alone, or answers its task forbids would count.
bool TaskStatesRule(const std::string& task, RiddleFamily family, const FamilyRule& rule);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "family.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "int32_math.h"
#include "snapping.h"
#include "stick_pairing.h"

namespace vorlo {

namespace {

using namespace equation_geometry;

constexpr int32_t kCell = kEndToEnd;

// A horizontal match from (x, y) to the right, and a vertical one from (x, y)
// down.
Match Across(Point32 origin, int64_t dx, int64_t dy) {
    return {WrapAdd(origin.x, static_cast<int32_t>(dx)),
            WrapAdd(origin.y, static_cast<int32_t>(dy)), 0};
}
Match Down(Point32 origin, int64_t dx, int64_t dy) {
    return {WrapAdd(origin.x, static_cast<int32_t>(dx)),
            WrapAdd(origin.y, static_cast<int32_t>(dy)), 270};
}

// The places of one slot whose left top corner is `dx` pixels right of the
// origin, in bit order.
void AddSlotPlaces(std::vector<Match>& places, Point32 origin, SlotKind kind, int64_t dx) {
    if (kind == SlotKind::Digit) {
        places.push_back(Across(origin, dx, 0));            // a
        places.push_back(Down(origin, dx + kSide, 0));      // b
        places.push_back(Down(origin, dx + kSide, kSide));  // c
        places.push_back(Across(origin, dx, 2 * kSide));    // d
        places.push_back(Down(origin, dx, kSide));          // e
        places.push_back(Down(origin, dx, 0));              // f
        places.push_back(Across(origin, dx, kSide));        // g
    } else {
        places.push_back(Across(origin, dx, kSide - kBarOffset));   // upper bar
        places.push_back(Across(origin, dx, kSide + kBarOffset));   // lower bar
        places.push_back(Down(origin, dx + kSide / 2, kSide / 2));  // stroke
    }
}

size_t PlacesOfKind(SlotKind kind) {
    return kind == SlotKind::Digit ? kDigitPlaces : kOperatorPlaces;
}

// Floor of a / b for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if (a % b != 0 && a < 0) {
        --q;
    }
    return q;
}

// The nearest multiple of kCell, as a count of cells.
int64_t NearestCell(int64_t offset) {
    return FloorDiv(offset + kCell / 2, kCell);
}

int64_t Offset(int32_t from, int32_t to) {
    return WrapSub(to, from);
}

uint64_t EndDistance(const StickEnds& a, const StickEnds& b) {
    const uint64_t straight = PointDistanceSquared(a.tail.x, a.tail.y, b.tail.x, b.tail.y) +
                              PointDistanceSquared(a.head.x, a.head.y, b.head.x, b.head.y);
    const uint64_t crossed = PointDistanceSquared(a.tail.x, a.tail.y, b.head.x, b.head.y) +
                             PointDistanceSquared(a.head.x, a.head.y, b.tail.x, b.tail.y);
    return std::min(straight, crossed);
}

// The place among places[first, first + count) that `ends` lies on, the
// nearest where two would do.
std::optional<size_t> NearestPlace(const std::vector<Match>& places, size_t first, size_t count,
                                   const StickEnds& ends) {
    std::optional<size_t> best;
    uint64_t bestDistance = std::numeric_limits<uint64_t>::max();
    for (size_t p = first; p < first + count; ++p) {
        const StickEnds placeEnds = EndsOf(places[p]);
        if (!SameEnds(ends, placeEnds)) {
            continue;
        }
        const uint64_t d = EndDistance(ends, placeEnds);
        if (d < bestDistance) {
            best = p;
            bestDistance = d;
        }
    }
    return best;
}

// A number as the equation reads it, and whether it fits (at most 36 digits:
// every side of an equation of kMaxGlyphs glyphs sums in 128 bits).
using Wide = __int128;

bool ReadSide(std::string_view side, Wide& value) {
    value = 0;
    Wide number = 0;
    size_t digits = 0;
    int sign = 1;
    bool expectNumber = true;
    for (size_t i = 0; i <= side.size(); ++i) {
        const char c = i < side.size() ? side[i] : '+';
        if (c >= '0' && c <= '9') {
            if (digits == 1 && number == 0) {
                return false;  // a number of two or more digits starting with 0
            }
            if (digits >= 36) {
                return false;
            }
            number = number * 10 + (c - '0');
            ++digits;
            expectNumber = false;
            continue;
        }
        if (expectNumber) {
            return false;  // a sign before a number, or nothing after a sign
        }
        value += sign * number;
        number = 0;
        digits = 0;
        sign = c == '-' ? -1 : 1;
        expectNumber = true;
        if (c != '+' && c != '-') {
            return false;
        }
    }
    return true;
}

class Combinations {
public:
    // Every choice of k of the items, in lexicographic order of positions.
    Combinations(size_t n, size_t k) : n_(n), k_(k), at_(k) {
        for (size_t i = 0; i < k; ++i) {
            at_[i] = i;
        }
        valid_ = k <= n;
    }
    bool Valid() const { return valid_; }
    const std::vector<size_t>& At() const { return at_; }
    void Next() {
        size_t i = k_;
        while (i > 0) {
            --i;
            if (at_[i] < n_ - k_ + i) {
                ++at_[i];
                for (size_t j = i + 1; j < k_; ++j) {
                    at_[j] = at_[j - 1] + 1;
                }
                return;
            }
        }
        valid_ = false;
    }

private:
    size_t n_;
    size_t k_;
    std::vector<size_t> at_;
    bool valid_ = true;
};

std::vector<size_t> Members(const PlaceSet& set, size_t count) {
    std::vector<size_t> out;
    for (size_t p = 0; p < count; ++p) {
        if (set.test(p)) {
            out.push_back(p);
        }
    }
    return out;
}

// The lowest differing place decides: the set that holds it comes first.
bool PlacesBefore(const PlaceSet& a, const PlaceSet& b) {
    const PlaceSet differ = a ^ b;
    if (differ.none()) {
        return false;
    }
    return a.test(differ._Find_first());
}

void SortAnswers(std::vector<FamilyAnswer>& answers) {
    std::sort(answers.begin(), answers.end(), [](const FamilyAnswer& a, const FamilyAnswer& b) {
        if (a.moved != b.moved) {
            return a.moved < b.moved;
        }
        return PlacesBefore(a.board, b.board);
    });
}

}  // namespace

std::optional<char> GlyphOf(SlotKind kind, uint8_t bits) {
    if (kind == SlotKind::Digit) {
        for (int d = 0; d < 10; ++d) {
            if (kDigitSegments[d] == bits) {
                return static_cast<char>('0' + d);
            }
        }
        return std::nullopt;
    }
    switch (bits) {
        case 0b001:
        case 0b010:
            return '-';
        case 0b101:
        case 0b110:
            return '+';
        case 0b011:
            return '=';
        default:
            return std::nullopt;
    }
}

bool EquationHolds(std::string_view glyphs) {
    const size_t equals = glyphs.find('=');
    if (equals == std::string_view::npos ||
        glyphs.find('=', equals + 1) != std::string_view::npos) {
        return false;
    }
    Wide left = 0;
    Wide right = 0;
    return ReadSide(glyphs.substr(0, equals), left) && ReadSide(glyphs.substr(equals + 1), right) &&
           left == right;
}

FamilyRiddle FamilyRiddle::SquaresLattice(Point32 origin, int32_t columns, int32_t rows) {
    FamilyRiddle riddle;
    riddle.family_ = RiddleFamily::Squares;
    riddle.origin_ = origin;
    riddle.columns_ = columns;
    riddle.rows_ = rows;
    for (int64_t j = 0; j <= rows; ++j) {
        for (int64_t i = 0; i < columns; ++i) {
            riddle.places_.push_back(Across(origin, i * kCell, j * kCell));
        }
    }
    for (int64_t j = 0; j < rows; ++j) {
        for (int64_t i = 0; i <= columns; ++i) {
            riddle.places_.push_back(Down(origin, i * kCell, j * kCell));
        }
    }
    riddle.BuildSquares();
    return riddle;
}

void FamilyRiddle::BuildSquares() {
    const auto across = [&](int32_t i, int32_t j) { return static_cast<size_t>(j * columns_ + i); };
    const auto down = [&](int32_t i, int32_t j) {
        return static_cast<size_t>((rows_ + 1) * columns_ + j * (columns_ + 1) + i);
    };
    for (int32_t size = 1; size <= std::min(columns_, rows_); ++size) {
        for (int32_t j = 0; j + size <= rows_; ++j) {
            for (int32_t i = 0; i + size <= columns_; ++i) {
                PlaceSet sides;
                for (int32_t k = 0; k < size; ++k) {
                    sides.set(across(i + k, j));
                    sides.set(across(i + k, j + size));
                    sides.set(down(i, j + k));
                    sides.set(down(i + size, j + k));
                }
                squares_.push_back(sides);
            }
        }
    }
}

FamilyRiddle FamilyRiddle::EquationSlots(Point32 origin, const std::vector<SlotKind>& slots) {
    FamilyRiddle riddle;
    riddle.family_ = RiddleFamily::Equation;
    riddle.origin_ = origin;
    riddle.slots_ = slots;
    for (size_t s = 0; s < slots.size(); ++s) {
        riddle.slotFirstPlace_.push_back(riddle.places_.size());
        AddSlotPlaces(riddle.places_, origin, slots[s], static_cast<int64_t>(s) * kSlotPitch);
    }
    return riddle;
}

void FamilyRiddle::SetStart(const PlaceSet& start) {
    start_ = start;
    matchCount_ = start.count();
}

std::optional<size_t> FamilyRiddle::PlaceOf(const Match& match) const {
    const StickEnds ends = EndsOf(match);
    if (family_ == RiddleFamily::Squares) {
        const int64_t i1 = NearestCell(Offset(origin_.x, ends.tail.x));
        const int64_t j1 = NearestCell(Offset(origin_.y, ends.tail.y));
        const int64_t i2 = NearestCell(Offset(origin_.x, ends.head.x));
        const int64_t j2 = NearestCell(Offset(origin_.y, ends.head.y));
        std::optional<size_t> place;
        if (j1 == j2 && (i2 - i1 == 1 || i1 - i2 == 1)) {
            const int64_t i = std::min(i1, i2);
            if (i >= 0 && i < columns_ && j1 >= 0 && j1 <= rows_) {
                place = static_cast<size_t>(j1 * columns_ + i);
            }
        } else if (i1 == i2 && (j2 - j1 == 1 || j1 - j2 == 1)) {
            const int64_t j = std::min(j1, j2);
            if (j >= 0 && j < rows_ && i1 >= 0 && i1 <= columns_) {
                place = static_cast<size_t>((rows_ + 1) * columns_ + j * (columns_ + 1) + i1);
            }
        }
        if (place && SameEnds(ends, EndsOf(places_[*place]))) {
            return place;
        }
        return std::nullopt;
    }
    // Equations: the slot the match's left end lies in, then its places.
    const int64_t left = std::min(Offset(origin_.x, ends.tail.x), Offset(origin_.x, ends.head.x));
    const int64_t slot = FloorDiv(left + kSide / 2, kSlotPitch);
    if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) {
        return std::nullopt;
    }
    const size_t s = static_cast<size_t>(slot);
    return NearestPlace(places_, slotFirstPlace_[s], PlacesOfKind(slots_[s]), ends);
}

std::optional<PlaceSet> FamilyRiddle::PlacesOf(const std::vector<Match>& matches) const {
    if (matches.size() != matchCount_) {
        return std::nullopt;
    }
    PlaceSet set;
    for (const Match& m : matches) {
        const std::optional<size_t> p = PlaceOf(m);
        if (!p || set.test(*p)) {
            return std::nullopt;
        }
        set.set(*p);
    }
    return set;
}

namespace {

// `riddle` starting from `matches`, each on a place of its own; none when a
// match lies on no place or shares one.
std::optional<FamilyRiddle> Seated(FamilyRiddle riddle, const std::vector<Match>& matches) {
    PlaceSet start;
    for (const Match& m : matches) {
        const std::optional<size_t> p = riddle.PlaceOf(m);
        if (!p || start.test(*p)) {
            return std::nullopt;
        }
        start.set(*p);
    }
    riddle.SetStart(start);
    return riddle;
}

std::optional<FamilyRiddle> RecognizeSquares(const std::vector<Match>& matches) {
    if (matches.empty()) {
        return std::nullopt;
    }
    const Point32 anchor{matches.front().x, matches.front().y};
    int64_t minI = 0, minJ = 0, maxI = 0, maxJ = 0;
    for (const Match& m : matches) {
        const StickEnds ends = EndsOf(m);
        for (const Point32& end : {ends.tail, ends.head}) {
            const int64_t i = NearestCell(Offset(anchor.x, end.x));
            const int64_t j = NearestCell(Offset(anchor.y, end.y));
            minI = std::min(minI, i);
            maxI = std::max(maxI, i);
            minJ = std::min(minJ, j);
            maxJ = std::max(maxJ, j);
        }
    }
    const int64_t columns = maxI - minI;
    const int64_t rows = maxJ - minJ;
    if (columns < 1 || rows < 1 ||
        static_cast<uint64_t>((rows + 1) * columns + rows * (columns + 1)) > kMaxPlaces) {
        return std::nullopt;
    }
    const Point32 origin{WrapAdd(anchor.x, static_cast<int32_t>(minI * kCell)),
                         WrapAdd(anchor.y, static_cast<int32_t>(minJ * kCell))};
    FamilyRiddle riddle = FamilyRiddle::SquaresLattice(origin, static_cast<int32_t>(columns),
                                                       static_cast<int32_t>(rows));
    return Seated(std::move(riddle), matches);
}

// Tries the equation whose first slot has its top left corner at `origin`
// (any slot: the slots are renumbered from the leftmost used).
std::optional<FamilyRiddle> TryEquation(const std::vector<Match>& matches, Point32 origin) {
    // For each match its slot and its nearest place, digit or operator.
    struct Seat {
        int64_t slot;
        SlotKind kind;
        size_t bit;
    };
    std::vector<Seat> seats;
    seats.reserve(matches.size());
    int64_t minSlot = std::numeric_limits<int64_t>::max();
    int64_t maxSlot = std::numeric_limits<int64_t>::min();
    std::vector<Match> probe;
    for (const Match& m : matches) {
        const StickEnds ends = EndsOf(m);
        const int64_t left = std::min(Offset(origin.x, ends.tail.x), Offset(origin.x, ends.head.x));
        const int64_t slot = FloorDiv(left + kSide / 2, kSlotPitch);
        if (slot < -static_cast<int64_t>(kMaxGlyphs) || slot > static_cast<int64_t>(kMaxGlyphs)) {
            return std::nullopt;
        }
        probe.clear();
        AddSlotPlaces(probe, origin, SlotKind::Digit, slot * kSlotPitch);
        AddSlotPlaces(probe, origin, SlotKind::Operator, slot * kSlotPitch);
        const std::optional<size_t> p = NearestPlace(probe, 0, probe.size(), ends);
        if (!p) {
            return std::nullopt;
        }
        const bool digit = *p < kDigitPlaces;
        seats.push_back(
            {slot, digit ? SlotKind::Digit : SlotKind::Operator, digit ? *p : *p - kDigitPlaces});
        minSlot = std::min(minSlot, slot);
        maxSlot = std::max(maxSlot, slot);
    }
    const size_t slotCount = static_cast<size_t>(maxSlot - minSlot + 1);
    if (slotCount > kMaxGlyphs) {
        return std::nullopt;
    }
    std::vector<std::optional<SlotKind>> kinds(slotCount);
    for (const Seat& seat : seats) {
        std::optional<SlotKind>& kind = kinds[static_cast<size_t>(seat.slot - minSlot)];
        if (kind && *kind != seat.kind) {
            return std::nullopt;
        }
        kind = seat.kind;
    }
    std::vector<SlotKind> slots;
    for (const std::optional<SlotKind>& kind : kinds) {
        if (!kind) {
            return std::nullopt;  // an empty slot: no telling what it is
        }
        slots.push_back(*kind);
    }
    if (std::find(slots.begin(), slots.end(), SlotKind::Operator) == slots.end()) {
        return std::nullopt;
    }
    const Point32 first{WrapAdd(origin.x, static_cast<int32_t>(minSlot * kSlotPitch)), origin.y};
    FamilyRiddle riddle = FamilyRiddle::EquationSlots(first, slots);
    return Seated(std::move(riddle), matches);
}

std::optional<FamilyRiddle> RecognizeEquation(const std::vector<Match>& matches) {
    // Every glyph with an operator has a bar; a bar spans its slot, so its
    // left end is a slot's left edge. Its height says which of five places it
    // is on.
    for (const Match& m : matches) {
        const StickEnds ends = EndsOf(m);
        const int64_t rise = Offset(ends.tail.y, ends.head.y);
        if (rise < -2 * kSameStickTolerance || rise > 2 * kSameStickTolerance) {
            continue;
        }
        const Point32 left = Offset(ends.tail.x, ends.head.x) >= 0 ? ends.tail : ends.head;
        for (const int32_t height : {0, kSide, 2 * kSide, kSide - kBarOffset, kSide + kBarOffset}) {
            if (std::optional<FamilyRiddle> riddle =
                    TryEquation(matches, {left.x, WrapSub(left.y, height)})) {
                return riddle;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<FamilyRiddle> FamilyRiddle::Recognize(const std::vector<Match>& matches) {
    if (matches.empty() || matches.size() > kMaxPlaces) {
        return std::nullopt;
    }
    if (std::optional<FamilyRiddle> riddle = RecognizeEquation(matches)) {
        return riddle;
    }
    return RecognizeSquares(matches);
}

size_t FamilyRiddle::CountSquares(const PlaceSet& board) const {
    size_t count = 0;
    for (const PlaceSet& sides : squares_) {
        if ((sides & ~board).none()) {
            ++count;
        }
    }
    return count;
}

std::string FamilyRiddle::Text(const PlaceSet& board) const {
    std::string text;
    for (size_t s = 0; s < slots_.size(); ++s) {
        uint8_t bits = 0;
        for (size_t b = 0; b < PlacesOfKind(slots_[s]); ++b) {
            if (board.test(slotFirstPlace_[s] + b)) {
                bits = static_cast<uint8_t>(bits | (1u << b));
            }
        }
        text.push_back(GlyphOf(slots_[s], bits).value_or('?'));
    }
    return text;
}

bool FamilyRiddle::IsAnswer(const PlaceSet& board, size_t moves, size_t squares) const {
    if (board.count() != matchCount_ || MovesTo(board) > moves) {
        return false;
    }
    if (family_ == RiddleFamily::Equation) {
        return EquationHolds(Text(board));
    }
    PlaceSet sides;
    size_t shown = 0;
    for (const PlaceSet& square : squares_) {
        if ((square & ~board).none()) {
            ++shown;
            sides |= square;
        }
    }
    return shown == squares && sides == board;
}

std::optional<FamilyRule> RuleOfSolutions(const FamilyRiddle& riddle,
                                          const std::vector<std::vector<Match>>& solutions) {
    std::optional<FamilyRule> rule;
    for (const std::vector<Match>& solution : solutions) {
        const std::optional<PlaceSet> board = riddle.PlacesOf(solution);
        if (!board) {
            continue;
        }
        const size_t moves = riddle.MovesTo(*board);
        const size_t squares = riddle.CountSquares(*board);
        // A file that breaks the family's own rule (a false equation, a
        // match left out of every square) would give a rule no board meets.
        if (!riddle.IsAnswer(*board, moves, squares)) {
            continue;
        }
        if (!rule || moves < rule->moves) {
            rule = FamilyRule{moves, squares};
        }
    }
    return rule;
}

std::vector<FamilyAnswer> SolveByTryingMoves(const FamilyRiddle& riddle, const FamilyRule& rule,
                                             uint64_t* tried) {
    const std::vector<size_t> taken = Members(riddle.Start(), riddle.PlaceCount());
    const std::vector<size_t> free = Members(~riddle.Start(), riddle.PlaceCount());
    std::vector<FamilyAnswer> answers;
    uint64_t boards = 0;
    for (size_t k = 0; k <= rule.moves && k <= taken.size() && k <= free.size(); ++k) {
        for (Combinations out(taken.size(), k); out.Valid(); out.Next()) {
            PlaceSet board = riddle.Start();
            for (size_t i : out.At()) {
                board.reset(taken[i]);
            }
            for (Combinations in(free.size(), k); in.Valid(); in.Next()) {
                PlaceSet candidate = board;
                for (size_t i : in.At()) {
                    candidate.set(free[i]);
                }
                ++boards;
                if (riddle.IsAnswer(candidate, rule.moves, rule.squares)) {
                    FamilyAnswer answer{candidate, k, {}};
                    if (riddle.Family() == RiddleFamily::Equation) {
                        answer.text = riddle.Text(candidate);
                    }
                    answers.push_back(std::move(answer));
                }
            }
        }
    }
    if (tried) {
        *tried = boards;
    }
    SortAnswers(answers);
    return answers;
}

namespace {

// Squares: an answer is the union of the sides of the squares it shows, so
// the answers are found among sets of `rule.squares` squares, each tried
// once. A branch ends as soon as it holds more matches than the riddle, needs
// more than `rule.moves` new places, or leaves more than `rule.moves` of the
// riddle's matches where no square still to come could keep them.
class SquareSearch {
public:
    SquareSearch(const FamilyRiddle& riddle, const FamilyRule& rule)
        : riddle_(riddle), rule_(rule), squares_(riddle.Squares()) {
        coveredFrom_.resize(squares_.size() + 1);
        for (size_t i = squares_.size(); i > 0; --i) {
            coveredFrom_[i - 1] = coveredFrom_[i] | squares_[i - 1];
        }
    }

    std::vector<FamilyAnswer> Run() {
        if (rule_.squares > 0 && rule_.squares <= squares_.size()) {
            Search(0, 0, PlaceSet{});
        }
        SortAnswers(answers_);
        return std::move(answers_);
    }

private:
    void Search(size_t next, size_t chosen, const PlaceSet& board) {
        const size_t count = board.count();
        if (count > riddle_.MatchCount() || riddle_.MovesTo(board) > rule_.moves) {
            return;
        }
        if (chosen == rule_.squares) {
            if (count == riddle_.MatchCount() && riddle_.CountSquares(board) == rule_.squares) {
                answers_.push_back({board, riddle_.MovesTo(board), {}});
            }
            return;
        }
        if (squares_.size() - next < rule_.squares - chosen) {
            return;
        }
        const PlaceSet lost = riddle_.Start() & ~board & ~coveredFrom_[next];
        if (lost.count() > rule_.moves) {
            return;
        }
        Search(next + 1, chosen + 1, board | squares_[next]);
        Search(next + 1, chosen, board);
    }

    const FamilyRiddle& riddle_;
    FamilyRule rule_;
    const std::vector<PlaceSet>& squares_;
    std::vector<PlaceSet> coveredFrom_;
    std::vector<FamilyAnswer> answers_;
};

}  // namespace

namespace {

// Equations: every choice of up to `rule.moves` matches and free places, as
// trying moves does, but each choice costs a look at the slots it touches:
// the glyph of each is looked up, and only a choice that leaves a glyph in
// every slot is read as an equation.
class EquationSearch {
public:
    EquationSearch(const FamilyRiddle& riddle, const FamilyRule& rule)
        : riddle_(riddle), rule_(rule) {
        for (size_t s = 0; s < riddle.Slots().size(); ++s) {
            const size_t count = PlacesOfKind(riddle.Slots()[s]);
            for (size_t b = 0; b < count; ++b) {
                placeSlot_.push_back(s);
                placeBit_.push_back(static_cast<uint8_t>(1u << b));
            }
        }
        bits_.assign(riddle.Slots().size(), 0);
        for (unsigned b = 0; b < 128; ++b) {
            digitGlyph_[b] = GlyphOf(SlotKind::Digit, static_cast<uint8_t>(b)).value_or('\0');
            operatorGlyph_[b] =
                b < 8 ? GlyphOf(SlotKind::Operator, static_cast<uint8_t>(b)).value_or('\0') : '\0';
        }
        taken_ = Members(riddle.Start(), riddle.PlaceCount());
        free_ = Members(~riddle.Start(), riddle.PlaceCount());
        for (size_t p : taken_) {
            bits_[placeSlot_[p]] = static_cast<uint8_t>(bits_[placeSlot_[p]] | placeBit_[p]);
        }
        text_ = riddle.Text(riddle.Start());
    }

    std::vector<FamilyAnswer> Run() {
        for (size_t k = 0; k <= rule_.moves && k <= taken_.size() && k <= free_.size(); ++k) {
            moves_ = k;
            Take(0, 0);
        }
        SortAnswers(answers_);
        return std::move(answers_);
    }

private:
    void Flip(size_t place) {
        bits_[placeSlot_[place]] =
            static_cast<uint8_t>(bits_[placeSlot_[place]] ^ placeBit_[place]);
        changed_.push_back(place);
    }
    void Unflip() {
        const size_t place = changed_.back();
        changed_.pop_back();
        bits_[placeSlot_[place]] =
            static_cast<uint8_t>(bits_[placeSlot_[place]] ^ placeBit_[place]);
    }

    void Take(size_t from, size_t taken) {
        if (taken == moves_) {
            Lay(0, 0);
            return;
        }
        for (size_t i = from; i + (moves_ - taken) <= taken_.size(); ++i) {
            Flip(taken_[i]);
            Take(i + 1, taken + 1);
            Unflip();
        }
    }

    void Lay(size_t from, size_t laid) {
        if (laid == moves_) {
            Judge();
            return;
        }
        for (size_t i = from; i + (moves_ - laid) <= free_.size(); ++i) {
            Flip(free_[i]);
            Lay(i + 1, laid + 1);
            Unflip();
        }
    }

    void Judge() {
        std::string text = text_;
        for (size_t place : changed_) {
            const size_t s = placeSlot_[place];
            const char glyph = riddle_.Slots()[s] == SlotKind::Digit ? digitGlyph_[bits_[s]]
                                                                     : operatorGlyph_[bits_[s]];
            if (glyph == '\0') {
                return;
            }
            text[s] = glyph;
        }
        if (!EquationHolds(text)) {
            return;
        }
        PlaceSet board = riddle_.Start();
        for (size_t place : changed_) {
            board.flip(place);
        }
        answers_.push_back({board, moves_, text});
    }

    const FamilyRiddle& riddle_;
    FamilyRule rule_;
    std::vector<size_t> placeSlot_;
    std::vector<uint8_t> placeBit_;
    std::vector<uint8_t> bits_;
    char digitGlyph_[128] = {};
    char operatorGlyph_[128] = {};
    std::vector<size_t> taken_;
    std::vector<size_t> free_;
    std::vector<size_t> changed_;
    std::string text_;
    size_t moves_ = 0;
    std::vector<FamilyAnswer> answers_;
};

}  // namespace

std::vector<FamilyAnswer> SolveFamily(const FamilyRiddle& riddle, const FamilyRule& rule) {
    if (riddle.Family() == RiddleFamily::Squares) {
        return SquareSearch(riddle, rule).Run();
    }
    // A "-" or the bar of a "+" may lie on either bar's place: the same
    // equation on other places is one answer, the one of fewest moves.
    std::vector<FamilyAnswer> answers = EquationSearch(riddle, rule).Run();
    std::vector<FamilyAnswer> distinct;
    for (FamilyAnswer& answer : answers) {
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&](const FamilyAnswer& a) { return a.text == answer.text; })) {
            distinct.push_back(std::move(answer));
        }
    }
    return distinct;
}

std::vector<Match> AnswerMatches(const FamilyRiddle& riddle,
                                 const std::vector<Match>& riddleMatches, const PlaceSet& answer) {
    std::vector<MatchMove> moves = AnswerMoves(riddle, riddleMatches, answer);
    std::vector<Match> out;
    out.reserve(riddleMatches.size());
    size_t next = 0;
    for (const Match& m : riddleMatches) {
        const std::optional<size_t> p = riddle.PlaceOf(m);
        if (p && answer.test(*p)) {
            out.push_back(m);
        } else {
            out.push_back(next < moves.size() ? moves[next++].to : m);
        }
    }
    return out;
}

std::vector<MatchMove> AnswerMoves(const FamilyRiddle& riddle,
                                   const std::vector<Match>& riddleMatches,
                                   const PlaceSet& answer) {
    const std::vector<size_t> arrivals = Members(answer & ~riddle.Start(), riddle.PlaceCount());
    std::vector<MatchMove> moves;
    for (const Match& m : riddleMatches) {
        const std::optional<size_t> p = riddle.PlaceOf(m);
        if ((!p || !answer.test(*p)) && moves.size() < arrivals.size()) {
            moves.push_back({m, riddle.PlaceMatch(arrivals[moves.size()])});
        }
    }
    return moves;
}

std::optional<std::vector<Match>> DrawEquation(std::string_view text, Point32 origin) {
    std::vector<SlotKind> slots;
    std::vector<uint8_t> bits;
    for (const char c : text) {
        if (c == ' ') {
            continue;
        }
        if (c >= '0' && c <= '9') {
            slots.push_back(SlotKind::Digit);
            bits.push_back(kDigitSegments[c - '0']);
        } else if (c == '-' || c == '+' || c == '=') {
            slots.push_back(SlotKind::Operator);
            // A single bar is drawn as the lower one, so that the stroke of a
            // plus crosses it and "=" grows from "-" by a bar above.
            bits.push_back(c == '-' ? 0b010 : c == '+' ? 0b110 : 0b011);
        } else {
            return std::nullopt;
        }
    }
    if (slots.empty() || slots.size() > kMaxGlyphs) {
        return std::nullopt;
    }
    const FamilyRiddle riddle = FamilyRiddle::EquationSlots(origin, slots);
    std::vector<Match> matches;
    size_t place = 0;
    for (size_t s = 0; s < slots.size(); ++s) {
        for (size_t b = 0; b < PlacesOfKind(slots[s]); ++b, ++place) {
            if (bits[s] & (1u << b)) {
                matches.push_back(riddle.PlaceMatch(place));
            }
        }
    }
    return matches;
}

namespace {

std::string EnglishCount(size_t n) {
    static const char* const kWords[] = {"no",  "one",   "two",   "three", "four", "five",
                                         "six", "seven", "eight", "nine",  "ten"};
    return n <= 10 ? kWords[n] : std::to_string(n);
}

// Counting words for masculine nouns (גפרור, ריבוע), in the form that stands
// before the noun; one stands after it and is handled by the callers.
std::string HebrewCount(size_t n) {
    static const char* const kWords[] = {"",     "אחד",  "שני",   "שלושה", "ארבעה", "חמישה",
                                         "שישה", "שבעה", "שמונה", "תשעה",  "עשרה"};
    return n <= 10 ? kWords[n] : std::to_string(n);
}

std::string HebrewMatches(size_t n) {
    return n == 1 ? "גפרור אחד" : HebrewCount(n) + " גפרורים";
}

std::string EnglishMatches(size_t n) {
    return EnglishCount(n) + (n == 1 ? " match" : " matches");
}

}  // namespace

std::string FamilyTaskText(RiddleFamily family, const FamilyRule& rule) {
    if (family == RiddleFamily::Equation) {
        return "הזיזו " + HebrewMatches(rule.moves) + " כדי שהמשוואה תהיה נכונה\n" + "Move " +
               EnglishMatches(rule.moves) + " to make the equation true";
    }
    const std::string hebrewSquares =
        rule.squares == 1 ? "שיישאר בדיוק ריבוע אחד"
                          : "שיישארו בדיוק " + HebrewCount(rule.squares) + " ריבועים";
    return "הזיזו " + HebrewMatches(rule.moves) + " כך " + hebrewSquares + "\n" + "Move " +
           EnglishMatches(rule.moves) + " to leave exactly " + EnglishCount(rule.squares) +
           (rule.squares == 1 ? " square" : " squares");
}

bool TaskStatesRule(const std::string& task, RiddleFamily family, const FamilyRule& rule) {
    const std::string stated = FamilyTaskText(family, rule);
    const size_t lineBreak = stated.find('\n');
    const std::string hebrew = stated.substr(0, lineBreak);
    const std::string english = stated.substr(lineBreak + 1);
    return task.find(hebrew) != std::string::npos || task.find(english) != std::string::npos;
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "family_generator.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace vorlo {

namespace {

// SplitMix64: a small generator whose sequence is fixed by its seed alone,
// unlike the distributions of the standard library.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // In [0, n), for n > 0.
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
    size_t Between(size_t low, size_t high) { return low + Below(high - low + 1); }

private:
    uint64_t state_;
};

constexpr Point32 kOrigin{76, 76};
constexpr size_t kAttemptsPerRiddle = 4000;

std::vector<Match> PlacesAsMatches(const FamilyRiddle& places, const PlaceSet& board) {
    std::vector<Match> out;
    for (size_t p = 0; p < places.PlaceCount(); ++p) {
        if (board.test(p)) {
            out.push_back(places.PlaceMatch(p));
        }
    }
    return out;
}

std::string RandomNumber(Random& random, size_t digits) {
    std::string number(
        1, static_cast<char>(digits > 1 ? '1' + random.Below(9) : '0' + random.Below(10)));
    while (number.size() < digits) {
        number.push_back(static_cast<char>('0' + random.Below(10)));
    }
    return number;
}

// A true equation of 3 to 9 glyphs: numbers of one to three digits, one "="
// and + or - between the others; the last number is what makes it true.
std::optional<std::string> RandomTrueEquation(Random& random) {
    const size_t numbers = random.Between(2, 4);
    const size_t equalsAfter = random.Below(numbers - 1);  // the "=" follows this number
    std::vector<std::string> values;
    std::vector<char> operators;
    for (size_t i = 0; i + 1 < numbers; ++i) {
        values.push_back(RandomNumber(random, random.Between(1, 2)));
        operators.push_back(i == equalsAfter ? '=' : (random.Below(2) == 0 ? '+' : '-'));
    }
    long long left = 0;
    long long right = 0;
    for (size_t i = 0; i + 1 < numbers; ++i) {
        const long long v = std::stoll(values[i]);
        const char sign = i == 0 || i == equalsAfter + 1 ? '+' : operators[i - 1];
        (i <= equalsAfter ? left : right) += sign == '-' ? -v : v;
    }
    const char lastSign = numbers - 1 == equalsAfter + 1 ? '+' : operators[numbers - 2];
    const long long last = lastSign == '-' ? right - left : left - right;
    if (last < 0 || last > 999) {
        return std::nullopt;
    }
    values.push_back(std::to_string(last));
    std::string text;
    for (size_t i = 0; i < numbers; ++i) {
        text += values[i];
        if (i < operators.size()) {
            text.push_back(operators[i]);
        }
    }
    if (text.size() < 3 || text.size() > 9 || !EquationHolds(text)) {
        return std::nullopt;
    }
    return text;
}

// Moves one match of `board` so that every slot still shows a glyph, never
// back to a place a move of this riddle emptied.
bool MoveKeepingGlyphs(Random& random, const FamilyRiddle& places, PlaceSet& board,
                       PlaceSet& emptied) {
    std::vector<std::pair<size_t, size_t>> moves;
    for (size_t from = 0; from < places.PlaceCount(); ++from) {
        if (!board.test(from)) {
            continue;
        }
        for (size_t to = 0; to < places.PlaceCount(); ++to) {
            if (board.test(to) || emptied.test(to)) {
                continue;
            }
            PlaceSet moved = board;
            moved.reset(from);
            moved.set(to);
            if (places.Text(moved).find('?') == std::string::npos) {
                moves.emplace_back(from, to);
            }
        }
    }
    if (moves.empty()) {
        return false;
    }
    const auto [from, to] = moves[random.Below(moves.size())];
    board.reset(from);
    board.set(to);
    emptied.set(from);
    return true;
}

// The riddle these matches show, when it is a good one: unsolved, needing
// exactly its moves, with one to three answers.
std::optional<GeneratedRiddle> Finish(const std::vector<Match>& matches, RiddleFamily family,
                                      const FamilyRule& rule) {
    const std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(matches);
    if (!riddle || riddle->Family() != family) {
        return std::nullopt;
    }
    const std::vector<FamilyAnswer> answers = SolveFamily(*riddle, rule);
    if (answers.empty() || answers.size() > 3 || answers.front().moved != rule.moves) {
        return std::nullopt;
    }
    GeneratedRiddle out;
    out.matches = matches;
    out.rule = rule;
    out.text = FamilyTaskText(family, rule);
    if (family == RiddleFamily::Equation) {
        out.equation = riddle->Text(riddle->Start());
    }
    for (const FamilyAnswer& answer : answers) {
        out.solutions.push_back(AnswerMatches(*riddle, matches, answer.board));
    }
    return out;
}

std::optional<GeneratedRiddle> TryEquation(Random& random, std::optional<size_t> moves) {
    const size_t n = moves.value_or(random.Between(1, kMaxEquationMoves));
    const std::optional<std::string> truth = RandomTrueEquation(random);
    if (!truth) {
        return std::nullopt;
    }
    const std::optional<FamilyRiddle> places =
        FamilyRiddle::Recognize(*DrawEquation(*truth, kOrigin));
    if (!places) {
        return std::nullopt;
    }
    PlaceSet board = places->Start();
    PlaceSet emptied;
    for (size_t i = 0; i < n; ++i) {
        if (!MoveKeepingGlyphs(random, *places, board, emptied)) {
            return std::nullopt;
        }
    }
    // The riddle reads as an equation, true or not: one "=" between numbers.
    const std::string shown = places->Text(board);
    if (EquationHolds(shown) || std::count(shown.begin(), shown.end(), '=') != 1 ||
        shown.front() == '=' || shown.back() == '=') {
        return std::nullopt;
    }
    std::optional<GeneratedRiddle> riddle =
        Finish(PlacesAsMatches(*places, board), RiddleFamily::Equation, {n, 0});
    if (riddle && riddle->equation != places->Text(board)) {
        return std::nullopt;
    }
    return riddle;
}

std::optional<GeneratedRiddle> TrySquares(Random& random, std::optional<size_t> moves) {
    const int32_t columns = static_cast<int32_t>(random.Between(2, 4));
    const int32_t rows = static_cast<int32_t>(random.Between(2, 4));
    const size_t n = moves.value_or(random.Between(1, kMaxSquaresMoves));
    const size_t k = random.Between(2, 8);
    const FamilyRiddle lattice = FamilyRiddle::SquaresLattice(kOrigin, columns, rows);
    const std::vector<PlaceSet>& squares = lattice.Squares();
    if (k > squares.size()) {
        return std::nullopt;
    }
    std::vector<size_t> order(squares.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    for (size_t i = 0; i < k; ++i) {
        std::swap(order[i], order[i + random.Below(order.size() - i)]);
    }
    PlaceSet board;
    for (size_t i = 0; i < k; ++i) {
        board |= squares[order[i]];
    }
    if (lattice.CountSquares(board) != k) {
        return std::nullopt;
    }
    std::vector<size_t> taken;
    std::vector<size_t> free;
    for (size_t p = 0; p < lattice.PlaceCount(); ++p) {
        (board.test(p) ? taken : free).push_back(p);
    }
    if (taken.size() < n || free.size() < n) {
        return std::nullopt;
    }
    for (size_t i = 0; i < n; ++i) {
        std::swap(taken[i], taken[i + random.Below(taken.size() - i)]);
        std::swap(free[i], free[i + random.Below(free.size() - i)]);
        board.reset(taken[i]);
        board.set(free[i]);
    }
    return Finish(PlacesAsMatches(lattice, board), RiddleFamily::Squares, {n, k});
}

}  // namespace

std::vector<GeneratedRiddle> GenerateRiddles(const GenerateOptions& options) {
    Random random(options.seed);
    std::vector<GeneratedRiddle> riddles;
    std::set<std::vector<std::tuple<int32_t, int32_t, int32_t>>> seen;
    for (size_t attempt = 0;
         riddles.size() < options.count && attempt < options.count * kAttemptsPerRiddle;
         ++attempt) {
        std::optional<GeneratedRiddle> riddle = options.family == RiddleFamily::Equation
                                                    ? TryEquation(random, options.moves)
                                                    : TrySquares(random, options.moves);
        if (!riddle) {
            continue;
        }
        std::vector<std::tuple<int32_t, int32_t, int32_t>> key;
        for (const Match& m : riddle->matches) {
            key.emplace_back(m.x, m.y, m.angle);
        }
        std::sort(key.begin(), key.end());
        if (seen.insert(std::move(key)).second) {
            riddles.push_back(std::move(*riddle));
        }
    }
    return riddles;
}

}  // namespace vorlo

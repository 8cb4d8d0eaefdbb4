// SPDX-License-Identifier: GPL-3.0-or-later
// Riddle families (family.h): every answer of a squares riddle found by its
// solver beside trying every move, an equation solved, riddles generated.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "family.h"
#include "family_generator.h"

using namespace vorlo;

namespace {

// "Move 4 of 24 matches to leave 5 squares": a 4 x 4 lattice, 3 answers.
const std::vector<Match> kSquares24 = {
    {100, 100, 0},   {328, 100, 0},   {100, 176, 0},   {176, 176, 0},   {328, 176, 0},
    {100, 252, 0},   {100, 328, 0},   {176, 328, 0},   {328, 328, 0},   {176, 404, 0},
    {328, 404, 0},   {100, 100, 270}, {176, 100, 270}, {328, 100, 270}, {404, 100, 270},
    {100, 176, 270}, {176, 176, 270}, {252, 176, 270}, {100, 252, 270}, {252, 252, 270},
    {176, 328, 270}, {252, 328, 270}, {328, 328, 270}, {404, 328, 270},
};
constexpr FamilyRule kRule24{4, 5};
constexpr size_t kAnswers24 = 3;

// Six moves of 25 matches to leave 3 squares, on the same lattice: 1 answer.
const std::vector<Match> kSquares25 = {
    {100, 100, 0},   {252, 100, 0},   {100, 176, 0},   {176, 176, 0},   {252, 176, 0},
    {328, 176, 0},   {100, 252, 0},   {176, 252, 0},   {328, 252, 0},   {252, 328, 0},
    {100, 404, 0},   {176, 404, 0},   {328, 404, 0},   {100, 100, 270}, {252, 100, 270},
    {328, 100, 270}, {100, 176, 270}, {404, 176, 270}, {100, 252, 270}, {252, 252, 270},
    {328, 252, 270}, {404, 252, 270}, {252, 328, 270}, {328, 328, 270}, {404, 328, 270},
};
constexpr FamilyRule kRule25{6, 3};
constexpr size_t kAnswers25 = 1;

// An equation of 9 glyphs, two moves from 123-45=78 (the 3 shows a 9, the
// 5 a 3, the 7 a 1).
constexpr const char* kEquation9 = "129-43=18";
constexpr FamilyRule kRuleEquation{2, 0};

// The boards trying every move looks at: every choice of up to `moves` of
// the riddle's matches and as many free places.
double BruteForceBoards(const FamilyRiddle& riddle, size_t moves) {
    const double taken = static_cast<double>(riddle.MatchCount());
    const double free = static_cast<double>(riddle.PlaceCount()) - taken;
    double total = 0;
    double ways = 1;
    for (size_t k = 0; k <= moves; ++k) {
        total += ways;
        const double kk = static_cast<double>(k);
        ways = ways * (taken - kk) * (free - kk) / ((kk + 1) * (kk + 1));
    }
    return total;
}

std::optional<FamilyRiddle> Riddle(benchmark::State& state, const std::vector<Match>& matches) {
    std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(matches);
    if (!riddle) {
        state.SkipWithError("the riddle is not recognised as a family riddle");
    }
    return riddle;
}

void Solve(benchmark::State& state, const std::vector<Match>& matches, const FamilyRule& rule,
           size_t expected) {
    const std::optional<FamilyRiddle> riddle = Riddle(state, matches);
    if (!riddle) {
        return;
    }
    size_t answers = 0;
    for (auto _ : state) {
        answers = SolveFamily(*riddle, rule).size();
    }
    if (expected != 0 && answers != expected) {
        state.SkipWithError("the solver found another number of answers");
    }
    state.counters["answers"] = static_cast<double>(answers);
    state.counters["brute_force_boards"] = BruteForceBoards(*riddle, rule.moves);
}

// --- Every answer of a squares riddle ---------------------------------------

void BM_SquaresEveryAnswer24(benchmark::State& state) {
    Solve(state, kSquares24, kRule24, kAnswers24);
}
BENCHMARK(BM_SquaresEveryAnswer24)->Unit(benchmark::kMillisecond);

// Baseline: trying every choice of matches to take and places to lay them in
// (some seconds: one run is enough).
void BM_SquaresEveryAnswer24Baseline(benchmark::State& state) {
    const std::optional<FamilyRiddle> riddle = Riddle(state, kSquares24);
    if (!riddle) {
        return;
    }
    size_t answers = 0;
    uint64_t tried = 0;
    for (auto _ : state) {
        answers = SolveByTryingMoves(*riddle, kRule24, &tried).size();
    }
    if (answers != kAnswers24) {
        state.SkipWithError("trying moves found another number of answers");
    }
    state.counters["answers"] = static_cast<double>(answers);
    state.counters["tried"] = static_cast<double>(tried);
}
BENCHMARK(BM_SquaresEveryAnswer24Baseline)
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

// Six moves of 25 matches: trying moves would look at 1,064,280,516 boards,
// out of reach; its baseline is extrapolated by the report from the cost of
// a board tried above.
void BM_SquaresEveryAnswer25SixMoves(benchmark::State& state) {
    Solve(state, kSquares25, kRule25, kAnswers25);
}
BENCHMARK(BM_SquaresEveryAnswer25SixMoves)->Unit(benchmark::kMillisecond);

// --- An equation ---------------------------------------------------------------

void BM_Equation9Glyphs2Moves(benchmark::State& state) {
    const std::optional<std::vector<Match>> matches = DrawEquation(kEquation9);
    if (!matches) {
        state.SkipWithError("the equation cannot be drawn");
        return;
    }
    Solve(state, *matches, kRuleEquation, 0);
    if (state.counters["answers"] == 0) {
        state.SkipWithError("the equation has no answer");
    }
}
BENCHMARK(BM_Equation9Glyphs2Moves)->Unit(benchmark::kMillisecond);

// --- Generating riddles -----------------------------------------------------

// Arg 0: equations, 1: squares; 100 riddles of each, every one solved once
// more by the generator to keep it to one to three answers.
void BM_Generate100(benchmark::State& state) {
    const RiddleFamily family =
        state.range(0) == 0 ? RiddleFamily::Equation : RiddleFamily::Squares;
    size_t made = 0;
    for (auto _ : state) {
        made = GenerateRiddles({family, 100, std::nullopt, 1}).size();
    }
    if (made != 100) {
        state.SkipWithError("the generator made fewer riddles than asked for");
    }
    state.SetLabel(family == RiddleFamily::Equation ? "equations" : "squares");
}
BENCHMARK(BM_Generate100)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later
// The layout judge: solved, hints and the fewest moves of a riddle.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "judge.h"
#include "list_of.h"

using namespace vorlo;

namespace {

int Count(const std::vector<Match>& layout, const Match& m) {
    return static_cast<int>(std::count(layout.begin(), layout.end(), m));
}

// The riddle (0,0,0) (0,100,0); its solution stands the second match up at
// (100,200,90), the head's tip at (100,124); a second solution lays it at
// (300,300,45).
const std::vector<Match> kStart = {{0, 0, 0}, {0, 100, 0}};
const std::vector<Match> kFirst = {{0, 0, 0}, {100, 200, 90}};
const std::vector<Match> kSecond = {{0, 0, 0}, {300, 300, 45}};

TEST(LayoutJudge, SolvedTable) {
    struct Case {
        const char* what;
        std::vector<std::vector<Match>> solutions;
        std::vector<Match> board;
        bool solved;
    } cases[] = {
        {"the solution", {kFirst}, kFirst, true},
        {"in another order", {kFirst}, {kFirst[1], kFirst[0]}, true},
        {"turned round", {kFirst}, {{0, 0, 0}, {100, 124, 270}}, true},
        {"turned round, 11 px short at both ends", {kFirst}, {{0, 0, 0}, {100, 135, 270}}, false},
        {"4 px right, 3 down and 2 degrees more", {kFirst}, {{0, 0, 0}, {104, 203, 92}}, true},
        {"8 px right", {kFirst}, {{0, 0, 0}, {108, 200, 90}}, true},
        {"9 px right", {kFirst}, {{0, 0, 0}, {109, 200, 90}}, false},
        {"turned round, 8 px down", {kFirst}, {{0, 0, 0}, {100, 132, 270}}, true},
        {"turned round, 9 px down", {kFirst}, {{0, 0, 0}, {100, 133, 270}}, false},
        {"20 px off", {kFirst}, {{0, 0, 0}, {120, 200, 90}}, false},
        {"the start", {kFirst}, kStart, false},
        {"the second of two", {kFirst, kSecond}, {{300, 300, 45}, {0, 0, 0}}, true},
        {"the first of two", {kFirst, kSecond}, kFirst, true},
        {"half of each", {kFirst, kSecond}, {{100, 200, 90}, {300, 300, 45}}, false},
        {"an extra match", {kFirst}, {{0, 0, 0}, {100, 200, 90}, {500, 500, 0}}, false},
        {"a second match on one", {kFirst}, {{0, 0, 0}, {100, 200, 90}, {0, 0, 0}}, false},
        {"a match missing", {kFirst}, {{0, 0, 0}}, false},
        {"no solutions", {}, kFirst, false},
        {"an empty solution, an empty board", {{}}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LayoutJudge judge(c.solutions);
        judge.Reset(ListOf(c.board));
        EXPECT_EQ(judge.Solved(), c.solved);
        // Reached from the start a match at a time, the verdict is the same.
        judge.Reset(ListOf(kStart));
        for (const Match& m : kStart) {
            judge.Remove(m);
        }
        for (const Match& m : c.board) {
            judge.Add(m);
        }
        EXPECT_EQ(judge.Solved(), c.solved);
    }
}

TEST(LayoutJudge, HintsLeadToTheNearestSolution) {
    const std::vector<Match> far = {{600, 600, 0}, {700, 700, 0}, {800, 800, 0}};
    const std::vector<Match> near = {{0, 0, 0}, {0, 100, 0}, {400, 100, 90}};
    LayoutJudge judge({far, near});
    // Following the hints solves the board, by the nearer solution.
    judge.Reset(ListOf({{0, 0, 0}, {250, 50, 20}, {450, 50, 30}}));
    std::optional<LayoutJudge::Hint> hint;
    int moves = 0;
    while ((hint = judge.NextHint()) && moves < 10) {
        judge.Remove(hint->move);
        judge.Add(hint->target);
        EXPECT_EQ(Count(near, hint->target), 1) << moves;
        ++moves;
    }
    EXPECT_TRUE(judge.Solved());
    EXPECT_EQ(moves, 2);  // the first solution asks for three
    EXPECT_FALSE(judge.NextHint());

    // Nothing to move: only a match to add.
    LayoutJudge missing({kFirst});
    missing.Reset(ListOf({{0, 0, 0}}));
    EXPECT_FALSE(missing.NextHint());
    EXPECT_FALSE(LayoutJudge({}).NextHint());
}

TEST(LayoutJudge, FewestMoves) {
    struct Case {
        const char* what;
        std::vector<std::vector<Match>> solutions;
        std::optional<size_t> fewest;
    } cases[] = {
        {"no solutions", {}, std::nullopt},
        {"one match moved", {kFirst}, 1},
        {"the start itself", {kStart}, 0},
        {"the fewer of two", {{{10, 10, 0}, {20, 300, 0}}, kFirst}, 1},
        {"the start turned round", {{{76, 0, 180}, {76, 100, 180}}}, 0},
        {"an added match counts", {{{0, 0, 0}, {0, 100, 0}, {0, 200, 0}}}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FewestMoves(kStart, c.solutions), c.fewest) << c.what;
    }
}

}  // namespace

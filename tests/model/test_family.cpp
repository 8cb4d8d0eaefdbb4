// SPDX-License-Identifier: GPL-3.0-or-later
#include "family.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace vorlo {
namespace {

std::set<std::string> EquationAnswers(const std::string& text, size_t moves) {
    const std::optional<std::vector<Match>> matches = DrawEquation(text);
    EXPECT_TRUE(matches) << text;
    const std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(*matches);
    EXPECT_TRUE(riddle) << text;
    EXPECT_EQ(riddle->Family(), RiddleFamily::Equation);
    EXPECT_EQ(riddle->Text(riddle->Start()), text);
    std::set<std::string> found;
    for (const FamilyAnswer& a : SolveFamily(*riddle, {moves, 0})) {
        found.insert(a.text);
    }
    return found;
}

TEST(Equation, KnownRiddlesHaveExactlyTheirAnswers) {
    struct Case {
        std::string riddle;
        size_t moves;
        std::set<std::string> answers;
    };
    const Case cases[] = {
        {"5+7=2", 1, {"9-7=2"}},
        {"6+4=4", 1, {"0+4=4", "8-4=4"}},
        {"7+7=0", 1, {"1+7=8", "7+1=8"}},
        {"9-5=0", 1, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EquationAnswers(c.riddle, c.moves), c.answers) << c.riddle;
    }
}

TEST(Equation, AnEquationOnOtherPlacesIsTheSameAnswer) {
    // Two moves also reach 8-4=4 with its "-" on the upper bar.
    const FamilyRiddle riddle = *FamilyRiddle::Recognize(*DrawEquation("6+4=4"));
    const std::vector<FamilyAnswer> answers = SolveFamily(riddle, {2, 0});
    std::set<std::string> texts;
    for (const FamilyAnswer& a : answers) {
        texts.insert(a.text);
        if (a.text == "8-4=4") {
            EXPECT_EQ(a.moved, 1u);
        }
    }
    EXPECT_EQ(texts.size(), answers.size());
    EXPECT_TRUE(texts.count("8-4=4"));
}

TEST(Equation, EveryDigitReadsBack) {
    for (char d = '0'; d <= '9'; ++d) {
        const std::string text = std::string(1, d) + "=" + std::string(1, d);
        const std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(*DrawEquation(text));
        ASSERT_TRUE(riddle) << text;
        EXPECT_EQ(riddle->Text(riddle->Start()), text);
        EXPECT_EQ(DrawEquation(text)->size(),
                  2 + 2 * static_cast<size_t>(__builtin_popcount(kDigitSegments[d - '0'])));
    }
}

TEST(Equation, Rules) {
    struct Case {
        const char* glyphs;
        bool holds;
    };
    const Case cases[] = {
        {"1+1=2", true},   {"2=1+1", true},   {"8-4=4", true},   {"9-7=2", true},
        {"1-1=0", true},   {"0=0", true},     {"10-5=5", true},  {"12=12", true},
        {"1+1=3", false},  {"01=1", false},   {"1=01", false},   {"-1=-1", false},
        {"1=-1+0", false}, {"1+-1=0", false}, {"1=1=1", false},  {"1+1", false},
        {"1+=1", false},   {"1=1-", false},   {"=", false},      {"1?1=1", false},
        {"5-3-1=1", true}, {"5-3+1=3", true}, {"3-5=0-2", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EquationHolds(c.glyphs), c.holds) << c.glyphs;
    }
}

TEST(Equation, OperatorGlyphs) {
    struct Case {
        uint8_t bits;
        std::optional<char> glyph;
    };
    const Case cases[] = {{0b000, {}},  {0b001, '-'}, {0b010, '-'}, {0b100, {}},
                          {0b011, '='}, {0b101, '+'}, {0b110, '+'}, {0b111, {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(GlyphOf(SlotKind::Operator, c.bits), c.glyph) << int(c.bits);
    }
}

TEST(Equation, DrawingRefusesWhatHasNoGlyph) {
    for (const char* text : {"", "1x1=1", "1/1=1", "a", "1.5=1.5"}) {
        EXPECT_FALSE(DrawEquation(text)) << text;
    }
    EXPECT_FALSE(DrawEquation(std::string(equation_geometry::kMaxGlyphs + 1, '1')));
}

TEST(Equation, PlayersMatchesFindTheirPlaceWithinTheTolerance) {
    const FamilyRiddle riddle = *FamilyRiddle::Recognize(*DrawEquation("5+7=2"));
    for (size_t p = 0; p < riddle.PlaceCount(); ++p) {
        Match m = riddle.PlaceMatch(p);
        EXPECT_EQ(riddle.PlaceOf(m), p);
        const Match turned{m.x + (m.angle == 0 ? 76 : 0), m.y + (m.angle == 270 ? 76 : 0),
                           m.angle == 0 ? 180 : 90};
        EXPECT_EQ(riddle.PlaceOf(turned), p) << p;
        m.x += 8;
        EXPECT_EQ(riddle.PlaceOf(m), p);
        m.x += 1;
        EXPECT_FALSE(riddle.PlaceOf(m));
    }
}

// A lattice of `columns` x `rows` cells with these edges filled.
std::vector<Match> LatticeMatches(int32_t columns, int32_t rows, const PlaceSet& edges) {
    const FamilyRiddle lattice = FamilyRiddle::SquaresLattice({100, 100}, columns, rows);
    std::vector<Match> out;
    for (size_t p = 0; p < lattice.PlaceCount(); ++p) {
        if (edges.test(p)) {
            out.push_back(lattice.PlaceMatch(p));
        }
    }
    return out;
}

PlaceSet AllEdges(int32_t columns, int32_t rows) {
    PlaceSet all;
    for (size_t p = 0; p < FamilyRiddle::SquaresLattice({0, 0}, columns, rows).PlaceCount(); ++p) {
        all.set(p);
    }
    return all;
}

TEST(Squares, NestedSquaresAllCount) {
    struct Case {
        int32_t columns, rows;
        size_t squares;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{2, 2, 5}, Case{3, 3, 14}, Case{4, 4, 30},
                          Case{3, 2, 8}, Case{4, 1, 4}}) {
        const std::optional<FamilyRiddle> riddle =
            FamilyRiddle::Recognize(LatticeMatches(c.columns, c.rows, AllEdges(c.columns, c.rows)));
        ASSERT_TRUE(riddle);
        EXPECT_EQ(riddle->Family(), RiddleFamily::Squares);
        EXPECT_EQ(riddle->CountSquares(riddle->Start()), c.squares);
    }
    // The outline of a 2 x 2 block is one square, and no side of a smaller one.
    const FamilyRiddle block = FamilyRiddle::SquaresLattice({0, 0}, 2, 2);
    PlaceSet outline;
    for (size_t p : {0, 1, 4, 5, 6, 8, 9, 11}) {
        outline.set(p);
    }
    EXPECT_EQ(block.CountSquares(outline), 1u);
}

TEST(Squares, TwentyFourMatchesMoveFourToLeaveFive) {
    // No move is left on a full lattice; the level is drawn on a 4 x 4 one.
    EXPECT_TRUE(SolveFamily(*FamilyRiddle::Recognize(LatticeMatches(3, 3, AllEdges(3, 3))), {4, 5})
                    .empty());
    const std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(
        {{100, 100, 0},   {328, 100, 0},   {100, 176, 0},   {176, 176, 0},   {328, 176, 0},
         {100, 252, 0},   {100, 328, 0},   {176, 328, 0},   {328, 328, 0},   {176, 404, 0},
         {328, 404, 0},   {100, 100, 270}, {176, 100, 270}, {328, 100, 270}, {404, 100, 270},
         {100, 176, 270}, {176, 176, 270}, {252, 176, 270}, {100, 252, 270}, {252, 252, 270},
         {176, 328, 270}, {252, 328, 270}, {328, 328, 270}, {404, 328, 270}});
    ASSERT_TRUE(riddle);
    ASSERT_EQ(riddle->MatchCount(), 24u);
    const std::vector<FamilyAnswer> answers = SolveFamily(*riddle, {4, 5});
    EXPECT_EQ(answers.size(), 3u);
    for (const FamilyAnswer& a : answers) {
        EXPECT_TRUE(riddle->IsAnswer(a.board, 4, 5));
        EXPECT_EQ(riddle->CountSquares(a.board), 5u);
    }
}

TEST(Squares, BuildingFromSquaresFindsWhatTryingMovesFinds) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const int32_t columns = 1 + static_cast<int32_t>(random() % 3);
        const int32_t rows = 1 + static_cast<int32_t>(random() % 3);
        const PlaceSet all = AllEdges(columns, rows);
        PlaceSet edges;
        for (size_t p = 0; p < all.count(); ++p) {
            if (random() % 3 != 0) {
                edges.set(p);
            }
        }
        const std::optional<FamilyRiddle> riddle =
            FamilyRiddle::Recognize(LatticeMatches(columns, rows, edges));
        if (!riddle) {
            continue;  // the edges left do not span the lattice's rows or columns
        }
        const FamilyRule rule{1 + random() % 3, 1 + random() % 4};
        const std::vector<FamilyAnswer> fast = SolveFamily(*riddle, rule);
        const std::vector<FamilyAnswer> slow = SolveByTryingMoves(*riddle, rule);
        ASSERT_EQ(fast.size(), slow.size()) << "round " << round;
        for (size_t i = 0; i < fast.size(); ++i) {
            EXPECT_EQ(fast[i].board, slow[i].board);
            EXPECT_EQ(fast[i].moved, slow[i].moved);
        }
    }
}

TEST(Family, PicturesOfNeitherAreNotRecognised) {
    const std::vector<std::vector<Match>> pictures = {
        {},
        {{100, 100, 45}},                    // not on a lattice
        {{100, 100, 0}, {100, 100, 0}},      // two on one place
        {{100, 100, 270}, {100, 176, 270}},  // one column, no cell
    };
    for (const std::vector<Match>& picture : pictures) {
        EXPECT_FALSE(FamilyRiddle::Recognize(picture)) << picture.size();
    }
}

TEST(Family, AnswerMatchesMoveOnlyWhatMoves) {
    const std::vector<Match> start = *DrawEquation("5+7=2");
    const FamilyRiddle riddle = *FamilyRiddle::Recognize(start);
    const FamilyAnswer answer = SolveFamily(riddle, {1, 0}).at(0);
    const std::vector<Match> board = AnswerMatches(riddle, start, answer.board);
    ASSERT_EQ(board.size(), start.size());
    size_t changed = 0;
    for (size_t i = 0; i < start.size(); ++i) {
        changed += board[i] == start[i] ? 0 : 1;
    }
    EXPECT_EQ(changed, 1u);
    EXPECT_EQ(riddle.PlacesOf(board), answer.board);
    EXPECT_EQ(AnswerMoves(riddle, start, answer.board).size(), 1u);
}

TEST(Family, OnlyATaskThatStatesTheRuleIsJudgedByIt) {
    const FamilyRule rule{2, 4};
    const std::string stated = FamilyTaskText(RiddleFamily::Squares, rule);
    struct Case {
        std::string task;
        bool states;
    };
    const Case cases[] = {
        {stated, true},
        {stated.substr(0, stated.find('\n')), true},               // the Hebrew line alone
        {"Title\n" + stated.substr(stated.find('\n') + 1), true},  // the English line
        {"Move two matches to leave four equal squares", false},
        {FamilyTaskText(RiddleFamily::Squares, {2, 5}), false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TaskStatesRule(c.task, RiddleFamily::Squares, rule), c.states) << c.task;
    }
}

TEST(Family, RuleOfSolutionsTakesTheFewestMoves) {
    const std::vector<Match> start = *DrawEquation("6+4=4");
    const FamilyRiddle riddle = *FamilyRiddle::Recognize(start);
    std::vector<std::vector<Match>> solutions{{{1, 2, 3}}};  // not on the places: passed over
    for (const FamilyAnswer& a : SolveFamily(riddle, {2, 0})) {
        solutions.push_back(AnswerMatches(riddle, start, a.board));
    }
    ASSERT_GE(solutions.size(), 3u);
    EXPECT_EQ(RuleOfSolutions(riddle, solutions)->moves, 1u);
    EXPECT_FALSE(RuleOfSolutions(riddle, {{{1, 2, 3}}}));
    // A file on the places that is no answer itself: the riddle's own false
    // 6+4=4, kept as a solution by mistake.
    const std::vector<Match>& wrong = start;
    const std::optional<PlaceSet> wrongBoard = riddle.PlacesOf(wrong);
    ASSERT_TRUE(wrongBoard);
    ASSERT_FALSE(riddle.IsAnswer(*wrongBoard, 0, 0));
    EXPECT_FALSE(RuleOfSolutions(riddle, {wrong}));
    solutions.push_back(wrong);
    EXPECT_EQ(RuleOfSolutions(riddle, solutions)->moves, 1u);
}

}  // namespace
}  // namespace vorlo

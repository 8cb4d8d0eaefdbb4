// SPDX-License-Identifier: GPL-3.0-or-later
// The rule judge and the generator.
#include <gtest/gtest.h>

#include "family.h"
#include "family_generator.h"
#include "family_judge.h"
#include "list_of.h"

namespace vorlo {
namespace {

TEST(RuleJudge, AnyAnswerSolvesAndHintsLeadToOne) {
    const std::vector<Match> start = *DrawEquation("6+4=4");
    RuleJudge judge(*FamilyRiddle::Recognize(start), {1, 0});
    ASSERT_EQ(judge.Answers().size(), 2u);
    MatchList board = ListOf(start);
    judge.Reset(board);
    EXPECT_FALSE(judge.Solved());
    // Following the hints solves it in one move.
    const std::optional<LayoutJudge::Hint> hint = judge.NextHint();
    ASSERT_TRUE(hint);
    judge.Remove(hint->move);
    Match dropped = hint->target;
    dropped.x += 5;  // dropped a little off its place
    judge.Add(dropped);
    EXPECT_TRUE(judge.Solved());
    EXPECT_FALSE(judge.NextHint());
    // Two matches on one place, or one on none, is no answer.
    judge.Add(dropped);
    EXPECT_FALSE(judge.Solved());
    judge.Remove(dropped);
    EXPECT_TRUE(judge.Solved());
    // A match dropped on no place is the one the hint moves.
    judge.Remove(dropped);
    judge.Add({1000, 1000, 45});
    EXPECT_FALSE(judge.Solved());
    const std::optional<LayoutJudge::Hint> back = judge.NextHint();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->move, Match(1000, 1000, 45));
    EXPECT_EQ(back->target, hint->target);
}

TEST(RuleJudge, MoreMovesThanTheRuleAllowsIsNoAnswer) {
    // 8+1=9 holds as it stands; an answer two moves away is none within one.
    const std::vector<Match> start = *DrawEquation("8+1=9");
    const FamilyRiddle riddle = *FamilyRiddle::Recognize(start);
    RuleJudge one(riddle, {0, 0});
    one.Reset(ListOf(start));
    EXPECT_TRUE(one.Solved());
    const std::vector<FamilyAnswer> two = SolveFamily(riddle, {2, 0});
    const auto far = std::find_if(two.begin(), two.end(), [](auto& a) { return a.moved == 2; });
    ASSERT_NE(far, two.end());
    RuleJudge judge(riddle, {1, 0});
    judge.Reset(ListOf(AnswerMatches(riddle, start, far->board)));
    EXPECT_FALSE(judge.Solved());
}

TEST(Generator, SameSeedSameRiddlesEachWithAllItsAnswers) {
    for (const RiddleFamily family : {RiddleFamily::Equation, RiddleFamily::Squares}) {
        const GenerateOptions options{family, 12, std::nullopt, 42};
        const std::vector<GeneratedRiddle> riddles = GenerateRiddles(options);
        ASSERT_EQ(riddles.size(), 12u);
        const std::vector<GeneratedRiddle> again = GenerateRiddles(options);
        for (size_t i = 0; i < riddles.size(); ++i) {
            EXPECT_EQ(riddles[i].matches, again[i].matches);
            EXPECT_EQ(riddles[i].solutions, again[i].solutions);
            const FamilyRiddle riddle = *FamilyRiddle::Recognize(riddles[i].matches);
            EXPECT_EQ(riddle.Family(), family);
            const FamilyRule rule = riddles[i].rule;
            EXPECT_FALSE(riddle.IsAnswer(riddle.Start(), rule.moves, rule.squares));
            const std::vector<FamilyAnswer> answers = SolveFamily(riddle, rule);
            ASSERT_EQ(answers.size(), riddles[i].solutions.size());
            EXPECT_GE(answers.size(), 1u);
            EXPECT_LE(answers.size(), 3u);
            for (size_t a = 0; a < answers.size(); ++a) {
                EXPECT_EQ(riddle.PlacesOf(riddles[i].solutions[a]), answers[a].board);
            }
            EXPECT_EQ(RuleOfSolutions(riddle, riddles[i].solutions)->moves, rule.moves);
            if (family == RiddleFamily::Squares) {
                EXPECT_GE(rule.squares, 2u);
                EXPECT_LE(rule.squares, 8u);
                EXPECT_LE(riddle.Columns(), 4);
                EXPECT_LE(riddle.Rows(), 4);
            } else {
                EXPECT_GE(riddle.Slots().size(), 3u);
                EXPECT_LE(riddle.Slots().size(), 9u);
            }
        }
        EXPECT_NE(GenerateRiddles({family, 3, std::nullopt, 43})[0].matches, riddles[0].matches);
    }
}

TEST(Generator, AsksForTheMovesGiven) {
    for (const auto& [family, moves] :
         {std::pair{RiddleFamily::Equation, size_t{2}}, std::pair{RiddleFamily::Squares, size_t{4}},
          std::pair{RiddleFamily::Squares, size_t{1}}}) {
        for (const GeneratedRiddle& riddle : GenerateRiddles({family, 4, moves, 9})) {
            EXPECT_EQ(riddle.rule.moves, moves);
        }
    }
}

}  // namespace
}  // namespace vorlo

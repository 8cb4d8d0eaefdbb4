// SPDX-License-Identifier: GPL-3.0-or-later
// Pairing a board with a riddle stick for stick, and where solutions lie.

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "list_of.h"
#include "solution_files.h"
#include "stick_pairing.h"

using namespace vorlo;

namespace {

TEST(StickPairing, EndsAreTailAndHeadTip) {
    struct Case {
        Match match;
        Point32 tip;
    } cases[] = {
        {{309, 126, 90}, {309, 50}},   {{199, 137, 0}, {275, 137}},
        {{176, 100, 180}, {100, 100}}, {{100, 100, 45}, {154, 46}},  // 53.74 rounds up
        {{100, 200, 92}, {97, 124}},                                 // -2.65 rounds to -3
        {{100, 100, 30}, {166, 62}},   {{INT32_MAX, 0, 0}, {INT32_MIN + 75, 0}},  // the sum wraps
    };
    for (const Case& c : cases) {
        const StickEnds ends = EndsOf(c.match);
        EXPECT_EQ(ends.tail, (Point32{c.match.x, c.match.y}));
        EXPECT_EQ(ends.head, c.tip) << c.match.x << "," << c.match.y << "," << c.match.angle;
    }
}

TEST(StickPairing, SameStickTable) {
    const Match base(100, 100, 0);  // ends (100, 100) and the tip (176, 100)
    struct Case {
        const char* what;
        Match other;
        bool same;
    } cases[] = {
        {"itself", base, true},
        {"laid the other way round", Match(176, 100, 180), true},
        {"the other way round, 8 px off", Match(184, 100, 180), true},
        {"the other way round, 9 px off", Match(185, 100, 180), false},
        {"the other way round, 11 px short", Match(165, 100, 180), false},
        {"both ends 8 px right", Match(108, 100, 0), true},
        {"both ends 9 px right", Match(109, 100, 0), false},
        {"both ends 8 px down", Match(100, 108, 0), true},
        {"both ends 9 px up", Match(100, 91, 0), false},
        {"5 px right and 6 down (7.81 px)", Match(105, 106, 0), true},
        {"6 px right and 6 down (8.49 px)", Match(106, 106, 0), false},
        {"4 px right and 7 up (8.06 px)", Match(104, 93, 0), false},
        {"turned 6 degrees: tip 8 px off", Match(100, 100, 6), true},
        {"turned 7 degrees: tip 9.06 px off", Match(100, 100, 7), false},
        {"a full turn more", Match(100, 100, 360), true},
        {"tail on the tip, pointing on", Match(176, 100, 0), false},
        {"crossing it", Match(138, 62, 270), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameStick(base, c.other), c.same) << c.what;
        EXPECT_EQ(SameStick(c.other, base), c.same) << c.what << " (swapped)";
        const StickIndex index(std::vector<Match>{c.other});
        std::vector<uint32_t> found;
        index.SameSticks(base, found);
        EXPECT_EQ(found.size(), c.same ? 1u : 0u) << c.what;
    }
}

const std::vector<Match> kCup = {{309, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}};

TEST(StickPairing, MovedCountsTheBoardsLeftovers) {
    const StickIndex riddle(kCup);
    struct Case {
        const char* what;
        std::vector<Match> board;
        size_t moved;
    } cases[] = {
        {"as laid", kCup, 0},
        {"in another order, one reversed",
         {{199, 137, 0}, {258, 248, 90}, {309, 50, 270}, {209, 126, 90}},
         0},
        {"one moved 9 px", {{318, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}}, 1},
        {"one moved 8 px", {{317, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}}, 0},
        {"two moved", {{400, 126, 90}, {209, 400, 90}, {199, 137, 0}, {258, 248, 90}}, 2},
        {"one missing", {{309, 126, 90}, {209, 126, 90}, {199, 137, 0}}, 0},
        {"one extra",
         {{309, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}, {0, 0, 0}},
         1},
        {"a copy on top of one", {{309, 126, 90}, {309, 126, 90}, {209, 126, 90}}, 1},
        {"empty board", {}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MovedCount(riddle, ListOf(c.board)), c.moved) << c.what;
    }
}

TEST(StickPairing, LargestPairingIsNotGreedy) {
    // b1 may pair with either riddle stick, b2 only with the first: taking
    // the first for b1, as a greedy walk does, leaves b2 unpaired.
    const StickIndex riddle(std::vector<Match>{{100, 100, 0}, {108, 100, 0}});
    const MatchList board = ListOf({{104, 100, 0}, {96, 100, 0}});
    EXPECT_EQ(LargestPairing(riddle, board), 2u);
    EXPECT_TRUE(IsSolution(riddle, board));
}

TEST(StickPairing, SolutionNeedsEveryStickOnceAndNothingMore) {
    const StickIndex solution(kCup);
    EXPECT_TRUE(IsSolution(solution, ListOf(kCup)));
    EXPECT_FALSE(IsSolution(solution, ListOf({kCup[0], kCup[1], kCup[2]})));
    std::vector<Match> extra = kCup;
    extra.push_back({0, 0, 0});
    EXPECT_FALSE(IsSolution(solution, ListOf(extra)));
    std::vector<Match> doubled = {kCup[0], kCup[0], kCup[1], kCup[2]};
    EXPECT_FALSE(IsSolution(solution, ListOf(doubled)));
    EXPECT_TRUE(IsSolution(StickIndex(std::vector<Match>{}), MatchList()));
}

// Largest pairing by trying every assignment, for small layouts.
size_t BruteForcePairing(const std::vector<Match>& sticks, const std::vector<Match>& board,
                         size_t from, std::vector<bool>& used) {
    if (from == board.size()) {
        return 0;
    }
    size_t best = BruteForcePairing(sticks, board, from + 1, used);
    for (size_t j = 0; j < sticks.size(); ++j) {
        if (!used[j] && SameStick(board[from], sticks[j])) {
            used[j] = true;
            best = std::max(best, 1 + BruteForcePairing(sticks, board, from + 1, used));
            used[j] = false;
        }
    }
    return best;
}

TEST(StickPairing, AgreesWithTryingEveryPairingOnCrowdedLayouts) {
    std::mt19937 random(15);
    std::uniform_int_distribution<int> count(0, 7);
    std::uniform_int_distribution<int> offset(-10, 10);
    std::uniform_int_distribution<int> turn(0, 1);
    for (int round = 0; round < 400; ++round) {
        // Crowded on purpose: all near one segment, so candidates overlap.
        auto layout = [&] {
            std::vector<Match> matches(count(random));
            for (Match& m : matches) {
                m = turn(random) ? Match(100 + offset(random), 100 + offset(random), 0)
                                 : Match(176 + offset(random), 100 + offset(random), 180);
            }
            return matches;
        };
        const std::vector<Match> sticks = layout();
        const std::vector<Match> board = layout();
        std::vector<bool> used(sticks.size(), false);
        EXPECT_EQ(LargestPairing(StickIndex(sticks), ListOf(board)),
                  BruteForcePairing(sticks, board, 0, used))
            << "round " << round;
    }
}

TEST(StickPairing, LongAugmentingChains) {
    // A row of sticks 10 px apart and a board of sticks between them: each
    // may take the stick left or right of it. The board's last stick fits
    // only the first place, so every earlier choice moves one place along
    // one long alternating path.
    std::vector<Match> sticks;
    MatchList board;
    constexpr int kCount = 20000;
    for (int i = 0; i < kCount; ++i) {
        sticks.push_back(Match(10 * i, 0, 90));
    }
    for (int i = 0; i + 1 < kCount; ++i) {
        board.Append(Match(10 * i + 5, 0, 90));  // takes stick i first
    }
    board.Append(Match(-5, 0, 90));  // only stick 0 is near
    EXPECT_EQ(LargestPairing(StickIndex(sticks), board), size_t{kCount});
}

// Largest pairing match by match (augmenting paths from each board match in
// turn), for layouts too large to try every pairing.
size_t MatchByMatchPairing(const std::vector<Match>& sticks, const std::vector<Match>& board) {
    std::vector<int> partner(sticks.size(), -1);
    std::vector<bool> seen;
    std::function<bool(size_t)> augment = [&](size_t b) {
        for (size_t s = 0; s < sticks.size(); ++s) {
            if (!seen[s] && SameStick(board[b], sticks[s])) {
                seen[s] = true;
                if (partner[s] < 0 || augment(static_cast<size_t>(partner[s]))) {
                    partner[s] = static_cast<int>(b);
                    return true;
                }
            }
        }
        return false;
    };
    size_t pairs = 0;
    for (size_t b = 0; b < board.size(); ++b) {
        seen.assign(sticks.size(), false);
        pairs += augment(b) ? 1 : 0;
    }
    return pairs;
}

TEST(StickPairing, StacksAgreeWithPairingMatchByMatch) {
    // Matches drawn from a few spots, so that stacks form, with spots within
    // the tolerance of each other, laid either way round, and one apart.
    const std::vector<Match> spots = {
        {100, 100, 0}, {176, 100, 180}, {105, 100, 0},   {108, 101, 0},
        {95, 100, 0},  {100, 100, 6},   {100, 100, 360}, {400, 100, 90},
    };
    struct Case {
        const char* what;
        int maxCount;
        bool bruteForce;
    } cases[] = {
        {"small, every pairing tried", 7, true},
        {"larger stacks", 60, false},
    };
    std::mt19937 random(22);
    std::uniform_int_distribution<size_t> spot(0, spots.size() - 1);
    for (const Case& c : cases) {
        std::uniform_int_distribution<int> count(0, c.maxCount);
        for (int round = 0; round < 300; ++round) {
            auto layout = [&] {
                std::vector<Match> matches(count(random));
                for (Match& m : matches) {
                    m = spots[spot(random)];
                }
                return matches;
            };
            const std::vector<Match> sticks = layout();
            const std::vector<Match> board = layout();
            std::vector<bool> used(sticks.size(), false);
            const size_t expected = c.bruteForce ? BruteForcePairing(sticks, board, 0, used)
                                                 : MatchByMatchPairing(sticks, board);
            ASSERT_EQ(LargestPairing(StickIndex(sticks), ListOf(board)), expected)
                << c.what << ", round " << round;
        }
    }
}

TEST(StickPairing, LargeStacksAreOneClassEach) {
    // 60,000 matches on one spot once took gigabytes, an edge per pair of
    // them; as classes they are a handful of nodes.
    constexpr int kStack = 60000;
    auto stack = [](std::vector<Match> spots, int each) {
        std::vector<Match> matches;
        for (const Match& m : spots) {
            matches.insert(matches.end(), each, m);
        }
        return matches;
    };
    const std::vector<Match> oneSpot = stack({{100, 100, 0}}, kStack);
    const std::vector<Match> twoNear = stack({{100, 100, 0}, {176, 101, 180}}, kStack / 2);
    std::vector<Match> oneMoved = oneSpot;
    oneMoved.back() = Match(300, 100, 0);
    struct Case {
        const char* what;
        const std::vector<Match>& riddle;
        std::vector<Match> board;
        size_t classes;
        size_t moved;
    } cases[] = {
        {"the stack itself", oneSpot, oneSpot, 1, 0},
        {"one match taken off the stack", oneSpot, oneMoved, 1, 1},
        {"two stacks within the tolerance", twoNear, stack({{101, 100, 0}}, kStack), 2, 0},
        {"a stack on the stack", oneSpot, stack({{100, 100, 0}}, 2 * kStack), 1, size_t{kStack}},
    };
    for (const Case& c : cases) {
        const StickIndex index(c.riddle);
        EXPECT_EQ(index.ClassCount(), c.classes) << c.what;
        EXPECT_EQ(MovedCount(index, ListOf(c.board)), c.moved) << c.what;
    }
    EXPECT_TRUE(IsSolution(StickIndex(oneMoved), ListOf(oneMoved)));
    EXPECT_FALSE(IsSolution(StickIndex(oneSpot), ListOf(oneMoved)));
}

TEST(SolutionFiles, NamesAndNumbering) {
    EXPECT_EQ(RiddleStem("/a/b/cup.vrl"), "/a/b/cup");
    EXPECT_EQ(RiddleStem("cup.VRL"), "cup");
    EXPECT_EQ(RiddleStem("cup.txt"), "cup.txt");
    EXPECT_EQ(RiddleStem(".vrl"), ".vrl");
    EXPECT_EQ(SolutionPath("/a/cup.vrl", 1), "/a/cup.solution.vrl");
    EXPECT_EQ(SolutionPath("/a/cup.vrl", 2), "/a/cup.solution-2.vrl");

    const auto dir =
        std::filesystem::path(::testing::TempDir()) / ("solutions-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string riddle = (dir / "cup.vrl").string();
    auto touch = [](const std::string& path) { std::ofstream(path) << "x"; };
    EXPECT_TRUE(SolutionPaths(riddle).empty());
    EXPECT_EQ(NextSolutionPath(riddle), (dir / "cup.solution.vrl").string());
    touch(SolutionPath(riddle, 1));
    touch(SolutionPath(riddle, 3));  // beyond a gap: not one of them
    EXPECT_EQ(SolutionPaths(riddle), std::vector<std::string>{SolutionPath(riddle, 1)});
    EXPECT_EQ(NextSolutionPath(riddle), SolutionPath(riddle, 2));
    touch(SolutionPath(riddle, 2));
    EXPECT_EQ(SolutionPaths(riddle).size(), 3u);
    EXPECT_EQ(NextSolutionPath(riddle), SolutionPath(riddle, 4));
    std::filesystem::remove_all(dir);
}

// Any entry takes a solution's name, also a link that leads round in a loop
// or nowhere: Save as Solution goes on to the next number instead of failing
// on the loop every time or writing through the dangling link, and the
// numbering of the solutions read goes on past it.
TEST(SolutionFiles, EveryEntryTakesTheName) {
    const auto dir =
        std::filesystem::path(::testing::TempDir()) / ("taken-" + std::to_string(::getpid()));
    const std::string riddle = (dir / "cup.vrl").string();
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> plant;
    };
    const std::vector<Case> cases = {
        {"file", [](const std::filesystem::path& p) { std::ofstream(p) << "x"; }},
        {"loop",
         [](const std::filesystem::path& p) { std::filesystem::create_symlink(p.filename(), p); }},
        {"dangling link",
         [&dir](const std::filesystem::path& p) {
             std::filesystem::create_symlink(dir / "gone", p);
         }},
        {"folder", [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        c.plant(SolutionPath(riddle, 1));
        EXPECT_EQ(NextSolutionPath(riddle), SolutionPath(riddle, 2));
        std::ofstream(SolutionPath(riddle, 2)) << "x";
        EXPECT_EQ(SolutionPaths(riddle),
                  (std::vector<std::string>{SolutionPath(riddle, 1), SolutionPath(riddle, 2)}));
        EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
    }
    // Where nothing can be looked up (here a file in the folder's place),
    // nothing is taken, so the search ends and the save reports why it
    // cannot write.
    std::ofstream(dir / "not-a-folder.vrl") << "x";
    EXPECT_EQ(NextSolutionPath((dir / "not-a-folder.vrl" / "cup.vrl").string()),
              (dir / "not-a-folder.vrl" / "cup.solution.vrl").string());
}

TEST(SolutionFiles, RiddleOfASolutionByItsBytes) {
    const auto dir =
        std::filesystem::path(::testing::TempDir()) / ("riddle-of-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string d = dir.string() + "/";
    for (const char* riddle : {"cup.vrl", "caf\xE9.vrl", "caf\xEF\xBF\xBD.vrl", "a-2.vrl"}) {
        std::ofstream(d + riddle) << "";
    }
    std::filesystem::create_directories(d + "folder.vrl");
    struct Case {
        std::string solution;
        std::optional<std::string> riddle;
    } cases[] = {
        {"cup.solution.vrl", "cup.vrl"},         {"cup.SOLUTION-12.Vrl", "cup.vrl"},
        {"caf\xE9.solution.vrl", "caf\xE9.vrl"}, {"a-2.solution.vrl", "a-2.vrl"},
        {"cup.solution-.vrl", std::nullopt},     {"cup.vrl", std::nullopt},
        {"absent.solution.vrl", std::nullopt},   {"folder.solution.vrl", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> riddle = RiddleOfSolution(d + c.solution);
        EXPECT_EQ(riddle, c.riddle ? std::optional(d + *c.riddle) : std::nullopt) << c.solution;
    }
    std::filesystem::remove_all(dir);
}

TEST(SolutionFiles, MatchBoundFromCountAndSize) {
    const auto dir =
        std::filesystem::path(::testing::TempDir()) / ("bound-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto count = [](int32_t n) {
        const auto u = static_cast<uint32_t>(n);
        return std::string{char(u & 0xFF), char(u >> 8 & 0xFF), char(u >> 16 & 0xFF),
                           char(u >> 24 & 0xFF)};
    };
    const std::string record(12, '\0');
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<uint64_t> bound;
        bool tooLargeFor4;  // for a riddle of 4 matches: at most 1008
    } cases[] = {
        {"empty", "", std::nullopt, false},
        {"negative count", count(-1) + record, std::nullopt, false},
        {"two records and a text", count(2) + record + record + "a riddle's text", 2, false},
        {"declares ten million, holds one", count(10'000'000) + record, 1, false},
        {"1008 records", count(1008) + std::string(1008 * 12, '\0'), 1008, false},
        {"1009 records", count(1009) + std::string(1009 * 12, '\0'), 1009, true},
    };
    for (const Case& c : cases) {
        const std::string path = (dir / "s.vrl").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        EXPECT_EQ(FileMatchBound(path), c.bound) << c.what;
        EXPECT_EQ(TooLargeForSolution(path, 4), c.tooLargeFor4) << c.what;
    }
    EXPECT_EQ(FileMatchBound((dir / "absent.vrl").string()), std::nullopt);
    EXPECT_EQ(FileMatchBound(dir.string()), std::nullopt);  // a folder
    std::filesystem::remove_all(dir);
}

}  // namespace

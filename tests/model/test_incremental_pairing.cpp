// SPDX-License-Identifier: GPL-3.0-or-later
// The pairing kept up to date as the board changes: every result equals a
// fresh largest pairing of the board.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "incremental_pairing.h"
#include "stick_pairing.h"

using namespace vorlo;

namespace {

MatchList ListOf(const std::vector<Match>& matches) {
    MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return list;
}

bool SameEndsExactly(const Match& a, const Match& b) {
    const StickEnds x = EndsOf(a);
    const StickEnds y = EndsOf(b);
    return (x.tail == y.tail && x.head == y.head) || (x.tail == y.head && x.head == y.tail);
}

bool Holds(const std::vector<Match>& layout, const Match& m) {
    return std::any_of(layout.begin(), layout.end(),
                       [&](const Match& other) { return SameEndsExactly(m, other); });
}

// Random layouts drawn from a few spots, so that stacks form, beside spots
// near them (within and just beyond the tolerance, either way round) and
// matches lying apart.
class Layouts {
public:
    Layouts(uint32_t seed, int spread) : random_(seed), spread_(spread) {
        for (int i = 0; i < 6; ++i) {
            const Match base(Pick(spread_) * 20, Pick(spread_) * 20, Pick(4) * 90 - 90);
            spots_.push_back(base);
            spots_.push_back(Reversed(base));
            spots_.push_back(Match(base.x + Pick(17) - 8, base.y + Pick(17) - 8, base.angle));
            spots_.push_back(Match(base.x + 9, base.y, base.angle));
            spots_.push_back(Match(base.x, base.y, base.angle + 6));
        }
    }

    Match Next() {
        switch (Pick(3)) {
            case 0:
                return spots_[Pick(static_cast<int>(spots_.size()))];
            case 1: {
                const Match& s = spots_[Pick(static_cast<int>(spots_.size()))];
                return Match(s.x + Pick(21) - 10, s.y + Pick(21) - 10, s.angle + Pick(7) - 3);
            }
            default:
                return Match(Pick(spread_ * 20), Pick(spread_ * 20), Pick(360));
        }
    }
    std::vector<Match> Layout(int count) {
        std::vector<Match> matches;
        for (int i = 0; i < count; ++i) {
            matches.push_back(Next());
        }
        return matches;
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
    static Match Reversed(const Match& m) {
        const StickEnds ends = EndsOf(m);
        return Match(ends.head.x, ends.head.y, m.angle + 180);
    }

    std::mt19937 random_;
    int spread_;
    std::vector<Match> spots_;
};

void ExpectAgrees(const IncrementalPairing& pairing, const std::vector<Match>& reference,
                  const StickIndex& index, const std::vector<Match>& board) {
    const size_t pairs = LargestPairing(index, ListOf(board));
    ASSERT_EQ(pairing.Pairs(), pairs);
    ASSERT_EQ(pairing.BoardUnpaired(), board.size() - pairs);
    ASSERT_EQ(pairing.ReferenceUnpaired(), reference.size() - pairs);
    const std::optional<Match> left = pairing.UnpairedBoardMatch();
    ASSERT_EQ(left.has_value(), pairing.BoardUnpaired() > 0);
    if (left) {
        ASSERT_TRUE(Holds(board, *left));
    }
    const std::optional<Match> free = pairing.UnpairedReferenceMatch();
    ASSERT_EQ(free.has_value(), pairing.ReferenceUnpaired() > 0);
    if (free) {
        ASSERT_NE(std::find(reference.begin(), reference.end(), *free), reference.end());
    }
}

TEST(IncrementalPairing, AgreesWithALargestPairingAfterEveryChange) {
    struct Case {
        uint32_t seed;
        int reference;  // matches
        int board;
        int spread;  // the side of the board, in steps of 20 px: small is crowded
        int changes;
    } cases[] = {
        {1, 0, 0, 4, 200},      {2, 6, 6, 2, 400},       {3, 12, 8, 3, 400},
        {4, 40, 40, 3, 400},    {5, 40, 60, 6, 400},     {6, 100, 100, 20, 300},
        {7, 200, 150, 10, 300}, {8, 300, 300, 200, 200}, {9, 30, 0, 2, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed);
        Layouts layouts(c.seed, c.spread);
        const std::vector<Match> reference = layouts.Layout(c.reference);
        const StickIndex index(reference);
        IncrementalPairing pairing(reference);
        std::vector<Match> board = layouts.Layout(c.board);
        pairing.Reset(ListOf(board));
        ExpectAgrees(pairing, reference, index, board);
        for (int step = 0; step < c.changes && !HasFatalFailure(); ++step) {
            SCOPED_TRACE(step);
            const int what = layouts.Pick(20);
            if (what == 0) {
                board = layouts.Layout(layouts.Pick(c.board + 2));
                pairing.Reset(board);
            } else if (what < 6 || board.empty()) {
                board.push_back(what % 2 == 0 && !reference.empty()
                                    ? reference[layouts.Pick(static_cast<int>(reference.size()))]
                                    : layouts.Next());
                pairing.Add(board.back());
            } else {
                // A removal, and in most steps the same match laid elsewhere:
                // a move.
                const auto i = static_cast<size_t>(layouts.Pick(static_cast<int>(board.size())));
                const Match gone = board[i];
                board.erase(board.begin() + static_cast<std::ptrdiff_t>(i));
                ASSERT_TRUE(pairing.Remove(gone));
                if (what < 16) {
                    ExpectAgrees(pairing, reference, index, board);
                    board.push_back(
                        what % 3 == 0 && !reference.empty()
                            ? reference[layouts.Pick(static_cast<int>(reference.size()))]
                            : layouts.Next());
                    pairing.Add(board.back());
                }
            }
            ExpectAgrees(pairing, reference, index, board);
        }
    }
}

TEST(IncrementalPairing, RemovingWhatIsNotOnTheBoardChangesNothing) {
    IncrementalPairing pairing(std::vector<Match>{{100, 100, 0}});
    pairing.Reset(std::vector<Match>{{100, 100, 0}, {300, 100, 0}});
    // Near a board match is not on the board: only a match lying exactly so.
    EXPECT_FALSE(pairing.Remove(Match(101, 100, 0)));
    EXPECT_FALSE(pairing.Remove(Match(500, 500, 0)));
    EXPECT_EQ(pairing.Pairs(), 1u);
    EXPECT_EQ(pairing.BoardCount(), 2u);
    // The same ends are the same match, whichever way its record has them.
    EXPECT_TRUE(pairing.Remove(Match(176, 100, 180)));
    EXPECT_EQ(pairing.Pairs(), 0u);
    EXPECT_EQ(pairing.BoardUnpaired(), 1u);
}

// The long alternating path of stick_pairing's test, made one change at a
// time: sticks 10 px apart, and board matches between them, each paired with
// the stick on its left; a new match that fits only the first stick moves
// every earlier one a place along, to the free stick at the far end.
TEST(IncrementalPairing, OneChangeReroutesALongChain) {
    constexpr int kCount = 3000;
    std::vector<Match> sticks;
    std::vector<Match> board;
    for (int i = 0; i < kCount; ++i) {
        sticks.push_back(Match(10 * i, 0, 90));
    }
    for (int i = 0; i + 1 < kCount; ++i) {
        board.push_back(sticks[i]);  // on the stick: paired with it alone
    }
    IncrementalPairing pairing(sticks);
    pairing.Reset(board);
    for (int i = 0; i + 1 < kCount; ++i) {
        // Moved 5 px right, between stick i, now free, and stick i + 1.
        ASSERT_TRUE(pairing.Remove(Match(10 * i, 0, 90)));
        pairing.Add(Match(10 * i + 5, 0, 90));
    }
    ASSERT_EQ(pairing.Pairs(), size_t{kCount - 1});
    const uint64_t before = pairing.Visits();
    pairing.Add(Match(-5, 0, 90));  // only stick 0 is near
    EXPECT_EQ(pairing.Pairs(), size_t{kCount});
    EXPECT_GE(pairing.Visits() - before, uint64_t{kCount});  // the path ran the whole row
    EXPECT_EQ(pairing.ReferenceUnpaired(), 0u);
    // Taken away again: every board match has a stick, one stick is free.
    ASSERT_TRUE(pairing.Remove(Match(-5, 0, 90)));
    EXPECT_EQ(pairing.Pairs(), size_t{kCount - 1});
    EXPECT_EQ(pairing.BoardUnpaired(), 0u);
    EXPECT_EQ(pairing.ReferenceUnpaired(), 1u);
}

// A grid of matches lying apart, one per 100 by 100 pixels.
std::vector<Match> Apart(int count) {
    std::vector<Match> matches;
    const int side = static_cast<int>(std::ceil(std::sqrt(count)));
    for (int i = 0; i < count; ++i) {
        matches.push_back(Match((i % side) * 100, (i / side) * 100, (i % 3) * 90));
    }
    return matches;
}

TEST(IncrementalPairing, AMoveLooksOnlyNearTheMatch) {
    // The classes a move away and back looks at are those in a few buckets
    // around the match: as few on a layout of 200,000 as on one of 100,
    // stacks included, where one that walked the layout would look at all.
    struct Case {
        int count;
        uint32_t stack;  // matches on each place
    } cases[] = {{100, 1}, {10000, 1}, {200000, 1}, {100, 50}, {10000, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " places, " << c.stack << " on each");
        const std::vector<Match> places = Apart(c.count);
        std::vector<Match> layout;
        for (const Match& m : places) {
            layout.insert(layout.end(), c.stack, m);
        }
        IncrementalPairing pairing(layout);
        pairing.Reset(ListOf(layout));
        ASSERT_EQ(pairing.BoardUnpaired(), 0u);
        ASSERT_EQ(pairing.ReferenceClassCount(), size_t(c.count));
        uint64_t most = 0;
        for (int i = 0; i < 100; ++i) {
            const Match m = places[static_cast<size_t>(i) * places.size() / 100];
            const Match away(m.x + 50, m.y + 50, m.angle);
            const uint64_t before = pairing.Visits();
            ASSERT_TRUE(pairing.Remove(m));
            pairing.Add(away);
            ASSERT_EQ(pairing.BoardUnpaired(), 1u);
            ASSERT_TRUE(pairing.Remove(away));
            pairing.Add(m);
            ASSERT_EQ(pairing.BoardUnpaired(), 0u);
            most = std::max(most, pairing.Visits() - before);
        }
        EXPECT_LE(most, 80u);
    }
}

TEST(IncrementalPairing, AStackIsOneClass) {
    constexpr int kStack = 60000;
    const std::vector<Match> stack(kStack, Match(100, 100, 0));
    IncrementalPairing pairing(stack);
    pairing.Reset(ListOf(std::vector<Match>(kStack, Match(176, 100, 180))));
    EXPECT_EQ(pairing.ReferenceClassCount(), 1u);
    EXPECT_EQ(pairing.BoardClassCount(), 1u);
    EXPECT_EQ(pairing.Pairs(), size_t{kStack});
    // Taking matches off the stack one by one and laying them apart.
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(pairing.Remove(Match(176, 100, 180)));
        pairing.Add(Match(1000 + 100 * i, 1000, 0));
    }
    EXPECT_EQ(pairing.Pairs(), size_t{kStack - 100});
    EXPECT_EQ(pairing.BoardUnpaired(), 100u);
    EXPECT_EQ(pairing.BoardClassCount(), 101u);
    EXPECT_LE(pairing.Visits(), 100u * 20);
}

}  // namespace

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
#include "list_of.h"
#include "stick_pairing.h"

using namespace vorlo;

namespace {

// The board match lying exactly as `m` does (the same ends, either way
// round), if any.
std::vector<Match>::const_iterator Find(const std::vector<Match>& board, const Match& m) {
    const StickEnds x = EndsOf(m);
    return std::find_if(board.begin(), board.end(), [&](const Match& other) {
        const StickEnds y = EndsOf(other);
        return (x.tail == y.tail && x.head == y.head) || (x.tail == y.head && x.head == y.tail);
    });
}

// Random layouts drawn from a few spots, so that stacks form, from spots
// near them (within and just beyond the tolerance, the other way round) and
// from the whole board.
class Layouts {
public:
    Layouts(uint32_t seed, int spread) : random_(seed), spread_(spread) {
        for (int i = 0; i < 6; ++i) {
            const Match m(Pick(spread_) * 20, Pick(spread_) * 20, Pick(4) * 90 - 90);
            const StickEnds ends = EndsOf(m);
            spots_.insert(spots_.end(),
                          {m, Match(ends.head.x, ends.head.y, m.angle + 180),
                           Match(m.x + Pick(17) - 8, m.y + Pick(17) - 8, m.angle),
                           Match(m.x + 9, m.y, m.angle), Match(m.x, m.y, m.angle + 6)});
        }
    }
    Match Next() {
        const Match& s = spots_[static_cast<size_t>(Pick(int(spots_.size())))];
        switch (Pick(3)) {
            case 0:
                return s;
            case 1:
                return Match(s.x + Pick(21) - 10, s.y + Pick(21) - 10, s.angle + Pick(7) - 3);
            default:
                return Match(Pick(spread_ * 20), Pick(spread_ * 20), Pick(360));
        }
    }
    std::vector<Match> Layout(int count) {
        std::vector<Match> matches;
        while (int(matches.size()) < count) {
            matches.push_back(Next());
        }
        return matches;
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
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
    ASSERT_TRUE(!left || Find(board, *left) != board.end());
    const std::optional<Match> free = pairing.UnpairedReferenceMatch();
    ASSERT_EQ(free.has_value(), pairing.ReferenceUnpaired() > 0);
    ASSERT_TRUE(!free || std::find(reference.begin(), reference.end(), *free) != reference.end());
}

TEST(IncrementalPairing, AgreesWithALargestPairingAfterEveryChange) {
    struct Case {
        uint32_t seed;
        int reference;  // matches
        int board;
        int spread;  // the side of the board, in steps of 20 px: small is crowded
    } cases[] = {
        {1, 0, 0, 4},      {2, 6, 6, 2},      {3, 12, 8, 3},      {4, 40, 40, 3}, {5, 40, 60, 6},
        {6, 100, 100, 20}, {7, 200, 150, 10}, {8, 300, 300, 200}, {9, 30, 0, 2},
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
        auto some = [&](const std::vector<Match>& from) {
            return from.empty() ? layouts.Next()
                                : from[static_cast<size_t>(layouts.Pick(int(from.size())))];
        };
        for (int step = 0; step < 300 && !HasFatalFailure(); ++step) {
            SCOPED_TRACE(step);
            const int what = layouts.Pick(20);
            if (what == 0) {
                board = layouts.Layout(layouts.Pick(c.board + 2));
                pairing.Reset(board);
            } else if (what < 6) {
                board.push_back(what % 2 == 0 ? some(reference) : layouts.Next());
                pairing.Add(board.back());
            } else {
                // A removal of a board match, or of one that is on the board
                // only if one lies exactly so; mostly the match is laid again
                // elsewhere, a move.
                const Match gone = what < 8 ? layouts.Next() : some(board);
                const auto it = Find(board, gone);
                ASSERT_EQ(pairing.Remove(gone), it != board.end());
                if (it != board.end()) {
                    board.erase(it);
                }
                if (what < 16) {
                    ExpectAgrees(pairing, reference, index, board);
                    board.push_back(what % 3 == 0 ? some(reference) : layouts.Next());
                    pairing.Add(board.back());
                }
            }
            ExpectAgrees(pairing, reference, index, board);
        }
    }
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
        ASSERT_EQ(pairing.BoardClassCount(), size_t(c.count));
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

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether two layouts of matches show the same picture, stick for stick.
//
// Two matches are the same stick when they cover the same segment of the
// board, laid either way round: each end of one lies within
// kSameStickTolerance pixels of an end of the other, tail to tail and head end
// to head end, or tail to head end and head end to tail. A match's two ends
// are its tail point (x, y) and its head end, the middle of the stick's far
// end where the head sits: (x + R(65 cos a), y - R(65 sin a)) with the
// shape's rounding, which is exactly the head centre of GetShape.
//
// Comparing layouts pairs their matches one to one as the same stick, as many
// pairs as can be made (a largest bipartite matching, Hopcroft-Karp). The
// candidates of a match are found through a table of the other layout's ends,
// sorted by 4-pixel cell, so a layout of n matches is compared in about
// O(n log n) when matches lie apart, as they do in a picture.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "match.h"
#include "match_list.h"

namespace vorlo {

inline constexpr int kSameStickTolerance = 3;

struct StickEnds {
    Point32 tail;
    Point32 head;
};

StickEnds EndsOf(const Match& match);

bool SameStick(const Match& a, const Match& b);

// The matches of one layout, found by where their ends lie.
class StickIndex {
public:
    StickIndex() = default;
    explicit StickIndex(const MatchList& matches);
    explicit StickIndex(const std::vector<Match>& matches);

    size_t Count() const { return ends_.size(); }

    // Replaces `out` with the positions (in layout order) of the indexed
    // matches that are the same stick as `match`, each once, ascending.
    void SameSticks(const Match& match, std::vector<uint32_t>& out) const;

private:
    void Build();

    std::vector<StickEnds> ends_;
    struct Entry {
        uint64_t cell;
        uint32_t stick;
        friend bool operator<(const Entry& a, const Entry& b) {
            return a.cell < b.cell || (a.cell == b.cell && a.stick < b.stick);
        }
    };
    std::vector<Entry> cells_;  // both ends of every match, sorted
};

// The number of pairs in a largest one-to-one pairing of `board`'s matches
// with the indexed ones, as the same stick.
size_t LargestPairing(const StickIndex& sticks, const MatchList& board);

// The board's matches left over by a largest pairing with `riddle`: how many
// matches were moved (added ones count, removed ones do not).
size_t MovedCount(const StickIndex& riddle, const MatchList& board);

// Whether the board pairs one to one with every stick of `solution`.
bool IsSolution(const StickIndex& solution, const MatchList& board);

}  // namespace vorlo

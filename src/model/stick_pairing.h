// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether two layouts of matches show the same picture, stick for stick.
//
// Two matches are the same stick when they cover the same place on the board,
// the whole match from its tail end to the tip of its head, laid either way
// round: each end of one lies within kSameStickTolerance pixels of an end of
// the other (inclusive), tail to tail and tip to tip, or tail to tip and tip
// to tail. A match's two ends are its tail point (x, y) and the tip of its
// head, kEndToEnd (76) pixels along its angle: (x + R(76 cos a), y - R(76 sin
// a)) with the shape's rounding and degree constant, the sums wrapping at 32
// bits (HeadTip in snapping.h, the ends snapping joins).
//
// Comparing layouts pairs their matches one to one as the same stick, as many
// pairs as can be made. Matches whose ends coincide (a stack, or one laid
// either way round on another) are one class with a count, on either side:
// the pairing is a largest flow through the classes (Dinic), each class
// passing on as many matches as it holds, so a stack of thousands costs what
// one match costs. The candidates of a class are found through a table of the
// other layout's class ends, sorted by cell (kSameStickTolerance pixels a
// side), so a layout of n matches lying apart, as in a picture, is compared
// in about O(n log n). Only where the obvious pairs leave a class with
// candidates unpaired is a flow network built, searched in phases of shortest
// augmenting paths, each phase one pass over the candidate pairs of the
// classes.
//
// The window and vorlo-cli keep their pairings with incremental_pairing.h,
// which follows a board change by change; the pairing of two whole layouts
// here is what its tests hold it against.
//
// The tolerance and the end points are defined here alone (EndsOf,
// kSameStickTolerance, SameEnds); the rest of the pairing, and the
// incremental pairing of incremental_pairing.h, only ask SameEnds.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "match.h"
#include "match_list.h"

namespace vorlo {

inline constexpr int kSameStickTolerance = 8;

struct StickEnds {
    Point32 tail;
    Point32 head;  // the tip of the head
};

// The tail point and the head's tip.
StickEnds EndsOf(const Match& match);

// Whether each end of one lies within the tolerance of an end of the other,
// either way round.
bool SameEnds(const StickEnds& a, const StickEnds& b);

bool SameStick(const Match& a, const Match& b);

// The matches of one layout, found by where their ends lie.
class StickIndex {
public:
    StickIndex() = default;
    explicit StickIndex(const MatchList& matches);
    explicit StickIndex(const std::vector<Match>& matches);

    size_t Count() const { return count_; }
    // The number of classes: sets of indexed matches with the same ends.
    size_t ClassCount() const { return classes_.size(); }

    // Replaces `out` with the positions (in layout order) of the indexed
    // matches that are the same stick as `match`, each once, ascending.
    void SameSticks(const Match& match, std::vector<uint32_t>& out) const;

    // Replaces `out` with the classes whose matches are the same stick as a
    // match with these ends, each once, ascending.
    void SameClasses(const StickEnds& ends, std::vector<uint32_t>& out) const;
    // How many indexed matches class `c` holds.
    uint32_t Size(uint32_t c) const { return memberStart_[c + 1] - memberStart_[c]; }

private:
    template <class Matches>
    void Build(const Matches& matches, size_t count);

    size_t count_ = 0;
    std::vector<StickEnds> classes_;     // the ends of each class, the lower one first
    std::vector<uint32_t> memberStart_;  // classes_.size() + 1 offsets into members_
    std::vector<uint32_t> members_;      // positions in the layout, by class, ascending
    struct Entry {
        uint64_t cell;
        uint32_t stick;  // a class
        friend bool operator<(const Entry& a, const Entry& b) {
            return a.cell < b.cell || (a.cell == b.cell && a.stick < b.stick);
        }
    };
    std::vector<Entry> cells_;  // both ends of every class, sorted
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

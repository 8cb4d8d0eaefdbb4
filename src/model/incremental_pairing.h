// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A largest one-to-one pairing of a changing board with a fixed layout, the
// reference (the riddle as it was opened, or one of its solutions), kept up
// to date as the board's matches come and go. Two matches pair when they are
// the same stick (SameEnds, stick_pairing.h); the number of pairs is always
// what LargestPairing would count for the board as it stands.
//
// As in stick_pairing.cpp, matches with identical ends, either way round, are
// one class with a count, on each side: the pairing is a flow from board
// classes to reference classes, each class passing on at most as many
// matches as it holds, so a stack of thousands costs what one match costs.
//
// A change of one board match changes the largest pairing by at most one,
// and only along a path through the changed class (Berge): after an add, one
// augmenting path is searched from the added match's class; after a removal
// from a class all of whose matches were paired, one pair of it is undone and
// one augmenting path is searched back from the reference class it freed. A
// search visits each class at most once and looks only at the classes near
// the ones it reaches, so a change among matches lying apart costs the same
// on a board of ten matches and on one of ten million.
//
// The reference's classes are sorted once, by a hash of the cell of one of
// their ends, into flat buckets; the board's classes, which come and go, are
// chained in a hash table of buckets by the same cells. A lookup walks the
// buckets of the cells within the tolerance of the two ends and checks each
// class found with SameEnds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "match.h"
#include "match_list.h"
#include "stick_pairing.h"

namespace vorlo {

class IncrementalPairing {
public:
    explicit IncrementalPairing(const MatchList& reference);
    explicit IncrementalPairing(const std::vector<Match>& reference);

    // The whole board is new.
    void Reset(const MatchList& board);
    void Reset(const std::vector<Match>& board);
    // One board match went away, given by its value. False, and nothing
    // changes, when no board match lies exactly so.
    bool Remove(const Match& match);
    // One board match arrived.
    void Add(const Match& match);

    // How many matches are paired.
    size_t Pairs() const { return pairs_; }
    size_t BoardCount() const { return boardCount_; }
    size_t ReferenceCount() const { return referenceCount_; }
    // The board's matches left over: with the riddle as it was opened as
    // the reference, how many were moved (added ones count, removed ones do
    // not).
    size_t BoardUnpaired() const { return boardCount_ - pairs_; }
    // The reference's matches that no board match covers.
    size_t ReferenceUnpaired() const { return referenceCount_ - pairs_; }
    // Whether the board pairs one to one with the whole reference.
    bool Complete() const { return BoardUnpaired() == 0 && ReferenceUnpaired() == 0; }

    // One board match left over, and one reference match left over; none
    // when there is none. Of a stack the match is one that lies as the
    // stack's matches do (the same ends), not always the record that was
    // added first.
    std::optional<Match> UnpairedBoardMatch() const;
    std::optional<Match> UnpairedReferenceMatch() const;

    // Classes of matches with the same ends, on either side.
    size_t BoardClassCount() const { return boardClassCount_; }
    size_t ReferenceClassCount() const { return reference_.size(); }
    // The classes looked at since the pairing was made, a measure of the
    // work the changes cost.
    uint64_t Visits() const { return visits_; }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    struct ReferenceClass {
        StickEnds ends;  // the lower end first
        Match match;     // the first of its matches in the layout
        uint32_t count = 0;
        uint32_t paired = 0;
        uint32_t stamp = 0;  // the search that last reached it
        uint32_t sparePos = kNone;
    };
    struct BoardClass {
        StickEnds ends;  // the lower end first
        Match match;
        uint32_t count = 0;
        uint32_t paired = 0;
        uint32_t stamp = 0;
        uint32_t next = kNone;   // in its bucket's chain, or in the free list
        uint32_t edges = kNone;  // the reference classes it is paired with
        uint32_t sparePos = kNone;
    };
    // How many matches of a board class are paired with one reference class.
    struct Edge {
        uint32_t reference;
        uint32_t units;
        uint32_t next;
    };
    struct Step {
        uint32_t id;
        uint32_t parent;  // the step it was reached from, in queue_
        bool board;
    };
    enum class Direction { FromBoard, FromReference };

    template <class Matches>
    void BuildReference(const Matches& matches, size_t count);
    template <class Matches>
    void ResetBoard(const Matches& matches, size_t count);

    template <class F>
    void ForEachReferenceNear(const StickEnds& ends, F&& f);
    template <class F>
    void ForEachBoardNear(const StickEnds& ends, F&& f);

    uint32_t FindBoardClass(const StickEnds& ends) const;
    uint32_t NewBoardClass(const StickEnds& ends, const Match& match);
    void DeleteBoardClass(uint32_t id);
    void LinkBoardClass(uint32_t id);
    void GrowBoardBuckets();
    uint32_t BoardBucket(const Point32& end) const;

    uint32_t Units(uint32_t board, uint32_t reference) const;
    void AddFlow(uint32_t board, uint32_t reference, int delta);

    void UpdateBoardSpare(uint32_t id);
    void UpdateReferenceSpare(uint32_t id);

    void NewSearch();
    bool SearchFromBoard(uint32_t board);
    bool SearchFromReference(uint32_t reference);
    void Augment(uint32_t found, Direction direction);

    // The reference, by bucket.
    std::vector<ReferenceClass> reference_;
    std::vector<uint32_t> referenceStart_;  // bucket count + 1 offsets into reference_
    unsigned referenceBits_ = 1;
    size_t referenceCount_ = 0;

    // The board.
    std::vector<BoardClass> board_;
    std::vector<uint32_t> boardHeads_;
    unsigned boardBits_ = 1;
    uint32_t freeBoard_ = kNone;
    size_t boardClassCount_ = 0;
    size_t boardCount_ = 0;

    std::vector<Edge> edges_;
    uint32_t freeEdge_ = kNone;

    // Classes with matches left over, for the hints.
    std::vector<uint32_t> spareBoard_;
    std::vector<uint32_t> spareReference_;

    size_t pairs_ = 0;
    uint32_t stamp_ = 0;
    std::vector<Step> queue_;
    uint64_t visits_ = 0;
};

}  // namespace vorlo

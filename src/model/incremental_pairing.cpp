// SPDX-License-Identifier: GPL-3.0-or-later
#include "incremental_pairing.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vorlo {

namespace {

// Cells at least as wide as the tolerance: the points within the tolerance
// of a point lie in at most two cells a row and two a column here.
constexpr int64_t kCellSide = 16;
static_assert(kCellSide >= kSameStickTolerance);

int64_t CellOf(int64_t v) {
    // Floor division, so that -1 and 0 fall into different cells.
    return v >= 0 ? v / kCellSide : -((-v + kCellSide - 1) / kCellSide);
}

uint32_t BucketOf(int64_t column, int64_t row, unsigned bits) {
    // Cells of 32-bit coordinates fit in 29 bits each, with room for the
    // neighbours of the outermost ones.
    constexpr int64_t kBias = int64_t{1} << 30;
    const uint64_t key =
        (static_cast<uint64_t>(row + kBias) << 32) | static_cast<uint64_t>(column + kBias);
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits));
}

uint32_t BucketOfPoint(const Point32& p, unsigned bits) {
    return BucketOf(CellOf(p.x), CellOf(p.y), bits);
}

// The buckets of the cells that hold a point within the tolerance of either
// end, each once. The bucket of the lower end's own cell comes first: a
// class with the same ends lies there, and a search that finds what it
// needs there looks no further.
struct NearBuckets {
    std::array<uint32_t, 19> bucket{};
    size_t count = 0;

    NearBuckets(const StickEnds& ends, unsigned bits) {
        bucket[count++] = BucketOfPoint(ends.tail, bits);
        for (const Point32& end : {ends.tail, ends.head}) {
            const int64_t x = end.x;
            const int64_t y = end.y;
            for (int64_t row = CellOf(y - kSameStickTolerance);
                 row <= CellOf(y + kSameStickTolerance); ++row) {
                for (int64_t column = CellOf(x - kSameStickTolerance);
                     column <= CellOf(x + kSameStickTolerance); ++column) {
                    const uint32_t b = BucketOf(column, row, bits);
                    if (std::find(bucket.begin(), bucket.begin() + count, b) ==
                        bucket.begin() + count) {
                        bucket[count++] = b;
                    }
                }
            }
        }
    }
};

// The smallest number of bits, at least 1, whose buckets are at least n.
unsigned BitsFor(size_t n) {
    unsigned bits = 1;
    while (bits < 31 && (size_t{1} << bits) < n) {
        ++bits;
    }
    return bits;
}

bool Before(const Point32& a, const Point32& b) {
    return a.y < b.y || (a.y == b.y && a.x < b.x);
}

// The ends with the lower one first, so that a match laid the other way
// round on another falls into its class.
StickEnds ClassEnds(const Match& match) {
    const StickEnds ends = EndsOf(match);
    return Before(ends.head, ends.tail) ? StickEnds{ends.head, ends.tail} : ends;
}

bool SameEndsExactly(const StickEnds& a, const StickEnds& b) {
    return a.tail == b.tail && a.head == b.head;
}

bool Before(const StickEnds& a, const StickEnds& b) {
    return Before(a.tail, b.tail) || (a.tail == b.tail && Before(a.head, b.head));
}

// Makes `classes` (one entry per match, count 1) one entry per class, in
// the order of their buckets: sorted by bucket, then by ends, so that a
// class's matches lie together, the first in layout order keeping its
// record. Buckets take the top bits of one hash, so an order by more bits
// is also an order by fewer. `bucketStart`, when given, receives the first
// class of each of the 2^bits buckets and one past the last.
template <class Class>
void GroupByBucket(std::vector<Class>& classes, unsigned bits, std::vector<uint32_t>* bucketStart) {
    uint32_t position = 0;
    for (Class& c : classes) {
        c.paired = BucketOfPoint(c.ends.tail, bits);  // for the sort alone
        c.stamp = position++;                         // likewise
    }
    std::sort(classes.begin(), classes.end(), [](const Class& a, const Class& b) {
        if (a.paired != b.paired) {
            return a.paired < b.paired;
        }
        if (!SameEndsExactly(a.ends, b.ends)) {
            return Before(a.ends, b.ends);
        }
        return a.stamp < b.stamp;
    });
    size_t count = 0;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (count > 0 && SameEndsExactly(classes[count - 1].ends, classes[i].ends)) {
            ++classes[count - 1].count;
        } else {
            classes[count++] = classes[i];
        }
    }
    classes.resize(count);
    if (bucketStart != nullptr) {
        bucketStart->assign((size_t{1} << bits) + 1, 0);
        for (const Class& c : classes) {
            ++(*bucketStart)[c.paired + 1];
        }
        for (size_t b = 1; b < bucketStart->size(); ++b) {
            (*bucketStart)[b] += (*bucketStart)[b - 1];
        }
    }
    for (Class& c : classes) {
        c.paired = 0;
        c.stamp = 0;
    }
}

}  // namespace

IncrementalPairing::IncrementalPairing(const MatchList& reference) {
    BuildReference(reference, reference.Count());
    Reset(std::vector<Match>{});
}

IncrementalPairing::IncrementalPairing(const std::vector<Match>& reference) {
    BuildReference(reference, reference.size());
    Reset(std::vector<Match>{});
}

template <class Matches>
void IncrementalPairing::BuildReference(const Matches& matches, size_t count) {
    referenceCount_ = count;
    referenceBits_ = BitsFor(count / 2);
    reference_.reserve(count);
    for (const Match& match : matches) {
        ReferenceClass c;
        c.ends = ClassEnds(match);
        c.match = match;
        c.count = 1;
        reference_.push_back(c);
    }
    GroupByBucket(reference_, referenceBits_, &referenceStart_);
    reference_.shrink_to_fit();
}

void IncrementalPairing::Reset(const MatchList& board) {
    ResetBoard(board, board.Count());
}

void IncrementalPairing::Reset(const std::vector<Match>& board) {
    ResetBoard(board, board.size());
}

template <class Matches>
void IncrementalPairing::ResetBoard(const Matches& matches, size_t count) {
    for (ReferenceClass& r : reference_) {
        r.paired = 0;
        r.stamp = 0;
        r.sparePos = kNone;
    }
    board_.clear();
    board_.reserve(count);
    boardBits_ = BitsFor(count);
    boardHeads_.assign(size_t{1} << boardBits_, kNone);
    freeBoard_ = kNone;
    boardClassCount_ = 0;
    boardCount_ = 0;
    edges_.clear();
    edges_.reserve(std::min(count, referenceCount_));
    freeEdge_ = kNone;
    spareBoard_.clear();
    spareReference_.clear();
    pairs_ = 0;
    stamp_ = 0;

    // The board's classes made as the reference's are, in the order of
    // their buckets, so that the passes below walk both sides forwards.
    for (const Match& match : matches) {
        BoardClass c;
        c.ends = ClassEnds(match);
        c.match = match;
        c.count = 1;
        board_.push_back(c);
    }
    boardCount_ = board_.size();
    GroupByBucket(board_, boardBits_, nullptr);
    boardClassCount_ = board_.size();
    for (uint32_t id = static_cast<uint32_t>(board_.size()); id-- > 0;) {
        LinkBoardClass(id);
    }
    // The obvious pairs first: where matches lie apart, this is all of it.
    for (uint32_t b = 0; b < board_.size(); ++b) {
        ForEachReferenceNear(board_[b].ends, [&](uint32_t r) {
            const uint32_t amount = std::min(board_[b].count - board_[b].paired,
                                             reference_[r].count - reference_[r].paired);
            if (amount > 0) {
                AddFlow(b, r, static_cast<int>(amount));
                pairs_ += amount;
            }
            return board_[b].paired == board_[b].count;
        });
    }
    for (uint32_t b = 0; b < board_.size(); ++b) {
        UpdateBoardSpare(b);
    }
    for (uint32_t r = 0; r < reference_.size(); ++r) {
        UpdateReferenceSpare(r);
    }
    // A board much like the reference leaves few left over: the room an
    // empty board took goes back.
    spareReference_.shrink_to_fit();
    // Then one augmenting path at a time from each class left with matches.
    // A search that fails leaves its classes marked until one succeeds: what
    // it reached leads to no free reference class, and nothing changed since.
    const std::vector<uint32_t> spare = spareBoard_;
    NewSearch();
    for (const uint32_t b : spare) {
        while (board_[b].paired < board_[b].count && board_[b].stamp != stamp_) {
            if (!SearchFromBoard(b)) {
                break;
            }
            NewSearch();
        }
    }
}

template <class F>
void IncrementalPairing::ForEachReferenceNear(const StickEnds& ends, F&& f) {
    const NearBuckets near(ends, referenceBits_);
    for (size_t i = 0; i < near.count; ++i) {
        const uint32_t b = near.bucket[i];
        for (uint32_t r = referenceStart_[b]; r < referenceStart_[b + 1]; ++r) {
            ++visits_;
            if (SameEnds(ends, reference_[r].ends) && f(r)) {
                return;
            }
        }
    }
}

template <class F>
void IncrementalPairing::ForEachBoardNear(const StickEnds& ends, F&& f) {
    const NearBuckets near(ends, boardBits_);
    for (size_t i = 0; i < near.count; ++i) {
        for (uint32_t id = boardHeads_[near.bucket[i]]; id != kNone; id = board_[id].next) {
            ++visits_;
            if (SameEnds(ends, board_[id].ends) && f(id)) {
                return;
            }
        }
    }
}

uint32_t IncrementalPairing::BoardBucket(const Point32& end) const {
    return BucketOfPoint(end, boardBits_);
}

uint32_t IncrementalPairing::FindBoardClass(const StickEnds& ends) const {
    for (uint32_t id = boardHeads_[BoardBucket(ends.tail)]; id != kNone; id = board_[id].next) {
        if (SameEndsExactly(board_[id].ends, ends)) {
            return id;
        }
    }
    return kNone;
}

uint32_t IncrementalPairing::NewBoardClass(const StickEnds& ends, const Match& match) {
    if (boardClassCount_ + 1 > boardHeads_.size()) {
        GrowBoardBuckets();
    }
    uint32_t id = freeBoard_;
    if (id != kNone) {
        freeBoard_ = board_[id].next;
    } else {
        id = static_cast<uint32_t>(board_.size());
        board_.emplace_back();
    }
    BoardClass& c = board_[id];
    c = BoardClass{};
    c.ends = ends;
    c.match = match;
    LinkBoardClass(id);
    ++boardClassCount_;
    return id;
}

void IncrementalPairing::LinkBoardClass(uint32_t id) {
    uint32_t& head = boardHeads_[BoardBucket(board_[id].ends.tail)];
    board_[id].next = head;
    head = id;
}

void IncrementalPairing::GrowBoardBuckets() {
    ++boardBits_;
    boardHeads_.assign(size_t{1} << boardBits_, kNone);
    for (uint32_t id = 0; id < board_.size(); ++id) {
        if (board_[id].count > 0) {
            LinkBoardClass(id);
        }
    }
}

void IncrementalPairing::DeleteBoardClass(uint32_t id) {
    uint32_t* link = &boardHeads_[BoardBucket(board_[id].ends.tail)];
    while (*link != id) {
        link = &board_[*link].next;
    }
    *link = board_[id].next;
    UpdateBoardSpare(id);  // a class without matches has none left over
    board_[id].next = freeBoard_;
    freeBoard_ = id;
    --boardClassCount_;
}

uint32_t IncrementalPairing::Units(uint32_t board, uint32_t reference) const {
    for (uint32_t e = board_[board].edges; e != kNone; e = edges_[e].next) {
        if (edges_[e].reference == reference) {
            return edges_[e].units;
        }
    }
    return 0;
}

void IncrementalPairing::AddFlow(uint32_t board, uint32_t reference, int delta) {
    uint32_t* link = &board_[board].edges;
    while (*link != kNone && edges_[*link].reference != reference) {
        link = &edges_[*link].next;
    }
    if (*link == kNone) {
        // Only a pair can be undone that was made: a new edge gains.
        uint32_t e = freeEdge_;
        if (e != kNone) {
            freeEdge_ = edges_[e].next;
        } else {
            e = static_cast<uint32_t>(edges_.size());
            edges_.emplace_back();
        }
        edges_[e] = Edge{reference, 0, board_[board].edges};
        board_[board].edges = e;
        link = &board_[board].edges;
    }
    const uint32_t e = *link;
    edges_[e].units = static_cast<uint32_t>(static_cast<int64_t>(edges_[e].units) + delta);
    board_[board].paired =
        static_cast<uint32_t>(static_cast<int64_t>(board_[board].paired) + delta);
    reference_[reference].paired =
        static_cast<uint32_t>(static_cast<int64_t>(reference_[reference].paired) + delta);
    if (edges_[e].units == 0) {
        *link = edges_[e].next;
        edges_[e].next = freeEdge_;
        freeEdge_ = e;
    }
}

namespace {

template <class Class>
void UpdateSpare(std::vector<Class>& classes, std::vector<uint32_t>& spare, uint32_t id,
                 uint32_t none) {
    Class& c = classes[id];
    const bool left = c.paired < c.count;
    if (left && c.sparePos == none) {
        c.sparePos = static_cast<uint32_t>(spare.size());
        spare.push_back(id);
    } else if (!left && c.sparePos != none) {
        const uint32_t last = spare.back();
        spare[c.sparePos] = last;
        classes[last].sparePos = c.sparePos;
        spare.pop_back();
        c.sparePos = none;
    }
}

}  // namespace

void IncrementalPairing::UpdateBoardSpare(uint32_t id) {
    UpdateSpare(board_, spareBoard_, id, kNone);
}

void IncrementalPairing::UpdateReferenceSpare(uint32_t id) {
    UpdateSpare(reference_, spareReference_, id, kNone);
}

void IncrementalPairing::NewSearch() {
    if (++stamp_ == 0) {
        // Four billion searches later: every mark is old, and 0 means none.
        for (ReferenceClass& r : reference_) {
            r.stamp = 0;
        }
        for (BoardClass& b : board_) {
            b.stamp = 0;
        }
        stamp_ = 1;
    }
}

bool IncrementalPairing::SearchFromBoard(uint32_t start) {
    // Breadth first through the residual network: from a board class to any
    // reference class it may pair with, from a reference class back to the
    // board classes paired with it, until a reference class has a match
    // left over.
    queue_.clear();
    queue_.push_back({start, kNone, true});
    board_[start].stamp = stamp_;
    for (uint32_t head = 0; head < queue_.size(); ++head) {
        const Step step = queue_[head];
        uint32_t found = kNone;
        if (step.board) {
            ForEachReferenceNear(board_[step.id].ends, [&](uint32_t r) {
                ReferenceClass& c = reference_[r];
                if (c.stamp == stamp_) {
                    return false;
                }
                c.stamp = stamp_;
                queue_.push_back({r, head, false});
                if (c.paired < c.count) {
                    found = static_cast<uint32_t>(queue_.size() - 1);
                    return true;
                }
                return false;
            });
        } else {
            ForEachBoardNear(reference_[step.id].ends, [&](uint32_t b) {
                if (board_[b].stamp == stamp_ || Units(b, step.id) == 0) {
                    return false;
                }
                board_[b].stamp = stamp_;
                queue_.push_back({b, head, true});
                return false;
            });
        }
        if (found != kNone) {
            Augment(found, Direction::FromBoard);
            return true;
        }
    }
    return false;
}

bool IncrementalPairing::SearchFromReference(uint32_t start) {
    // The same search backwards: from a reference class to every board class
    // that may pair with it, from a board class to the reference classes it
    // is paired with, until a board class has a match left over.
    queue_.clear();
    queue_.push_back({start, kNone, false});
    reference_[start].stamp = stamp_;
    for (uint32_t head = 0; head < queue_.size(); ++head) {
        const Step step = queue_[head];
        uint32_t found = kNone;
        if (!step.board) {
            ForEachBoardNear(reference_[step.id].ends, [&](uint32_t b) {
                BoardClass& c = board_[b];
                if (c.stamp == stamp_) {
                    return false;
                }
                c.stamp = stamp_;
                queue_.push_back({b, head, true});
                if (c.paired < c.count) {
                    found = static_cast<uint32_t>(queue_.size() - 1);
                    return true;
                }
                return false;
            });
        } else {
            for (uint32_t e = board_[step.id].edges; e != kNone; e = edges_[e].next) {
                ++visits_;
                ReferenceClass& c = reference_[edges_[e].reference];
                if (c.stamp != stamp_) {
                    c.stamp = stamp_;
                    queue_.push_back({edges_[e].reference, head, false});
                }
            }
        }
        if (found != kNone) {
            Augment(found, Direction::FromReference);
            return true;
        }
    }
    return false;
}

void IncrementalPairing::Augment(uint32_t found, Direction direction) {
    // Along the path one more pair between each board class and the
    // reference class after it, one fewer between each reference class and
    // the board class after it. Walked from its far end, a class gains
    // before it loses, so no count passes below zero.
    uint32_t i = found;
    while (queue_[i].parent != kNone) {
        const Step& child = queue_[i];
        const Step& parent = queue_[child.parent];
        const uint32_t b = child.board ? child.id : parent.id;
        const uint32_t r = child.board ? parent.id : child.id;
        const bool gains = direction == Direction::FromBoard ? !child.board : child.board;
        AddFlow(b, r, gains ? 1 : -1);
        i = child.parent;
    }
    ++pairs_;
    const Step& start = queue_[i];
    const Step& end = queue_[found];
    for (const Step* s : {&start, &end}) {
        if (s->board) {
            UpdateBoardSpare(s->id);
        } else {
            UpdateReferenceSpare(s->id);
        }
    }
}

void IncrementalPairing::Add(const Match& match) {
    const StickEnds ends = ClassEnds(match);
    uint32_t id = FindBoardClass(ends);
    if (id == kNone) {
        id = NewBoardClass(ends, match);
    }
    // A class that already had a match left over had no way to pair it, and
    // one more of the same finds none either.
    const bool hadSpare = board_[id].paired < board_[id].count;
    ++board_[id].count;
    ++boardCount_;
    UpdateBoardSpare(id);
    if (!hadSpare) {
        NewSearch();
        SearchFromBoard(id);
    }
}

bool IncrementalPairing::Remove(const Match& match) {
    const uint32_t id = FindBoardClass(ClassEnds(match));
    if (id == kNone) {
        return false;
    }
    --boardCount_;
    uint32_t freed = kNone;
    if (board_[id].paired == board_[id].count) {
        // Every match of the class was paired: one of the pairs goes.
        freed = edges_[board_[id].edges].reference;
        AddFlow(id, freed, -1);
        --pairs_;
    }
    --board_[id].count;
    if (board_[id].count == 0) {
        DeleteBoardClass(id);
    } else {
        UpdateBoardSpare(id);
    }
    if (freed != kNone) {
        UpdateReferenceSpare(freed);
        NewSearch();
        SearchFromReference(freed);
    }
    return true;
}

std::optional<Match> IncrementalPairing::UnpairedBoardMatch() const {
    if (spareBoard_.empty()) {
        return std::nullopt;
    }
    return board_[spareBoard_.front()].match;
}

std::optional<Match> IncrementalPairing::UnpairedReferenceMatch() const {
    if (spareReference_.empty()) {
        return std::nullopt;
    }
    return reference_[spareReference_.front()].match;
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "match_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace vorlo {

MatchList::MatchList(MatchList&& other) noexcept {
    *this = std::move(other);
}

MatchList& MatchList::operator=(MatchList&& other) noexcept {
    if (this != &other) {
        chunks_ = std::move(other.chunks_);
        lastChunkSize_ = std::exchange(other.lastChunkSize_, 0);
        lastChunkUsed_ = std::exchange(other.lastChunkUsed_, 0);
        free_ = std::exchange(other.free_, nullptr);
        head_ = std::exchange(other.head_, nullptr);
        tail_ = std::exchange(other.tail_, nullptr);
        count_ = std::exchange(other.count_, 0);
        nextOrder_ = std::exchange(other.nextOrder_, 1);
        grid_ = std::move(other.grid_);
        loose_ = std::move(other.loose_);
        gridBuilt_ = std::exchange(other.gridBuilt_, false);
        other.chunks_.clear();
        other.ForgetGrid();
    }
    return *this;
}

MatchList::MatchList(const MatchList& other) {
    *this = other;
}

MatchList& MatchList::operator=(const MatchList& other) {
    if (this != &other) {
        Clear();
        Reserve(other.count_);
        for (const CMatch& m : other) {
            Append(m);
        }
    }
    return *this;
}

void MatchList::Reserve(size_t count) {
    const size_t spare = lastChunkSize_ - lastChunkUsed_;
    if (count <= spare) {
        return;
    }
    const size_t size = std::max(count - spare, kMinChunk);
    // A fresh chunk replaces the spare tail of the last one; that tail is lost
    // to the list until Clear, which is at most one chunk's worth.
    chunks_.push_back(std::make_unique_for_overwrite<NodeStorage[]>(size));
    lastChunkSize_ = size;
    lastChunkUsed_ = 0;
}

static_assert(std::is_trivially_destructible_v<CMatch>, "chunks never run node destructors");

MatchList::Node* MatchList::Allocate() {
    if (free_ != nullptr) {
        return std::exchange(free_, free_->next);
    }
    if (lastChunkUsed_ == lastChunkSize_) {
        // Grow geometrically so that a long run of appends costs few allocations.
        const size_t size = std::max(kMinChunk, count_ / 2);
        chunks_.push_back(std::make_unique_for_overwrite<NodeStorage[]>(size));
        lastChunkSize_ = size;
        lastChunkUsed_ = 0;
    }
    return new (&chunks_.back()[lastChunkUsed_++]) Node;
}

MatchList::Ref MatchList::Append(const CMatch& match) {
    if (nextOrder_ == kLoose) {
        Renumber();
    }
    Node* node = Allocate();
    node->match = match;
    node->order = nextOrder_++;
    if (gridBuilt_) {
        node->order |= kLoose;
        loose_.push_back(node);
    }
    node->prev = tail_;
    node->next = nullptr;
    if (tail_ != nullptr) {
        tail_->next = node;
    } else {
        head_ = node;
    }
    tail_ = node;
    ++count_;
    return Ref(node);
}

void MatchList::Remove(Ref ref) {
    Node* node = ref.node_;
    if (node == nullptr) {
        return;
    }
    (node->prev != nullptr ? node->prev->next : head_) = node->next;
    (node->next != nullptr ? node->next->prev : tail_) = node->prev;
    node->order = 0;
    node->prev = nullptr;
    node->next = free_;
    free_ = node;
    --count_;
}

void MatchList::Clear() {
    chunks_.clear();
    lastChunkSize_ = lastChunkUsed_ = 0;
    free_ = head_ = tail_ = nullptr;
    count_ = 0;
    nextOrder_ = 1;
    ForgetGrid();
}

bool MatchList::Contains(Ref ref) const {
    for (Node* n = head_; n != nullptr; n = n->next) {
        if (n == ref.node_) {
            return true;
        }
    }
    return false;
}

std::vector<CMatch> MatchList::ToVector() const {
    std::vector<CMatch> out;
    out.reserve(count_);
    for (const CMatch& m : *this) {
        out.push_back(m);
    }
    return out;
}

void MatchList::Moved(Ref ref) {
    Node* node = ref.node_;
    if (gridBuilt_ && node != nullptr && node->order != 0 && (node->order & kLoose) == 0) {
        node->order |= kLoose;
        loose_.push_back(node);
    }
}

void MatchList::Renumber() {
    // Two billion appends to one list: number the elements afresh.
    ForgetGrid();
    uint32_t order = 1;
    for (Node* n = head_; n != nullptr; n = n->next) {
        n->order = order++;
    }
    nextOrder_ = order;
}

namespace {

constexpr int kCellShift = 8;  // 256-pixel cells
constexpr int64_t kCellBias = int64_t{1} << (31 - kCellShift);
// A list shorter than this is walked whole.
constexpr size_t kGridMinCount = 512;
// Loose elements are checked at every search; beyond this many the grid is
// built afresh.
constexpr size_t kLooseMax = 1024;

int64_t CellOf(int32_t v) {
    return (int64_t{v} >> kCellShift) + kCellBias;  // 0 .. 2^24 - 1
}

uint64_t CellKey(int64_t row, int64_t column) {
    return (static_cast<uint64_t>(row) << 32) | static_cast<uint64_t>(column);
}

bool InArea(const CMatch& m, const MatchList::Area& a) {
    return m.x >= a.left && m.x <= a.right && m.y >= a.top && m.y <= a.bottom;
}

}  // namespace

void MatchList::ForgetGrid() const {
    grid_.clear();
    grid_.shrink_to_fit();
    loose_.clear();
    gridBuilt_ = false;
}

void MatchList::BuildGrid() const {
    grid_.clear();
    grid_.reserve(count_);
    gridRows_[0] = gridColumns_[0] = INT64_MAX;
    gridRows_[1] = gridColumns_[1] = INT64_MIN;
    for (Node* n = head_; n != nullptr; n = n->next) {
        n->order &= ~kLoose;
        const int64_t row = CellOf(n->match.y);
        const int64_t column = CellOf(n->match.x);
        gridRows_[0] = std::min(gridRows_[0], row);
        gridRows_[1] = std::max(gridRows_[1], row);
        gridColumns_[0] = std::min(gridColumns_[0], column);
        gridColumns_[1] = std::max(gridColumns_[1], column);
        grid_.push_back(GridEntry{CellKey(row, column), n->order, n});
    }
    std::sort(grid_.begin(), grid_.end(), [](const GridEntry& a, const GridEntry& b) {
        return a.cell != b.cell ? a.cell < b.cell : a.order < b.order;
    });
    loose_.clear();
    gridBuilt_ = true;
}

bool MatchList::FindNear(std::span<const Area> areas, std::vector<Ref>& out) const {
    if (count_ < kGridMinCount) {
        return false;
    }
    if (!gridBuilt_ || loose_.size() > std::max(kLooseMax, count_ / 16)) {
        BuildGrid();
    }
    // Each row of cells costs a binary search: beyond a cell per few elements
    // the list is walked whole. So it is when the areas cover much of where
    // the elements lie, since a walk needs no sorting.
    double cells = 0;
    double covered = 0;
    for (const Area& a : areas) {
        if (a.left <= a.right && a.top <= a.bottom) {
            const int64_t c0 = CellOf(a.left), c1 = CellOf(a.right);
            const int64_t r0 = CellOf(a.top), r1 = CellOf(a.bottom);
            cells += double(c1 - c0 + 1) * double(r1 - r0 + 1);
            const int64_t cw = std::min(c1, gridColumns_[1]) - std::max(c0, gridColumns_[0]) + 1;
            const int64_t rh = std::min(r1, gridRows_[1]) - std::max(r0, gridRows_[0]) + 1;
            if (cw > 0 && rh > 0) {
                covered += double(cw) * double(rh);
            }
        }
    }
    const double spanned =
        double(gridColumns_[1] - gridColumns_[0] + 1) * double(gridRows_[1] - gridRows_[0] + 1);
    if (cells > static_cast<double>(count_) / 4 || covered * 4 > spanned) {
        return false;
    }
    CollectNear(areas, out);
#ifndef NDEBUG
    // Every search checks itself against the records in debug builds, so a
    // position changed without Moved() shows in the tests.
    std::vector<Ref> walked;
    for (Node* n = head_; n != nullptr; n = n->next) {
        for (const Area& a : areas) {
            if (InArea(n->match, a)) {
                walked.push_back(Ref(n));
                break;
            }
        }
    }
    if (walked != out) {
        std::fprintf(stderr, "MatchList: a position changed without Moved()\n");
        std::abort();
    }
#endif
    return true;
}

void MatchList::CollectNear(std::span<const Area> areas, std::vector<Ref>& out) const {
    scratch_.clear();
    for (const Area& a : areas) {
        if (a.left > a.right || a.top > a.bottom) {
            continue;
        }
        const int64_t column0 = CellOf(a.left);
        const int64_t column1 = CellOf(a.right);
        for (int64_t row = CellOf(a.top); row <= CellOf(a.bottom); ++row) {
            const uint64_t first = CellKey(row, column0);
            const uint64_t last = CellKey(row, column1);
            auto it =
                std::lower_bound(grid_.begin(), grid_.end(), first,
                                 [](const GridEntry& e, uint64_t key) { return e.cell < key; });
            for (; it != grid_.end() && it->cell <= last; ++it) {
                // A node whose order changed was removed, reused or moved.
                if (it->node->order == it->order && InArea(it->node->match, a)) {
                    scratch_.emplace_back(it->order, it->node);
                }
            }
        }
        for (Node* n : loose_) {
            if ((n->order & kLoose) != 0 && InArea(n->match, a)) {
                scratch_.emplace_back(n->order & ~kLoose, n);
            }
        }
    }
    std::sort(scratch_.begin(), scratch_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    out.clear();
    for (size_t i = 0; i < scratch_.size(); ++i) {
        if (i == 0 || scratch_[i].first != scratch_[i - 1].first) {
            out.push_back(Ref(scratch_[i].second));
        }
    }
}

bool operator==(const MatchList& a, const MatchList& b) {
    return a.count_ == b.count_ && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ordered matches of a riddle. Order is meaningful: it is the order of the
// file, new matches go to the end, drawing runs first to last (later matches
// lie on top) and hit testing last to first.
//
// A Ref names one element and stays valid until that element is removed or the
// list is cleared, whatever else is appended or removed meanwhile. Elements
// live in fixed-size chunks, so appending never moves one and a riddle that
// was read from a file lies in memory in file order.
//
// FindNear finds the elements lying in a part of the board without walking
// the whole list: a grid of 256-pixel cells, built on the first search and
// kept up to date from then on. The records stay the only truth: the grid
// only narrows the search, every element it offers is checked against its
// current position, and an element whose position changed (Moved) or that
// was appended since the grid was built is checked wherever it lies.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "match.h"

namespace vorlo {

class MatchList {
    struct Node {
        CMatch match;
        // Position in the list, growing from first to last (0: removed), and
        // kLoose when the grid does not know where the element lies.
        uint32_t order = 0;
        Node* prev = nullptr;
        Node* next = nullptr;
    };

public:
    // A nullable reference to one element.
    class Ref {
    public:
        Ref() = default;
        explicit operator bool() const { return node_ != nullptr; }
        CMatch& operator*() const { return node_->match; }
        CMatch* operator->() const { return &node_->match; }
        Ref Next() const { return Ref(node_->next); }
        Ref Previous() const { return Ref(node_->prev); }
        friend bool operator==(const Ref&, const Ref&) = default;

    private:
        friend class MatchList;
        explicit Ref(Node* node) : node_(node) {}
        Node* node_ = nullptr;
    };

    template <bool Reverse>
    class Iter {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = CMatch;
        using difference_type = std::ptrdiff_t;
        using pointer = CMatch*;
        using reference = CMatch&;

        Iter() = default;
        CMatch& operator*() const { return node_->match; }
        CMatch* operator->() const { return &node_->match; }
        Iter& operator++() {
            node_ = Reverse ? node_->prev : node_->next;
            return *this;
        }
        Iter operator++(int) {
            Iter old = *this;
            ++*this;
            return old;
        }
        Ref ref() const { return Ref(node_); }
        friend bool operator==(const Iter&, const Iter&) = default;

    private:
        friend class MatchList;
        explicit Iter(Node* node) : node_(node) {}
        Node* node_ = nullptr;
    };
    using iterator = Iter<false>;
    using reverse_iterator = Iter<true>;

    MatchList() = default;
    MatchList(MatchList&& other) noexcept;
    MatchList& operator=(MatchList&& other) noexcept;
    MatchList(const MatchList& other);
    MatchList& operator=(const MatchList& other);
    ~MatchList() = default;

    Ref Append(const CMatch& match);
    void Remove(Ref ref);
    void Clear();
    // Makes room for `count` more elements without moving any.
    void Reserve(size_t count);

    Ref First() const { return Ref(head_); }
    Ref Last() const { return Ref(tail_); }
    size_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    // Whether `ref` names an element of this list (linear; for checks and tests).
    bool Contains(Ref ref) const;

    // Must follow every change of an element's x or y (its angle does not
    // matter here), before the list is searched again.
    void Moved(Ref ref);

    // A part of the board, corners included.
    struct Area {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
    };
    // Replaces `out` with the elements whose (x, y) lies in one of `areas`
    // (plain comparisons, no wrapping), in list order, each once. Returns
    // false, leaving `out` alone, when walking the whole list is as cheap (a
    // short list, areas covering much of the board); the caller then walks it.
    // Not to be called on one list from two threads at once.
    bool FindNear(std::span<const Area> areas, std::vector<Ref>& out) const;

    iterator begin() const { return iterator(head_); }
    iterator end() const { return iterator(nullptr); }
    reverse_iterator rbegin() const { return reverse_iterator(tail_); }
    reverse_iterator rend() const { return reverse_iterator(nullptr); }

    std::vector<CMatch> ToVector() const;
    friend bool operator==(const MatchList& a, const MatchList& b);

private:
    Node* Allocate();
    void Renumber();
    void ForgetGrid() const;
    void BuildGrid() const;
    void CollectNear(std::span<const Area> areas, std::vector<Ref>& out) const;

    static constexpr uint32_t kLoose = uint32_t{1} << 31;
    struct GridEntry {
        uint64_t cell;   // row, then column: one row's cells lie together
        uint32_t order;  // the element's order when it was filed
        Node* node;
    };
    // Sorted by cell, then order. Entries whose node's order no longer
    // matches are stale (removed, reused, or moved and now loose).
    mutable std::vector<GridEntry> grid_;
    // Elements appended or moved since the grid was built; may hold stale
    // and repeated pointers, which their order tells apart.
    mutable std::vector<Node*> loose_;
    mutable bool gridBuilt_ = false;
    // The cells that the grid's entries span, rows and columns.
    mutable int64_t gridRows_[2] = {0, 0};
    mutable int64_t gridColumns_[2] = {0, 0};
    mutable std::vector<std::pair<uint32_t, Node*>> scratch_;
    uint32_t nextOrder_ = 1;

    static constexpr size_t kMinChunk = 64;
    // Raw storage: a node is constructed when it is first handed out, so a
    // large chunk is not written twice (once when made, once when filled).
    struct alignas(Node) NodeStorage {
        unsigned char bytes[sizeof(Node)];
    };
    std::vector<std::unique_ptr<NodeStorage[]>> chunks_;
    size_t lastChunkSize_ = 0;
    size_t lastChunkUsed_ = 0;
    Node* free_ = nullptr;  // removed nodes, linked through `next`
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    size_t count_ = 0;
};

}  // namespace vorlo

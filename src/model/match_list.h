#pragma once

// The ordered matches of a riddle. Order is meaningful: it is the order of the
// file, new matches go to the end, drawing runs first to last (later matches
// lie on top) and hit testing last to first.
//
// A Ref names one element and stays valid until that element is removed or the
// list is cleared, whatever else is appended or removed meanwhile. Elements
// live in fixed-size chunks, so appending never moves one and a riddle that
// was read from a file lies in memory in file order.

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "match.h"

namespace vorlo {

class MatchList {
    struct Node {
        CMatch match;
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

    iterator begin() const { return iterator(head_); }
    iterator end() const { return iterator(nullptr); }
    reverse_iterator rbegin() const { return reverse_iterator(tail_); }
    reverse_iterator rend() const { return reverse_iterator(nullptr); }

    std::vector<CMatch> ToVector() const;
    friend bool operator==(const MatchList& a, const MatchList& b);

private:
    Node* Allocate();

    static constexpr size_t kMinChunk = 64;
    std::vector<std::unique_ptr<Node[]>> chunks_;
    size_t lastChunkSize_ = 0;
    size_t lastChunkUsed_ = 0;
    Node* free_ = nullptr;  // removed nodes, linked through `next`
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    size_t count_ = 0;
};

}  // namespace vorlo

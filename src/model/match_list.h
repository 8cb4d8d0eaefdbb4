// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ordered matches of a riddle. Order is meaningful: it is the order of the
// file, new matches go to the end, drawing runs first to last (later matches
// lie on top) and hit testing last to first.
//
// The records lie in one array of 12-byte Match, in list order: a riddle read
// from a file is its records section, read in one piece. A Ref names a slot of
// that array and stays valid until its element is removed or the list is
// cleared, whatever else is appended or removed meanwhile. Removing marks the
// slot (the marks are allocated with the first removal, a bit per slot); a
// removed slot at the end of the array is given back at once, one in the
// middle when the list is copied or cleared, since a Ref to any element after
// it may be held anywhere.
//
// FindNear finds the elements lying in a part of the board without walking
// the whole list: an index of 256-pixel cells hashed into buckets, made by a
// counting sort on the first local search that needs it and kept up to date
// from then on. The records stay the only truth: the index only narrows the
// search, every element it offers is checked against its current position,
// and an element whose position changed (Moved) or that was appended since
// the index was made is checked wherever it lies.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "match.h"

namespace vorlo {

class MatchList {
    static constexpr uint32_t kNone = UINT32_MAX;

    struct Store {
        Store() = default;
        Store(const Store&) = delete;
        Store& operator=(const Store&) = delete;
        ~Store();

        bool IsRemoved(uint32_t slot) const {
            return removed != 0 && ((marks[slot >> 6] >> (slot & 63)) & 1) != 0;
        }
        // The live slot after / before `slot`, kNone when there is none.
        uint32_t NextLive(uint32_t slot) const {
            ++slot;
            while (slot < size && IsRemoved(slot)) {
                ++slot;
            }
            return slot < size ? slot : kNone;
        }
        uint32_t PreviousLive(uint32_t slot) const {
            while (slot-- > 0) {
                if (!IsRemoved(slot)) {
                    return slot;
                }
            }
            return kNone;
        }

        Match* data = nullptr;  // `capacity` slots, the first `size` in use
        uint32_t size = 0;
        uint32_t capacity = 0;
        uint32_t removed = 0;         // slots below `size` that are marked
        std::vector<uint64_t> marks;  // a bit per slot; empty while none is removed
        size_t live = 0;

        // The index (see FindNear).
        bool indexed = false;
        unsigned bucketBits = 0;
        std::vector<uint32_t> bucketStart;  // 2^bucketBits + 1 offsets into bucketSlots
        std::vector<uint32_t> bucketSlots;  // slots, by bucket, ascending in each
        std::vector<uint32_t> loose;        // slots appended or moved since it was made
        std::vector<uint32_t> scratch;
        // Where the elements' points lie (or lay: it only grows until Clear).
        bool boxKnown = false;
        int32_t box[4] = {0, 0, 0, 0};  // left, top, right, bottom
    };

public:
    // A nullable reference to one element.
    class Ref {
    public:
        Ref() = default;
        explicit operator bool() const { return store_ != nullptr; }
        Match& operator*() const { return store_->data[slot_]; }
        Match* operator->() const { return &store_->data[slot_]; }
        Ref Next() const { return At(store_, store_->NextLive(slot_)); }
        Ref Previous() const { return At(store_, store_->PreviousLive(slot_)); }
        // The element's place in the array: its position in the list while
        // nothing before it was removed.
        uint32_t Slot() const { return slot_; }
        friend bool operator==(const Ref&, const Ref&) = default;

    private:
        friend class MatchList;
        Ref(Store* store, uint32_t slot) : store_(store), slot_(slot) {}
        static Ref At(Store* store, uint32_t slot) {
            return slot == kNone ? Ref() : Ref(store, slot);
        }
        Store* store_ = nullptr;
        uint32_t slot_ = kNone;
    };

    template <bool Reverse>
    class Iter {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Match;
        using difference_type = std::ptrdiff_t;
        using pointer = Match*;
        using reference = Match&;

        Iter() = default;
        Match& operator*() const { return store_->data[slot_]; }
        Match* operator->() const { return &store_->data[slot_]; }
        Iter& operator++() {
            slot_ = Reverse ? store_->PreviousLive(slot_) : store_->NextLive(slot_);
            return *this;
        }
        Iter operator++(int) {
            Iter old = *this;
            ++*this;
            return old;
        }
        Ref ref() const { return Ref::At(store_, slot_); }
        friend bool operator==(const Iter&, const Iter&) = default;

    private:
        friend class MatchList;
        Iter(Store* store, uint32_t slot) : store_(store), slot_(slot) {}
        Store* store_ = nullptr;
        uint32_t slot_ = kNone;
    };
    using iterator = Iter<false>;
    using reverse_iterator = Iter<true>;

    MatchList() = default;
    MatchList(MatchList&& other) noexcept = default;
    MatchList& operator=(MatchList&& other) noexcept = default;
    MatchList(const MatchList& other);
    MatchList& operator=(const MatchList& other);
    ~MatchList() = default;

    Ref Append(const Match& match);
    // Appends `count` elements whose records the caller writes into the span
    // before the list is used again (a reader fills them straight from a file).
    std::span<Match> AppendUnfilled(size_t count);
    void Remove(Ref ref);
    void Clear();
    // Makes room for `count` more elements, so that appending them allocates nothing.
    void Reserve(size_t count);

    Ref First() const { return store_ ? Ref::At(store_.get(), FirstSlot()) : Ref(); }
    Ref Last() const { return store_ ? Ref::At(store_.get(), LastSlot()) : Ref(); }
    size_t Count() const { return store_ ? store_->live : 0; }
    bool IsEmpty() const { return Count() == 0; }
    // Whether `ref` names an element of this list.
    bool Contains(Ref ref) const;
    // The element in `slot` (see Ref::Slot); none when the slot is empty.
    Ref AtSlot(uint32_t slot) const {
        return store_ && slot < store_->size && !store_->IsRemoved(slot) ? Ref(store_.get(), slot)
                                                                         : Ref();
    }
    // Whether no element was removed since the list was filled or copied,
    // so that every element's slot is its position.
    bool Dense() const { return !store_ || store_->removed == 0; }

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
    enum class IndexUse {
        BuildWhenNeeded,  // a search that answers the user (hit test, snapping)
        OnlyIfBuilt,      // a paint: walking is cheap enough to never wait for the index
    };
    // Replaces `out` with the elements whose (x, y) lies in one of `areas`
    // (plain comparisons, no wrapping), in list order, each once. Returns
    // false, leaving `out` alone, when walking the whole list is as cheap (a
    // short list, areas covering much of where the elements lie) or, with
    // OnlyIfBuilt, when no index is at hand; the caller then walks it.
    // Not to be called on one list from two threads at once.
    bool FindNear(std::span<const Area> areas, std::vector<Ref>& out,
                  IndexUse use = IndexUse::BuildWhenNeeded) const;
    // Whether FindNear has an index at hand (for tests and benchmarks).
    bool HasIndex() const { return store_ && store_->indexed; }

    iterator begin() const { return store_ ? iterator(store_.get(), FirstSlot()) : iterator(); }
    iterator end() const { return iterator(store_.get(), kNone); }
    reverse_iterator rbegin() const {
        return store_ ? reverse_iterator(store_.get(), LastSlot()) : reverse_iterator();
    }
    reverse_iterator rend() const { return reverse_iterator(store_.get(), kNone); }

    std::vector<Match> ToVector() const;
    friend bool operator==(const MatchList& a, const MatchList& b);

private:
    uint32_t FirstSlot() const {
        return store_->size == 0 ? kNone : store_->IsRemoved(0) ? store_->NextLive(0) : 0;
    }
    uint32_t LastSlot() const { return store_->size == 0 ? kNone : store_->size - 1; }
    Store& Own();
    void Grow(size_t slots);
    void ForgetIndex() const;
    void BuildIndex() const;
    void FindBox() const;
    void CollectNear(std::span<const Area> areas, std::vector<Ref>& out) const;

    // On the heap, so that a Ref stays valid when the list is moved.
    std::unique_ptr<Store> store_;
};

}  // namespace vorlo

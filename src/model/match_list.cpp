#include "match_list.h"

#include <algorithm>
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
        other.chunks_.clear();
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
    chunks_.push_back(std::make_unique_for_overwrite<Node[]>(size));
    lastChunkSize_ = size;
    lastChunkUsed_ = 0;
}

MatchList::Node* MatchList::Allocate() {
    if (free_ != nullptr) {
        return std::exchange(free_, free_->next);
    }
    if (lastChunkUsed_ == lastChunkSize_) {
        // Grow geometrically so that a long run of appends costs few allocations.
        const size_t size = std::max(kMinChunk, count_ / 2);
        chunks_.push_back(std::make_unique_for_overwrite<Node[]>(size));
        lastChunkSize_ = size;
        lastChunkUsed_ = 0;
    }
    return &chunks_.back()[lastChunkUsed_++];
}

MatchList::Ref MatchList::Append(const CMatch& match) {
    Node* node = Allocate();
    node->match = match;
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

bool operator==(const MatchList& a, const MatchList& b) {
    return a.count_ == b.count_ && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "match_list.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace vorlo {

// The records are copied and filled as bytes (a file's records section is
// read straight into the array).
static_assert(std::is_trivially_copyable_v<Match> && std::is_trivially_destructible_v<Match>);
static_assert(sizeof(Match) == 12, "one record is 12 bytes, in memory as in the file");

MatchList::Store::~Store() {
    ::operator delete(data);
}

MatchList::MatchList(const MatchList& other) {
    *this = other;
}

MatchList& MatchList::operator=(const MatchList& other) {
    if (this != &other) {
        Clear();
        const size_t count = other.Count();
        if (count == 0) {
            return *this;
        }
        // The copy holds the live elements only, removed slots left out.
        const std::span<Match> to = AppendUnfilled(count);
        if (other.store_->removed == 0) {
            std::memcpy(to.data(), other.store_->data, count * sizeof(Match));
        } else {
            std::copy(other.begin(), other.end(), to.begin());
        }
    }
    return *this;
}

MatchList::Store& MatchList::Own() {
    if (!store_) {
        store_ = std::make_unique<Store>();
    }
    return *store_;
}

void MatchList::Grow(size_t slots) {
    Store& s = Own();
    // Slots are numbered in 32 bits, kNone excluded.
    if (slots >= kNone) {
        throw std::length_error("MatchList: too many elements");
    }
    if (slots <= s.capacity) {
        return;
    }
    // Raw storage: slots are written once, when they are filled.
    auto* data = static_cast<Match*>(::operator new(slots * sizeof(Match)));
    if (s.size != 0) {
        std::memcpy(static_cast<void*>(data), s.data, size_t{s.size} * sizeof(Match));
    }
    ::operator delete(s.data);
    s.data = data;
    s.capacity = static_cast<uint32_t>(slots);
}

void MatchList::Reserve(size_t count) {
    const size_t size = store_ ? store_->size : 0;
    if (count > size_t{kNone} - size) {
        throw std::length_error("MatchList: too many elements");
    }
    Grow(size + count);
}

MatchList::Ref MatchList::Append(const Match& match) {
    Store& s = Own();
    if (s.size == s.capacity) {
        // Geometric growth: a long run of appends costs few copies.
        Grow(std::max<size_t>(
            64, size_t{s.capacity} * 2 < kNone ? size_t{s.capacity} * 2 : size_t{kNone} - 1));
    }
    const uint32_t slot = s.size++;
    s.data[slot] = match;
    ++s.live;
    if (s.removed != 0 && s.marks.size() * 64 < s.size) {
        s.marks.resize((s.size + 63) / 64, 0);
    }
    if (s.boxKnown) {
        s.box[0] = std::min(s.box[0], match.x);
        s.box[1] = std::min(s.box[1], match.y);
        s.box[2] = std::max(s.box[2], match.x);
        s.box[3] = std::max(s.box[3], match.y);
    }
    if (s.indexed) {
        s.loose.push_back(slot);
    }
    return Ref(&s, slot);
}

std::span<Match> MatchList::AppendUnfilled(size_t count) {
    Reserve(count);
    Store& s = *store_;
    const uint32_t first = s.size;
    s.size += static_cast<uint32_t>(count);
    s.live += count;
    if (s.removed != 0) {
        s.marks.resize((s.size + 63) / 64, 0);
    }
    ForgetIndex();
    s.boxKnown = false;
    return std::span<Match>(s.data + first, count);
}

void MatchList::Remove(Ref ref) {
    if (!ref) {
        return;
    }
    Store& s = *ref.store_;
    if (s.marks.empty()) {
        s.marks.assign((s.size + 63) / 64, 0);
    }
    s.marks[ref.slot_ >> 6] |= uint64_t{1} << (ref.slot_ & 63);
    ++s.removed;
    --s.live;
    // Removed slots at the end are given back: no Ref can name them any more.
    while (s.size != 0 && s.IsRemoved(s.size - 1)) {
        --s.size;
        s.marks[s.size >> 6] &= ~(uint64_t{1} << (s.size & 63));
        --s.removed;
    }
    if (s.removed == 0) {
        s.marks = {};
    }
}

void MatchList::Clear() {
    if (!store_) {
        return;
    }
    Store& s = *store_;
    ::operator delete(s.data);
    s.data = nullptr;
    s.size = s.capacity = s.removed = 0;
    s.marks = {};
    s.live = 0;
    s.boxKnown = false;
    ForgetIndex();
}

bool MatchList::Contains(Ref ref) const {
    return ref && ref.store_ == store_.get() && ref.slot_ < store_->size &&
           !store_->IsRemoved(ref.slot_);
}

std::vector<Match> MatchList::ToVector() const {
    if (store_ && store_->removed == 0) {
        return std::vector<Match>(store_->data, store_->data + store_->size);
    }
    return std::vector<Match>(begin(), end());
}

void MatchList::Moved(Ref ref) {
    if (!ref) {
        return;
    }
    Store& s = *ref.store_;
    const Match& m = s.data[ref.slot_];
    if (s.boxKnown) {
        s.box[0] = std::min(s.box[0], m.x);
        s.box[1] = std::min(s.box[1], m.y);
        s.box[2] = std::max(s.box[2], m.x);
        s.box[3] = std::max(s.box[3], m.y);
    }
    // A drag moves one element many times in a row: file it once.
    if (s.indexed && (s.loose.empty() || s.loose.back() != ref.slot_)) {
        s.loose.push_back(ref.slot_);
    }
}

namespace {

constexpr int kCellShift = 8;  // 256-pixel cells
// A list shorter than this is walked whole.
constexpr size_t kIndexMinCount = 512;
// Loose elements are checked at every search; beyond this many the index is
// made afresh.
constexpr size_t kLooseMax = 1024;
// Searches of at most this many cells are always local.
constexpr double kFewCells = 16;

int64_t CellOf(int32_t v) {
    return int64_t{v} >> kCellShift;
}

// The bucket of a cell: the cells of a board hash evenly over the buckets,
// whatever their coordinates (the plane's far corners included).
uint32_t BucketOf(int64_t row, int64_t column, unsigned bits) {
    const uint64_t key =
        (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(column);
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits));
}

uint32_t BucketOf(const Match& m, unsigned bits) {
    return BucketOf(CellOf(m.y), CellOf(m.x), bits);
}

bool InArea(const Match& m, const MatchList::Area& a) {
    return m.x >= a.left && m.x <= a.right && m.y >= a.top && m.y <= a.bottom;
}

}  // namespace

void MatchList::ForgetIndex() const {
    if (!store_) {
        return;
    }
    Store& s = *store_;
    s.indexed = false;
    s.bucketStart = {};
    s.bucketSlots = {};
    s.loose = {};
    s.scratch = {};
}

void MatchList::FindBox() const {
    Store& s = *store_;
    s.box[0] = s.box[1] = INT32_MAX;
    s.box[2] = s.box[3] = INT32_MIN;
    for (const Match& m : *this) {
        s.box[0] = std::min(s.box[0], m.x);
        s.box[1] = std::min(s.box[1], m.y);
        s.box[2] = std::max(s.box[2], m.x);
        s.box[3] = std::max(s.box[3], m.y);
    }
    s.boxKnown = true;
}

// A counting sort of the live slots by bucket, into two flat arrays: about
// half as many buckets as elements, so at most 6 bytes per element.
void MatchList::BuildIndex() const {
    Store& s = *store_;
    const unsigned bits =
        static_cast<unsigned>(std::bit_width(std::max<size_t>(s.live / 2, 2))) - 1;
    const size_t buckets = size_t{1} << bits;
    s.bucketBits = bits;
    s.bucketStart.assign(buckets + 1, 0);
    s.bucketSlots.resize(s.live);
    // The box comes along, as a search made the index before it knew it.
    int32_t box[4] = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (uint32_t slot = 0; slot < s.size; ++slot) {
        if (!s.IsRemoved(slot)) {
            const Match& m = s.data[slot];
            ++s.bucketStart[BucketOf(m, bits)];
            box[0] = std::min(box[0], m.x);
            box[1] = std::min(box[1], m.y);
            box[2] = std::max(box[2], m.x);
            box[3] = std::max(box[3], m.y);
        }
    }
    std::copy(box, box + 4, s.box);
    s.boxKnown = true;
    uint32_t end = 0;
    for (size_t b = 0; b < buckets; ++b) {
        end += s.bucketStart[b];
        s.bucketStart[b] = end;
    }
    s.bucketStart[buckets] = end;
    // Filled back to front, so each bucket ends up ascending and its start
    // where its count ended.
    for (uint32_t slot = s.size; slot-- > 0;) {
        if (!s.IsRemoved(slot)) {
            s.bucketSlots[--s.bucketStart[BucketOf(s.data[slot], bits)]] = slot;
        }
    }
    s.loose.clear();
    s.indexed = true;
}

bool MatchList::FindNear(std::span<const Area> areas, std::vector<Ref>& out, IndexUse use) const {
    const size_t count = Count();
    if (count < kIndexMinCount || (use == IndexUse::OnlyIfBuilt && !store_->indexed)) {
        return false;
    }
    // A search of a few cells (a hit test, snapping) is local wherever the
    // elements lie: the index it makes finds their box on the way.
    double areaCells = 0;
    for (const Area& a : areas) {
        if (a.left <= a.right && a.top <= a.bottom) {
            areaCells += double(CellOf(a.right) - CellOf(a.left) + 1) *
                         double(CellOf(a.bottom) - CellOf(a.top) + 1);
        }
    }
    if (!store_->boxKnown) {
        if (areaCells <= kFewCells) {
            BuildIndex();
        } else {
            FindBox();
        }
    }
    // Each cell costs a look at a bucket: beyond a cell per few elements the
    // list is walked whole. So it is when the areas cover much of where the
    // elements lie, since a walk needs no sorting.
    const int32_t* box = store_->box;
    const int64_t boxColumns[2] = {CellOf(box[0]), CellOf(box[2])};
    const int64_t boxRows[2] = {CellOf(box[1]), CellOf(box[3])};
    double cells = 0;
    double covered = 0;
    for (const Area& a : areas) {
        if (a.left <= a.right && a.top <= a.bottom) {
            const int64_t c0 = CellOf(a.left), c1 = CellOf(a.right);
            const int64_t r0 = CellOf(a.top), r1 = CellOf(a.bottom);
            cells += double(c1 - c0 + 1) * double(r1 - r0 + 1);
            const int64_t cw = std::min(c1, boxColumns[1]) - std::max(c0, boxColumns[0]) + 1;
            const int64_t rh = std::min(r1, boxRows[1]) - std::max(r0, boxRows[0]) + 1;
            if (cw > 0 && rh > 0) {
                covered += double(cw) * double(rh);
            }
        }
    }
    const double spanned =
        double(boxColumns[1] - boxColumns[0] + 1) * double(boxRows[1] - boxRows[0] + 1);
    if (cells > static_cast<double>(count) / 4 || covered * 4 > spanned) {
        return false;
    }
    if (!store_->indexed || store_->loose.size() > std::max(kLooseMax, count / 16)) {
        BuildIndex();
    }
    CollectNear(areas, out);
#ifndef NDEBUG
    // Every search checks itself against the records in debug builds, so a
    // position changed without Moved() shows in the tests.
    std::vector<Ref> walked;
    for (auto it = begin(); it != end(); ++it) {
        for (const Area& a : areas) {
            if (InArea(*it, a)) {
                walked.push_back(it.ref());
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
    Store& s = *store_;
    // Buckets may hold slots given back since (beyond the end, or removed and
    // reused) and elements that moved away: the records decide.
    auto offer = [&s](uint32_t slot, const Area& a) {
        if (slot < s.size && !s.IsRemoved(slot) && InArea(s.data[slot], a)) {
            s.scratch.push_back(slot);
        }
    };
    s.scratch.clear();
    for (const Area& a : areas) {
        if (a.left > a.right || a.top > a.bottom) {
            continue;
        }
        for (int64_t row = CellOf(a.top); row <= CellOf(a.bottom); ++row) {
            for (int64_t column = CellOf(a.left); column <= CellOf(a.right); ++column) {
                const uint32_t b = BucketOf(row, column, s.bucketBits);
                for (uint32_t i = s.bucketStart[b]; i < s.bucketStart[b + 1]; ++i) {
                    offer(s.bucketSlots[i], a);
                }
            }
        }
        for (const uint32_t slot : s.loose) {
            offer(slot, a);
        }
    }
    // Cells sharing a bucket, overlapping areas and loose elements still
    // filed where they lay may name a slot twice.
    std::sort(s.scratch.begin(), s.scratch.end());
    s.scratch.erase(std::unique(s.scratch.begin(), s.scratch.end()), s.scratch.end());
    out.clear();
    for (const uint32_t slot : s.scratch) {
        out.push_back(Ref(&s, slot));
    }
}

bool operator==(const MatchList& a, const MatchList& b) {
    return a.Count() == b.Count() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace vorlo

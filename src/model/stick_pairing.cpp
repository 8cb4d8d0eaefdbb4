// SPDX-License-Identifier: GPL-3.0-or-later
#include "stick_pairing.h"

#include <algorithm>
#include <limits>

#include "snapping.h"

namespace vorlo {

namespace {

// A cell is at least as wide as the tolerance, so a point within tolerance
// of another lies in the same cell or a neighbouring one.
constexpr int64_t kCellSide = kSameStickTolerance;
static_assert(kCellSide >= kSameStickTolerance);

int64_t CellOf(int32_t v) {
    // Floor division, so that -1 and 0 fall into different cells.
    const int64_t w = v;
    return w >= 0 ? w / kCellSide : -((-w + kCellSide - 1) / kCellSide);
}

uint64_t CellKey(int64_t column, int64_t row) {
    // Cells of 32-bit coordinates fit in 31 bits each (with one to spare for
    // the neighbours of the outermost cells).
    constexpr int64_t kBias = int64_t{1} << 30;
    return (static_cast<uint64_t>(row + kBias) << 32) | static_cast<uint64_t>(column + kBias);
}

bool Near(const Point32& a, const Point32& b) {
    const int64_t dx = int64_t{a.x} - b.x;
    const int64_t dy = int64_t{a.y} - b.y;
    return dx * dx + dy * dy <= int64_t{kSameStickTolerance} * kSameStickTolerance;
}

}  // namespace

bool SameEnds(const StickEnds& a, const StickEnds& b) {
    return (Near(a.tail, b.tail) && Near(a.head, b.head)) ||
           (Near(a.tail, b.head) && Near(a.head, b.tail));
}

StickEnds EndsOf(const Match& match) {
    return {{match.x, match.y}, HeadTip(match)};
}

bool SameStick(const Match& a, const Match& b) {
    return SameEnds(EndsOf(a), EndsOf(b));
}

namespace {

// Row first, as the cell keys run: the classes of a layout come in the order
// of its cells, so their look-ups walk the other layout's table forwards.
bool Before(const Point32& a, const Point32& b) {
    return a.y < b.y || (a.y == b.y && a.x < b.x);
}

// The ends with the lower one first: a match laid the other way round on
// another has the same ends, and SameEnds does not tell the two apart.
StickEnds Unordered(const StickEnds& ends) {
    return Before(ends.head, ends.tail) ? StickEnds{ends.head, ends.tail} : ends;
}

bool Before(const StickEnds& a, const StickEnds& b) {
    return Before(a.tail, b.tail) || (a.tail == b.tail && Before(a.head, b.head));
}

struct Classed {
    StickEnds ends;
    uint32_t position;
};

// The matches with their unordered ends, sorted so that each class of equal
// ends lies together, in layout order.
template <class Matches>
std::vector<Classed> SortedByEnds(const Matches& matches, size_t count) {
    std::vector<Classed> sorted;
    sorted.reserve(count);
    uint32_t position = 0;
    for (const Match& match : matches) {
        sorted.push_back({Unordered(EndsOf(match)), position++});
    }
    std::sort(sorted.begin(), sorted.end(), [](const Classed& a, const Classed& b) {
        return Before(a.ends, b.ends) || (!Before(b.ends, a.ends) && a.position < b.position);
    });
    return sorted;
}

bool SameEndsExactly(const StickEnds& a, const StickEnds& b) {
    return a.tail == b.tail && a.head == b.head;
}

}  // namespace

StickIndex::StickIndex(const MatchList& matches) {
    Build(matches, matches.Count());
}

StickIndex::StickIndex(const std::vector<Match>& matches) {
    Build(matches, matches.size());
}

template <class Matches>
void StickIndex::Build(const Matches& matches, size_t count) {
    count_ = count;
    const std::vector<Classed> sorted = SortedByEnds(matches, count);
    members_.reserve(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || !SameEndsExactly(sorted[i].ends, sorted[i - 1].ends)) {
            classes_.push_back(sorted[i].ends);
            memberStart_.push_back(static_cast<uint32_t>(i));
        }
        members_.push_back(sorted[i].position);
    }
    memberStart_.push_back(static_cast<uint32_t>(sorted.size()));

    cells_.reserve(classes_.size() * 2);
    for (size_t i = 0; i < classes_.size(); ++i) {
        const auto stick = static_cast<uint32_t>(i);
        for (const Point32& end : {classes_[i].tail, classes_[i].head}) {
            cells_.push_back({CellKey(CellOf(end.x), CellOf(end.y)), stick});
        }
    }
    std::sort(cells_.begin(), cells_.end());
}

void StickIndex::SameClasses(const StickEnds& ends, std::vector<uint32_t>& out) const {
    out.clear();
    // Whichever way a same stick lies, one of its ends is near this tail.
    const int64_t column = CellOf(ends.tail.x);
    const int64_t row = CellOf(ends.tail.y);
    for (int64_t r = row - 1; r <= row + 1; ++r) {
        for (int64_t c = column - 1; c <= column + 1; ++c) {
            const uint64_t key = CellKey(c, r);
            auto it = std::lower_bound(cells_.begin(), cells_.end(), Entry{key, 0});
            for (; it != cells_.end() && it->cell == key; ++it) {
                if (SameEnds(ends, classes_[it->stick])) {
                    out.push_back(it->stick);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

void StickIndex::SameSticks(const Match& match, std::vector<uint32_t>& out) const {
    std::vector<uint32_t> classes;
    SameClasses(EndsOf(match), classes);
    out.clear();
    for (const uint32_t c : classes) {
        out.insert(out.end(), members_.begin() + memberStart_[c],
                   members_.begin() + memberStart_[c + 1]);
    }
    std::sort(out.begin(), out.end());
}

namespace {

// A flow network in compressed rows: each arc is followed by nothing in
// particular, and knows its reverse arc, whose head is this arc's tail.
class FlowNetwork {
public:
    struct Arc {
        uint32_t to;
        uint32_t reverse;
        uint32_t capacity;
    };

    explicit FlowNetwork(uint32_t nodes) : nodes_(nodes) {}

    void Add(uint32_t from, uint32_t to, uint32_t capacity) {
        pending_.push_back({from, to, capacity});
    }

    // The largest flow from `source` to `sink` (Dinic: shortest augmenting
    // paths by layers, a blocking flow in each, the search on an explicit
    // stack since paths may be long).
    size_t MaxFlow(uint32_t source, uint32_t sink) {
        Lay();
        size_t flow = Greedy(source, sink);
        constexpr uint32_t kUnreached = std::numeric_limits<uint32_t>::max();
        std::vector<uint32_t> layer(nodes_);
        std::vector<uint32_t> next(nodes_);
        std::vector<uint32_t> queue;
        std::vector<uint32_t> path;  // arcs from the source
        while (true) {
            std::fill(layer.begin(), layer.end(), kUnreached);
            layer[source] = 0;
            queue.assign(1, source);
            for (size_t head = 0; head < queue.size() && layer[sink] == kUnreached; ++head) {
                const uint32_t u = queue[head];
                for (uint32_t a = start_[u]; a < start_[u + 1]; ++a) {
                    if (arcs_[a].capacity > 0 && layer[arcs_[a].to] == kUnreached) {
                        layer[arcs_[a].to] = layer[u] + 1;
                        queue.push_back(arcs_[a].to);
                    }
                }
            }
            if (layer[sink] == kUnreached) {
                return flow;
            }
            std::copy(start_.begin(), start_.end() - 1, next.begin());
            path.clear();
            uint32_t u = source;
            while (true) {
                if (u == sink) {
                    uint32_t pushed = std::numeric_limits<uint32_t>::max();
                    for (const uint32_t a : path) {
                        pushed = std::min(pushed, arcs_[a].capacity);
                    }
                    size_t firstFull = path.size();
                    for (size_t i = 0; i < path.size(); ++i) {
                        Push(path[i], pushed);
                        if (arcs_[path[i]].capacity == 0 && firstFull == path.size()) {
                            firstFull = i;
                        }
                    }
                    flow += pushed;
                    // Back to the tail of the first arc the push filled.
                    path.resize(firstFull);
                    u = path.empty() ? source : arcs_[path.back()].to;
                    continue;
                }
                uint32_t& a = next[u];
                while (a < start_[u + 1] &&
                       (arcs_[a].capacity == 0 || layer[arcs_[a].to] != layer[u] + 1)) {
                    ++a;
                }
                if (a < start_[u + 1]) {
                    path.push_back(a);
                    u = arcs_[a].to;
                    continue;
                }
                // A dead end: no shortest path runs through u any more.
                if (path.empty()) {
                    break;
                }
                layer[u] = kUnreached;
                const uint32_t back = path.back();
                path.pop_back();
                u = arcs_[arcs_[back].reverse].to;
                ++next[u];
            }
        }
    }

private:
    void Push(uint32_t arc, uint32_t amount) {
        arcs_[arc].capacity -= amount;
        arcs_[arcs_[arc].reverse].capacity += amount;
    }

    // The obvious flow first, along the paths of three arcs from the source
    // to the sink: where matches lie apart, as in a picture, this is all of
    // it, and the search by layers only confirms that nothing is left.
    size_t Greedy(uint32_t source, uint32_t sink) {
        constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
        std::vector<uint32_t> toSink(nodes_, kNone);
        for (uint32_t a = start_[sink]; a < start_[sink + 1]; ++a) {
            toSink[arcs_[a].to] = arcs_[a].reverse;
        }
        size_t flow = 0;
        for (uint32_t a = start_[source]; a < start_[source + 1]; ++a) {
            const uint32_t middle = arcs_[a].to;
            for (uint32_t e = start_[middle]; e < start_[middle + 1] && arcs_[a].capacity > 0;
                 ++e) {
                const uint32_t last = toSink[arcs_[e].to];
                if (last == kNone) {
                    continue;  // the arc back to the source
                }
                const uint32_t amount =
                    std::min({arcs_[a].capacity, arcs_[e].capacity, arcs_[last].capacity});
                if (amount > 0) {
                    Push(a, amount);
                    Push(e, amount);
                    Push(last, amount);
                    flow += amount;
                }
            }
        }
        return flow;
    }

    struct Pending {
        uint32_t from;
        uint32_t to;
        uint32_t capacity;
    };

    void Lay() {
        start_.assign(nodes_ + 1, 0);
        for (const Pending& p : pending_) {
            ++start_[p.from + 1];
            ++start_[p.to + 1];
        }
        for (uint32_t u = 0; u < nodes_; ++u) {
            start_[u + 1] += start_[u];
        }
        std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
        arcs_.resize(pending_.size() * 2);
        for (const Pending& p : pending_) {
            const uint32_t forward = fill[p.from]++;
            const uint32_t backward = fill[p.to]++;
            arcs_[forward] = {p.to, backward, p.capacity};
            arcs_[backward] = {p.from, forward, 0};
        }
        pending_.clear();
        pending_.shrink_to_fit();
    }

    uint32_t nodes_;
    std::vector<Pending> pending_;
    std::vector<uint32_t> start_;
    std::vector<Arc> arcs_;
};

}  // namespace

size_t LargestPairing(const StickIndex& sticks, const MatchList& board) {
    // The board's classes of equal ends on the left, the indexed classes on
    // the right. A class passes on as many matches as it holds, so a stack
    // costs one node, not a node per match.
    const std::vector<Classed> sorted = SortedByEnds(board, board.Count());
    std::vector<StickEnds> boardClasses;
    std::vector<uint32_t> boardSizes;
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || !SameEndsExactly(sorted[i].ends, sorted[i - 1].ends)) {
            boardClasses.push_back(sorted[i].ends);
            boardSizes.push_back(0);
        }
        ++boardSizes.back();
    }
    const auto left = static_cast<uint32_t>(boardClasses.size());
    const auto right = static_cast<uint32_t>(sticks.ClassCount());
    std::vector<uint32_t> start;  // the candidates of each board class, in compressed rows
    std::vector<uint32_t> candidates;
    start.reserve(left + 1);
    start.push_back(0);
    std::vector<uint32_t> found;
    for (uint32_t b = 0; b < left; ++b) {
        sticks.SameClasses(boardClasses[b], found);
        candidates.insert(candidates.end(), found.begin(), found.end());
        start.push_back(static_cast<uint32_t>(candidates.size()));
    }

    // The obvious pairs first. When every board class left with matches has
    // no candidate at all, no pairing can be larger (each longer one would
    // begin there), as where matches lie apart and a few were moved off.
    std::vector<uint32_t> unpairedRight(right);
    for (uint32_t r = 0; r < right; ++r) {
        unpairedRight[r] = sticks.Size(r);
    }
    size_t pairs = 0;
    bool settled = true;
    for (uint32_t b = 0; b < left; ++b) {
        uint32_t unpaired = boardSizes[b];
        for (uint32_t e = start[b]; e < start[b + 1] && unpaired > 0; ++e) {
            const uint32_t amount = std::min(unpaired, unpairedRight[candidates[e]]);
            unpaired -= amount;
            unpairedRight[candidates[e]] -= amount;
            pairs += amount;
        }
        settled = settled && (unpaired == 0 || start[b] == start[b + 1]);
    }
    if (settled) {
        return pairs;
    }

    // Otherwise a largest flow: node 0 is the source, then the board's
    // classes, then the indexed ones, then the sink.
    const uint32_t source = 0;
    const uint32_t sink = left + right + 1;
    FlowNetwork network(left + right + 2);
    std::vector<bool> reached(right, false);
    for (uint32_t b = 0; b < left; ++b) {
        if (start[b] == start[b + 1]) {
            continue;
        }
        network.Add(source, 1 + b, boardSizes[b]);
        for (uint32_t e = start[b]; e < start[b + 1]; ++e) {
            const uint32_t r = candidates[e];
            network.Add(1 + b, 1 + left + r, std::min(boardSizes[b], sticks.Size(r)));
            reached[r] = true;
        }
    }
    for (uint32_t r = 0; r < right; ++r) {
        if (reached[r]) {
            network.Add(1 + left + r, sink, sticks.Size(r));
        }
    }
    return network.MaxFlow(source, sink);
}

size_t MovedCount(const StickIndex& riddle, const MatchList& board) {
    return board.Count() - LargestPairing(riddle, board);
}

bool IsSolution(const StickIndex& solution, const MatchList& board) {
    return board.Count() == solution.Count() && LargestPairing(solution, board) == board.Count();
}

}  // namespace vorlo

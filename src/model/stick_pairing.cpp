// SPDX-License-Identifier: GPL-3.0-or-later
#include "stick_pairing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "int32_math.h"

namespace vorlo {

namespace {

// A cell is at least as wide as the tolerance, so a point within tolerance
// of another lies in the same cell or a neighbouring one.
constexpr int64_t kCellSide = 4;
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

bool SameEnds(const StickEnds& a, const StickEnds& b) {
    return (Near(a.tail, b.tail) && Near(a.head, b.head)) ||
           (Near(a.tail, b.head) && Near(a.head, b.tail));
}

}  // namespace

StickEnds EndsOf(const Match& match) {
    const double a = match.angle * shape_constants::kDegToRad;
    const int32_t dx = RoundHalfUp(std::cos(a) * 65.0);
    const int32_t dy = RoundHalfUp(std::sin(a) * 65.0);
    return {{match.x, match.y}, {WrapAdd(match.x, dx), WrapSub(match.y, dy)}};
}

bool SameStick(const Match& a, const Match& b) {
    return SameEnds(EndsOf(a), EndsOf(b));
}

StickIndex::StickIndex(const MatchList& matches) {
    ends_.reserve(matches.Count());
    for (const Match& match : matches) {
        ends_.push_back(EndsOf(match));
    }
    Build();
}

StickIndex::StickIndex(const std::vector<Match>& matches) {
    ends_.reserve(matches.size());
    for (const Match& match : matches) {
        ends_.push_back(EndsOf(match));
    }
    Build();
}

void StickIndex::Build() {
    cells_.clear();
    cells_.reserve(ends_.size() * 2);
    for (size_t i = 0; i < ends_.size(); ++i) {
        const auto stick = static_cast<uint32_t>(i);
        for (const Point32& end : {ends_[i].tail, ends_[i].head}) {
            cells_.push_back({CellKey(CellOf(end.x), CellOf(end.y)), stick});
        }
    }
    std::sort(cells_.begin(), cells_.end());
}

void StickIndex::SameSticks(const Match& match, std::vector<uint32_t>& out) const {
    out.clear();
    const StickEnds ends = EndsOf(match);
    // Whichever way a same stick lies, one of its ends is near this tail.
    const int64_t column = CellOf(ends.tail.x);
    const int64_t row = CellOf(ends.tail.y);
    for (int64_t r = row - 1; r <= row + 1; ++r) {
        for (int64_t c = column - 1; c <= column + 1; ++c) {
            const uint64_t key = CellKey(c, r);
            auto it = std::lower_bound(cells_.begin(), cells_.end(), Entry{key, 0});
            for (; it != cells_.end() && it->cell == key; ++it) {
                if (SameEnds(ends, ends_[it->stick])) {
                    out.push_back(it->stick);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

size_t LargestPairing(const StickIndex& sticks, const MatchList& board) {
    // The board's matches on the left, the indexed sticks on the right; the
    // edges in compressed rows.
    const size_t left = board.Count();
    const size_t right = sticks.Count();
    std::vector<uint32_t> start;
    std::vector<uint32_t> edges;
    start.reserve(left + 1);
    start.push_back(0);
    std::vector<uint32_t> found;
    for (const Match& match : board) {
        sticks.SameSticks(match, found);
        edges.insert(edges.end(), found.begin(), found.end());
        start.push_back(static_cast<uint32_t>(edges.size()));
    }

    constexpr uint32_t kFree = std::numeric_limits<uint32_t>::max();
    constexpr uint32_t kUnreached = std::numeric_limits<uint32_t>::max();
    std::vector<uint32_t> partnerOfLeft(left, kFree);
    std::vector<uint32_t> partnerOfRight(right, kFree);
    std::vector<uint32_t> layer(left);
    std::vector<uint32_t> queue;
    std::vector<uint32_t> nextEdge(left);
    std::vector<uint32_t> path;
    size_t pairs = 0;

    // A first greedy pass takes the obvious pairs; the phases find the rest.
    for (uint32_t u = 0; u < left; ++u) {
        for (uint32_t e = start[u]; e < start[u + 1]; ++e) {
            if (partnerOfRight[edges[e]] == kFree) {
                partnerOfRight[edges[e]] = u;
                partnerOfLeft[u] = edges[e];
                ++pairs;
                break;
            }
        }
    }

    while (true) {
        // Layers by breadth-first search from every free left vertex along
        // alternating paths.
        queue.clear();
        for (uint32_t u = 0; u < left; ++u) {
            if (partnerOfLeft[u] == kFree) {
                layer[u] = 0;
                queue.push_back(u);
            } else {
                layer[u] = kUnreached;
            }
        }
        uint32_t freeLayer = kUnreached;
        for (size_t head = 0; head < queue.size(); ++head) {
            const uint32_t u = queue[head];
            if (layer[u] >= freeLayer) {
                continue;
            }
            for (uint32_t e = start[u]; e < start[u + 1]; ++e) {
                const uint32_t w = partnerOfRight[edges[e]];
                if (w == kFree) {
                    freeLayer = std::min(freeLayer, layer[u] + 1);
                } else if (layer[w] == kUnreached) {
                    layer[w] = layer[u] + 1;
                    queue.push_back(w);
                }
            }
        }
        if (freeLayer == kUnreached) {
            return pairs;
        }
        // Vertex-disjoint shortest augmenting paths by depth-first search,
        // kept on an explicit stack (paths may be long).
        for (uint32_t u = 0; u < left; ++u) {
            nextEdge[u] = start[u];
        }
        for (uint32_t root = 0; root < left; ++root) {
            if (partnerOfLeft[root] != kFree || layer[root] != 0) {
                continue;
            }
            path.assign(1, root);
            while (!path.empty()) {
                const uint32_t u = path.back();
                bool advanced = false;
                while (nextEdge[u] < start[u + 1]) {
                    const uint32_t v = edges[nextEdge[u]];
                    const uint32_t w = partnerOfRight[v];
                    if (w == kFree) {
                        if (layer[u] + 1 != freeLayer) {
                            ++nextEdge[u];
                            continue;
                        }
                        // Augment along the path: every left vertex on it
                        // takes the right vertex its current edge points to.
                        for (size_t i = path.size(); i-- > 0;) {
                            const uint32_t x = path[i];
                            const uint32_t y = edges[nextEdge[x]];
                            partnerOfLeft[x] = y;
                            partnerOfRight[y] = x;
                        }
                        ++pairs;
                        for (const uint32_t x : path) {
                            layer[x] = kUnreached;  // used in this phase
                        }
                        path.clear();
                        advanced = true;
                        break;
                    }
                    if (layer[w] == layer[u] + 1) {
                        path.push_back(w);
                        advanced = true;
                        break;
                    }
                    ++nextEdge[u];
                }
                if (!advanced) {
                    // A dead end: no shortest path runs through u.
                    layer[u] = kUnreached;
                    path.pop_back();
                    if (!path.empty()) {
                        ++nextEdge[path.back()];
                    }
                }
            }
        }
    }
}

size_t MovedCount(const StickIndex& riddle, const MatchList& board) {
    return board.Count() - LargestPairing(riddle, board);
}

bool IsSolution(const StickIndex& solution, const MatchList& board) {
    return board.Count() == solution.Count() && LargestPairing(solution, board) == board.Count();
}

}  // namespace vorlo

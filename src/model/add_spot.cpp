// SPDX-License-Identifier: GPL-3.0-or-later
#include "add_spot.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <span>
#include <vector>

#include "hit_test.h"
#include "int32_math.h"

namespace vorlo {

namespace {

constexpr int32_t kAddStep = 18;
constexpr int32_t kAddLeft = 20;
constexpr int32_t kAddTop = 85;
constexpr int32_t kAddAngle = 90;
constexpr int32_t kRowStep = 90;
constexpr int64_t kEdgeMargin = 4;
// Enough for the widest board a screen shows at the smallest zoom.
constexpr int64_t kMostSpotsInARow = 1 << 14;
constexpr int64_t kMostRows = 64;

// A stretch [left, right) of one row taken by other matches.
struct Taken {
    int64_t left;
    int64_t right;
};

// What the matches take of the strip [top, bottom) between `left` and
// `right`: disjoint stretches, left to right.
std::vector<Taken> TakenInStrip(const MatchList& matches, int64_t left, int64_t right, int64_t top,
                                int64_t bottom) {
    // A match reaches into the strip only from a tail this close to it.
    const MatchList::Area near{Saturate(left - kMatchReach - 2), Saturate(top - kMatchReach - 2),
                               Saturate(right + kMatchReach + 2),
                               Saturate(bottom + kMatchReach + 2)};
    std::vector<Taken> taken;
    auto take = [&](const Match& m) {
        const BoardRect b = MatchBounds(m);
        if (b.top < bottom && b.bottom > top && b.left < right && b.right > left) {
            taken.push_back({b.left, b.right});
        }
    };
    std::vector<MatchList::Ref> found;
    if (matches.FindNear(std::span(&near, 1), found)) {
        for (const MatchList::Ref& ref : found) {
            take(*ref);
        }
    } else {
        for (const Match& m : matches) {
            if (m.x >= near.left && m.x <= near.right && m.y >= near.top && m.y <= near.bottom) {
                take(m);
            }
        }
    }
    std::sort(taken.begin(), taken.end(),
              [](const Taken& a, const Taken& b) { return a.left < b.left; });
    std::vector<Taken> merged;
    for (const Taken& t : taken) {
        if (!merged.empty() && t.left <= merged.back().right) {
            merged.back().right = std::max(merged.back().right, t.right);
        } else {
            merged.push_back(t);
        }
    }
    return merged;
}

bool Meets(const std::vector<Taken>& taken, const BoardRect& r) {
    // The first stretch ending right of the rectangle's left edge is the only
    // one that can reach into it.
    const auto it = std::upper_bound(taken.begin(), taken.end(), int64_t{r.left},
                                     [](int64_t x, const Taken& t) { return x < t.right; });
    return it != taken.end() && it->left < r.right;
}

// Inside the view and not against its edge.
bool Inside(const BoardRect& r, const BoardRect& view) {
    return int64_t{r.left} - kEdgeMargin >= view.left &&
           int64_t{r.right} + kEdgeMargin <= view.right &&
           int64_t{r.top} - kEdgeMargin >= view.top &&
           int64_t{r.bottom} + kEdgeMargin <= view.bottom;
}

int32_t SpotX(int32_t n, int32_t width) {
    return WrapAdd(WrapRem(n, width), kAddLeft);
}

}  // namespace

AddSpot CounterSpot(int32_t counter, int32_t boardWindowWidth) {
    // A board collapsed to nothing still gets its match, at the left.
    const int32_t width = boardWindowWidth > 0 ? boardWindowWidth : 1;
    return {Match(SpotX(counter, width), kAddTop, kAddAngle), WrapAdd(counter, kAddStep)};
}

AddSpot ClearAddSpot(const MatchList& matches, int32_t counter, int32_t boardWindowWidth,
                     const BoardRect& view) {
    const int32_t width = boardWindowWidth > 0 ? boardWindowWidth : 1;
    // The sequence comes back to its first spot after this many steps.
    const int64_t spots = std::min<int64_t>(width / std::gcd(width, kAddStep), kMostSpotsInARow);
    // The rows that lie in view, from the first.
    const int64_t firstTop = MatchBounds(Match(kAddLeft, kAddTop, kAddAngle)).top;
    const int64_t below = int64_t{view.top} + kEdgeMargin - firstTop;
    const int64_t firstRow = below > 0 ? (below + kRowStep - 1) / kRowStep : 0;
    for (int64_t row = firstRow; row < firstRow + kMostRows; ++row) {
        const int64_t rowY = kAddTop + row * kRowStep;
        if (rowY > std::numeric_limits<int32_t>::max()) {
            break;
        }
        const int32_t y = static_cast<int32_t>(rowY);
        const BoardRect first = MatchBounds(Match(kAddLeft, y, kAddAngle));
        if (int64_t{first.bottom} + kEdgeMargin > view.bottom) {
            break;
        }
        const std::vector<Taken> taken =
            TakenInStrip(matches, view.left, view.right, first.top, first.bottom);
        int32_t n = counter;
        for (int64_t k = 0; k < spots; ++k, n = WrapAdd(n, kAddStep)) {
            const Match m(SpotX(n, width), y, kAddAngle);
            const BoardRect r = MatchBounds(m);
            if (Inside(r, view) && !Meets(taken, r)) {
                return {m, WrapAdd(n, kAddStep)};
            }
        }
    }
    return CounterSpot(counter, boardWindowWidth);
}

}  // namespace vorlo

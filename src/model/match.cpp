// SPDX-License-Identifier: GPL-3.0-or-later
#include "match.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

#include "int32_math.h"
#include "shape_cache.h"

namespace vorlo {

namespace shape_constants {
const double kDegToRad = std::bit_cast<double>(uint64_t{0x3F91DF46A257C011});
const double kHeadStep = std::bit_cast<double>(uint64_t{0x3FD41B2F76A2B814});
// The head is an oval: longest along the axis (factor 1 at vertices 3, 4, 13,
// 14), narrowest across it (0.5 at vertices 8, 9, 18, 19).
const double kHeadFactors[20] = {0.55, 0.65, 0.8, 1.0, 1.0, 0.8, 0.65, 0.55, 0.5, 0.5,
                                 0.55, 0.65, 0.8, 1.0, 1.0, 0.8, 0.65, 0.55, 0.5, 0.5};
}  // namespace shape_constants

namespace {
constexpr double kHalfWidth = 3.0;
constexpr double kWidth = 6.0;
constexpr double kLength = 65.0;
constexpr double kHeadPhase = 1.29;
constexpr double kHeadRadius = 11.0;
constexpr double kGripFraction = 0.1;

// A point a tenth of the way from `from` to `to`, truncated toward zero.
int32_t GripCoordinate(int32_t from, int32_t to) {
    const double step = static_cast<double>(WrapSub(to, from)) * kGripFraction;
    return TruncToInt32(static_cast<double>(from) + step);
}
// The grip from the stick's corners: P1, a tenth of the way from P1 to P2, a
// tenth of the way from P0 to P3, P0.
void FillGrip(MatchShape& shape) {
    const Point32 p0 = shape.Stick[0];
    const Point32 p1 = shape.Stick[1];
    const Point32 p2 = shape.Stick[2];
    const Point32 p3 = shape.Stick[3];
    shape.Grip[0] = p1;
    shape.Grip[1] = {GripCoordinate(p1.x, p2.x), GripCoordinate(p1.y, p2.y)};
    shape.Grip[2] = {GripCoordinate(p0.x, p3.x), GripCoordinate(p0.y, p3.y)};
    shape.Grip[3] = p0;
}

}  // namespace

int32_t RoundHalfUp(double v) {
    const double lo = std::floor(v);
    const double hi = std::ceil(v);
    return TruncToInt32((v - lo) < (hi - v) ? lo : hi);
}

uint64_t PointDistanceSquared(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = WrapSub(x2, x1);
    const int64_t dy = WrapSub(y2, y1);
    return static_cast<uint64_t>(dx * dx) + static_cast<uint64_t>(dy * dy);
}

double PointDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return std::sqrt(static_cast<double>(PointDistanceSquared(x1, y1, x2, y2)));
}

MatchShape Match::GetShape(ShapeParts parts) const {
    MatchShape shape;
    GetShape(shape, parts);
    return shape;
}

void GetShapeUncached(const Match& match, MatchShape& shape, ShapeParts parts) {
    const int32_t x = match.x;
    const int32_t y = match.y;
    const int32_t angle = match.angle;
    using namespace shape_constants;
    const double a = static_cast<double>(angle) * kDegToRad;
    const double sa = std::sin(a);
    const double ca = std::cos(a);

    const int32_t halfAcrossX = RoundHalfUp(sa * kHalfWidth);
    const int32_t halfAcrossY = RoundHalfUp(ca * kHalfWidth);

    Point32& p0 = shape.Stick[0];
    Point32& p1 = shape.Stick[1];
    Point32& p2 = shape.Stick[2];
    Point32& p3 = shape.Stick[3];
    p0 = {WrapAdd(x, halfAcrossX), WrapAdd(y, halfAcrossY)};
    p1 = {WrapSub(p0.x, RoundHalfUp(sa * kWidth)), WrapSub(p0.y, RoundHalfUp(ca * kWidth))};
    p2 = {WrapAdd(p1.x, RoundHalfUp(ca * kLength)), WrapSub(p1.y, RoundHalfUp(sa * kLength))};
    p3 = {WrapAdd(p2.x, RoundHalfUp(sa * kWidth)), WrapAdd(p2.y, RoundHalfUp(ca * kWidth))};

    // The head is centred on the middle of the stick's far end.
    const Point32 centre{WrapSub(p3.x, halfAcrossX), WrapSub(p3.y, halfAcrossY)};
    for (int i = 0; i < 20; ++i) {
        const double t = (((i + 0.5) * kHeadStep) - a) - kHeadPhase;
        const double f = kHeadFactors[i];
        shape.Head[i] = {WrapAdd(centre.x, RoundHalfUp((std::cos(t) * f) * kHeadRadius)),
                         WrapAdd(centre.y, RoundHalfUp((std::sin(t) * f) * kHeadRadius))};
    }

    if (parts == ShapeParts::WithGrip) {
        FillGrip(shape);
    }
}

void Match::GetShape(MatchShape& shape, ShapeParts parts) const {
    // Corners are the record's point plus offsets that depend on the angle
    // alone (see shape_cache.h); the grip is computed from the corners.
    const ShapeOffsets& offsets = CachedShapeOffsets(angle);
    for (size_t i = 0; i < offsets.stick.size(); ++i) {
        shape.Stick[i] = {WrapAdd(x, offsets.stick[i].x), WrapAdd(y, offsets.stick[i].y)};
    }
    for (size_t i = 0; i < offsets.head.size(); ++i) {
        shape.Head[i] = {WrapAdd(x, offsets.head[i].x), WrapAdd(y, offsets.head[i].y)};
    }
    if (parts == ShapeParts::WithGrip) {
        FillGrip(shape);
    }
}

ShapeOffsets ComputeShapeOffsets(int32_t angle) {
    MatchShape shape;
    GetShapeUncached(Match(0, 0, angle), shape, ShapeParts::StickAndHead);
    return ShapeOffsets{shape.Stick, shape.Head};
}

const ShapeOffsets& CachedShapeOffsets(int32_t angle) {
    // Direct-mapped by a multiplicative hash of the angle. Per thread, so
    // painting on several threads needs no lock; allocated on first use, so
    // threads that never draw a match pay nothing. The table (200 KB) comes
    // from calloc, whose fresh pages are zero already: a riddle touches the
    // few pages of its few angles instead of clearing them all. (A Slot is
    // an aggregate, so the zeroed memory holds empty slots.)
    struct Slot {
        bool filled = false;
        int32_t angle = 0;
        ShapeOffsets offsets;
    };
    static_assert(std::is_aggregate_v<Slot> && std::is_trivially_destructible_v<Slot>);
    struct Free {
        void operator()(Slot* slots) const { std::free(slots); }
    };
    constexpr unsigned kBits = 10;
    thread_local std::unique_ptr<Slot[], Free> table;
    if (!table) {
        table.reset(static_cast<Slot*>(std::calloc(size_t{1} << kBits, sizeof(Slot))));
        if (!table) {
            throw std::bad_alloc();
        }
    }
    const uint32_t hash = static_cast<uint32_t>(angle) * 2654435769u;
    Slot& slot = table[hash >> (32 - kBits)];
    if (!slot.filled || slot.angle != angle) {
        slot.offsets = ComputeShapeOffsets(angle);
        slot.angle = angle;
        slot.filled = true;
    }
    return slot.offsets;
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The part of a match's shape that depends on its angle alone.
//
// The stick and the head lie at fixed offsets from the match's (x, y) for a
// given angle: every step of the geometry adds or subtracts a rounded value
// that is a function of the angle, and 32-bit wrapping addition is
// associative, so corner = WrapAdd(x, offset) is exactly the corner that the
// step-by-step computation gives. The grip is not such a function (its
// truncation toward zero depends on where the match lies), so it is always
// computed from the corners.
//
// A small per-thread table keeps the offsets of recently used angles; a riddle
// holds a handful of distinct angles, so the sines and cosines are computed a
// few times per riddle instead of 22 times per shape and per paint.

#include <array>
#include <cstdint>

#include "match.h"

namespace vorlo {

struct ShapeOffsets {
    std::array<Point32, 4> stick{};
    std::array<Point32, 20> head{};
};

// The offsets of `angle`, computed afresh.
ShapeOffsets ComputeShapeOffsets(int32_t angle);

// The offsets of `angle`, from the calling thread's table when it has them.
// The reference stays valid until the thread's next call.
const ShapeOffsets& CachedShapeOffsets(int32_t angle);

// The shape computed step by step from the record, without any table: the
// definition that the cached path must reproduce bit for bit.
void GetShapeUncached(const Match& match, MatchShape& shape, ShapeParts parts);

}  // namespace vorlo

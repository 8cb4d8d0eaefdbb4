// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A match as bytes: x, y and angle, each a signed 32-bit little-endian
// number, 12 bytes and nothing else. A riddle file holds its matches so, and
// the clipboard carries one match so.

#include <array>
#include <cstddef>
#include <cstdint>

#include "match.h"

namespace vorlo {

inline constexpr size_t kMatchRecordSize = 12;
using MatchRecord = std::array<uint8_t, kMatchRecordSize>;

int32_t GetLE32(const uint8_t* in);
void PutLE32(uint8_t* out, int32_t value);

// Reads or writes the kMatchRecordSize bytes at `in` / `out`.
Match GetMatchRecord(const uint8_t* in);
void PutMatchRecord(uint8_t* out, const Match& match);

}  // namespace vorlo

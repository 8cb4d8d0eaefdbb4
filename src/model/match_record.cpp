// SPDX-License-Identifier: GPL-3.0-or-later
#include "match_record.h"

namespace vorlo {

int32_t GetLE32(const uint8_t* in) {
    const uint32_t u =
        uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
    return static_cast<int32_t>(u);
}

void PutLE32(uint8_t* out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(u >> (8 * i));
    }
}

Match GetMatchRecord(const uint8_t* in) {
    return Match(GetLE32(in), GetLE32(in + 4), GetLE32(in + 8));
}

void PutMatchRecord(uint8_t* out, const Match& match) {
    PutLE32(out, match.x);
    PutLE32(out + 4, match.y);
    PutLE32(out + 8, match.angle);
}

}  // namespace vorlo

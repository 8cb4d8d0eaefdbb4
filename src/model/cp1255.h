// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows Hebrew, code page 1255, one byte per character.
//
// Pointed letters stay a base letter followed by its point (no composed
// presentation forms). The bytes that the code page leaves unassigned are
// carried as the private-use characters U+F780 + (byte - 0x80), so that any
// byte survives a load and a save unchanged.

#include <cstdint>
#include <optional>

namespace vorlo::cp1255 {

// The character for one byte (never fails).
char32_t ToUnicode(uint8_t byte);

// The byte for one character, or nothing when the code page has no form for it.
std::optional<uint8_t> FromUnicode(char32_t c);

// Whether the code page assigns a character to this byte.
bool IsAssigned(uint8_t byte);

inline constexpr char32_t kUnassignedBase = 0xF700;  // + byte

}  // namespace vorlo::cp1255

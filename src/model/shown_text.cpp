// SPDX-License-Identifier: GPL-3.0-or-later
#include "shown_text.h"

namespace vorlo {

namespace {

bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// LRM, RLM, the embeddings and overrides with their end, the isolates with
// theirs, and the Arabic letter mark.
bool IsDirectionMark(char16_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x061C;
}

void AppendHex(std::u16string& out, char16_t value, int digits) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kDigits[(value >> shift) & 0xF];
    }
}

}  // namespace

std::u16string EscapeForShowing(std::u16string_view text, ShownEscapes which) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (IsControl(c)) {
            out += u"\\x";
            AppendHex(out, c, 2);
        } else if (which == ShownEscapes::ControlsAndDirections && IsDirectionMark(c)) {
            out += u"\\u";
            AppendHex(out, c, 4);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vorlo

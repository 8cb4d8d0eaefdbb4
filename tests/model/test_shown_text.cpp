// SPDX-License-Identifier: GPL-3.0-or-later
// Names and texts as shown: what acts instead of being read becomes an
// escape, everything else stays as it is.

#include <gtest/gtest.h>

#include <string>

#include "shown_text.h"

namespace {

using vorlo::EscapeForShowing;
using vorlo::ShownEscapes;

struct Case {
    const char* what;
    std::u16string in;
    std::u16string name;  // ControlsAndDirections
    std::u16string text;  // Controls
};

const Case kCases[] = {
    {"plain", u"cup.vrl", u"cup.vrl", u"cup.vrl"},
    {"Hebrew stays", u"ריבוע.vrl", u"ריבוע.vrl", u"ריבוע.vrl"},
    {"newline", u"a\nb.vrl", u"a\\x0ab.vrl", u"a\\x0ab.vrl"},
    {"tab", u"a\tb", u"a\\x09b", u"a\\x09b"},
    {"escape and bell", u"\x1b[31m\x07", u"\\x1b[31m\\x07", u"\\x1b[31m\\x07"},
    {"NUL", std::u16string(u"a\0b", 3), u"a\\x00b", u"a\\x00b"},
    {"DEL and C1", u"\x7f\x80\x9f", u"\\x7f\\x80\\x9f", u"\\x7f\\x80\\x9f"},
    {"first after C1 stays", u"\xa0\xe9", u"\xa0\xe9", u"\xa0\xe9"},
    {"right-to-left override", u"cup\u202Elrv.exe", u"cup\\u202elrv.exe", u"cup\u202Elrv.exe"},
    {"embeddings and their end", u"\u202A\u202B\u202C\u202D", u"\\u202a\\u202b\\u202c\\u202d",
     u"\u202A\u202B\u202C\u202D"},
    {"isolates", u"\u2066\u2067\u2068\u2069", u"\\u2066\\u2067\\u2068\\u2069",
     u"\u2066\u2067\u2068\u2069"},
    {"marks", u"\u200E\u200F\u061C", u"\\u200e\\u200f\\u061c", u"\u200E\u200F\u061C"},
    {"neighbours stay", u"\u200D\u2029\u202F\u2065\u206A", u"\u200D\u2029\u202F\u2065\u206A",
     u"\u200D\u2029\u202F\u2065\u206A"},
    {"backslash stays", u"C:\\x", u"C:\\x", u"C:\\x"},
    {"empty", u"", u"", u""},
};

TEST(EscapeForShowing, Table) {
    for (const Case& c : kCases) {
        EXPECT_EQ(EscapeForShowing(c.in, ShownEscapes::ControlsAndDirections), c.name) << c.what;
        EXPECT_EQ(EscapeForShowing(c.in, ShownEscapes::Controls), c.text) << c.what;
    }
}

}  // namespace

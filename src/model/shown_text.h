// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text from outside (file names, a riddle's text) as shown to a person, with
// the characters that would act instead of being read written as escapes:
// "\x1b" for the C0 controls, DEL and the C1 controls, "\u202e" for the
// marks that turn or isolate the direction of what follows. A name holding
// a right-to-left override would otherwise show "cup\u202Elrv.exe" as
// "cupexe.vrl" in a title or a message, and a newline would start a line of
// its own in a message or on a terminal.

#include <string>
#include <string_view>

namespace vorlo {

enum class ShownEscapes {
    Controls,               // C0, DEL, C1: for a text whose direction marks belong to it
    ControlsAndDirections,  // and the direction marks and overrides: for names
};

std::u16string EscapeForShowing(std::u16string_view text, ShownEscapes which);

}  // namespace vorlo

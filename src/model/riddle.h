// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle: its matches and its task text, and the state of the one open
// riddle that the board edits.

#include <cstdint>
#include <string>

#include "match_list.h"

namespace vorlo {

// A riddle as a file holds it. The text is UTF-8; paragraphs are separated by
// "\n" (the file stores CR LF).
struct Riddle {
    MatchList matches;
    std::string text;
    friend bool operator==(const Riddle&, const Riddle&) = default;
};

// The last undoable action. The values are fixed; 3 and 4 are unused.
enum LastActionCode : int32_t {
    ActionNone = 0,
    ActionAdd = 1,
    ActionDelete = 2,
    ActionMove = 5,
    ActionRotate = 6,
};

// The open riddle's matches with the selection and the last undoable action.
// The data an undo needs is kept by the board; this says which action it is.
struct RiddleState {
    vorlo::MatchList MatchList;
    vorlo::MatchList::Ref SelectedMatch;  // an element of MatchList, or none
    LastActionCode LastAction = ActionNone;

    // Empties the matches and the selection; LastAction stays.
    void DeleteContents() {
        MatchList.Clear();
        SelectedMatch = {};
    }
};

}  // namespace vorlo

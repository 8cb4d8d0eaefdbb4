// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where Add puts a new match.
//
// The editor's counter names the spots in turn: the match stands upright
// with its tail at x = (n mod W) + 20, y = 85, where W is the board window's
// width, and every Add moves the counter on by 18. Followed blindly, that
// sequence runs past the right edge of the board in view and, once it wraps,
// lays new matches over the first ones. Given the part of the board in view,
// the spots that would do either are passed over.

#include <cstdint>

#include "board_editor.h"
#include "match_list.h"

namespace vorlo {

struct AddSpot {
    Match match;
    int32_t nextCounter = 0;  // the counter once this spot is taken
};

// The counter's own spot, whatever lies there. A width below 1 counts as 1.
AddSpot CounterSpot(int32_t counter, int32_t boardWindowWidth);

// The first spot of the counter's sequence, from `counter` on, whose match
// lies inside `view`, a few pixels clear of its edges, and whose outline
// meets no match of `matches`. The row at y = 85 comes first; when it has no
// such spot, or lies above the view, the rows below it are tried in turn,
// each 90 pixels lower, as far as `view` reaches. When no spot is clear the
// counter's own spot is the answer.
AddSpot ClearAddSpot(const MatchList& matches, int32_t counter, int32_t boardWindowWidth,
                     const BoardRect& view);

}  // namespace vorlo

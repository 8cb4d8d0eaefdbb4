// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "match_list.h"

namespace vorlo {

// A list holding `matches` in order.
inline MatchList ListOf(const std::vector<Match>& matches) {
    MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return list;
}

}  // namespace vorlo

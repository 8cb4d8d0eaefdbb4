// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Next unsolved": the riddle after the current one, in the book's order
// (the chapters in order, each chapter's riddles by name), that the player
// has not solved yet, going round to the book's start when the end comes.

#include <QString>

#include <vector>

#include "book_chapters.h"
#include "tile_loader.h"

namespace vorlo {

// The path of the next riddle after `current` that can be read and is not
// solved; empty when there is none. A `current` outside the book starts the
// search at the book's first riddle. Reads files: run it off the GUI
// thread.
QString NextUnsolvedRiddle(const std::vector<BookChapter>& chapters, const QString& current,
                           const TilePlaces& places);

}  // namespace vorlo

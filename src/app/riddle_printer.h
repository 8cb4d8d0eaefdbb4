// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints the riddle on one page: the part of the board that is on the screen,
// scaled to fit the page with its proportions kept, and the task text below
// it, right-aligned.

#include <QRect>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class RiddleDocument;

namespace vorlo {

// Draws the page onto an active painter whose device is `pageRect` large
// (device pixels). Used by printing and by print preview alike.
void PaintRiddlePage(QPainter& painter, const QRect& pageRect, const RiddleDocument& doc,
                     const QRect& visibleBoard);

// Prints to `device` (a QPrinter, or a QPdfWriter). On failure returns false
// and sets `error`.
bool PrintRiddle(QPagedPaintDevice* device, const RiddleDocument& doc, const QRect& visibleBoard,
                 QString* error);

}  // namespace vorlo

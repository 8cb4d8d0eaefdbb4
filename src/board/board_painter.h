#pragma once

// The one painter of the board: the window, the printer, `vorlo-cli render`
// and the file-manager thumbnailer all draw riddles through it.

#include <QColor>
#include <QRect>

#include "match_list.h"

class QPainter;

namespace vorlo {

inline const QColor kStickColor{255, 200, 0};
inline const QColor kHeadColor{255, 0, 0};
inline const QColor kSelectedHeadColor{0, 0, 255};

// Draws `matches` in board coordinates onto `painter` (whose transform maps
// board pixels to the device), first to last: each stick, then its head, the
// head of `selected` blue. Outlines are one black pixel; no background is
// painted. Only matches that can reach `boardClip` (in board coordinates) are
// drawn when it is not null.
void PaintBoard(QPainter& painter, const MatchList& matches, MatchList::Ref selected,
                const QRect& boardClip = QRect());

}  // namespace vorlo

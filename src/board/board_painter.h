// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one painter of the board: the window, the printer, `vorlo-cli render`
// and the file-manager thumbnailer all draw riddles through it.
//
// Polygons are drawn aliased, filled by the nonzero winding rule, so the
// pixels a match covers are exactly the pixels where HitTest finds it (see
// hit_test.h for the rule and for how the outline counts).

#include <QColor>
#include <QPolygonF>
#include <QRect>
#include <array>
#include <optional>

#include "int32_math.h"
#include "match_list.h"

class QPainter;

namespace vorlo {

inline const QColor kStickColor{255, 200, 0};
inline const QColor kHeadColor{255, 0, 0};
inline const QColor kSelectedHeadColor{0, 0, 255};
inline const QColor kOutlineColor{0, 0, 0};

// Draws `matches` in board coordinates onto `painter` (whose transform maps
// board pixels to the device), first to last: each stick, then its head, the
// head of `selected` blue. Outlines are one black pixel; no background is
// painted. Only matches that can reach `boardClip` (in board coordinates) are
// drawn when it is not null; on images, pixmaps and widgets, matches that
// cannot reach the device are skipped as well. The painter's state is
// restored afterwards.
void PaintBoard(QPainter& painter, const MatchList& matches, MatchList::Ref selected,
                const QRect& boardClip = QRect());

// A hint over the board, in board coordinates: a glow around `toMove`, the
// match the player should move, and a dashed outline where it goes. Either
// may be absent. The painter's state is restored afterwards.
void PaintHint(QPainter& painter, const std::optional<Match>& toMove,
               const std::optional<Match>& target);

// The corners of a shape polygon of `match` in board coordinates, as drawn.
// A match lying across the edge of the 32-bit plane keeps its shape: its
// corners are taken relative to its (x, y), so they may lie just beyond the
// 32-bit range instead of wrapping to the far side of the plane.
template <size_t N>
std::array<int64_t, 2 * N> UnwrappedCorners(const Match& match,
                                            const std::array<Point32, N>& points);

// The same corners as a QPolygonF, ready for QPainter::drawPolygon.
template <size_t N>
QPolygonF ShapePolygon(const Match& match, const std::array<Point32, N>& points);

// Whether any pixel of `match` can lie in the board rectangle from (left, top)
// to (right, bottom), both corners included. Conservative: uses the reach of
// a match (kMatchReach) rather than its shape.
bool MatchMayReach(const Match& match, double left, double top, double right, double bottom);

// ---------------------------------------------------------------------------

template <size_t N>
std::array<int64_t, 2 * N> UnwrappedCorners(const Match& match,
                                            const std::array<Point32, N>& points) {
    std::array<int64_t, 2 * N> result{};
    for (size_t i = 0; i < N; ++i) {
        // The 32-bit difference from the match's own point is small and exact.
        result[2 * i] = int64_t{match.x} + WrapSub(points[i].x, match.x);
        result[2 * i + 1] = int64_t{match.y} + WrapSub(points[i].y, match.y);
    }
    return result;
}

template <size_t N>
QPolygonF ShapePolygon(const Match& match, const std::array<Point32, N>& points) {
    const auto corners = UnwrappedCorners(match, points);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(N));
    for (size_t i = 0; i < N; ++i) {
        polygon.append(
            QPointF(static_cast<double>(corners[2 * i]), static_cast<double>(corners[2 * i + 1])));
    }
    return polygon;
}

}  // namespace vorlo

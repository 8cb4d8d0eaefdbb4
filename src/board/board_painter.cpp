// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "hit_test.h"

namespace vorlo {

namespace {

// A board rectangle, corners included, in doubles: every 32-bit coordinate
// and every unwrapped shape corner is exact in a double.
struct BoardArea {
    double left, top, right, bottom;
};

// The part of the board that can show on the painter's device, when the
// device is a raster surface. Skipping the rest keeps far-away matches (which
// may lie anywhere in the 32-bit plane) away from the rasterizer.
std::optional<BoardArea> DeviceArea(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    if (device == nullptr) {
        return std::nullopt;
    }
    const int type = device->devType();
    if (type != QInternal::Image && type != QInternal::Pixmap && type != QInternal::Widget) {
        return std::nullopt;
    }
    bool invertible = false;
    const QTransform toBoard = painter.combinedTransform().inverted(&invertible);
    if (!invertible) {
        return std::nullopt;
    }
    // Whether width() counts device or logical pixels, this covers both.
    const double ratio = std::max(1.0, device->devicePixelRatio());
    const QRectF deviceRect(-1.0, -1.0, device->width() * ratio + 2.0,
                            device->height() * ratio + 2.0);
    const QRectF board = toBoard.mapRect(deviceRect);
    return BoardArea{board.left(), board.top(), board.right(), board.bottom()};
}

std::optional<BoardArea> Intersect(std::optional<BoardArea> a, std::optional<BoardArea> b) {
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return BoardArea{std::max(a->left, b->left), std::max(a->top, b->top),
                     std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
}

template <size_t N>
void FillCorners(const Match& match, const std::array<Point32, N>& points, QPointF (&out)[N]) {
    const auto corners = UnwrappedCorners(match, points);
    for (size_t i = 0; i < N; ++i) {
        out[i] =
            QPointF(static_cast<double>(corners[2 * i]), static_cast<double>(corners[2 * i + 1]));
    }
}

// The matches whose point lies where MatchMayReach can accept it for `area`;
// false when the list is better walked whole.
bool NearMatches(const MatchList& matches, const BoardArea& area,
                 std::vector<MatchList::Ref>& out) {
    // x + reach >= left and x - reach <= right, for integral x, clamped to
    // the 32-bit range (the area may reach beyond it).
    auto lowest = [](double edge) {
        return std::clamp(std::ceil(edge - kMatchReach), double(INT32_MIN), double(INT32_MAX) + 1);
    };
    auto highest = [](double edge) {
        return std::clamp(std::floor(edge + kMatchReach), double(INT32_MIN) - 1, double(INT32_MAX));
    };
    const double left = lowest(area.left);
    const double right = highest(area.right);
    const double top = lowest(area.top);
    const double bottom = highest(area.bottom);
    if (left > right || top > bottom) {
        out.clear();
        return true;
    }
    const MatchList::Area near{static_cast<int32_t>(left), static_cast<int32_t>(top),
                               static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    // A paint never waits for the index to be made (the first paint of a big
    // riddle would): it uses one that a hit test made, else walks the list.
    return matches.FindNear(std::span(&near, 1), out, MatchList::IndexUse::OnlyIfBuilt);
}

}  // namespace

bool MatchMayReach(const Match& match, double left, double top, double right, double bottom) {
    const double x = match.x;
    const double y = match.y;
    return x + kMatchReach >= left && x - kMatchReach <= right && y + kMatchReach >= top &&
           y - kMatchReach <= bottom;
}

void PaintBoard(QPainter& painter, const MatchList& matches, MatchList::Ref selected,
                const QRect& boardClip) {
    std::optional<BoardArea> area = DeviceArea(painter);
    if (!boardClip.isNull()) {
        // QRect keeps its corners, so right() and bottom() never overflow.
        area = Intersect(area, BoardArea{double(boardClip.left()), double(boardClip.top()),
                                         double(boardClip.right()), double(boardClip.bottom())});
    }
    if (area && (std::isnan(area->left) || std::isnan(area->top) || std::isnan(area->right) ||
                 std::isnan(area->bottom))) {
        area.reset();
    }
    if (area && (area->left > area->right || area->top > area->bottom)) {
        return;  // nothing of the board can show
    }

    painter.save();
    // Aliased: the sticks are integer polygons a few pixels wide, and every
    // pixel is either a match's or not, exactly as the hit test sees it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen outline(kOutlineColor);
    outline.setWidth(1);
    painter.setPen(outline);
    const QBrush stickBrush(kStickColor);
    const QBrush headBrush(kHeadColor);
    const QBrush selectedHeadBrush(kSelectedHeadColor);

    MatchShape shape;
    QPointF stick[4];
    QPointF head[20];
    auto draw = [&](const Match& match, MatchList::Ref ref) {
        match.GetShape(shape);
        FillCorners(match, shape.Stick, stick);
        FillCorners(match, shape.Head, head);
        painter.setBrush(stickBrush);
        painter.drawPolygon(stick, 4, Qt::WindingFill);
        painter.setBrush(ref == selected ? selectedHeadBrush : headBrush);
        painter.drawPolygon(head, 20, Qt::WindingFill);
    };

    // A small part of a large board: the list's grid names the matches that
    // may reach it, in list order, so the cost follows what is drawn.
    thread_local std::vector<MatchList::Ref> near;
    if (area && NearMatches(matches, *area, near)) {
        for (const MatchList::Ref ref : near) {
            if (MatchMayReach(*ref, area->left, area->top, area->right, area->bottom)) {
                draw(*ref, ref);
            }
        }
    } else {
        for (auto it = matches.begin(); it != matches.end(); ++it) {
            const Match& match = *it;
            if (area && !MatchMayReach(match, area->left, area->top, area->right, area->bottom)) {
                continue;
            }
            draw(match, it.ref());
        }
    }
    painter.restore();
}

void PaintHint(QPainter& painter, const std::optional<Match>& toMove,
               const std::optional<Match>& target) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (toMove) {
        const MatchShape shape = toMove->GetShape();
        QPainterPath path;
        path.addPolygon(ShapePolygon(*toMove, shape.Stick));
        path.addPolygon(ShapePolygon(*toMove, shape.Head));
        QPen glow(QColor(255, 140, 0, 150), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(glow);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path.simplified());
    }
    if (target) {
        const MatchShape shape = target->GetShape();
        QPainterPath path;
        path.addPolygon(ShapePolygon(*target, shape.Stick));
        path.addPolygon(ShapePolygon(*target, shape.Head));
        QPen outline(QColor(0, 90, 200), 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(outline);
        painter.setBrush(QColor(0, 90, 200, 40));
        painter.drawPath(path.simplified());
    }
    painter.restore();
}

}  // namespace vorlo

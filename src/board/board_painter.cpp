#include "board_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <optional>

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

}  // namespace

bool MatchMayReach(const CMatch& match, double left, double top, double right, double bottom) {
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
    for (auto it = matches.begin(); it != matches.end(); ++it) {
        const CMatch& match = *it;
        if (area && !MatchMayReach(match, area->left, area->top, area->right, area->bottom)) {
            continue;
        }
        match.GetShape(shape);
        painter.setBrush(stickBrush);
        painter.drawPolygon(ShapePolygon(match, shape.Stick), Qt::WindingFill);
        painter.setBrush(it.ref() == selected ? selectedHeadBrush : headBrush);
        painter.drawPolygon(ShapePolygon(match, shape.Head), Qt::WindingFill);
    }
    painter.restore();
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle's picture as a file: PNG, SVG or PDF, drawn by the board painter.

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "match_list.h"

class QIODevice;

namespace vorlo {

// Board pixels from (left, top) to (right, bottom), both included. 64 bits:
// matches may lie anywhere in the 32-bit plane and their shapes a little beyond.
struct BoardBounds {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = -1;
    int64_t bottom = -1;

    int64_t Width() const { return right - left + 1; }
    int64_t Height() const { return bottom - top + 1; }
    friend bool operator==(const BoardBounds&, const BoardBounds&) = default;
};

// The smallest rectangle holding every corner of every stick and head, with
// the outlines that run along its right and bottom sides; none for an empty
// list.
std::optional<BoardBounds> ShapeBounds(const MatchList& matches);

// Where a picture shows the board and how large it is.
struct PictureFrame {
    BoardBounds board;  // the board rectangle shown
    QSize size;         // output pixels (or points)
    double scale = 1;   // output pixels per board pixel
};

inline constexpr int kMaxPictureSide = 8192;
inline constexpr int kEmptyBoardSide = 64;

// The frame of a riddle's picture: its shapes' bounds with `margin` board
// pixels around (an empty riddle shows a blank board of kEmptyBoardSide
// pixels). Without `fitInside` one output pixel per board pixel, scaled down
// when a side would exceed kMaxPictureSide; with it, scaled to the largest
// size that fits inside, keeping the aspect ratio.
PictureFrame FramePicture(const MatchList& matches, int margin,
                          std::optional<QSize> fitInside = std::nullopt);

// The picture on a white background.
QImage RenderImage(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame);

// The picture as a one-page PDF of frame.size points. False on failure.
bool WritePdf(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame);

// The picture as SVG: in drawing order one <polygon> per stick and per head,
// in board coordinates, with the painter's colours and a one-pixel black
// outline; the view box is the frame's board rectangle.
QByteArray SvgDocument(const MatchList& matches, MatchList::Ref selected,
                       const PictureFrame& frame);

// The same SVG written to `device` as it is made, polygon by polygon, so that
// a large riddle's picture is never whole in memory. False when the device
// refused a write.
bool WriteSvg(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle's picture as a file: PNG, SVG or PDF, drawn by the board painter.

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "match_list.h"
#include "riddle_io.h"

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

// A riddle's task text, drawn below the board as the text pane shows it:
// flush right, each paragraph read in the direction of its first letter
// (Hebrew right to left), in the given font, wrapped to the picture's width
// (widened for the text up to kMaxTextWidth when the board is narrower).
// The text keeps its size when the board is scaled. Only what fits within
// kMaxTextLines lines, and within kMaxPictureSide pixels of height with the
// board, is laid out: a longer text is cut after its last whole line that
// fits, and the drawing says so in `cut`.
struct PictureText {
    QString text;  // paragraphs separated by "\n"
    QFont font;
    // Set by every function below that lays the text out: whether part of
    // the text was left out to keep the picture within its size.
    mutable bool cut = false;
};

inline constexpr int kTextPadding = 10;
inline constexpr int kMaxTextWidth = 640;
// A task is a sentence or two; a picture shows at most this many lines of it,
// so that a text of megabytes costs a few times what a page of it costs.
inline constexpr int kMaxTextLines = 100;

// The whole picture's size: the board's frame, and the text below it when
// `text` is given and not empty.
QSize PictureSize(const PictureFrame& frame, const PictureText* text = nullptr);

// The picture on a white background.
QImage RenderImage(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame,
                   const PictureText* text = nullptr);

// The picture as a one-page PDF of PictureSize points. False on failure.
bool WritePdf(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame, const PictureText* text = nullptr);

// The picture as SVG: in drawing order one <polygon> per stick and per head,
// in board coordinates, with the painter's colours and a one-pixel black
// outline; the view box is the frame's board rectangle.
// With a text, the board is a group placed above it and each line of the
// text is an SVG <text> element, so the text stays text.
QByteArray SvgDocument(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame,
                       const PictureText* text = nullptr);

// The same SVG written to `device` as it is made, polygon by polygon, so that
// a large riddle's picture is never whole in memory. False when the device
// refused a write.
bool WriteSvg(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame, const PictureText* text = nullptr);

// The same SVG handed to `sink` in pieces of 64 KB as it is made. False when
// the sink refused a piece.
bool WriteSvgInPieces(const FileChunkSink& sink, const MatchList& matches, MatchList::Ref selected,
                      const PictureFrame& frame, const PictureText* text = nullptr);

enum class PictureFormat { Png, Svg, Pdf };

// "png", "svg" or "pdf" in any case; none for anything else.
std::optional<PictureFormat> PictureFormatNamed(const QString& name);

// Writes the picture to the file `path` through the one atomic writer: the
// old file is replaced only by a whole picture. An SVG is written as it is
// made, in pieces, so its memory does not grow with the riddle.
bool WritePictureFile(const QString& path, PictureFormat format, const MatchList& matches,
                      MatchList::Ref selected, const PictureFrame& frame, const PictureText* text,
                      QString* error);

}  // namespace vorlo

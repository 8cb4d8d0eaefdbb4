// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_render.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>

#include "board_painter.h"

namespace vorlo {

namespace {

// Maps the frame's board rectangle onto the output, one board pixel to
// `scale` output pixels.
void SetBoardTransform(QPainter& painter, const PictureFrame& frame) {
    if (frame.scale != 1.0) {
        painter.scale(frame.scale, frame.scale);
    }
    painter.translate(-static_cast<double>(frame.board.left),
                      -static_cast<double>(frame.board.top));
}

int OutputSide(double side) {
    return static_cast<int>(std::clamp(std::round(side), 1.0, double(kMaxPictureSide)));
}

QString ColorName(const QColor& color) {
    return color.name(QColor::HexRgb);
}

template <size_t N>
QString SvgPoints(const CMatch& match, const std::array<Point32, N>& points) {
    const auto corners = UnwrappedCorners(match, points);
    QString text;
    for (size_t i = 0; i < N; ++i) {
        if (i > 0) {
            text += u' ';
        }
        text += QString::number(corners[2 * i]) + u',' + QString::number(corners[2 * i + 1]);
    }
    return text;
}

void WriteSvgPolygon(QXmlStreamWriter& xml, const QString& points, const QColor& fill) {
    xml.writeEmptyElement(QStringLiteral("polygon"));
    xml.writeAttribute(QStringLiteral("points"), points);
    xml.writeAttribute(QStringLiteral("fill"), ColorName(fill));
    xml.writeAttribute(QStringLiteral("stroke"), ColorName(kOutlineColor));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
}

}  // namespace

std::optional<BoardBounds> ShapeBounds(const MatchList& matches) {
    if (matches.IsEmpty()) {
        return std::nullopt;
    }
    BoardBounds bounds{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    MatchShape shape;
    auto take = [&bounds](const auto& corners) {
        for (size_t i = 0; i < corners.size(); i += 2) {
            bounds.left = std::min(bounds.left, corners[i]);
            bounds.right = std::max(bounds.right, corners[i]);
            bounds.top = std::min(bounds.top, corners[i + 1]);
            bounds.bottom = std::max(bounds.bottom, corners[i + 1]);
        }
    };
    for (const CMatch& match : matches) {
        match.GetShape(shape);
        take(UnwrappedCorners(match, shape.Stick));
        take(UnwrappedCorners(match, shape.Head));
    }
    return bounds;
}

PictureFrame FramePicture(const MatchList& matches, int margin, std::optional<QSize> fitInside) {
    PictureFrame frame;
    frame.board =
        ShapeBounds(matches).value_or(BoardBounds{0, 0, kEmptyBoardSide - 1, kEmptyBoardSide - 1});
    const int64_t border = std::max(margin, 0);
    frame.board.left -= border;
    frame.board.top -= border;
    frame.board.right += border;
    frame.board.bottom += border;

    const double width = static_cast<double>(frame.board.Width());
    const double height = static_cast<double>(frame.board.Height());
    if (fitInside && !fitInside->isEmpty()) {
        frame.scale = std::min(fitInside->width() / width, fitInside->height() / height);
        frame.size = QSize(std::min(OutputSide(width * frame.scale), fitInside->width()),
                           std::min(OutputSide(height * frame.scale), fitInside->height()));
    } else {
        frame.scale = std::min(1.0, kMaxPictureSide / std::max(width, height));
        frame.size = QSize(OutputSide(width * frame.scale), OutputSide(height * frame.scale));
    }
    return frame;
}

QImage RenderImage(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame) {
    QImage image(frame.size, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    SetBoardTransform(painter, frame);
    PaintBoard(painter, matches, selected);
    return image;
}

bool WritePdf(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame) {
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("vorlo-cli"));
    writer.setResolution(72);  // one device unit per point
    writer.setPageSize(
        QPageSize(QSizeF(frame.size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(frame.size)), Qt::white);
    SetBoardTransform(painter, frame);
    PaintBoard(painter, matches, selected);
    return painter.end();
}

QByteArray SvgDocument(const MatchList& matches, MatchList::Ref selected,
                       const PictureFrame& frame) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteSvg(&buffer, matches, selected, frame);
    return bytes;
}

bool WriteSvg(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame) {
    QXmlStreamWriter xml(device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(frame.size.width()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(frame.size.height()));
    const QString left = QString::number(frame.board.left);
    const QString top = QString::number(frame.board.top);
    const QString width = QString::number(frame.board.Width());
    const QString height = QString::number(frame.board.Height());
    xml.writeAttribute(QStringLiteral("viewBox"), QStringList{left, top, width, height}.join(u' '));

    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("x"), left);
    xml.writeAttribute(QStringLiteral("y"), top);
    xml.writeAttribute(QStringLiteral("width"), width);
    xml.writeAttribute(QStringLiteral("height"), height);
    xml.writeAttribute(QStringLiteral("fill"), ColorName(Qt::white));

    MatchShape shape;
    for (auto it = matches.begin(); it != matches.end(); ++it) {
        const CMatch& match = *it;
        match.GetShape(shape);
        WriteSvgPolygon(xml, SvgPoints(match, shape.Stick), kStickColor);
        WriteSvgPolygon(xml, SvgPoints(match, shape.Head),
                        it.ref() == selected ? kSelectedHeadColor : kHeadColor);
        if (xml.hasError()) {
            return false;  // the device failed: the rest would be lost too
        }
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

}  // namespace vorlo

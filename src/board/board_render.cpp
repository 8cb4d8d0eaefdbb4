// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_render.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "board_painter.h"
#include "riddle_io.h"

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

// Where the board and the text lie in a picture with text, and the text laid
// out as it is drawn.
struct TextPlacement {
    QSize size;           // the whole picture
    QPointF boardOrigin;  // where the board's frame begins
    QPointF textOrigin;   // the top left of the text's column
    double textWidth = 0;
    std::unique_ptr<QTextDocument> document;
};

// Lays `text` out in `document` for the picture of the board `frame`: the
// column's width, and the text's height.
double LayOutText(QTextDocument& document, const QString& text, const PictureFrame& frame,
                  TextPlacement& placement) {
    document.setPlainText(text);
    const int boardWidth = frame.size.width();
    const double natural = std::ceil(document.idealWidth());
    const int width = std::max(
        boardWidth, static_cast<int>(std::min<double>(natural, kMaxTextWidth)) + 2 * kTextPadding);
    placement.textWidth = width - 2 * kTextPadding;
    document.setTextWidth(placement.textWidth);
    return document.size().height();
}

// The first `characters` characters of `text`, and no more than `paragraphs`
// paragraphs, without splitting a surrogate pair.
QString TextPrefix(const QString& text, qsizetype characters, qsizetype paragraphs) {
    qsizetype end = std::min(characters, text.size());
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] == u'\n' && ++breaks == paragraphs) {
            end = i;
            break;
        }
    }
    if (end > 0 && end < text.size() && text[end - 1].isHighSurrogate()) {
        --end;
    }
    return text.left(end);
}

// Where the last whole line that ends within `height` ends in the laid-out
// text, as a position in its plain text; -1 when even the first line does not
// fit.
qsizetype EndOfLinesWithin(const QTextDocument& document, double height) {
    qsizetype end = -1;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const double top = document.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (top + line.y() + line.height() > height) {
                return end;
            }
            end = block.position() + line.textStart() + line.textLength();
        }
    }
    return end;
}

std::optional<TextPlacement> PlaceText(const PictureFrame& frame, const PictureText* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    text->cut = false;
    if (text->text.isEmpty()) {
        return std::nullopt;
    }
    TextPlacement placement;
    placement.document = std::make_unique<QTextDocument>();
    QTextDocument& document = *placement.document;
    // A font in pixels lays out alike on the screen, in a PNG and on a
    // 72-dpi PDF page.
    QFont font = text->font;
    font.setPixelSize(std::max(1, QFontInfo(text->font).pixelSize()));
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    QTextOption option(Qt::AlignRight | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(HasUnwrappableWord(text->text) ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);

    // The picture stays within kMaxPictureSide, and its text within
    // kMaxTextLines: below the board there is room for so many lines, and
    // only about as much text as they can hold is laid out. The first guess
    // allows each line twice the letters of an average width; while it falls
    // short of the room and there is more text, it doubles, so the work stays
    // within a few times what fits, whatever the text's length.
    const QFontMetricsF metrics(font);
    const double room = std::min<double>(kMaxPictureSide - frame.size.height() - kTextPadding,
                                         kMaxTextLines * std::max(1.0, metrics.lineSpacing()));
    if (room < metrics.height()) {
        text->cut = true;
        return std::nullopt;
    }
    const qsizetype lines = static_cast<qsizetype>(room / std::max(1.0, metrics.lineSpacing())) + 1;
    const double column = std::max(frame.size.width(), kMaxTextWidth);
    const qsizetype perLine =
        static_cast<qsizetype>(column / std::max(1.0, metrics.averageCharWidth())) * 2 + 1;
    qsizetype characters = lines * perLine;
    QString shown = TextPrefix(text->text, characters, lines);
    double height = LayOutText(document, shown, frame, placement);
    // More text helps only when the letters, not the paragraphs, ran out.
    while (height < room && shown.size() < text->text.size() && shown.size() + 1 >= characters) {
        characters *= 2;
        shown = TextPrefix(text->text, characters, lines);
        height = LayOutText(document, shown, frame, placement);
    }
    bool cut = shown.size() < text->text.size();
    if (height > room) {
        // Only whole lines: the text ends with the last one that fits.
        const qsizetype end = EndOfLinesWithin(document, room);
        if (end <= 0) {
            text->cut = true;
            return std::nullopt;
        }
        shown.truncate(end);
        height = LayOutText(document, shown, frame, placement);
        cut = true;
    }
    text->cut = cut;
    const int boardWidth = frame.size.width();
    const int width = static_cast<int>(placement.textWidth) + 2 * kTextPadding;
    const int textHeight = static_cast<int>(std::min(std::ceil(height), room));
    placement.size = QSize(width, frame.size.height() + textHeight + kTextPadding);
    placement.boardOrigin = QPointF((width - boardWidth) / 2, 0);
    placement.textOrigin = QPointF(kTextPadding, frame.size.height());
    return placement;
}

// Draws the board, and the text below it, onto a white picture.
void PaintPicture(QPainter& painter, const MatchList& matches, MatchList::Ref selected,
                  const PictureFrame& frame, const TextPlacement* placement) {
    const QSize size = placement ? placement->size : frame.size;
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
    painter.save();
    if (placement) {
        painter.translate(placement->boardOrigin);
    }
    SetBoardTransform(painter, frame);
    PaintBoard(painter, matches, selected);
    painter.restore();
    if (placement) {
        painter.save();
        painter.translate(placement->textOrigin);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        placement->document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

// `text` with what XML 1.0 cannot carry left out: the C0 controls other than
// tab, line feed and carriage return (a form feed, U+0001), U+FFFE, U+FFFF
// and halves of surrogate pairs standing alone. The XML writer refuses the
// whole document for any one of them, while a task text may hold them.
QString XmlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[++i];
        } else if (c == u'\t' || c == u'\n' || c == u'\r' ||
                   (c >= 0x20 && !QChar::isSurrogate(c) && c != 0xFFFE && c != 0xFFFF)) {
            out += text[i];
        }
    }
    return out;
}

// Each line of the laid-out text as an SVG <text>, flush right: a
// right-to-left paragraph starts at the right edge, a left-to-right one ends
// there; the reader's own bidirectional ordering places the letters.
void WriteSvgText(QXmlStreamWriter& xml, const TextPlacement& placement) {
    const QTextDocument& document = *placement.document;
    const QFont font = document.defaultFont();
    const double right = placement.textOrigin.x() + placement.textWidth;
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("font-family"), XmlText(font.family()));
    xml.writeAttribute(QStringLiteral("font-size"), QString::number(font.pixelSize()));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#000000"));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QPointF blockAt = document.documentLayout()->blockBoundingRect(block).topLeft();
        const bool rightToLeft = block.textDirection() == Qt::RightToLeft;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QString part =
                XmlText(block.text().mid(line.textStart(), line.textLength())).trimmed();
            if (part.isEmpty()) {
                continue;
            }
            const double baseline =
                placement.textOrigin.y() + blockAt.y() + line.y() + line.ascent();
            xml.writeStartElement(QStringLiteral("text"));
            xml.writeAttribute(QStringLiteral("x"), QString::number(right));
            xml.writeAttribute(QStringLiteral("y"), QString::number(baseline));
            if (rightToLeft) {
                xml.writeAttribute(QStringLiteral("direction"), QStringLiteral("rtl"));
                xml.writeAttribute(QStringLiteral("unicode-bidi"), QStringLiteral("embed"));
                xml.writeAttribute(QStringLiteral("text-anchor"), QStringLiteral("start"));
            } else {
                xml.writeAttribute(QStringLiteral("text-anchor"), QStringLiteral("end"));
            }
            xml.writeCharacters(part);
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();
}

// A write-only device that hands what it is given on to a sink in pieces of
// kChunkBytes: the SVG writer writes many tiny strings, the file gets few
// large writes, and no more than one piece is ever held.
class ChunkDevice : public QIODevice {
public:
    explicit ChunkDevice(FileChunkSink sink) : sink_(std::move(sink)) {
        open(QIODevice::WriteOnly);
        pending_.reserve(kChunkBytes);
    }

    // Hands on what is still held; false when the sink refused any piece.
    bool Finish() {
        if (failed_ || pending_.empty()) {
            return !failed_;
        }
        failed_ = !sink_(pending_);
        pending_.clear();
        return !failed_;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (failed_) {
            return -1;
        }
        pending_.append(data, static_cast<size_t>(size));
        if (pending_.size() >= kChunkBytes && !Finish()) {
            return -1;
        }
        return size;
    }

private:
    static constexpr size_t kChunkBytes = 1 << 16;
    FileChunkSink sink_;
    std::string pending_;
    bool failed_ = false;
};

template <size_t N>
QString SvgPoints(const Match& match, const std::array<Point32, N>& points) {
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
    for (const Match& match : matches) {
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

QSize PictureSize(const PictureFrame& frame, const PictureText* text) {
    const std::optional<TextPlacement> placement = PlaceText(frame, text);
    return placement ? placement->size : frame.size;
}

QImage RenderImage(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame,
                   const PictureText* text) {
    const std::optional<TextPlacement> placement = PlaceText(frame, text);
    QImage image(placement ? placement->size : frame.size, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    QPainter painter(&image);
    PaintPicture(painter, matches, selected, frame, placement ? &*placement : nullptr);
    return image;
}

bool WritePdf(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame, const PictureText* text) {
    const std::optional<TextPlacement> placement = PlaceText(frame, text);
    const QSize size = placement ? placement->size : frame.size;
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("vorlo-cli"));
    writer.setResolution(72);  // one device unit per point
    writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    PaintPicture(painter, matches, selected, frame, placement ? &*placement : nullptr);
    return painter.end();
}

QByteArray SvgDocument(const MatchList& matches, MatchList::Ref selected, const PictureFrame& frame,
                       const PictureText* text) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteSvg(&buffer, matches, selected, frame, text);
    return bytes;
}

bool WriteSvg(QIODevice* device, const MatchList& matches, MatchList::Ref selected,
              const PictureFrame& frame, const PictureText* text) {
    const std::optional<TextPlacement> placement = PlaceText(frame, text);
    QXmlStreamWriter xml(device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    if (placement) {
        // The board keeps its own coordinates in a nested picture; the text
        // is laid out in output pixels below it.
        xml.writeAttribute(QStringLiteral("width"), QString::number(placement->size.width()));
        xml.writeAttribute(QStringLiteral("height"), QString::number(placement->size.height()));
        xml.writeAttribute(
            QStringLiteral("viewBox"),
            QStringLiteral("0 0 %1 %2").arg(placement->size.width()).arg(placement->size.height()));
        xml.writeEmptyElement(QStringLiteral("rect"));
        xml.writeAttribute(QStringLiteral("width"), QString::number(placement->size.width()));
        xml.writeAttribute(QStringLiteral("height"), QString::number(placement->size.height()));
        xml.writeAttribute(QStringLiteral("fill"), ColorName(Qt::white));
        WriteSvgText(xml, *placement);
        xml.writeStartElement(QStringLiteral("svg"));
        xml.writeAttribute(QStringLiteral("x"), QString::number(placement->boardOrigin.x()));
        xml.writeAttribute(QStringLiteral("y"), QString::number(placement->boardOrigin.y()));
    }
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
        const Match& match = *it;
        match.GetShape(shape);
        WriteSvgPolygon(xml, SvgPoints(match, shape.Stick), kStickColor);
        WriteSvgPolygon(xml, SvgPoints(match, shape.Head),
                        it.ref() == selected ? kSelectedHeadColor : kHeadColor);
        if (xml.hasError()) {
            return false;  // the device failed: the rest would be lost too
        }
    }
    if (placement) {
        xml.writeEndElement();  // the board's picture
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

bool WriteSvgInPieces(const FileChunkSink& sink, const MatchList& matches, MatchList::Ref selected,
                      const PictureFrame& frame, const PictureText* text) {
    ChunkDevice device(sink);
    const bool written = WriteSvg(&device, matches, selected, frame, text);
    return device.Finish() && written;
}

std::optional<PictureFormat> PictureFormatNamed(const QString& name) {
    const QString lower = name.toLower();
    if (lower == u"png") {
        return PictureFormat::Png;
    }
    if (lower == u"svg") {
        return PictureFormat::Svg;
    }
    if (lower == u"pdf") {
        return PictureFormat::Pdf;
    }
    return std::nullopt;
}

bool WritePictureFile(const QString& path, PictureFormat format, const MatchList& matches,
                      MatchList::Ref selected, const PictureFrame& frame, const PictureText* text,
                      QString* error) {
    const QString drawError = QCoreApplication::translate("vorlo", "cannot draw the picture");
    if (format == PictureFormat::Svg) {
        const auto produce = [&](const FileChunkSink& sink) {
            return WriteSvgInPieces(sink, matches, selected, frame, text);
        };
        return WriteFileAtomically(path, produce, drawError, error);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (format == PictureFormat::Png) {
        const QImage image = RenderImage(matches, selected, frame, text);
        drawn = !image.isNull() && QImageWriter(&buffer, "png").write(image);
    } else {
        drawn = WritePdf(&buffer, matches, selected, frame, text);
    }
    if (!drawn) {
        *error = drawError;
        return false;
    }
    return WriteFileAtomically(path, buffer.data().toStdString(), error);
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of riddles: their frame, the image, and the SVG text.

#include <QFontMetrics>
#include <QImage>
#include <QXmlStreamReader>
#include <QtTest>

#include "board_painter.h"
#include "board_render.h"

using namespace vorlo;

namespace {

MatchList WorkedExample() {
    MatchList matches;
    for (const Match& m :
         {Match(309, 126, 90), Match(209, 126, 90), Match(199, 137, 0), Match(258, 248, 90)}) {
        matches.Append(m);
    }
    return matches;
}

MatchList AtTheLimits() {
    MatchList matches;
    for (const Match& m : {Match(INT32_MIN, INT32_MIN, 0), Match(INT32_MAX, INT32_MAX, 0),
                           Match(INT32_MAX - 30, INT32_MIN + 5, 45), Match(0, 0, INT32_MIN)}) {
        matches.Append(m);
    }
    return matches;
}

struct SvgPolygon {
    QString points;
    QString fill;
};

}  // namespace

class TestBoardRender : public QObject {
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void imageShowsTheBoardPixelForPixel();
    void svgHoldsTheShapesInDrawingOrder();
    void riddleAtTheLimitsRenders();
    void longTextsKeepThePictureWithinItsSize_data();
    void longTextsKeepThePictureWithinItsSize();
    void svgLeavesOutWhatXmlCannotCarry_data();
    void svgLeavesOutWhatXmlCannotCarry();
};

void TestBoardRender::frames_data() {
    QTest::addColumn<int>("riddle");  // 0 worked example, 1 empty, 2 at the 32-bit limits
    QTest::addColumn<int>("margin");
    QTest::addColumn<QSize>("fit");  // invalid: none
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qlonglong>("left");
    QTest::addColumn<qlonglong>("top");

    QTest::newRow("worked example") << 0 << 10 << QSize() << QSize(136, 219) << 189LL << 40LL;
    QTest::newRow("no margin") << 0 << 0 << QSize() << QSize(116, 199) << 199LL << 50LL;
    QTest::newRow("fit, taller than wide")
        << 0 << 10 << QSize(800, 800) << QSize(497, 800) << 189LL << 40LL;
    QTest::newRow("fit, wider than tall")
        << 0 << 10 << QSize(100, 50) << QSize(31, 50) << 189LL << 40LL;
    QTest::newRow("empty riddle") << 1 << 10 << QSize() << QSize(84, 84) << -10LL << -10LL;
    // Shapes reach past the plane's edge instead of wrapping round it.
    QTest::newRow("at the limits")
        << 2 << 0 << QSize() << QSize(8192, 8192) << qlonglong(INT32_MIN)
        << qlonglong(INT32_MIN) - 50;  // the match at 45 degrees reaches highest
}

void TestBoardRender::frames() {
    QFETCH(int, riddle);
    QFETCH(int, margin);
    QFETCH(QSize, fit);
    QFETCH(QSize, size);
    QFETCH(qlonglong, left);
    QFETCH(qlonglong, top);
    const MatchList matches = riddle == 0   ? WorkedExample()
                              : riddle == 1 ? MatchList()
                                            : AtTheLimits();
    const PictureFrame frame =
        FramePicture(matches, margin, fit.isValid() ? std::optional<QSize>(fit) : std::nullopt);
    QCOMPARE(frame.size, size);
    QCOMPARE(frame.board.left, left);
    QCOMPARE(frame.board.top, top);
    if (riddle == 2) {
        QVERIFY(frame.board.right > INT32_MAX);  // the match at INT32_MAX keeps its length
    }
}

void TestBoardRender::imageShowsTheBoardPixelForPixel() {
    MatchList matches = WorkedExample();
    const MatchList::Ref second = matches.First().Next();
    const PictureFrame frame = FramePicture(matches, 10);
    const QImage image = RenderImage(matches, second, frame);
    QCOMPARE(image.size(), QSize(136, 219));
    auto at = [&](int boardX, int boardY) {
        return QColor(image.pixel(boardX - 189, boardY - 40));
    };
    QCOMPARE(at(309, 100), kStickColor);  // right upright
    QCOMPARE(at(309, 60), kHeadColor);
    QCOMPARE(at(209, 60), kSelectedHeadColor);  // left upright, selected
    QCOMPARE(at(230, 137), kStickColor);        // the cup's floor
    QCOMPARE(at(270, 137), kHeadColor);
    QCOMPARE(at(258, 220), kStickColor);        // the stem
    QCOMPARE(at(250, 100), QColor(Qt::white));  // inside the cup
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(135, 218)), QColor(Qt::white));
}

void TestBoardRender::svgHoldsTheShapesInDrawingOrder() {
    MatchList matches = WorkedExample();
    const MatchList::Ref last = matches.Last();
    const QByteArray svg = SvgDocument(matches, last, FramePicture(matches, 10));

    QXmlStreamReader xml(svg);
    QList<SvgPolygon> polygons;
    QString viewBox;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"svg") {
            viewBox = xml.attributes().value(QStringLiteral("viewBox")).toString();
            QCOMPARE(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
        } else if (xml.name() == u"polygon") {
            QCOMPARE(xml.attributes().value(QStringLiteral("stroke")), QStringLiteral("#000000"));
            polygons.append({xml.attributes().value(QStringLiteral("points")).toString(),
                             xml.attributes().value(QStringLiteral("fill")).toString()});
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(viewBox, QStringLiteral("189 40 136 219"));
    QCOMPARE(polygons.size(), 8);
    QCOMPARE(polygons[0].points, QStringLiteral("312,126 306,126 306,61 312,61"));

    int index = 0;
    for (auto it = matches.begin(); it != matches.end(); ++it, index += 2) {
        const MatchShape shape = it->GetShape();
        QStringList stick;
        for (const Point32& p : shape.Stick) {
            stick << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
        }
        QStringList head;
        for (const Point32& p : shape.Head) {
            head << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
        }
        QCOMPARE(polygons[index].points, stick.join(u' '));
        QCOMPARE(polygons[index].fill, QStringLiteral("#ffc800"));
        QCOMPARE(polygons[index + 1].points, head.join(u' '));
        QCOMPARE(polygons[index + 1].fill,
                 it.ref() == last ? QStringLiteral("#0000ff") : QStringLiteral("#ff0000"));
    }
}

void TestBoardRender::riddleAtTheLimitsRenders() {
    // Spread over the whole plane: the largest picture there is.
    const MatchList spread = AtTheLimits();
    const QImage large = RenderImage(spread, {}, FramePicture(spread, 10));
    QCOMPARE(large.size(), QSize(8192, 8192));
    const QByteArray svg = SvgDocument(spread, {}, FramePicture(spread, 10));
    QVERIFY(svg.contains("viewBox=\"-2147483658 -2147483708"));

    // A match across the edge of the plane is drawn whole, at one pixel per
    // board pixel, next to one before the edge.
    MatchList edge;
    edge.Append({INT32_MAX - 100, INT32_MAX - 20, 0});
    edge.Append({INT32_MAX - 30, INT32_MAX - 20, 0});  // its head lies beyond INT32_MAX
    const PictureFrame frame = FramePicture(edge, 10);
    QCOMPARE(frame.size, QSize(167, 31));
    const QImage image = RenderImage(edge, edge.Last(), frame);
    auto at = [&](int64_t boardX, int64_t boardY) {
        return QColor(image.pixel(int(boardX - frame.board.left), int(boardY - frame.board.top)));
    };
    QCOMPARE(at(INT32_MAX - 60, INT32_MAX - 20), kStickColor);
    QCOMPARE(at(int64_t{INT32_MAX} + 1, INT32_MAX - 20), kStickColor);
    QCOMPARE(at(int64_t{INT32_MAX} + 40, INT32_MAX - 20), kSelectedHeadColor);
}

namespace {

QString Lines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    return lines.join(u'\n');
}

}  // namespace

// Whatever the text's length, the picture keeps within kMaxPictureSide, in
// every format, and says whether the text was cut; a short text is whole.
void TestBoardRender::longTextsKeepThePictureWithinItsSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cut");
    QTest::newRow("two lines") << QStringLiteral("שנו את מקומם\nof two matches.") << false;
    QTest::newRow("2 KB one word") << QString(2048, u'a') << false;
    QTest::newRow("30,000 lines") << Lines(30000) << true;
    QTest::newRow("300,000 lines") << Lines(300000) << true;
    QTest::newRow("2 MB one word") << QString(2 << 20, u'a') << true;
    QTest::newRow("2 MB of Hebrew words") << QStringLiteral("גפרור ").repeated(350000) << true;
    QTest::newRow("100,000 empty paragraphs") << QString(100000, u'\n') << true;
}

void TestBoardRender::longTextsKeepThePictureWithinItsSize() {
    QFETCH(QString, text);
    QFETCH(bool, cut);
    const MatchList matches = WorkedExample();
    const PictureFrame frame = FramePicture(matches, 10);
    const PictureText picture{text, QFont()};

    const QImage image = RenderImage(matches, {}, frame, &picture);
    QVERIFY(!image.isNull());
    QVERIFY2(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
             qPrintable(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height())));
    QCOMPARE(picture.cut, cut);
    QCOMPARE(PictureSize(frame, &picture), image.size());
    // A cut text fills the lines it may have, the last one or two aside.
    if (cut) {
        QVERIFY(image.height() >
                frame.size.height() + (kMaxTextLines - 2) * QFontMetrics(QFont()).lineSpacing());
    }
}

// A task text may hold characters XML 1.0 has no place for; the SVG leaves
// them out and is written, well-formed, with the rest of the text.
void TestBoardRender::svgLeavesOutWhatXmlCannotCarry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::newRow("form feed") << QStringLiteral("ab\fcd") << QStringLiteral("abcd");
    QTest::newRow("U+0001") << QStringLiteral(
                                   "ab\x01"
                                   "cd")
                            << QStringLiteral("abcd");
    QTest::newRow("U+FFFE") << (QStringLiteral("ab") + QChar(0xFFFE) + QStringLiteral("cd"))
                            << QStringLiteral("abcd");
    QTest::newRow("lone high surrogate")
        << (QStringLiteral("ab") + QChar(0xD800) + QStringLiteral("cd")) << QStringLiteral("abcd");
    QTest::newRow("a pair is kept")
        << QStringLiteral("ab\U0001F600cd") << QStringLiteral("ab\U0001F600cd");
    QTest::newRow("tab is kept") << QStringLiteral("ab\tcd") << QStringLiteral("ab\tcd");
}

void TestBoardRender::svgLeavesOutWhatXmlCannotCarry() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    const MatchList matches = WorkedExample();
    const PictureFrame frame = FramePicture(matches, 10);
    const PictureText picture{text, QFont()};
    const QByteArray svg = SvgDocument(matches, {}, frame, &picture);
    QVERIFY(!svg.isEmpty());
    QXmlStreamReader reader(svg);
    QString read;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"text") {
            read += reader.readElementText();
        }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(read, kept);
}

QTEST_MAIN(TestBoardRender)
#include "test_board_render.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The board painter: colours, drawing order, clipping, and agreement with the
// hit test pixel by pixel.

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <random>

#include "board_painter.h"
#include "hit_test.h"
#include "int32_math.h"

using namespace vorlo;

namespace {

// A background the painter never uses, to see that it paints none.
const QRgb kBackground = qRgb(0, 255, 0);

QImage Paint(const MatchList& matches, MatchList::Ref selected, QPointF boardOrigin = {0, 0},
             QSize size = {400, 300}, const QRect& clip = QRect()) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.translate(-boardOrigin);
    PaintBoard(painter, matches, selected, clip);
    return image;
}

bool IsMatchColour(QRgb pixel) {
    return pixel == kStickColor.rgb() || pixel == kHeadColor.rgb() ||
           pixel == kSelectedHeadColor.rgb();
}

}  // namespace

class TestBoardPainter : public QObject {
    Q_OBJECT

private slots:
    void coloursAndOrder_data();
    void coloursAndOrder();
    void clipSkipsMatchesOutside();
    void paintedPixelsAreHits();
    void riddlesAgreeWithHitTest();
};

void TestBoardPainter::coloursAndOrder_data() {
    QTest::addColumn<QList<int>>("coordinates");  // x, y, angle per match
    QTest::addColumn<int>("selectedIndex");       // -1: none
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");

    const QList<int> one{100, 100, 0};
    QTest::newRow("stick") << one << -1 << QPoint(130, 100) << kStickColor;
    QTest::newRow("head beyond the stick") << one << -1 << QPoint(170, 100) << kHeadColor;
    QTest::newRow("head over its own stick") << one << -1 << QPoint(160, 100) << kHeadColor;
    QTest::newRow("selected head") << one << 0 << QPoint(170, 100) << kSelectedHeadColor;
    QTest::newRow("selected stick stays yellow") << one << 0 << QPoint(130, 100) << kStickColor;
    QTest::newRow("top outline") << one << -1 << QPoint(130, 97) << kOutlineColor;
    QTest::newRow("bottom outline") << one << -1 << QPoint(130, 103) << kOutlineColor;
    QTest::newRow("background untouched") << one << -1 << QPoint(130, 110) << QColor(kBackground);
    QTest::newRow("background beyond the head")
        << one << -1 << QPoint(178, 100) << QColor(kBackground);

    // A match lying down across the first one's stick, its head on it.
    const QList<int> crossing{100, 100, 0, 130, 40, 270};
    QTest::newRow("later head over earlier stick")
        << crossing << -1 << QPoint(130, 101) << kHeadColor;
    QTest::newRow("only the selected one is blue")
        << crossing << 0 << QPoint(130, 101) << kHeadColor;
    const QList<int> reversed{130, 40, 270, 100, 100, 0};
    QTest::newRow("later stick over earlier head")
        << reversed << -1 << QPoint(130, 100) << kStickColor;
    QTest::newRow("the worked example's upright")
        << QList<int>{309, 126, 90, 209, 126, 90, 199, 137, 0, 258, 248, 90} << 1 << QPoint(209, 60)
        << kSelectedHeadColor;
}

void TestBoardPainter::coloursAndOrder() {
    QFETCH(QList<int>, coordinates);
    QFETCH(int, selectedIndex);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);

    MatchList matches;
    MatchList::Ref selected;
    for (int i = 0; i + 2 < coordinates.size(); i += 3) {
        const MatchList::Ref ref =
            matches.Append({coordinates[i], coordinates[i + 1], coordinates[i + 2]});
        if (i / 3 == selectedIndex) {
            selected = ref;
        }
    }
    const QImage image = Paint(matches, selected);
    QCOMPARE(QColor(image.pixel(pixel)), colour);
}

void TestBoardPainter::clipSkipsMatchesOutside() {
    MatchList matches;
    matches.Append({100, 100, 0});
    matches.Append({100, 200, 0});
    // The clip touches only the first match's head.
    const QImage image = Paint(matches, {}, {0, 0}, {400, 300}, QRect(160, 95, 20, 10));
    QCOMPARE(image.pixel(130, 100), kStickColor.rgb());  // drawn whole, not cut to the clip
    QCOMPARE(image.pixel(130, 200), kBackground);
    // Nothing reaches an empty clip far away; near the 32-bit edge nothing overflows.
    const QImage none = Paint(matches, {}, {0, 0}, {400, 300},
                              QRect(QPoint(INT32_MAX - 10, INT32_MAX - 10), QSize(10, 10)));
    QCOMPARE(none.pixel(130, 100), kBackground);
}

// Any single match, anywhere in the plane at any angle: the pixels the
// painter gives the match's colours are hits, the background it leaves is a
// miss, and the hits are exactly the pixels its fill covers (so black outline
// pixels are hits where they cover the fill, misses where they lie outside).
void TestBoardPainter::paintedPixelsAreHits() {
    std::mt19937 random(20261208);
    const int32_t extremes[] = {INT32_MIN, INT32_MIN + 30, -1, 0, INT32_MAX - 30, INT32_MAX};
    const QSize size(160, 160);
    for (int round = 0; round < 100; ++round) {
        int32_t x = static_cast<int32_t>(random());
        int32_t y = static_cast<int32_t>(random());
        if (round % 3 == 0) {
            x = extremes[random() % 6];
            y = extremes[random() % 6];
        } else if (round % 3 == 1) {
            x = static_cast<int32_t>(random() % 2000) - 1000;
            y = static_cast<int32_t>(random() % 2000) - 1000;
        }
        const int32_t angle =
            round % 2 ? static_cast<int32_t>(random() % 721) - 360 : static_cast<int32_t>(random());
        MatchList matches;
        const MatchList::Ref ref = matches.Append({x, y, angle});
        const MatchList::Ref selected = round % 4 == 0 ? ref : MatchList::Ref();

        // Device pixel (i, j) shows board pixel (x - 80 + i, y - 80 + j).
        const QPointF origin(double(x) - 80.0, double(y) - 80.0);
        const QImage image = Paint(matches, selected, origin, size);

        QImage fill(size, QImage::Format_RGB32);
        fill.fill(Qt::white);
        {
            QPainter painter(&fill);
            painter.translate(-origin);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            const MatchShape shape = matches.First()->GetShape();
            painter.drawPolygon(ShapePolygon(*matches.First(), shape.Stick), Qt::WindingFill);
            painter.drawPolygon(ShapePolygon(*matches.First(), shape.Head), Qt::WindingFill);
        }

        for (int j = 0; j < size.height(); ++j) {
            for (int i = 0; i < size.width(); ++i) {
                const int32_t bx = WrapAdd(x, i - 80);
                const int32_t by = WrapAdd(y, j - 80);
                const bool hit = HitTest(matches, bx, by) == ref;
                const QRgb pixel = image.pixel(i, j);
                const bool filled = fill.pixel(i, j) == qRgb(0, 0, 0);
                if (IsMatchColour(pixel) && !hit) {
                    QFAIL(qPrintable(QStringLiteral("painted pixel %1,%2 of match (%3, %4, %5) "
                                                    "is not a hit")
                                         .arg(i)
                                         .arg(j)
                                         .arg(x)
                                         .arg(y)
                                         .arg(angle)));
                }
                if (pixel == kBackground && hit) {
                    QFAIL(qPrintable(QStringLiteral("background pixel %1,%2 of match (%3, %4, "
                                                    "%5) is a hit")
                                         .arg(i)
                                         .arg(j)
                                         .arg(x)
                                         .arg(y)
                                         .arg(angle)));
                }
                if (hit != filled) {
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 of match (%3, %4, %5): hit %6, "
                                                    "filled %7")
                                         .arg(i)
                                         .arg(j)
                                         .arg(x)
                                         .arg(y)
                                         .arg(angle)
                                         .arg(hit)
                                         .arg(filled)));
                }
            }
        }
    }
}

// Several matches on one board: what shows a match's colours is a hit, what
// shows background is not.
void TestBoardPainter::riddlesAgreeWithHitTest() {
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        MatchList matches;
        const int count = 2 + int(random() % 8);
        for (int i = 0; i < count; ++i) {
            matches.Append({static_cast<int32_t>(60 + random() % 200),
                            static_cast<int32_t>(60 + random() % 150),
                            static_cast<int32_t>(random() % 360)});
        }
        const QImage image = Paint(matches, matches.Last());
        for (int j = 0; j < image.height(); ++j) {
            for (int i = 0; i < image.width(); ++i) {
                const QRgb pixel = image.pixel(i, j);
                const MatchList::Ref hit = HitTest(matches, i, j);
                if (IsMatchColour(pixel)) {
                    QVERIFY2(hit, qPrintable(QStringLiteral("round %1: %2,%3 painted, no hit")
                                                 .arg(round)
                                                 .arg(i)
                                                 .arg(j)));
                    // Blue shows only where the selected match is the one on top.
                    if (pixel == kSelectedHeadColor.rgb()) {
                        QCOMPARE(hit, matches.Last());
                    }
                } else if (pixel == kBackground) {
                    QVERIFY2(!hit, qPrintable(QStringLiteral("round %1: %2,%3 background, hit")
                                                  .arg(round)
                                                  .arg(i)
                                                  .arg(j)));
                }
            }
        }
    }
}

QTEST_MAIN(TestBoardPainter)
#include "test_board_painter.moc"

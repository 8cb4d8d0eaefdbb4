// SPDX-License-Identifier: GPL-3.0-or-later
// On a long list the painter lets the list's grid name the matches near the
// repainted part of the board. The picture must be the one that drawing every
// match in list order gives, selection and overlaps included.

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <random>

#include "board_painter.h"

using namespace vorlo;

class TestBoardPainterGrid : public QObject {
    Q_OBJECT

private slots:
    void clippedPaintEqualsMatchByMatchPaint();
};

namespace {

const QRgb kBackground = qRgb(0, 255, 0);

// Draws every match on its own, in list order: no grid can take part.
QImage PaintOneByOne(const MatchList& matches, MatchList::Ref selected, QPoint origin, QSize size,
                     const QRect& clip) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.translate(-origin);
    painter.setClipRect(clip);
    for (auto it = matches.begin(); it != matches.end(); ++it) {
        MatchList single;
        const MatchList::Ref ref = single.Append(*it);
        PaintBoard(painter, single, it.ref() == selected ? ref : MatchList::Ref(), clip);
    }
    return image;
}

QImage PaintWhole(const MatchList& matches, MatchList::Ref selected, QPoint origin, QSize size,
                  const QRect& clip) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.translate(-origin);
    painter.setClipRect(clip);
    PaintBoard(painter, matches, selected, clip);
    return image;
}

}  // namespace

void TestBoardPainterGrid::clippedPaintEqualsMatchByMatchPaint() {
    std::mt19937 rng(5);
    MatchList matches;
    std::vector<MatchList::Ref> refs;
    // Dense enough that matches overlap inside the repainted rectangles.
    for (int i = 0; i < 6000; ++i) {
        refs.push_back(matches.Append(Match(static_cast<int32_t>(rng() % 4000),
                                            static_cast<int32_t>(rng() % 4000),
                                            static_cast<int32_t>(rng() % 8) * 45)));
    }
    const QPoint origin(1000, 1200);
    const QSize size(800, 600);
    for (int round = 0; round < 12; ++round) {
        // Move, remove and add a few matches between paints.
        for (int k = 0; k < 5; ++k) {
            const MatchList::Ref r = refs[rng() % refs.size()];
            r->x = 1000 + static_cast<int32_t>(rng() % 800);
            r->y = 1200 + static_cast<int32_t>(rng() % 600);
            matches.Moved(r);
        }
        const size_t gone = rng() % refs.size();
        matches.Remove(refs[gone]);
        refs.erase(refs.begin() + static_cast<long>(gone));
        refs.push_back(matches.Append(Match(1300, 1400, round * 30)));
        const MatchList::Ref selected = refs[rng() % refs.size()];

        const QRect clip(origin.x() + static_cast<int>(rng() % 500),
                         origin.y() + static_cast<int>(rng() % 300),
                         150 + static_cast<int>(rng() % 200), 150 + static_cast<int>(rng() % 200));
        const QImage whole = PaintWhole(matches, selected, origin, size, clip);
        const QImage reference = PaintOneByOne(matches, selected, origin, size, clip);
        QVERIFY2(whole == reference, qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

QTEST_MAIN(TestBoardPainterGrid)
#include "test_board_painter_grid.moc"

// The board view: scroll extent, board coordinates under the scroll offset,
// the update handlers the commands ask, and the drawing through the painter.

#include <QScrollBar>
#include <QTest>

#include "vorlo_doc.h"
#include "vorlo_view.h"

using vorlo::CMatch;

class TestVorloView : public QObject {
    Q_OBJECT

private slots:
    void extentIsTheSizeAtTheInitialUpdate() {
        CVorloDoc doc;
        CVorloView view(&doc);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        doc.OnNewDocument();
        QCOMPARE(view.GetTotalSize(), QSize(400, 300));
        // A later resize does not change it; the next initial update does.
        view.resize(200, 100);
        QCOMPARE(view.GetTotalSize(), QSize(400, 300));
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
        doc.OnNewDocument();
        QCOMPARE(view.GetTotalSize(), QSize(200, 100));
    }

    void pressPointsAreScrolledLikeTheDrawing_data() {
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("viewport");
        QTest::addColumn<QPoint>("board");
        QTest::newRow("origin") << QPoint(0, 0) << QPoint(10, 20) << QPoint(10, 20);
        QTest::newRow("scrolled") << QPoint(100, 50) << QPoint(10, 20) << QPoint(110, 70);
        QTest::newRow("left of view") << QPoint(30, 0) << QPoint(-5, 0) << QPoint(25, 0);
    }
    void pressPointsAreScrolledLikeTheDrawing() {
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, viewport);
        QFETCH(QPoint, board);
        CVorloDoc doc;
        CVorloView view(&doc);
        view.resize(200, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.SetScrollSizes(QSize(1000, 1000));
        view.horizontalScrollBar()->setValue(scroll.x());
        view.verticalScrollBar()->setValue(scroll.y());
        const vorlo::Point32 p = view.BoardPointFromViewport(viewport);
        QCOMPARE(QPoint(p.x, p.y), board);
        QCOMPARE(view.VisibleBoardRect().topLeft(), scroll);
    }

    void updateHandlersAnswerFromTheDocument() {
        CVorloDoc doc;
        CVorloView view(&doc);
        QCOMPARE(view.OnUpdateIndicatorMatchCount(), QStringLiteral("0 matches"));
        QVERIFY(!view.OnUpdateNeedSelection());
        QVERIFY(!view.OnUpdateEditUndo());
        doc.SelectedMatch = doc.MatchList.Append(CMatch(1, 2, 3));
        doc.LastAction = vorlo::ActionRotate;
        QCOMPARE(view.OnUpdateIndicatorMatchCount(), QStringLiteral("1 matches"));
        QVERIFY(view.OnUpdateNeedSelection());
        QVERIFY(view.OnUpdateEditUndo());
        for (int i = 0; i < 11; ++i) {
            doc.MatchList.Append(CMatch(i, i, i));
        }
        QCOMPARE(view.OnUpdateIndicatorMatchCount(), QStringLiteral("12 matches"));
    }

    void drawsTheMatchesShiftedByTheScroll() {
        CVorloDoc doc;
        CVorloView view(&doc);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        doc.MatchList.Append(CMatch(150, 100, 0));  // stick from x 150 to about 210
        view.SetScrollSizes(QSize(1000, 1000));
        auto yellowAt = [&view](int x, int y) {
            const QImage image = view.viewport()->grab().toImage();
            const QColor c = image.pixelColor(x, y);
            return c.red() > 200 && c.green() > 150 && c.blue() < 80;
        };
        QVERIFY(yellowAt(170, 100));
        view.horizontalScrollBar()->setValue(100);
        QVERIFY(yellowAt(70, 100));
        QVERIFY(!yellowAt(170, 100));
    }
};

QTEST_MAIN(TestVorloView)
#include "test_vorlo_view.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The board view: scroll extent, board coordinates under the scroll offset,
// the drawing through the painter, and playing and editing the riddle with
// real mouse events and commands on the widget.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "board_view.h"
#include "riddle_document.h"
#include "riddle_file.h"

using vorlo::ActionAdd;
using vorlo::ActionDelete;
using vorlo::ActionMove;
using vorlo::ActionNone;
using vorlo::ActionRotate;
using vorlo::Match;
using vorlo::Point32;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)
Q_DECLARE_METATYPE(Qt::MouseButtons)

namespace {

QList<int> Fields(const Match& m) {
    return {m.x, m.y, m.angle};
}

QList<QList<int>> AllFields(const RiddleDocument& doc) {
    QList<QList<int>> all;
    for (const Match& m : doc.MatchList) {
        all << Fields(m);
    }
    return all;
}

QByteArray Block(int x, int y, int angle) {
    QByteArray bytes;
    for (int v : {x, y, angle}) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>((u >> (8 * i)) & 0xff);
        }
    }
    return bytes;
}

QByteArray ClipboardBytes() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data ? data->data(BoardView::MatchMimeType()) : QByteArray();
}

void SetClipboardBytes(const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(BoardView::MatchMimeType(), bytes);
    QApplication::clipboard()->setMimeData(data);
}

// Whether `region` covers all of `rect` (QRegion::contains only asks for overlap).
bool Covers(const QRegion& region, const QRect& rect) {
    return QRegion(rect).subtracted(region).isEmpty();
}

// Records the regions the viewport paints.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

// A shown board on a fresh riddle, optionally scrolled.
struct Board {
    RiddleDocument doc;
    BoardView view{&doc};
    QPoint scroll;

    explicit Board(QPoint scrollBy = QPoint(), QSize size = QSize(400, 300)) : scroll(scrollBy) {
        view.resize(size);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view)) {
            qFatal("board window not exposed");
        }
        doc.newRiddle();
        if (!scroll.isNull()) {
            view.SetScrollSizes(QSize(2000, 2000));
            view.horizontalScrollBar()->setValue(scroll.x());
            view.verticalScrollBar()->setValue(scroll.y());
        }
        QApplication::processEvents();
    }
    ~Board() { doc.setModified(false); }

    Match& Add(int x, int y, int angle) { return *doc.MatchList.Append(Match(x, y, angle)); }
    QWidget* Port() { return view.viewport(); }
    QPoint ToPort(QPoint board) const { return board - scroll; }

    // A press and its release, as the window system delivers them.
    void Click(Qt::MouseButton button, QPoint board, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(Port(), button, mods, ToPort(board));
        QTest::mouseRelease(Port(), button, mods, ToPort(board));
    }
    // A movement with the given buttons held, delivered as the window system
    // would: through the application, so tracking rules apply.
    void Move(QPoint board, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
        const QPoint local = ToPort(board);
        QMouseEvent event(QEvent::MouseMove, local, Port()->mapToGlobal(local), Qt::NoButton,
                          buttons, mods);
        QApplication::sendEvent(Port(), &event);
    }
    bool ShowsCursor(const QCursor& cursor) {
        return Port()->testAttribute(Qt::WA_SetCursor) && Port()->cursor() == cursor;
    }
    bool ShowsOrdinaryCursor() { return !Port()->testAttribute(Qt::WA_SetCursor); }
    // The viewport rectangle a match covers.
    QRect MatchRect(const Match& m) const {
        QPolygon outline;
        const vorlo::MatchShape shape = m.GetShape();
        for (const Point32& p : shape.Stick) {
            outline << QPoint(p.x, p.y);
        }
        for (const Point32& p : shape.Head) {
            outline << QPoint(p.x, p.y);
        }
        return outline.boundingRect().translated(-scroll).intersected(
            QRect(QPoint(), view.viewport()->size()));
    }
    // What the screen shows of the board, and what a fresh paint would show.
    QImage OnScreen() {
        const QRect port = view.viewport()->geometry();
        return view.windowHandle()
            ->screen()
            ->grabWindow(view.winId(), port.x(), port.y(), port.width(), port.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage FreshPaint() {
        return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The viewport rectangle of a board rectangle with exclusive right/bottom.
    QRect PortRect(int left, int top, int right, int bottom) const {
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))
            .translated(-scroll)
            .intersected(QRect(QPoint(), view.viewport()->size()));
    }
};

}  // namespace

class TestBoardView : public QObject {
    Q_OBJECT

private slots:
    void extentIsTheSizeAtTheInitialUpdate() {
        RiddleDocument doc;
        BoardView view(&doc);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        doc.newRiddle();
        QCOMPARE(view.GetTotalSize(), QSize(400, 300));
        // A later resize does not change it; the next initial update does.
        view.resize(200, 100);
        QCOMPARE(view.GetTotalSize(), QSize(400, 300));
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
        doc.newRiddle();
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
        RiddleDocument doc;
        BoardView view(&doc);
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
        RiddleDocument doc;
        BoardView view(&doc);
        QCOMPARE(view.matchCountText(), QStringLiteral("0 matches"));
        QVERIFY(!view.hasSelection());
        QVERIFY(!view.canUndo());
        doc.SelectedMatch = doc.MatchList.Append(Match(1, 2, 3));
        doc.LastAction = vorlo::ActionRotate;
        QCOMPARE(view.matchCountText(), QStringLiteral("1 matches"));
        QVERIFY(view.hasSelection());
        QVERIFY(view.canUndo());
        for (int i = 0; i < 11; ++i) {
            doc.MatchList.Append(Match(i, i, i));
        }
        QCOMPARE(view.matchCountText(), QStringLiteral("12 matches"));
    }

    void drawsTheMatchesShiftedByTheScroll() {
        RiddleDocument doc;
        BoardView view(&doc);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        doc.MatchList.Append(Match(150, 100, 0));  // stick from x 150 to about 210
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

    // ----- mouse -----

    void keyStateWord_data() {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<uint>("word");
        QTest::newRow("none") << Qt::MouseButtons() << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("left") << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers() << 1u;
        QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton) << Qt::KeyboardModifiers()
                               << 2u;
        QTest::newRow("left+shift")
            << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 5u;
        QTest::newRow("right+ctrl") << Qt::MouseButtons(Qt::RightButton)
                                    << Qt::KeyboardModifiers(Qt::ControlModifier) << 10u;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << Qt::KeyboardModifiers()
                                << 16u;
        QTest::newRow("everything")
            << (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)
            << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << 31u;
    }
    void keyStateWord() {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(uint, word);
        // The word packs the flags as left 1, right 2, Shift 4, Ctrl 8, middle
        // 16; Alt is none of them.
        const vorlo::PointerInput held = BoardView::PointerHeld(buttons, mods);
        const uint got = (held.left ? 1u : 0u) | (held.right ? 2u : 0u) | (held.shift ? 4u : 0u) |
                         (held.ctrl ? 8u : 0u) | (held.middle ? 16u : 0u);
        QCOMPARE(got, word);
    }

    void scrolled_data() {
        QTest::addColumn<QPoint>("scroll");
        QTest::newRow("at origin") << QPoint(0, 0);
        QTest::newRow("scrolled") << QPoint(30, 20);
    }

    // A right press turns the match about the end farther from the grab.
    void rightPressChoosesThePivot_data() {
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("pivot");
        QTest::addColumn<bool>("atHead");
        QTest::newRow("near tail") << QPoint() << QPoint(110, 100) << QPoint(173, 96) << true;
        QTest::newRow("near head") << QPoint() << QPoint(160, 100) << QPoint(100, 103) << false;
        QTest::newRow("near tail, scrolled")
            << QPoint(30, 20) << QPoint(110, 100) << QPoint(173, 96) << true;
        QTest::newRow("near head, scrolled")
            << QPoint(30, 20) << QPoint(160, 100) << QPoint(100, 103) << false;
    }
    void rightPressChoosesThePivot() {
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, press);
        QFETCH(QPoint, pivot);
        QFETCH(bool, atHead);
        Board b(scroll);
        Match& m = b.Add(100, 100, 0);
        b.Click(Qt::RightButton, press);
        QVERIFY(b.doc.SelectedMatch);
        QCOMPARE(&*b.doc.SelectedMatch, &m);
        QCOMPARE(b.doc.LastAction, int(ActionRotate));
        QCOMPARE(QPoint(b.view.Editor().Anchor().x, b.view.Editor().Anchor().y), pivot);
        QCOMPARE(b.view.Editor().PivotAtHead(), atHead);
        QCOMPARE(b.view.Editor().SavedAngle(), 0);
        QVERIFY(b.ShowsCursor(b.view.RotateCursor()));
        // A press changes nothing of the match and does not mark the riddle.
        QCOMPARE(Fields(m), (QList<int>{100, 100, 0}));
        QVERIFY(!b.doc.isModified());
    }

    void rightDragTurnsAboutTheTailCorner() {
        QFETCH(QPoint, scroll);
        Board b(scroll);
        Match& m = b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), Qt::RightButton, {}, b.ToPort({160, 100}));
        // Let the press's own repaint of the whole board happen first.
        QApplication::processEvents();
        struct Step {
            QPoint to;
            int angle;
        };
        // Level with the pivot (y 103) the angle stays as it was.
        for (const Step& s : {Step{{150, 53}, 45}, Step{{100, 50}, 90}, Step{{150, 153}, -45},
                              Step{{150, 103}, -45}}) {
            PaintRecorder recorder(b.Port());
            b.Move(s.to, Qt::RightButton);
            QCOMPARE(Fields(m), (QList<int>{100, 100, s.angle}));
            // The square around the pivot (100, 103) is painted before the
            // movement returns, and so is the whole match.
            QVERIFY(Covers(recorder.painted, b.PortRect(25, 28, 175, 178)));
            QVERIFY(Covers(recorder.painted, b.MatchRect(m)));
            QVERIFY(b.ShowsCursor(b.view.RotateCursor()));
        }
        QVERIFY(b.doc.isModified());
        QTest::mouseRelease(b.Port(), Qt::RightButton, {}, b.ToPort({150, 103}));
    }
    void rightDragTurnsAboutTheTailCorner_data() { scrolled_data(); }

    void rightDragTurnsAboutTheHead_data() {
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QList<int>>("match");
        QTest::newRow("up") << QPoint() << QPoint(173, 20) << QList<int>{169, 23, 270};
        QTest::newRow("up, scrolled")
            << QPoint(30, 20) << QPoint(173, 20) << QList<int>{169, 23, 270};
        QTest::newRow("level") << QPoint() << QPoint(120, 96) << QList<int>{100, 100, 0};
    }
    void rightDragTurnsAboutTheHead() {
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, to);
        QFETCH(QList<int>, match);
        Board b(scroll);
        Match& m = b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), Qt::RightButton, {}, b.ToPort({110, 100}));
        QApplication::processEvents();
        PaintRecorder recorder(b.Port());
        b.Move(to, Qt::RightButton);
        QTest::mouseRelease(b.Port(), Qt::RightButton, {}, b.ToPort(to));
        QCOMPARE(Fields(m), match);
        // Head vertex 2 stays on the pivot.
        QCOMPARE(m.GetShape().Head[2], (Point32{173, 96}));
        QVERIFY(b.doc.isModified());
        QVERIFY(Covers(recorder.painted, b.PortRect(98, 21, 248, 171)));
        QVERIFY(Covers(recorder.painted, b.MatchRect(m)));
    }

    void leftDragMovesWithTheGrabOffset() {
        QFETCH(QPoint, scroll);
        Board b(scroll);
        Match& m = b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, b.ToPort({130, 100}));
        QCOMPARE(b.doc.LastAction, int(ActionMove));
        QCOMPARE(b.view.Editor().Anchor(), (Point32{30, 0}));
        QCOMPARE(b.view.Editor().SavedPosition(), (Point32{100, 100}));
        QVERIFY(b.ShowsCursor(b.view.MoveCursor()));
        // Let the press's own repaint of the whole board happen first.
        QApplication::processEvents();
        PaintRecorder recorder(b.Port());
        b.Move({140, 120}, Qt::LeftButton);
        QCOMPARE(Fields(m), (QList<int>{110, 120, 0}));
        // hw 115, hh 95 about the pointer, painted before the move returned.
        QCOMPARE(recorder.painted.boundingRect(), b.PortRect(25, 25, 255, 215));
        QVERIFY(b.doc.isModified());
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, b.ToPort({140, 120}));
        // The ordinary cursor is back with the first movement without a button.
        b.Move({141, 121}, Qt::NoButton);
        QVERIFY(b.ShowsOrdinaryCursor());
        QCOMPARE(Fields(m), (QList<int>{110, 120, 0}));
        // Undo puts it back where it was.
        b.view.undo();
        QCOMPARE(Fields(m), (QList<int>{100, 100, 0}));
    }
    void leftDragMovesWithTheGrabOffset_data() { scrolled_data(); }

    // Qt hands every movement after a press to the pressed viewport, also
    // from over the other panes; the board takes only those over itself, so
    // a match dragged off it stays where it last was on the board, and comes
    // along again with the same grab when the pointer returns with the button
    // still held.
    void aDragOffTheBoardLeavesTheMatchOnIt_data() {
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QString>("side");
        for (const QPoint scroll : {QPoint(), QPoint(30, 20)}) {
            for (const char* side : {"left", "above", "right", "below"}) {
                QTest::addRow("%s, scrolled %d", side, scroll.x())
                    << scroll << QString::fromLatin1(side);
            }
        }
    }
    void aDragOffTheBoardLeavesTheMatchOnIt() {
        QFETCH(QPoint, scroll);
        QFETCH(QString, side);
        Board b(scroll);
        b.view.SetScrollSizes(QSize(600, 500));
        Match& m = b.Add(100, 100, 0);
        // Grabbed at its tail point, the match lies where the pointer is.
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, b.ToPort({102, 100}));
        b.Move({150, 120}, Qt::LeftButton);
        QCOMPARE(Fields(m), (QList<int>{148, 120, 0}));
        // Out of the viewport on one side, as far as another pane lies.
        const QSize port = b.Port()->size();
        const QPoint outside = side == QLatin1String("left")    ? QPoint(-150, 120)
                               : side == QLatin1String("above") ? QPoint(150, -80)
                               : side == QLatin1String("right") ? QPoint(port.width() + 40, 120)
                                                                : QPoint(150, port.height() + 60);
        b.doc.setModified(false);
        b.Move(outside + b.scroll, Qt::LeftButton);
        b.Move(outside * 3 + b.scroll, Qt::LeftButton);
        QCOMPARE(Fields(m), (QList<int>{148, 120, 0}));
        QVERIFY(!b.doc.isModified());
        // Released out there: the riddle as saved holds the match on the board.
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, outside * 3);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("dragged.vrl"));
        QString error;
        QVERIFY2(b.doc.save(path, &error), qPrintable(error));
        const vorlo::RiddleReadResult saved = vorlo::ReadRiddleFile(path.toStdString());
        QVERIFY(saved.ok);
        const QRect board(QPoint(0, 0), b.view.GetTotalSize());
        for (const Match& match : saved.riddle.matches) {
            QVERIFY2(board.contains(match.x, match.y),
                     qPrintable(QStringLiteral("%1, %2").arg(match.x).arg(match.y)));
        }
        // The button held while the pointer enters the board again: the
        // match follows with the grab of the last press.
        b.Move({200, 150}, Qt::LeftButton);
        QCOMPARE(Fields(m), (QList<int>{198, 150, 0}));
        // The same for a match selected by a command, with no press at all.
        b.view.addMatch();
        Match& added = *b.doc.SelectedMatch;
        const QList<int> before = Fields(added);
        b.Move(outside + b.scroll, Qt::LeftButton);
        QCOMPARE(Fields(added), before);
        b.Move({60, 70}, Qt::LeftButton);
        QCOMPARE(Fields(added), (QList<int>{58, 70, 90}));
    }

    // However the match goes, the screen shows exactly the board as it now
    // is: no piece of the match is left where it was.
    void noPieceOfAMatchIsLeftBehind_data() {
        QTest::addColumn<QList<int>>("match");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::newRow("turned about the tail")
            << QList<int>{150, 200, 90} << Qt::RightButton << QPoint(150, 135)
            << QList<QPoint>{{170, 135}, {200, 150}, {230, 180}, {240, 199}};
        QTest::newRow("turned about the head")
            << QList<int>{100, 150, 0} << Qt::RightButton << QPoint(105, 150)
            << QList<QPoint>{{100, 120}, {120, 80}, {160, 70}};
        QTest::newRow("moved sideways, grabbed at the tail")
            << QList<int>{150, 200, 90} << Qt::LeftButton << QPoint(150, 199)
            << QList<QPoint>{{149, 199}, {147, 199}, {144, 199}};
    }
    void noPieceOfAMatchIsLeftBehind() {
        QFETCH(QList<int>, match);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, path);
        Board b;
        b.Add(match[0], match[1], match[2]);
        QTest::mousePress(b.Port(), button, {}, press);
        QApplication::processEvents();
        QVERIFY(b.doc.SelectedMatch);
        for (const QPoint& p : path) {
            b.Move(p, button);
        }
        const QImage screen = b.OnScreen();
        const QImage fresh = b.FreshPaint();
        QTest::mouseRelease(b.Port(), button, {}, path.last());
        QVERIFY(Fields(*b.doc.SelectedMatch) != match);
        QCOMPARE(screen.size(), fresh.size());
        QVERIFY(screen == fresh);
    }

    void theMovedMatchIsDrawnWhereItWent() {
        Board b;
        b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, {130, 100});
        b.Move({140, 160}, Qt::LeftButton);
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, {140, 160});
        QApplication::processEvents();
        const QImage image = b.Port()->grab().toImage();
        auto isBlue = [&image](int x, int y) {
            const QColor c = image.pixelColor(x, y);
            return c.blue() > 200 && c.red() < 80;
        };
        auto isYellow = [&image](int x, int y) {
            const QColor c = image.pixelColor(x, y);
            return c.red() > 200 && c.green() > 150 && c.blue() < 80;
        };
        // Now at (110, 160): the stick there, the selected head blue, and
        // nothing left at the old place.
        QVERIFY(isYellow(140, 160));
        QVERIFY(isBlue(178, 160));
        QVERIFY(!isYellow(130, 100));
    }

    // Anything but exactly one button holds the match; letting go of the
    // extra key or button lets it follow again with the same grab.
    void extraKeysStopADrag_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::MouseButtons>("held");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<QList<int>>("after");  // after the plain move to (150, 60)
        const QList<int> moved{90, 60, 0};
        const QList<int> turned{100, 100, 40};
        QTest::newRow("left+shift") << Qt::LeftButton << Qt::MouseButtons(Qt::LeftButton)
                                    << Qt::KeyboardModifiers(Qt::ShiftModifier) << moved;
        QTest::newRow("left+ctrl") << Qt::LeftButton << Qt::MouseButtons(Qt::LeftButton)
                                   << Qt::KeyboardModifiers(Qt::ControlModifier) << moved;
        QTest::newRow("left+middle") << Qt::LeftButton << (Qt::LeftButton | Qt::MiddleButton)
                                     << Qt::KeyboardModifiers() << moved;
        QTest::newRow("both, left first") << Qt::LeftButton << (Qt::LeftButton | Qt::RightButton)
                                          << Qt::KeyboardModifiers() << moved;
        QTest::newRow("right+shift") << Qt::RightButton << Qt::MouseButtons(Qt::RightButton)
                                     << Qt::KeyboardModifiers(Qt::ShiftModifier) << turned;
        QTest::newRow("both, right first") << Qt::RightButton << (Qt::LeftButton | Qt::RightButton)
                                           << Qt::KeyboardModifiers() << turned;
    }
    void extraKeysStopADrag() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::MouseButtons, held);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(QList<int>, after);
        Board b;
        Match& m = b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), button, {}, {160, 100});  // pivot at the tail corner if right
        b.doc.setModified(false);
        b.Move({150, 60}, held, mods);
        b.Move({170, 30}, held, mods);
        QCOMPARE(Fields(m), (QList<int>{100, 100, 0}));
        QVERIFY(!b.doc.isModified());
        QVERIFY(b.ShowsOrdinaryCursor());
        b.Move({150, 60}, button);
        QCOMPARE(Fields(m), after);
        QTest::mouseRelease(b.Port(), button, {}, {150, 60});
    }

    void pressOnEmptyBoardClearsTheSelection() {
        QFETCH(QPoint, scroll);
        Board b(scroll);
        Match& m = b.Add(100, 100, 0);
        // A drag leaves the move cursor up and a move to undo.
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, b.ToPort({130, 100}));
        b.Move({131, 100}, Qt::LeftButton);
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, b.ToPort({131, 100}));
        QCOMPARE(Fields(m), (QList<int>{101, 100, 0}));
        int updates = 0;
        connect(&b.doc, &RiddleDocument::contentsChanged, this, [&updates] { ++updates; });
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            b.doc.SelectedMatch = b.doc.MatchList.First();
            b.Port()->setCursor(b.view.MoveCursor());
            QTest::mousePress(b.Port(), button, {}, b.ToPort({300, 250}));
            QVERIFY(!b.doc.SelectedMatch);
            // The last action stays undoable and the cursor stays as it was.
            QCOMPARE(b.doc.LastAction, int(ActionMove));
            QVERIFY(b.ShowsCursor(b.view.MoveCursor()));
            // The drag that follows changes nothing and shows the ordinary cursor.
            b.Move({200, 200}, button);
            QTest::mouseRelease(b.Port(), button, {}, b.ToPort({200, 200}));
            QCOMPARE(Fields(m), (QList<int>{101, 100, 0}));
            QVERIFY(b.ShowsOrdinaryCursor());
        }
        QCOMPARE(updates, 2);
    }
    void pressOnEmptyBoardClearsTheSelection_data() { scrolled_data(); }

    // ----- commands -----

    // New matches step right from the board's top left corner, 18 px apart.
    // Spots that reach the viewport's edge, or lie over a match, are passed
    // over, and a full row gives way to the one below.
    void addStepsAcrossTheBoardWidth() {
        Board b(QPoint(), QSize(300, 200));
        b.view.Editor().SetNewMatchCounter(0);
        QList<QList<int>> added;
        for (int i = 0; i < 18; ++i) {
            b.view.addMatch();
            QVERIFY(b.doc.SelectedMatch);
            added << Fields(*b.doc.SelectedMatch);
        }
        QList<QList<int>> expected;
        for (int x = 20; x <= 272; x += 18) {
            expected << QList<int>{x, 85, 90};
        }
        // 290 would touch the edge of the 284 px viewport and 308 lies past
        // it; the spots after the wrap at 300 (26, 44, ...) each meet a match
        // of the first row, so they go to the row below.
        expected << QList<int>{26, 175, 90} << QList<int>{44, 175, 90} << QList<int>{62, 175, 90};
        QCOMPARE(b.view.viewport()->width(), 284);
        QCOMPARE(added, expected);
        QCOMPARE(b.doc.LastAction, int(ActionAdd));
        QVERIFY(b.doc.isModified());
        // A new riddle keeps the sequence going, from the counter's own spot.
        b.doc.newRiddle();
        b.view.addMatch();
        QCOMPARE(Fields(*b.doc.SelectedMatch), (QList<int>{80, 85, 90}));
    }

    // Zoomed in, the board window shows fewer board pixels: new matches
    // wrap where the visible board ends rather than at the screen width,
    // and stay in view. Each match is deleted again, so that only the edge
    // passes spots over.
    void addWrapsAtTheVisibleBoardWidth_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QList<int>>("xs");
        // 300 screen px: 300, 200, 150, 100 and 75 board px to wrap at, of
        // which 284 by 184 screen px are in view. The counter runs 0, 18,
        // 36, ...; x = counter mod width + 20 unless that reaches the edge.
        QTest::newRow("100%") << 100 << QList<int>{254, 272, 26, 44};
        QTest::newRow("150%") << 150 << QList<int>{146, 164, 36, 54};
        QTest::newRow("200%") << 200 << QList<int>{110, 128, 32, 50};
        // From 300% a match is taller than the view: no spot is clear, and
        // every spot is the counter's own.
        QTest::newRow("300%") << 300 << QList<int>{92, 110, 28, 46};
        QTest::newRow("400%") << 400 << QList<int>{74, 92, 35, 53};
    }
    void addWrapsAtTheVisibleBoardWidth() {
        QFETCH(int, zoom);
        QFETCH(QList<int>, xs);
        Board b(QPoint(), QSize(300, 200));
        QCOMPARE(b.view.SetZoom(zoom), zoom != 100);
        QCOMPARE(b.view.Zoom(), zoom);
        b.view.Editor().SetNewMatchCounter(0);
        // Add until the spots wrap, then twice more.
        QList<int> seen;
        int wrapped = 0;
        while (wrapped < 2 && seen.size() < 100) {
            b.view.addMatch();
            const int x = b.doc.SelectedMatch->x;
            if (wrapped > 0 || (!seen.isEmpty() && x < seen.last())) {
                ++wrapped;
            }
            seen << x;
            b.view.deleteMatch();
        }
        QCOMPARE(seen.mid(seen.size() - 4), xs);
    }

    void deleteAndUndoAlternate() {
        Board b;
        b.Add(1, 1, 1);
        Match& middle = b.Add(2, 2, 2);
        b.Add(3, 3, 3);
        b.doc.SelectedMatch = b.doc.MatchList.First().Next();
        QCOMPARE(&*b.doc.SelectedMatch, &middle);
        b.view.deleteMatch();
        QCOMPARE(AllFields(b.doc), (QList<QList<int>>{{1, 1, 1}, {3, 3, 3}}));
        QCOMPARE(Fields(*b.doc.SelectedMatch), (QList<int>{3, 3, 3}));
        QCOMPARE(b.doc.LastAction, int(ActionDelete));
        // Undo brings it back on top, a second undo removes it, a third
        // brings it back again.
        const QList<QList<int>> restored{{1, 1, 1}, {3, 3, 3}, {2, 2, 2}};
        const QList<QList<int>> removed{{1, 1, 1}, {3, 3, 3}};
        for (int i = 0; i < 4; ++i) {
            b.view.undo();
            QCOMPARE(AllFields(b.doc), i % 2 == 0 ? restored : removed);
            QCOMPARE(b.doc.LastAction, int(i % 2 == 0 ? ActionAdd : ActionDelete));
        }
        // Deleting everything leaves nothing selected; delete is then a no-op.
        b.view.deleteMatch();
        b.view.deleteMatch();
        QVERIFY(!b.view.hasSelection());
        b.view.deleteMatch();
        QCOMPARE(b.doc.MatchList.Count(), size_t{0});
        QVERIFY(b.view.canUndo());
    }

    void pasteCascadesThroughTheClipboard() {
        Board b;
        b.doc.SelectedMatch = b.doc.MatchList.Append(Match(100, 200, 30));
        b.view.copy();
        QCOMPARE(ClipboardBytes(), Block(100, 200, 30));
        QCOMPARE(QApplication::clipboard()->mimeData()->formats(),
                 QStringList{BoardView::MatchMimeType()});
        b.view.paste();
        b.view.paste();
        QCOMPARE(AllFields(b.doc),
                 (QList<QList<int>>{{100, 200, 30}, {105, 205, 30}, {110, 210, 30}}));
        QCOMPARE(Fields(*b.doc.SelectedMatch), (QList<int>{110, 210, 30}));
        QCOMPARE(ClipboardBytes(), Block(110, 210, 30));
        // The cascade goes on in another riddle.
        b.doc.newRiddle();
        b.view.paste();
        QCOMPARE(AllFields(b.doc), (QList<QList<int>>{{115, 215, 30}}));
        // A new copy starts again from the copied match.
        b.view.copy();
        b.view.paste();
        QCOMPARE(Fields(*b.doc.SelectedMatch), (QList<int>{120, 220, 30}));
    }

    // A match pasted off the screen comes into view, selected; one already
    // on it leaves the view where it is.
    void pastedMatchIsScrolledIntoView_data() {
        QTest::addColumn<QPoint>("copied");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("on the screen") << QPoint(500, 400) << false;
        QTest::newRow("below and right") << QPoint(1500, 1200) << true;
        QTest::newRow("above and left") << QPoint(50, 150) << true;
    }
    void pastedMatchIsScrolledIntoView() {
        QFETCH(QPoint, copied);
        QFETCH(bool, scrolls);
        Board b(QPoint(300, 200));
        b.doc.SelectedMatch = b.doc.MatchList.Append(Match(copied.x(), copied.y(), 0));
        b.view.copy();
        b.view.paste();
        const Match pasted = *b.doc.SelectedMatch;
        QCOMPARE(pasted, Match(copied.x() + 5, copied.y() + 5, 0));
        const QRect shown = b.view.VisibleBoardRect();
        const vorlo::BoardRect bounds = vorlo::MatchBounds(pasted);
        QVERIFY(shown.contains(
            QRect(QPoint(bounds.left, bounds.top), QPoint(bounds.right - 1, bounds.bottom - 1))));
        const QPoint at(b.view.horizontalScrollBar()->value(), b.view.verticalScrollBar()->value());
        QCOMPARE(at != QPoint(300, 200), scrolls);
    }

    // Let go just short of another match's end with snapping off, a drag
    // says so (the window then offers snapping); on it, far from it, or with
    // snapping on, it does not.
    void aDropJustShortOfAnEndIsTold_data() {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("snapping");
        QTest::addColumn<bool>("told");
        // The other match lies at (200, 100, 0): its head's tip at (276, 100).
        // The dragged one starts at (100, 200, 0), grabbed 30 px from its tail.
        QTest::newRow("tail 4 px from the head") << QPoint(310, 100) << false << true;
        QTest::newRow("tail on the head") << QPoint(306, 100) << false << false;
        QTest::newRow("far from every end") << QPoint(330, 250) << false << false;
        QTest::newRow("snapping on") << QPoint(310, 100) << true << false;
    }
    void aDropJustShortOfAnEndIsTold() {
        QFETCH(QPoint, to);
        QFETCH(bool, snapping);
        QFETCH(bool, told);
        Board b;
        b.Add(200, 100, 0);
        b.Add(100, 200, 0);
        b.view.SetSnapping(snapping);
        QSignalSpy spy(&b.view, &BoardView::DroppedNearAnother);
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, b.ToPort(QPoint(130, 200)));
        b.Move(to, Qt::LeftButton);
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, b.ToPort(to));
        QCOMPARE(spy.size(), told ? 1 : 0);
        // A click that moves nothing tells nothing.
        b.Click(Qt::LeftButton, to);
        QCOMPARE(spy.size(), told ? 1 : 0);
    }

    void pasteReadsOnlyAWholeBlock_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QList<int>>>("matches");
        QTest::addColumn<QByteArray>("clipboardAfter");
        const QByteArray tail("\x01\x02\x03\x04", 4);
        QTest::newRow("no match data")
            << false << QByteArray() << QList<QList<int>>{} << QByteArray();
        QTest::newRow("empty") << true << QByteArray() << QList<QList<int>>{} << QByteArray();
        QTest::newRow("eleven bytes")
            << true << Block(1, 2, 3).left(11) << QList<QList<int>>{} << Block(1, 2, 3).left(11);
        QTest::newRow("longer block keeps its tail")
            << true << Block(-7, 8, -90) + tail << QList<QList<int>>{{-2, 13, -90}}
            << Block(-2, 13, -90) + tail;
        QTest::newRow("wraps at the 32-bit end")
            << true << Block(2147483645, 0, 0) << QList<QList<int>>{{-2147483646, 5, 0}}
            << Block(-2147483646, 5, 0);
    }
    void pasteReadsOnlyAWholeBlock() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QList<int>>, matches);
        QFETCH(QByteArray, clipboardAfter);
        Board b;
        if (present) {
            SetClipboardBytes(bytes);
        } else {
            QApplication::clipboard()->setText(QStringLiteral("not a match"));
        }
        b.view.paste();
        QCOMPARE(AllFields(b.doc), matches);
        QCOMPARE(b.doc.LastAction, int(matches.isEmpty() ? ActionNone : ActionAdd));
        QCOMPARE(ClipboardBytes(), clipboardAfter);
        if (!present) {
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("not a match"));
        }
    }

    void copyAndCutWithoutSelectionLeaveTheClipboard() {
        Board b;
        b.Add(5, 5, 5);
        QApplication::clipboard()->setText(QStringLiteral("someone else's"));
        b.view.copy();
        b.view.cut();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("someone else's"));
        QCOMPARE(b.doc.MatchList.Count(), size_t{1});
        QCOMPARE(b.doc.LastAction, int(ActionNone));
    }

    void cutCopiesThenDeletes() {
        Board b;
        b.Add(1, 1, 1);
        b.doc.SelectedMatch = b.doc.MatchList.Append(Match(40, 50, 60));
        b.view.cut();
        QCOMPARE(ClipboardBytes(), Block(40, 50, 60));
        QCOMPARE(AllFields(b.doc), (QList<QList<int>>{{1, 1, 1}}));
        QCOMPARE(b.doc.LastAction, int(ActionDelete));
        b.view.paste();
        QCOMPARE(AllFields(b.doc), (QList<QList<int>>{{1, 1, 1}, {45, 55, 60}}));
    }

    void rotateTo90SnapsAndUndoes_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        for (const auto& [from, to] : std::initializer_list<std::pair<int, int>>{{45, 0},
                                                                                 {46, 90},
                                                                                 {-45, -90},
                                                                                 {-135, -180},
                                                                                 {-225, 90},
                                                                                 {170, -180},
                                                                                 {250, -90},
                                                                                 {0, 0},
                                                                                 {360, 0}}) {
            QTest::addRow("%d", from) << from << to;
        }
    }
    void rotateTo90SnapsAndUndoes() {
        QFETCH(int, from);
        QFETCH(int, to);
        Board b;
        b.doc.SelectedMatch = b.doc.MatchList.Append(Match(100, 100, from));
        b.view.rotateTo90();
        QCOMPARE(b.doc.SelectedMatch->angle, to);
        QCOMPARE(b.doc.LastAction, int(ActionRotate));
        QVERIFY(b.doc.isModified());
        b.view.undo();
        QCOMPARE(Fields(*b.doc.SelectedMatch), (QList<int>{100, 100, from}));
    }

    void anOpenedRiddleForgetsTheUndoneMatch() {
        Board b;
        b.Add(100, 100, 0);
        QTest::mousePress(b.Port(), Qt::RightButton, {}, {110, 100});
        QTest::mouseRelease(b.Port(), Qt::RightButton, {}, {110, 100});
        QVERIFY(b.view.Editor().UndoMatch());
        b.doc.newRiddle();
        QVERIFY(!b.view.Editor().UndoMatch());
        QVERIFY(!b.view.canUndo());
    }

    // The cursors are the program's own pictures with their hot spots: 32 x 32
    // on ordinary screens, the same drawing at 64 x 64 where a logical pixel
    // is two, with the hot spot on the same place of the drawing.
    void cursorsAreTheBoardsOwn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QPoint>("hot");
        QTest::addColumn<bool>("onPicture");
        for (const qreal ratio : {1.0, 2.0}) {
            QTest::addRow("rotate at %g", ratio)
                << int(vorlo::BoardCursor::Rotate) << ratio << QPoint(7, 14) << true;
            QTest::addRow("move at %g", ratio)
                << int(vorlo::BoardCursor::Move) << ratio << QPoint(15, 15) << false;
        }
    }
    void cursorsAreTheBoardsOwn() {
        QFETCH(int, kind);
        QFETCH(qreal, ratio);
        QFETCH(QPoint, hot);
        QFETCH(bool, onPicture);
        const QCursor cursor = BoardView::DragCursor(static_cast<vorlo::BoardCursor>(kind), ratio);
        const int size = 32 * int(ratio);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        // The hot spot is given in logical pixels, the picture in device pixels.
        QCOMPARE(cursor.hotSpot(), hot);
        QImage picture;
        QImage cover;
        if (ratio == 1.0) {
            picture = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
            cover = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY(cursor.pixmap().isNull());
        } else {
            QCOMPARE(cursor.pixmap().devicePixelRatio(), ratio);
            const QImage argb = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            picture = QImage(argb.size(), QImage::Format_RGB32);
            cover = QImage(argb.size(), QImage::Format_RGB32);
            for (int y = 0; y < argb.height(); ++y) {
                for (int x = 0; x < argb.width(); ++x) {
                    const QColor c = argb.pixelColor(x, y);
                    picture.setPixelColor(
                        x, y, c.alpha() == 255 && c.value() == 0 ? Qt::black : Qt::white);
                    cover.setPixelColor(x, y, c.alpha() == 255 ? Qt::black : Qt::white);
                }
            }
        }
        QCOMPARE(picture.size(), QSize(size, size));
        // The rotate cursor's hot spot is the tip of its arrow; the move
        // cursor's is the open centre between its four arrows.
        const QPoint hotPixel = hot * int(ratio);
        QCOMPARE(picture.pixelColor(hotPixel) == Qt::black, onPicture);
        // Every black pixel lies on the mask, inside its white rim.
        int black = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (picture.pixelColor(x, y) == Qt::black) {
                    ++black;
                    QVERIFY(cover.pixelColor(x, y) == Qt::black);
                    // The rim: every pixel one logical pixel away is covered.
                    const int rim = int(ratio);
                    for (const QPoint d :
                         {QPoint(rim, 0), QPoint(-rim, 0), QPoint(0, rim), QPoint(0, -rim)}) {
                        const QPoint p = QPoint(x, y) + d;
                        if (picture.rect().contains(p)) {
                            QVERIFY(cover.pixelColor(p) == Qt::black);
                        }
                    }
                }
            }
        }
        QVERIFY(black > 60 * int(ratio * ratio));
        if (ratio > 1.0) {
            // The same drawing as the small one: scaled down, they agree
            // nearly everywhere.
            const QCursor small = BoardView::DragCursor(static_cast<vorlo::BoardCursor>(kind), 1.0);
            const QImage smallPicture =
                small.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
            int differ = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    int inked = 0;
                    for (int d = 0; d < 4; ++d) {
                        inked += picture.pixelColor(2 * x + d % 2, 2 * y + d / 2) == Qt::black;
                    }
                    differ += (inked >= 2) != (smallPicture.pixelColor(x, y) == Qt::black);
                }
            }
            QVERIFY2(differ <= 32, qPrintable(QString::number(differ)));
        }
    }

    // The board puts up the drag cursors drawn for its screen.
    void dragCursorsSuitTheScreen() {
        Board b;
        b.Add(100, 100, 0);
        const qreal ratio = b.Port()->devicePixelRatioF();
        if (qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2) {
            QCOMPARE(ratio, 2.0);  // the run that stands for a screen at 200 %
        }
        QTest::mousePress(b.Port(), Qt::LeftButton, {}, {130, 100});
        QVERIFY(b.ShowsCursor(b.view.MoveCursor()));
        const QCursor shown = b.Port()->cursor();
        const QSize picture =
            shown.pixmap().isNull() ? shown.bitmap().size() : shown.pixmap().size();
        QCOMPARE(picture, ratio >= 1.5 ? QSize(64, 64) : QSize(32, 32));
        QCOMPARE(shown.hotSpot(), QPoint(15, 15));
        QTest::mouseRelease(b.Port(), Qt::LeftButton, {}, {130, 100});
        QTest::mousePress(b.Port(), Qt::RightButton, {}, {110, 100});
        QVERIFY(b.ShowsCursor(b.view.RotateCursor()));
        QCOMPARE(b.Port()->cursor().hotSpot(), QPoint(7, 14));
        QTest::mouseRelease(b.Port(), Qt::RightButton, {}, {110, 100});
    }

    // ----- the document's one announcement of each change -----

    // Every kind of edit, whether by mouse, key, command or a new riddle,
    // reaches the views as exactly one boardChanged from the document, with
    // its kind and what to repaint; a second view on the same document
    // changes nothing about that, since no view announces anything itself.
    void everyEditIsAnnouncedOnce_data() {
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("whole");
        using Kind = vorlo::BoardChange::Kind;
        QTest::newRow("press") << 0 << int(Kind::Selection) << true;
        QTest::newRow("drag step") << 1 << int(Kind::Moved) << false;
        QTest::newRow("turn step") << 2 << int(Kind::Moved) << false;
        QTest::newRow("arrow key") << 3 << int(Kind::Moved) << true;
        QTest::newRow("tab") << 4 << int(Kind::Selection) << true;
        QTest::newRow("add") << 5 << int(Kind::Added) << true;
        QTest::newRow("delete") << 6 << int(Kind::Removed) << true;
        QTest::newRow("rotate to 90") << 7 << int(Kind::Moved) << true;
        QTest::newRow("undo delete") << 8 << int(Kind::Added) << true;
        QTest::newRow("new riddle") << 9 << int(Kind::Replaced) << true;
    }
    void everyEditIsAnnouncedOnce() {
        QFETCH(int, edit);
        QFETCH(int, kind);
        QFETCH(bool, whole);
        Board b;
        BoardView second(&b.doc);
        b.doc.MatchList.Append(Match(100, 100, 0));
        b.doc.SelectedMatch = b.doc.MatchList.First();
        if (edit == 8) {
            b.view.deleteMatch();
        }
        QSignalSpy spy(&b.doc, &RiddleDocument::boardChanged);
        vorlo::BoardEditor& editor = b.view.Editor();
        switch (edit) {
            case 0:
                QTest::mousePress(b.Port(), Qt::LeftButton, {}, {130, 100});
                break;
            case 1:
                editor.PressLeft(130, 100);
                spy.clear();
                editor.MovePointer(vorlo::kLeftHeld, 170, 130);
                break;
            case 2:
                editor.PressRight(130, 100);
                spy.clear();
                editor.MovePointer(vorlo::kRightHeld, 170, 160);
                break;
            case 3:
                QTest::keyClick(&b.view, Qt::Key_Right);
                break;
            case 4:
                QTest::keyClick(&b.view, Qt::Key_Tab);
                break;
            case 5:
                b.view.addMatch();
                break;
            case 6:
                b.view.deleteMatch();
                break;
            case 7:
                b.view.rotateTo90();
                break;
            case 8:
                b.view.undo();
                break;
            case 9:
                b.doc.newRiddle();
                break;
        }
        QCOMPARE(spy.size(), 1);
        const auto change = spy.at(0).at(0).value<vorlo::BoardChange>();
        QCOMPARE(int(change.kind), kind);
        QCOMPARE(change.Whole(), whole);
    }

    // A drag step announces the rectangle around the pointer and the one
    // covering the match before and after, which the view repaints before
    // the step returns.
    void dragStepRepaintsAtOnce() {
        Board b;
        b.doc.MatchList.Append(Match(100, 100, 0));
        vorlo::BoardEditor& editor = b.view.Editor();
        editor.PressLeft(130, 100);
        QCoreApplication::processEvents();
        QSignalSpy spy(&b.doc, &RiddleDocument::boardChanged);
        editor.MovePointer(vorlo::kLeftHeld, 150, 110);
        QCOMPARE(spy.size(), 1);
        const auto change = spy.at(0).at(0).value<vorlo::BoardChange>();
        QCOMPARE(int(change.areaCount), 2);
        // Around the pointer, and over the match where it was and where it is.
        const vorlo::BoardRect& around = change.areas[0];
        QVERIFY(around.left < 150 && 150 < around.right && around.top < 110 && 110 < around.bottom);
        const vorlo::BoardRect& covered = change.areas[1];
        QVERIFY(covered.left < 100 && covered.right > 120 + 40 && covered.top < 100);
        QVERIFY(change.match == b.doc.SelectedMatch);
        QVERIFY(b.doc.isModified());
    }
};

QTEST_MAIN(TestBoardView)
#include "test_board_view.moc"

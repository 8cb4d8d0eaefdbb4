// SPDX-License-Identifier: GPL-3.0-or-later
// The board from the keyboard, snapping and zoom, in the program window.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <memory>
#include <vector>

#include "board_view.h"
#include "commands.h"
#include "file_commands.h"
#include "main_window.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "settings_store.h"
#include "task_pane.h"

using namespace vorlo;

Q_DECLARE_METATYPE(vorlo::Match)

class TestBoardKeysWindow : public QObject {
    Q_OBJECT

private:
    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QTemporaryDir dir;

    RiddleDocument* doc() { return frame->riddleDocument(); }
    BoardView* board() { return frame->boardView(); }
    QWidget* port() { return board()->viewport(); }
    bool Enabled(CommandId id) { return frame->Action(id)->isEnabled(); }

    // Opens a riddle file holding `matches`, with the board focused.
    void OpenRiddle(const std::vector<Match>& matches) {
        MatchList list;
        for (const Match& m : matches) {
            list.Append(m);
        }
        const QString path = dir.filePath(QStringLiteral("keys.vrl"));
        const std::string bytes = SerializeRiddle(list, "");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        QVERIFY(frame->Files().OpenDocumentFile(path));
        frame->SetActiveView(board());
        QTRY_VERIFY(board()->hasFocus());
    }
    std::vector<Match> Saved() {
        const RiddleReadResult read =
            ReadRiddleFile(dir.filePath(QStringLiteral("keys.vrl")).toStdString());
        return read.ok ? read.riddle.matches.ToVector() : std::vector<Match>{};
    }
    std::vector<Match> Board() { return doc()->MatchList.ToVector(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(board(), key, mods);
        }
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = {}) {
        const Qt::MouseButton button =
            type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(buttons.toInt());
        QMouseEvent event(type, at, port()->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(port(), &event);
    }
    // A left-button drag on the board's viewport, in screen pixels.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    static void ClearSettings() {
        QSettings(SettingsStore().FileName(), QSettings::IniFormat).clear();
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void init() {
        ClearSettings();
        recording.promptAnswer = QMessageBox::Discard;
        QVERIFY(recording.Make());
    }
    void cleanup() { recording.Reset(); }

    void theMatchMenuFollowsEdit() {
        const QList<QMenu*> menus = frame->Menus();
        QCOMPARE(menus.at(2)->title(), QStringLiteral("&Match"));
        QStringList texts;
        for (QAction* action : menus.at(2)->actions()) {
            const QString keys = action->shortcut().toString(QKeySequence::NativeText);
            texts << (action->isSeparator() ? QStringLiteral("-")
                      : keys.isEmpty()      ? action->text()
                                            : action->text() + u'\t' + keys);
        }
        // Each entry with the shortcut the menu shows beside it.
        QCOMPARE(texts,
                 (QStringList{"&Add Match\tInsert", "&Delete Match\tDel", "&Rotate to 90\tCtrl+R",
                              "-", "Select &Next Match\tTab", "Select &Previous Match\tShift+Tab",
                              "-", "&Snap to Matches"}));
        QVERIFY(!frame->Action(CommandId::SnapToMatches)->isChecked());
        QCOMPARE(board()->Zoom(), 100);
    }

    void arrowsMoveAndOneUndoPutsTheRunBack() {
        OpenRiddle({Match(100, 100, 0)});
        Key(Qt::Key_Tab);
        QVERIFY(doc()->SelectedMatch);
        QCOMPARE(doc()->LastAction, ActionNone);
        Key(Qt::Key_Right, {}, 3);
        Key(Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(board(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Saved(), std::vector<Match>{Match(103, 110, 0)});
        QVERIFY(Enabled(CommandId::EditUndo));
        QTest::keyClick(board(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Board(), std::vector<Match>{Match(100, 100, 0)});
    }

    void tabWalksTheListBothWays() {
        OpenRiddle({Match(100, 100, 0), Match(200, 100, 0), Match(300, 100, 0)});
        const std::vector<std::pair<bool, int32_t>> steps = {
            {false, 100}, {false, 200}, {false, 300}, {false, 100},
            {true, 300},  {true, 200},  {true, 100},  {true, 300},
        };
        for (const auto& [back, x] : steps) {
            Key(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY(doc()->SelectedMatch);
            QCOMPARE(doc()->SelectedMatch->x, x);
        }
        // Selecting is no action: nothing to undo, nothing modified, and the
        // focus stayed on the board.
        QVERIFY(!Enabled(CommandId::EditUndo));
        QVERIFY(!doc()->isModified());
        QVERIFY(board()->hasFocus());
        QVERIFY(Enabled(CommandId::DeleteMatch));
        frame->Action(CommandId::SelectPreviousMatch)->trigger();
        QCOMPARE(doc()->SelectedMatch->x, 200);
    }

    void bracketsTurn_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<int>("times");
        QTest::addColumn<Match>("expected");
        QTest::newRow("[") << int(Qt::Key_BracketLeft) << 0 << 1 << Match(100, 100, 1);
        QTest::newRow("]") << int(Qt::Key_BracketRight) << 0 << 2 << Match(100, 100, -2);
        QTest::newRow("Shift+[") << int(Qt::Key_BraceLeft) << int(Qt::ShiftModifier) << 3
                                 << Match(100, 100, 45);
        QTest::newRow("Shift+]") << int(Qt::Key_BraceRight) << int(Qt::ShiftModifier) << 1
                                 << Match(100, 100, -15);
        // About the head vertex (173, 96): half a turn puts the tail at (246, 92).
        QTest::newRow("Ctrl+Shift+]")
            << int(Qt::Key_BraceRight) << int(Qt::ShiftModifier | Qt::ControlModifier) << 12
            << Match(246, 92, -180);
        QTest::newRow("Ctrl+Shift+[")
            << int(Qt::Key_BraceLeft) << int(Qt::ShiftModifier | Qt::ControlModifier) << 24
            << Match(100, 100, 360);
    }
    void bracketsTurn() {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(int, times);
        QFETCH(Match, expected);
        OpenRiddle({Match(100, 100, 0)});
        Key(Qt::Key_Tab);
        Key(Qt::Key(key), Qt::KeyboardModifiers(mods), times);
        QCOMPARE(Board(), std::vector<Match>{expected});
        QTest::keyClick(board(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Board(), std::vector<Match>{Match(100, 100, 0)});
    }

    void theTextPaneKeepsItsKeys() {
        OpenRiddle({Match(100, 100, 0)});
        Key(Qt::Key_Tab);
        frame->TextPane()->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->TextPane()));
        for (CommandId id : {CommandId::AddMatch, CommandId::DeleteMatch, CommandId::Rotate90,
                             CommandId::SelectNextMatch, CommandId::SelectPreviousMatch}) {
            QVERIFY2(!Enabled(id), qPrintable(frame->Action(id)->objectName()));
        }
        QTest::keyClicks(frame->TextPane(), QStringLiteral("ab"));
        QTest::keyClick(frame->TextPane(), Qt::Key_Left);
        QTest::keyClick(frame->TextPane(), Qt::Key_Tab);
        QTest::keyClick(frame->TextPane(), Qt::Key_BracketLeft);
        QCOMPARE(frame->TextPane()->toPlainText(), QStringLiteral("a\t[b"));
        QCOMPARE(Board(), std::vector<Match>{Match(100, 100, 0)});
        QCOMPARE(doc()->LastAction, ActionNone);
    }

    void theBoardShowsItHasTheFocus() {
        OpenRiddle({});
        // Pixels of the board's left edge that are not the background.
        auto marked = [this] {
            const QImage image = port()->grab().toImage();
            const QColor base = port()->palette().color(QPalette::Base);
            int count = 0;
            for (int y = 0; y < image.height(); ++y) {
                count += image.pixelColor(1, y) != base ? 1 : 0;
            }
            return count;
        };
        QVERIFY(marked() > port()->height() / 2);
        frame->TextPane()->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(!board()->hasFocus());
        QCOMPARE(marked(), 0);
    }

    // ----- snapping -----

    void dragsSnapToNearEnds_data() {
        QTest::addColumn<bool>("snap");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("mods");
        QTest::addColumn<Match>("expected");
        // The dragged tip starts at (176, 100), 24 short of the other's tail.
        QTest::newRow("4 px away") << true << 20 << 0 << Match(124, 100, 0);
        QTest::newRow("7 px away") << true << 17 << 0 << Match(117, 100, 0);
        QTest::newRow("Alt held") << true << 20 << int(Qt::AltModifier) << Match(120, 100, 0);
        QTest::newRow("off") << false << 20 << 0 << Match(120, 100, 0);
    }
    void dragsSnapToNearEnds() {
        QFETCH(bool, snap);
        QFETCH(int, dx);
        QFETCH(int, mods);
        QFETCH(Match, expected);
        OpenRiddle({Match(200, 100, 90), Match(100, 100, 0)});
        frame->Action(CommandId::SnapToMatches)->setChecked(snap);
        Drag({130, 100}, {130 + dx, 100}, Qt::KeyboardModifiers(mods));
        QCOMPARE(*doc()->SelectedMatch, expected);
    }

    void turnsSnapToStepsOfFifteen() {
        OpenRiddle({Match(100, 100, 0)});
        frame->Action(CommandId::SnapToMatches)->trigger();
        // About the tail corner (100, 103): 97 right and 23 up is 13 degrees.
        Mouse(QEvent::MouseButtonPress, {170, 100}, Qt::RightButton);
        Mouse(QEvent::MouseMove, {197, 80}, Qt::RightButton);
        QCOMPARE(*doc()->SelectedMatch, Match(100, 100, 15));
    }

    void snappingIsRemembered() {
        frame->Action(CommandId::SnapToMatches)->trigger();
        QVERIFY(board()->Snapping());
        QVERIFY(SettingsStore().SnapToMatches());
        recording.Reset();
        QVERIFY(recording.Make());
        QVERIFY(frame->Action(CommandId::SnapToMatches)->isChecked());
        QVERIFY(board()->Snapping());
    }

    // The first drop just short of another match's end offers snapping in a
    // tooltip, once for good: later near misses, in later runs too, do not.
    void theSnapTipShowsOnce() {
        QVERIFY(!SettingsStore().SnapTipShown());
        const QPoint at = board()->mapToGlobal(board()->rect().center());
        emit board()->DroppedNearAnother(at);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), MainWindow::SnapTip());
        QVERIFY(SettingsStore().SnapTipShown());
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        recording.Reset();
        QVERIFY(recording.Make());
        emit board()->DroppedNearAnother(at);
        QApplication::processEvents();
        QVERIFY(!QToolTip::isVisible());
    }

    // ----- zoom -----

    void zoomStepsAndClamps() {
        const std::vector<std::pair<CommandId, int>> steps = {
            {CommandId::ZoomOut, 100}, {CommandId::ZoomIn, 150},     {CommandId::ZoomIn, 200},
            {CommandId::ZoomIn, 300},  {CommandId::ZoomIn, 400},     {CommandId::ZoomIn, 400},
            {CommandId::ZoomOut, 300}, {CommandId::ZoomActual, 100},
        };
        for (const auto& [command, percent] : steps) {
            frame->Action(command)->trigger();
            QCOMPARE(board()->Zoom(), percent);
            QCOMPARE(Enabled(CommandId::ZoomIn), percent < 400);
            QCOMPARE(Enabled(CommandId::ZoomOut), percent > 100);
        }
        QTest::keyClick(board(), Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(board()->Zoom(), 150);
        QTest::keyClick(board(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(board()->Zoom(), 200);
        QTest::keyClick(board(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(board()->Zoom(), 150);
        QTest::keyClick(board(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(board()->Zoom(), 100);
        for (const auto& [delta, percent] : {std::pair{120, 150}, {120, 200}, {-120, 150}}) {
            QWheelEvent wheel(QPointF(50, 50), port()->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(port(), &wheel);
            QCOMPARE(board()->Zoom(), percent);
        }
        recording.Reset();
        QVERIFY(recording.Make());
        QCOMPARE(board()->Zoom(), 150);
    }

    void atTwiceTheSizeAScreenPixelIsHalfABoardPixel() {
        OpenRiddle({Match(100, 100, 0)});
        frame->Action(CommandId::ZoomIn)->trigger();
        frame->Action(CommandId::ZoomIn)->trigger();
        QCOMPARE(board()->Zoom(), 200);
        board()->horizontalScrollBar()->setValue(0);
        board()->verticalScrollBar()->setValue(0);
        // Screen (261, 201) lies on board (130, 100); 40 screen pixels right is 20 on the board.
        const Point32 p = board()->BoardPointFromViewport({261, 201});
        QCOMPARE(QPoint(p.x, p.y), QPoint(130, 100));
        Drag({261, 201}, {301, 201});
        QCOMPARE(Board(), std::vector<Match>{Match(120, 100, 0)});
        // The board is drawn twice as large: the stick at board (150, 100) is
        // yellow at screen (300, 200) and (301, 201).
        const QImage image = port()->grab().toImage();
        for (const QPoint at : {QPoint(300, 200), QPoint(301, 201), QPoint(330, 198)}) {
            const QColor c = image.pixelColor(at);
            QVERIFY2(c.red() > 200 && c.green() > 150 && c.blue() < 80,
                     qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
        }
        QVERIFY(board()->horizontalScrollBar()->maximum() >=
                2 * board()->GetTotalSize().width() - port()->width() - 1);
    }
};

QTEST_MAIN(TestBoardKeysWindow)
#include "test_board_keys_window.moc"

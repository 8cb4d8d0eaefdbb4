// SPDX-License-Identifier: GPL-3.0-or-later
// The program window driven as a user would: menus, toolbar, shortcuts,
// routing between the board and the text pane, files, printing.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPolygon>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <sys/resource.h>
#include <csignal>
#include <memory>

#include "board_view.h"
#include "commands.h"
#include "file_commands.h"
#include "frame_placement.h"
#include "info_pane.h"
#include "main_window.h"
#include "print_commands.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "task_pane.h"
#include "test_files.h"
#include "vorlo_application.h"
#include "window_placement.h"
#include "window_status.h"

using namespace vorlo;

using vorlo::test::ReadAll;

namespace {

// The file format's worked example, 118 bytes.
const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/tests/data/worked_example.vrl");

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The visible texts of a menu, "-" for a separator.
// An entry as the menu shows it: its text, and after a tab the first of
// its shortcuts, which the menu draws beside the text.
QString ShownEntry(const QAction* action) {
    if (action->isSeparator()) {
        return QStringLiteral("-");
    }
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    return keys.isEmpty() ? action->text() : action->text() + u'\t' + keys;
}

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) {
            texts << ShownEntry(action);
        }
    }
    return texts;
}

// Types `text` into `widget` key by key, as a keyboard with any layout would.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace

Q_DECLARE_METATYPE(vorlo::FramePlacement)

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QStringList& errors = recording.errors;
    QStringList& prompts = recording.prompts;
    QMessageBox::StandardButton& promptAnswer = recording.promptAnswer;
    QString& fileNameAnswer = recording.fileNameAnswer;
    QTemporaryDir dir;

    RiddleDocument* doc() { return frame->riddleDocument(); }

    void MakeFrame() { QVERIFY(recording.Make()); }

    void FocusText() {
        frame->TextPane()->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->TextPane()));
    }

private slots:
    void init() { MakeFrame(); }
    void cleanup() { recording.Reset(); }

    void menusHaveTheirExactTexts() {
        const QList<QMenu*> menus = frame->Menus();
        // The classic entries keep their order; in File the later ones stand
        // beside the entries they belong with, before Exit; elsewhere they
        // follow the classic ones. The Match and Game menus follow Edit.
        QCOMPARE(menus.size(), 6);
        const QStringList titles = {"&File", "&Edit", "&View", "&Help"};
        const QList<QStringList> items = {
            {"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...\tCtrl+Shift+S",
             "Save as Sol&ution", "Rever&t to Saved\tF5", "-", "&Export Picture...",
             "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-",
             "E&xit"},
            {"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V"},
            {"&Toolbar", "&Status Bar"},
            {"Instructions...", "&Startup Message...", "-", "&About vorlo..."},
        };
        const int at[] = {0, 1, 4, 5};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(menus[at[i]]->title(), titles[i]);
            QCOMPARE(MenuTexts(menus[at[i]]).mid(0, items[i].size()), items[i]);
        }
        // The placeholder is greyed while there are no recent files.
        QAction* placeholder = menus[0]->actions().at(12);
        QVERIFY(menus[0]->actions().constLast()->text() == QStringLiteral("E&xit"));
        QCOMPARE(placeholder->text(), QStringLiteral("Recent File"));
        QVERIFY(!placeholder->isEnabled());
    }

    void toolbarHoldsElevenButtonsInOrder() {
        QStringList got;
        for (QAction* action : frame->ToolBar->actions()) {
            got << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
        }
        const QStringList expected = {
            "FileNew",  "FileOpen",    "FileSave", "|",         "FilePrint",
            "|",        "EditCut",     "EditCopy", "EditPaste", "|",
            "AddMatch", "DeleteMatch", "|",        "EditUndo",  "Rotate90",
        };
        QCOMPARE(got, expected);
        for (QAction* action : frame->ToolBar->actions()) {
            if (!action->isSeparator()) {
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
                QVERIFY(!action->icon().pixmap(QSize(16, 15)).isNull());
            }
        }
        QCOMPARE(frame->Action(CommandId::AddMatch)->toolTip(), QStringLiteral("Add match"));
        QCOMPARE(frame->Action(CommandId::Rotate90)->toolTip(),
                 QStringLiteral("Rotate to nearest 90 degrees"));
    }

    void everyAcceleratorBelongsToItsCommand_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("command");
        QTest::newRow("Ctrl+C") << QKeySequence(Qt::CTRL | Qt::Key_C) << int(CommandId::EditCopy);
        QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << int(CommandId::FileNew);
        QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << int(CommandId::FileOpen);
        QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << int(CommandId::FilePrint);
        QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << int(CommandId::FileSave);
        QTest::newRow("Ctrl+Shift+S")
            << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << int(CommandId::FileSaveAs);
        QTest::newRow("Ctrl+V") << QKeySequence(Qt::CTRL | Qt::Key_V) << int(CommandId::EditPaste);
        QTest::newRow("Alt+Backspace")
            << QKeySequence(Qt::ALT | Qt::Key_Backspace) << int(CommandId::EditUndo);
        QTest::newRow("Delete") << QKeySequence(Qt::Key_Delete) << int(CommandId::DeleteMatch);
        QTest::newRow("Shift+Delete")
            << QKeySequence(Qt::SHIFT | Qt::Key_Delete) << int(CommandId::EditCut);
        QTest::newRow("F6") << QKeySequence(Qt::Key_F6) << int(CommandId::NextPane);
        QTest::newRow("Shift+F6") << QKeySequence(Qt::SHIFT | Qt::Key_F6)
                                  << int(CommandId::PreviousPane);
        QTest::newRow("Ctrl+Insert")
            << QKeySequence(Qt::CTRL | Qt::Key_Insert) << int(CommandId::EditCopy);
        QTest::newRow("Shift+Insert")
            << QKeySequence(Qt::SHIFT | Qt::Key_Insert) << int(CommandId::EditPaste);
        QTest::newRow("Ctrl+X") << QKeySequence(Qt::CTRL | Qt::Key_X) << int(CommandId::EditCut);
        QTest::newRow("Ctrl+Z") << QKeySequence(Qt::CTRL | Qt::Key_Z) << int(CommandId::EditUndo);
    }
    void everyAcceleratorBelongsToItsCommand() {
        QFETCH(QKeySequence, keys);
        QFETCH(int, command);
        QList<int> owners;
        for (const Command& c : Commands()) {
            if (frame->Action(c.id)->shortcuts().contains(keys)) {
                owners << int(c.id);
            }
        }
        QCOMPARE(owners, QList<int>{command});
    }

    void shortcutsReachTheirCommands() {
        // Ctrl+N on a modified riddle comes to New, which asks first.
        doc()->setModified(true);
        promptAnswer = QMessageBox::Cancel;
        QTest::keyClick(frame->boardView(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(prompts.size(), 1);
        // Ctrl+S on a new riddle asks for a name.
        QString asked;
        frame->AskFileName = [&asked](bool forSave, const QString& suggestion) {
            asked = forSave ? suggestion : QStringLiteral("open");
            return QString();
        };
        QTest::keyClick(frame->boardView(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked, QStringLiteral("riddle.vrl"));
        QTest::keyClick(frame->boardView(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(asked, QStringLiteral("open"));
    }

    void paneKeysCycleTheActiveView() {
        QCOMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->boardView()));
        QTest::keyClick(frame->boardView(), Qt::Key_F6);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->TextPane()));
        QVERIFY(frame->TextPane()->hasFocus());
        QTest::keyClick(frame->TextPane(), Qt::Key_F6);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->AdsPane()));
        QTest::keyClick(frame->AdsPane(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->TextPane()));
        QTest::keyClick(frame->TextPane(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_COMPARE(frame->GetActiveView(), static_cast<QWidget*>(frame->boardView()));
    }

    void copyGoesToTheTextWhenTheTextPaneHasFocus() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        FocusText();
        QTextCursor cursor = frame->TextPane()->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        frame->TextPane()->setTextCursor(cursor);
        const QString selected = cursor.selectedText();
        QVERIFY(!selected.isEmpty());
        QTest::keyClick(frame->TextPane(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), selected);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(frame->TextPane(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), selected);
        // The menu command takes the same route.
        QApplication::clipboard()->setText(QStringLiteral("before"));
        frame->Action(CommandId::EditCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), selected);
    }

    void textPaneEditingKeysActOnTheText() {
        FocusText();
        QTest::keyClicks(frame->TextPane(), QStringLiteral("abc"));
        QTest::keyClick(frame->TextPane(), Qt::Key_Home);
        // Delete removes a character; it is no board command here.
        QTest::keyClick(frame->TextPane(), Qt::Key_Delete);
        QCOMPARE(doc()->plainText(), QStringLiteral("bc"));
        // Alt+Backspace undoes the text edit.
        QVERIFY(frame->Action(CommandId::EditUndo)->isEnabled());
        QTest::keyClick(frame->TextPane(), Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(doc()->plainText(), QStringLiteral("abc"));
        QCOMPARE(doc()->LastAction, int32_t(ActionNone));
    }

    void commandStatesFollowTheActiveView() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        frame->SetActiveView(frame->boardView());
        QCOMPARE(frame->Status().MatchCountPane()->text(), QStringLiteral("4 matches"));
        QVERIFY(frame->Action(CommandId::AddMatch)->isEnabled());
        // Nothing selected, nothing to undo: delete, rotate and undo are off.
        QVERIFY(!frame->Action(CommandId::DeleteMatch)->isEnabled());
        QVERIFY(!frame->Action(CommandId::Rotate90)->isEnabled());
        QVERIFY(!frame->Action(CommandId::EditUndo)->isEnabled());
        QVERIFY(frame->Action(CommandId::EditCopy)->isEnabled());

        doc()->SelectedMatch = doc()->MatchList.First();
        doc()->LastAction = ActionMove;
        emit doc()->boardChanged(vorlo::BoardChange{});
        emit doc()->contentsChanged();
        QVERIFY(frame->Action(CommandId::DeleteMatch)->isEnabled());
        QVERIFY(frame->Action(CommandId::Rotate90)->isEnabled());
        QVERIFY(frame->Action(CommandId::EditUndo)->isEnabled());

        // In the text pane the board's commands are off and the count stays.
        FocusText();
        QVERIFY(!frame->Action(CommandId::AddMatch)->isEnabled());
        QVERIFY(!frame->Action(CommandId::DeleteMatch)->isEnabled());
        QVERIFY(!frame->Action(CommandId::Rotate90)->isEnabled());
        QVERIFY(!frame->Action(CommandId::EditUndo)->isEnabled());  // no text edit yet
        QVERIFY(!frame->Action(CommandId::EditCopy)->isEnabled());  // no text selected
        doc()->MatchList.Clear();
        doc()->SelectedMatch = {};
        emit doc()->boardChanged(vorlo::BoardChange{});
        emit doc()->contentsChanged();
        QCOMPARE(frame->Status().MatchCountPane()->text(), QStringLiteral("4 matches"));
        frame->SetActiveView(frame->boardView());
        QCOMPARE(frame->Status().MatchCountPane()->text(), QStringLiteral("0 matches"));
    }

    // The Edit commands go to the active pane; one the pane does not take is
    // off while it is active.
    void editCommandsGoToTheActivePane_data() {
        QTest::addColumn<int>("pane");             // 0 board, 1 text, 2 information
        QTest::addColumn<QList<bool>>("enabled");  // Undo, Cut, Copy, Paste
        QTest::newRow("board") << 0 << QList<bool>{false, true, true, true};
        QTest::newRow("text") << 1 << QList<bool>{false, false, false, true};
        QTest::newRow("information") << 2 << QList<bool>{false, false, false, false};
    }
    void editCommandsGoToTheActivePane() {
        QFETCH(int, pane);
        QFETCH(QList<bool>, enabled);
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        QWidget* const panes[] = {frame->boardView(), frame->TextPane(), frame->AdsPane()};
        // A match on the clipboard, for the paste below.
        frame->SetActiveView(frame->boardView());
        doc()->SelectedMatch = doc()->MatchList.First();
        frame->Action(CommandId::EditCopy)->trigger();
        doc()->SelectedMatch = {};
        emit doc()->boardChanged(vorlo::BoardChange{});
        emit doc()->contentsChanged();

        frame->SetActiveView(panes[pane]);
        QList<bool> got;
        for (CommandId id :
             {CommandId::EditUndo, CommandId::EditCut, CommandId::EditCopy, CommandId::EditPaste}) {
            got << frame->Action(id)->isEnabled();
        }
        QCOMPARE(got, enabled);
        // Paste reaches the active pane only: a match lands on the board
        // only while the board is active; the text takes no match.
        const size_t count = doc()->MatchList.Count();
        const QString text = doc()->plainText();
        frame->Action(CommandId::EditPaste)->trigger();
        QCOMPARE(doc()->MatchList.Count(), count + (pane == 0 ? 1 : 0));
        QCOMPARE(doc()->plainText(), text);
    }

    // The Edit commands' states follow the panes' own signals as the user
    // selects and types, with no menu opened in between.
    void editStatesFollowWhatThePaneCanDo() {
        FocusText();
        TaskPane* text = frame->TextPane();
        QVERIFY(!frame->Action(CommandId::EditCopy)->isEnabled());
        QTest::keyClicks(text, QStringLiteral("abc"));
        QVERIFY(frame->Action(CommandId::EditUndo)->isEnabled());
        text->selectAll();
        QVERIFY(frame->Action(CommandId::EditCut)->isEnabled());
        QVERIFY(frame->Action(CommandId::EditCopy)->isEnabled());
        text->moveCursor(QTextCursor::End);
        QVERIFY(!frame->Action(CommandId::EditCut)->isEnabled());
        QVERIFY(!frame->Action(CommandId::EditCopy)->isEnabled());
        frame->Action(CommandId::EditUndo)->trigger();
        QCOMPARE(doc()->plainText(), QString());
        QVERIFY(!frame->Action(CommandId::EditUndo)->isEnabled());

        frame->SetActiveView(frame->AdsPane());
        frame->AdsPane()->setHtml(QStringLiteral("<p>page</p>"));
        QVERIFY(!frame->Action(CommandId::EditCopy)->isEnabled());
        frame->AdsPane()->selectAll();
        QVERIFY(frame->Action(CommandId::EditCopy)->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("before"));
        frame->Action(CommandId::EditCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("page"));
    }

    void statusBarShowsReadyPromptsAndFixedCountPane() {
        QCOMPARE(frame->Status().MessagePane()->text(), QStringLiteral("Ready"));
        QToolButton* button = qobject_cast<QToolButton*>(
            frame->ToolBar->widgetForAction(frame->Action(CommandId::AddMatch)));
        QVERIFY(button);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QCOMPARE(frame->StatusBar->currentMessage(), QStringLiteral("Add a new match"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QStatusTipEvent clearTip{QString()};
        QApplication::sendEvent(frame.get(), &clearTip);
        QCOMPARE(frame->StatusBar->currentMessage(), QString());
        QVERIFY(frame->Status().MessagePane()->isVisible());

        const int width = frame->Status().MatchCountPane()->width();
        QVERIFY(width >=
                frame->Status().MatchCountPane()->fontMetrics().horizontalAdvance("0   matches"));
        for (int i = 0; i < 1234; ++i) {
            doc()->MatchList.Append(Match(i, i, 0));
        }
        emit doc()->boardChanged(vorlo::BoardChange{});
        emit doc()->contentsChanged();
        QCOMPARE(frame->Status().MatchCountPane()->text(), QStringLiteral("1234 matches"));
        QCOMPARE(frame->Status().MatchCountPane()->width(), width);
        doc()->MatchList.Clear();
    }

    void placementFollowsTheScreen_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<FramePlacement>("expected");
        QTest::newRow("1024x740") << 1024 << 740 << FramePlacement{102, 7, 768, 732, 488};
        QTest::newRow("800x560") << 800 << 560 << FramePlacement{80, 5, 600, 554, 369};
        QTest::newRow("1280x1024") << 1280 << 1024 << FramePlacement{128, 10, 960, 1013, 675};
        QTest::newRow("empty") << 0 << 0 << FramePlacement{0, 0, 0, 0, 0};
    }
    void placementFollowsTheScreen() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(FramePlacement, expected);
        QCOMPARE(PlaceFrame(w, h), expected);
    }

    // Under a window manager the frame counts in: the outer rectangle is
    // placed from the inside of a maximised window, and the program's own
    // part is what the frame leaves.
    // Copies of the program running at once: each window a step (the title
    // bar, at least 24 px) right of and below the one before, shortened so
    // it stays in the area, back at the first place when the width runs out.
    void cascadedWindowsStepAndWrap_data() {
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<int>("cascade");
        QTest::addColumn<QRect>("outer");
        const QMargins none;
        const QMargins framed(4, 30, 4, 4);
        QTest::newRow("first") << none << 0 << QRect(102, 7, 768, 732);
        QTest::newRow("second") << none << 1 << QRect(126, 31, 768, 708);
        QTest::newRow("seventh, the last that fits") << none << 6 << QRect(246, 151, 768, 588);
        QTest::newRow("eighth, back at the first") << none << 7 << QRect(102, 7, 768, 732);
        QTest::newRow("second, a title bar's step") << framed << 1 << QRect(132, 37, 768, 672);
    }
    void cascadedWindowsStepAndWrap() {
        QFETCH(QMargins, frame);
        QFETCH(int, cascade);
        QFETCH(QRect, outer);
        const QRect area(0, 0, 1024, 740);
        const ScreenPlacement place = PlaceFrameOnScreen(area, frame, cascade);
        QCOMPARE(place.outer, outer);
        QCOMPARE(place.inside, outer.marginsRemoved(frame));
        QVERIFY(area.contains(place.outer));
    }

    // Each running copy holds a slot; a slot let go is taken again.
    void windowSlotsAreTakenInTurn() {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        const QString folder = runtime.filePath(QStringLiteral("vorlo"));
        WindowSlot first = TakeWindowSlot(folder);
        WindowSlot second = TakeWindowSlot(folder);
        QVERIFY(first.lock && second.lock);
        QCOMPARE(first.index, 0);
        QCOMPARE(second.index, 1);
        first = WindowSlot();
        QCOMPARE(TakeWindowSlot(folder).index, 0);
        // Every slot taken, or no folder: the first place, without a lock.
        WindowSlot only = TakeWindowSlot(folder, 2);
        WindowSlot none = TakeWindowSlot(folder, 2);
        QCOMPARE(none.index, 0);
        QVERIFY(!none.lock);
        QVERIFY(!TakeWindowSlot(QString()).lock);
    }

    void framedPlacementLiesInTheArea_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("outer");
        QTest::addColumn<QRect>("inside");
        QTest::addColumn<int>("board");
        QTest::newRow("no frame") << QRect(0, 0, 1024, 740) << QMargins() << QRect(102, 7, 768, 732)
                                  << QRect(102, 7, 768, 732) << 488;
        QTest::newRow("1366x768 framed")
            << QRect(0, 0, 1366, 768) << QMargins(1, 20, 1, 5) << QRect(136, 7, 1024, 740)
            << QRect(137, 27, 1022, 715) << 493;
        QTest::newRow("1024x600 framed")
            << QRect(0, 0, 1024, 600) << QMargins(1, 20, 1, 5) << QRect(102, 5, 768, 574)
            << QRect(103, 25, 766, 549) << 382;
        QTest::newRow("panel above")
            << QRect(0, 30, 1920, 1050) << QMargins(4, 30, 4, 4) << QRect(192, 40, 1440, 1009)
            << QRect(196, 70, 1432, 975) << 673;
        QTest::newRow("frame larger than the area") << QRect(0, 0, 10, 10) << QMargins(8, 30, 8, 8)
                                                    << QRect(1, 0, 7, 0) << QRect(9, 30, 0, 0) << 0;
    }
    void framedPlacementLiesInTheArea() {
        QFETCH(QRect, area);
        QFETCH(QMargins, frame);
        QFETCH(QRect, outer);
        QFETCH(QRect, inside);
        QFETCH(int, board);
        const ScreenPlacement place = PlaceFrameOnScreen(area, frame);
        QCOMPARE(place.outer, outer);
        QCOMPARE(place.inside.topLeft(), inside.topLeft());
        QCOMPARE(place.inside.size(), inside.size());
        QCOMPARE(place.boardHeight, board);
        if (!outer.isEmpty()) {
            QVERIFY(area.contains(place.outer));
        }
    }

    // At start-up the riddle is opened before the window is shown; the board
    // takes its scroll size once the window has sized its panes, as New and
    // Open do later, so every match of the riddle can be scrolled to in a
    // smaller window.
    void startupScrollSizeIsTheLaidOutBoard() {
        MatchList cup;
        for (const Match& m :
             std::vector<Match>{{309, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}}) {
            cup.Append(m);
        }
        const QString path = dir.filePath(QStringLiteral("cup.vrl"));
        const std::string bytes = SerializeRiddle(cup, "");
        WriteAll(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));

        frame = std::make_unique<MainWindow>();
        frame->ShowError = [this](const QString& m) { errors << m; };
        frame->PlaceOnScreen(QRect(0, 0, 1024, 768));
        QVERIFY(frame->Files().OpenDocumentFile(path));
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        BoardView* board = frame->boardView();
        QCOMPARE(frame->InnerSplitter->sizes().first(),
                 frame->Placement().FullScreenHeight * 66 / 100);
        // What New and Open measure: the board's size as it is on the screen.
        QCOMPARE(board->GetTotalSize(), board->size());

        // Smaller: the lowest match is still within reach of the scroll bars.
        frame->resize(500, 300);
        QTRY_VERIFY(board->viewport()->height() < 248);
        QPolygon stem;
        for (const Point32& p : Match{258, 248, 90}.GetShape().Stick) {
            stem << QPoint(p.x, p.y);
        }
        const QRect reach = stem.boundingRect();
        const QSize port = board->viewport()->size();
        QVERIFY(reach.width() < port.width() && reach.height() < port.height());
        board->horizontalScrollBar()->setValue(reach.right() - port.width() + 1);
        board->verticalScrollBar()->setValue(reach.bottom() - port.height() + 1);
        QVERIFY2(board->VisibleBoardRect().contains(reach),
                 qPrintable(QStringLiteral("the stem is out of reach: scroll size %1 x %2")
                                .arg(board->GetTotalSize().width())
                                .arg(board->GetTotalSize().height())));
        QVERIFY(errors.isEmpty());
    }

    // A print job or a preview measures the scroll size again from the
    // board's size at that moment.
    void printingMeasuresTheScrollSizeAgain() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        BoardView* board = frame->boardView();
        const QSize before = board->GetTotalSize();
        frame->resize(frame->width() - 100, frame->height() - 80);
        QTRY_VERIFY(board->size() != before);
        QCOMPARE(board->GetTotalSize(), before);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("p.pdf")));
        QString error;
        QVERIFY2(frame->Printing().PrintDirect(&printer, &error), qPrintable(error));
        QCOMPARE(board->GetTotalSize(), board->size());

        frame->resize(frame->width() + 60, frame->height() + 40);
        QTRY_VERIFY(board->size() != board->GetTotalSize());
        frame->RunModal = [](QDialog&) { return int(QDialog::Rejected); };
        frame->Printing().OnFilePrintPreview();
        QCOMPARE(board->GetTotalSize(), board->size());
    }

    // The numbers are those of a maximised window's inside of 800 x 560 and
    // 1024 x 740: the area available is that and the title bar. The offscreen
    // window system puts a thin frame round every window, so the whole window
    // is its frame geometry.
    void windowAndPanesArePlaced() {
        const QMargins frameMargins = frame->windowHandle()->frameMargins();
        frame->hide();
        frame->PlaceOnScreen(QRect(0, 0, 800, 560 + frameMargins.top()));
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QCOMPARE(frame->pos(), QPoint(80, 5));
        QCOMPARE(frame->frameGeometry(), QRect(80, 5, 600, 554));
        QCOMPARE(frame->geometry(), QRect(80, 5, 600, 554).marginsRemoved(frameMargins));
        QCOMPARE(frame->OuterSplitter->sizes().first(), kInfoPaneWidth);
        QCOMPARE(frame->InnerSplitter->sizes().first(), 369);

        frame->PlaceOnScreen(QRect(0, 0, 1024, 740 + frameMargins.top()));
        QCOMPARE(frame->pos(), QPoint(102, 7));
        QCOMPARE(frame->frameGeometry(), QRect(102, 7, 768, 732));
        QTRY_COMPARE(frame->InnerSplitter->sizes().first(), 488);
        QCOMPARE(frame->OuterSplitter->sizes().first(), kInfoPaneWidth);
    }

    void openAndSaveRoundTripByteForByte() {
        const QByteArray original = ReadAll(kExample);
        QCOMPARE(original.size(), 118);
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        QCOMPARE(
            doc()->MatchList.ToVector(),
            (std::vector<Match>{{309, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}}));
        QVERIFY(!doc()->SelectedMatch);
        QCOMPARE(doc()->textDocument()->blockCount(), 2);
        QVERIFY(!doc()->isModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("worked_example.vrl[*] - vorlo"));
        QVERIFY(!frame->isWindowModified());

        const QString copy = dir.filePath(QStringLiteral("copy.vrl"));
        fileNameAnswer = dir.filePath(QStringLiteral("copy"));  // no extension: ".vrl" added
        QVERIFY(frame->Files().OnFileSaveAs());
        QCOMPARE(ReadAll(copy), original);
        QCOMPARE(doc()->pathName(), QFileInfo(copy).absoluteFilePath());
        QCOMPARE(frame->windowTitle(), QStringLiteral("copy.vrl[*] - vorlo"));

        // A recent-file entry for each, newest first.
        const QStringList recent = frame->Files().RecentFiles();
        QCOMPARE(recent.value(0), QFileInfo(copy).absoluteFilePath());
        QCOMPARE(recent.value(1), QFileInfo(kExample).absoluteFilePath());
        QCOMPARE(frame->Action(CommandId::RecentFile1)->text(), QStringLiteral("&1 copy.vrl"));
        QCOMPARE(frame->Action(CommandId::RecentFile2)->text(),
                 QStringLiteral("&2 worked_example.vrl"));
        QVERIFY(!MenuTexts(frame->Menus()[0]).contains(QStringLiteral("Recent File")));

        // New empties everything; the recent file opens the riddle again.
        QVERIFY(frame->Files().OnFileNew());
        QVERIFY(doc()->MatchList.IsEmpty());
        QVERIFY(doc()->plainText().isEmpty());
        QCOMPARE(frame->windowTitle(), QStringLiteral("riddle[*] - vorlo"));
        frame->Action(CommandId::RecentFile2)->trigger();
        QCOMPARE(doc()->MatchList.Count(), size_t(4));
        QCOMPARE(frame->Files().RecentFiles().value(0), QFileInfo(kExample).absoluteFilePath());

        // An empty riddle is the four bytes 00 00 00 00.
        QVERIFY(frame->Files().OnFileNew());
        fileNameAnswer = dir.filePath(QStringLiteral("empty.vrl"));
        QVERIFY(frame->Files().OnFileSave());
        QCOMPARE(ReadAll(fileNameAnswer), QByteArray(4, '\0'));
    }

    // Characters the text document keeps for itself come back from Open and
    // Save exactly as the file had them.
    void textSurvivesOpenAndSave_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("U+FDD0") << QStringLiteral("\uFDD0");
        QTest::newRow("U+FDD1") << QStringLiteral("\uFDD1");
        QTest::newRow("between letters") << QStringLiteral("a\uFDD0b\uFDD1c");
        QTest::newRow("around a paragraph break") << QStringLiteral("\uFDD1\r\n\uFDD0");
        QTest::newRow("beside the stand-in and a no-break space")
            << QStringLiteral("\uFDD2\uFDD0\u00A0\uFDD2 \u05D0");
        QTest::newRow("stand-in alone") << QStringLiteral("x\uFDD2y");
    }

    void textSurvivesOpenAndSave() {
        QFETCH(QString, text);
        // No match, then the text as UTF-8 behind its byte-order mark: code
        // page 1255 holds none of these characters.
        const QByteArray bytes = QByteArray(4, '\0') + "\xEF\xBB\xBF" + text.toUtf8();
        const QString path = dir.filePath(QStringLiteral("marks.vrl"));
        WriteAll(path, bytes);
        QVERIFY(frame->Files().OpenDocumentFile(path));
        QCOMPARE(doc()->textDocument()->blockCount(), int(text.count(QStringLiteral("\r\n"))) + 1);
        QString error;
        QVERIFY2(doc()->save(path, &error), qPrintable(error));
        QCOMPARE(ReadAll(path), bytes);
    }

    void typedTextMarksTheRiddleModifiedAndIsSaved() {
        QVERIFY(!frame->isWindowModified());
        FocusText();
        TypeText(frame->TextPane(), QStringLiteral("שלום"));
        QTest::keyClick(frame->TextPane(), Qt::Key_Return);
        TypeText(frame->TextPane(), QStringLiteral("x\u00a0y"));
        QVERIFY(doc()->isModified());
        QVERIFY(frame->isWindowModified());
        QCOMPARE(frame->windowTitle(), QStringLiteral("riddle[*] - vorlo"));
        fileNameAnswer = dir.filePath(QStringLiteral("typed.vrl"));
        QVERIFY(frame->Files().OnFileSave());
        QVERIFY(!frame->isWindowModified());
        const RiddleReadResult read = ReadRiddleFile(fileNameAnswer.toStdString());
        QVERIFY(read.ok);
        // The no-break space survives; paragraphs are separated by a line break.
        QCOMPARE(QString::fromStdString(read.riddle.text), QStringLiteral("שלום\nx\u00a0y"));
    }

    void savePromptBeforeNewOpenAndClose() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        doc()->setModified(true);

        promptAnswer = QMessageBox::Cancel;
        QVERIFY(!frame->Files().OnFileNew());
        QCOMPARE(prompts.size(), 1);
        QVERIFY(prompts[0].startsWith(QStringLiteral("Save changes to ")));
        QCOMPARE(doc()->MatchList.Count(), size_t(4));
        QVERIFY(!frame->close());
        QVERIFY(frame->isVisible());
        QCOMPARE(prompts.size(), 2);

        // Save writes the riddle under its name, then New goes on.
        const QString path = dir.filePath(QStringLiteral("prompted.vrl"));
        QVERIFY(QFile::copy(kExample, path));
        QVERIFY(frame->Files().OpenDocumentFile(path) == false);  // still modified: cancelled again
        promptAnswer = QMessageBox::Discard;
        QVERIFY(frame->Files().OpenDocumentFile(path));
        doc()->MatchList.Append(Match(1, 2, 3));
        doc()->setModified(true);
        promptAnswer = QMessageBox::Save;
        QVERIFY(frame->Files().OnFileNew());
        QVERIFY(doc()->MatchList.IsEmpty());
        const RiddleReadResult saved = ReadRiddleFile(path.toStdString());
        QVERIFY(saved.ok);
        QCOMPARE(saved.riddle.matches.Count(), size_t(5));

        // Not modified: no prompt at all.
        prompts.clear();
        QVERIFY(frame->Files().OnFileNew());
        QVERIFY(prompts.isEmpty());
    }

    void failedOpenKeepsTheOpenRiddle() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        doc()->SelectedMatch = doc()->MatchList.Last();
        doc()->LastAction = ActionMove;
        const QString textBefore = doc()->plainText();
        const QString broken = dir.filePath(QStringLiteral("broken.vrl"));
        // Count 2 with only one record.
        WriteAll(broken, QByteArray::fromHex("02000000"
                                             "010000000200000003000000"));
        QVERIFY(!frame->Files().OpenDocumentFile(broken));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("broken.vrl")), qPrintable(errors[0]));
        QVERIFY(errors[0].split('\n').value(1).size() > 0);  // the reason
        QCOMPARE(doc()->MatchList.Count(), size_t(4));
        QCOMPARE(doc()->SelectedMatch, doc()->MatchList.Last());
        QCOMPARE(doc()->LastAction, int32_t(ActionMove));
        QCOMPARE(doc()->plainText(), textBefore);
        QCOMPARE(doc()->pathName(), QFileInfo(kExample).absoluteFilePath());
        QVERIFY(!frame->Files().RecentFiles().contains(QFileInfo(broken).absoluteFilePath()));

        QVERIFY(!frame->Files().OpenDocumentFile(dir.filePath(QStringLiteral("missing.vrl"))));
        QCOMPARE(errors.size(), 2);
        QCOMPARE(doc()->MatchList.Count(), size_t(4));
    }

    void failedSaveKeepsTheOldFile() {
        const QString path = dir.filePath(QStringLiteral("keep.vrl"));
        QVERIFY(QFile::copy(kExample, path));
        QVERIFY(frame->Files().OpenDocumentFile(path));
        for (int i = 0; i < 100; ++i) {
            doc()->MatchList.Append(Match(i, i, i));
        }
        doc()->setModified(true);
        // Let the process write at most 200 bytes per file: the save fails
        // half-way, as on a full disk.
        struct rlimit old {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 200;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = frame->Files().OnFileSave();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(QStringLiteral("keep.vrl")));
        QCOMPARE(ReadAll(path), ReadAll(kExample));
        QVERIFY(doc()->isModified());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).filter("keep").size() == 1);
    }

    void printsTheWorkedExampleToPdf() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        const QString pdf = dir.filePath(QStringLiteral("riddle.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QString error;
        QVERIFY2(frame->Printing().PrintDirect(&printer, &error), qPrintable(error));
        QVERIFY(QFileInfo(pdf).size() > 0);

        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) {
            QSKIP("pdftoppm is not installed");
        }
        const QString prefix = dir.filePath(QStringLiteral("page"));
        QCOMPARE(QProcess::execute(pdftoppm, {"-png", "-r", "40", "-singlefile", pdf, prefix}), 0);
        QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        int yellow = 0, red = 0, dark = 0;
        int lowestMatch = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (c.red() > 200 && c.green() > 150 && c.blue() < 80) {
                    ++yellow;
                    lowestMatch = qMax(lowestMatch, y);
                } else if (c.red() > 200 && c.green() < 80 && c.blue() < 80) {
                    ++red;
                }
            }
        }
        // The text lies below the drawing, against the right edge.
        for (int y = lowestMatch + 5; y < page.height(); ++y) {
            for (int x = page.width() / 2; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                dark += (c.red() < 90 && c.green() < 90 && c.blue() < 90) ? 1 : 0;
            }
        }
        QVERIFY2(yellow > 20, qPrintable(QString::number(yellow)));
        QVERIFY2(red > 10, qPrintable(QString::number(red)));
        QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
    }

    void printPreviewShowsOnePage() {
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        int pages = -1;
        frame->RunModal = [&pages](QDialog& dialog) {
            dialog.show();
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            if (preview) {
                preview->updatePreview();
                QCoreApplication::processEvents();
                pages = preview->pageCount();
            }
            dialog.reject();
            return int(QDialog::Rejected);
        };
        frame->Action(CommandId::FilePrintPreview)->trigger();
        QCOMPARE(pages, 1);
    }

    void helpMenuOpensTheThreeDialogs_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("className");
        QTest::newRow("about") << int(CommandId::AppAbout) << "vorlo::AboutDialog";
        QTest::newRow("instructions")
            << int(CommandId::HelpInstructions) << "vorlo::InstructionsDialog";
        QTest::newRow("introduction") << int(CommandId::StartupMessage) << "vorlo::IntroDialog";
    }
    void helpMenuOpensTheThreeDialogs() {
        QFETCH(int, command);
        QFETCH(QString, className);
        QString opened;
        bool checked = false;
        frame->RunModal = [&](QDialog& dialog) {
            opened = QString::fromLatin1(dialog.metaObject()->className());
            if (auto* box = dialog.findChild<QCheckBox*>()) {
                checked = box->isChecked();
            }
            return int(QDialog::Rejected);
        };
        frame->Action(static_cast<CommandId>(command))->trigger();
        QCOMPARE(opened, className);
        if (command == int(CommandId::StartupMessage)) {
            QVERIFY(checked);
        }
    }

    void shellWords_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain path") << "build/debug/bin/vorlo"
                                    << "build/debug/bin/vorlo";
        QTest::newRow("option") << "--print=a.vrl"
                                << "--print=a.vrl";
        QTest::newRow("space") << "my riddle.vrl"
                               << "'my riddle.vrl'";
        QTest::newRow("quote") << "Dan's.vrl"
                               << "'Dan'\\''s.vrl'";
        QTest::newRow("dollar and star") << "$HOME/*.vrl"
                                         << "'$HOME/*.vrl'";
        QTest::newRow("tilde") << "~/a.vrl"
                               << "'~/a.vrl'";
        QTest::newRow("hebrew") << "ריבוע.vrl"
                                << "'ריבוע.vrl'";
        QTest::newRow("empty") << ""
                               << "''";
    }

    void shellWords() {
        QFETCH(QString, word);
        QFETCH(QString, quoted);
        QCOMPARE(QString::fromStdString(ShellWord(word.toStdString())), quoted);
    }

    // The hint's command, typed where the program was started, starts it
    // again: by the name or path it was started by when that leads to it,
    // else by its absolute path.
    void headlessHintRepeatsTheCommand_data() {
        QTest::addColumn<QString>("folder");   // working folder, in the build tree
        QTest::addColumn<QString>("program");  // what is executed
        QTest::addColumn<QString>("argv0");    // the name it is given
        QTest::addColumn<QString>("pathDir");  // put first on PATH, in the build tree
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("command");  // after "xvfb-run -a "
        // The build tree's program, in its bin folder (named as the build
        // names it).
        const QString absolute = QStringLiteral(VORLO_PROGRAM);
        const QString bin = QFileInfo(absolute).dir().dirName();
        const QString name = QFileInfo(absolute).fileName();
        const QString relative = bin + u'/' + name;
        QTest::newRow("relative path")
            << "." << relative << relative << QString() << QStringList{"my riddle.vrl"}
            << relative + " 'my riddle.vrl'";
        QTest::newRow("dot slash, no file")
            << bin << "./" + name << "./" + name << QString() << QStringList{} << "./" + name;
        QTest::newRow("absolute path") << "." << absolute << absolute << QString()
                                       << QStringList{"a.vrl"} << absolute + " a.vrl";
        QTest::newRow("found on PATH")
            << "." << name << name << bin << QStringList{"--", "-x.vrl"} << name + " -- -x.vrl";
        QTest::newRow("name not on PATH")
            << "." << absolute << name << QString() << QStringList{} << absolute;
        QTest::newRow("path leading elsewhere")
            << "." << absolute << bin + "/../" + name << QString() << QStringList{} << absolute;
    }

    void headlessHintRepeatsTheCommand() {
        QFETCH(QString, folder);
        QFETCH(QString, program);
        QFETCH(QString, argv0);
        QFETCH(QString, pathDir);
        QFETCH(QStringList, args);
        QFETCH(QString, command);
        // The build tree: the folder above the program's bin folder.
        const QString root =
            QFileInfo(QStringLiteral(VORLO_PROGRAM)).dir().absolutePath() + QStringLiteral("/../");
        if (!QFile::exists(QStringLiteral(VORLO_PROGRAM))) {
            QSKIP("the vorlo program is not built");
        }
        if (QStandardPaths::findExecutable(QStringLiteral("bash")).isEmpty()) {
            QSKIP("bash is not installed");
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        if (!pathDir.isEmpty()) {
            env.insert("PATH", root + pathDir + QLatin1Char(':') + env.value("PATH"));
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root + folder);
        // Started as a shell starts it, with argv[0] chosen.
        process.start(
            QStringLiteral("bash"),
            QStringList{QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" \"$1\" \"${@:2}\""),
                        argv0, program} +
                args);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("\n  xvfb-run -a ") + command + QLatin1Char('\n')),
                 qPrintable(err));
    }

    void commandLineWithoutDisplayExplainsXvfb() {
        const QString exe = QStringLiteral(VORLO_PROGRAM);
        if (!QFile::exists(exe)) {
            QSKIP("the vorlo program is not built");
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start(exe, {kExample});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("xvfb-run"));

        process.start(exe, {QStringLiteral("--version")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().contains("1.1"));

        // A riddle that cannot be read: the message, then status 1.
        process.start(exe, {QStringLiteral("--print"), dir.filePath("missing.vrl")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("missing.vrl"));
    }
};

int main(int argc, char** argv) {
    // Recent files and other settings go to a folder of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"

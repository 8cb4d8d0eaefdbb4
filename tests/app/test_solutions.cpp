// SPDX-License-Identifier: GPL-3.0-or-later
// Revert to Saved, Save as Solution, the moved pane and the solved note,
// driven through the window as a player and an author would.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "board_editor.h"
#include "board_view.h"
#include "commands.h"
#include "file_commands.h"
#include "main_window.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "riddle_progress.h"
#include "test_files.h"
#include "window_status.h"

using namespace vorlo;

using vorlo::test::ReadAll;

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/tests/data/worked_example.vrl");

}  // namespace

class TestSolutions : public QObject {
    Q_OBJECT

    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QTemporaryDir dir;
    QStringList revertQuestions;
    bool revertAnswer = false;

    RiddleDocument* doc() { return frame->riddleDocument(); }

    // The worked example's cup, (309,126,90) (209,126,90) (199,137,0)
    // (258,248,90), copied to the temporary folder and opened.
    QString OpenCup(const QString& name = QStringLiteral("cup.vrl"),
                    FileCommands::PlayChoice play = FileCommands::PlayChoice::WhenSolutions) {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        if (!QFile::copy(kExample, path) || !frame->Files().OpenDocumentFile(path, play)) {
            return QString();
        }
        return path;
    }

    // Drags with the left button from one board point to another as the
    // mouse does, and lets the button up.
    void Drag(QPoint from, QPoint to) {
        BoardView* board = frame->boardView();
        DragWithoutRelease(from, to);
        QTest::mouseRelease(board->viewport(), Qt::LeftButton, {}, to);
    }
    void DragWithoutRelease(QPoint from, QPoint to) {
        vorlo::BoardEditor& editor = frame->boardView()->Editor();
        editor.PressLeft(from.x(), from.y());
        editor.MovePointer(vorlo::kLeftHeld, to.x(), to.y());
    }

    QString MovedText() { return frame->Status().MovedPane()->text(); }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        QVERIFY(recording.Make());
        revertQuestions.clear();
        frame->ConfirmRevert = [this](const QString& question) {
            revertQuestions << question;
            return revertAnswer;
        };
    }
    void cleanup() { recording.Reset(); }

    void revertRestoresTheFileAndCancelKeepsTheBoard() {
        QVERIFY(!frame->Action(CommandId::FileRevert)->isEnabled());  // never saved
        const QString path = OpenCup();
        QVERIFY(!path.isEmpty());
        QVERIFY(frame->Action(CommandId::FileRevert)->isEnabled());
        Drag({230, 137}, {330, 187});  // the lying match, 100 right and 50 down
        QCOMPARE(doc()->MatchList.ToVector().at(2), Match(299, 187, 0));

        revertAnswer = false;
        QVERIFY(!frame->Files().OnFileRevert());
        QCOMPARE(revertQuestions.size(), 1);
        QCOMPARE(doc()->MatchList.ToVector().at(2), Match(299, 187, 0));
        QVERIFY(doc()->isModified());

        revertAnswer = true;
        frame->Action(CommandId::FileRevert)->trigger();
        QCOMPARE(revertQuestions.size(), 2);
        QCOMPARE(doc()->MatchList.ToVector().at(2), Match(199, 137, 0));
        QVERIFY(!doc()->isModified());
        QVERIFY(frame->Files().OnFileSave());
        QCOMPARE(ReadAll(path), ReadAll(kExample));
        // Nothing to lose: no question.
        QVERIFY(frame->Files().OnFileRevert());
        QCOMPARE(revertQuestions.size(), 2);
    }

    // The count follows a drag as it happens: no button has to come up.
    void movedCountFollowsADragWithoutARelease() {
        QVERIFY(!OpenCup().isEmpty());
        const size_t comparisons = frame->Status().Progress()->Comparisons();
        DragWithoutRelease({230, 137}, {330, 187});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        // Choosing another match with Tab compares nothing again.
        frame->boardView()->selectNextMatch();
        QCOMPARE(frame->Status().Progress()->Comparisons(), comparisons + 1);
    }

    void movedCountsTwoMovedMatchesAndZeroWhenBack() {
        QVERIFY(!OpenCup().isEmpty());
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        Drag({230, 137}, {330, 187});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        Drag({258, 220}, {400, 220});  // the bottom match
        QCOMPARE(MovedText(), QStringLiteral("Moved: 2"));
        Drag({400, 220}, {258, 220});
        Drag({330, 187}, {230, 137});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));

        // Undo counts again; Save starts from the board as saved.
        Drag({230, 137}, {232, 180});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        frame->Action(CommandId::EditUndo)->trigger();
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        Drag({230, 137}, {232, 180});
        QVERIFY(frame->Files().OnFileSave());
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        // An added match counts as moved; a deleted one does not.
        frame->Action(CommandId::AddMatch)->trigger();
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        frame->Action(CommandId::DeleteMatch)->trigger();
        frame->Action(CommandId::DeleteMatch)->trigger();
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
    }

    void movedPaneLiesLeftOfTheMatchCount() {
        QVERIFY(frame->Status().MovedPane()->isVisible());
        QVERIFY(frame->Status().MovedPane()->geometry().right() <
                frame->Status().MatchCountPane()->x());
    }

    void solvedWhenTheBoardIsASolution() {
        // The first solution lays the bottom match across the top; the
        // second puts it up there the other way round, 2 px off.
        MatchList first;
        for (const Match& m :
             {Match(309, 126, 90), Match(209, 126, 90), Match(199, 137, 0), Match(209, 20, 0)}) {
            first.Append(m);
        }
        QFile solution(dir.filePath(QStringLiteral("glass.solution.vrl")));
        QVERIFY(solution.open(QIODevice::WriteOnly));
        solution.write(QByteArray::fromStdString(SerializeRiddle(first, "")));
        solution.close();
        MatchList second = first;
        second.Last()->x = 258;  // (258, 48, 90) laid from its head's tip, 2 px off
        second.Last()->y = -26;
        second.Last()->angle = 270;
        QFile other(dir.filePath(QStringLiteral("glass.solution-2.vrl")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(QByteArray::fromStdString(SerializeRiddle(second, "")));
        other.close();

        // A riddle with solutions opens as a game, and the moves count
        // towards the fewest any solution needs.
        QVERIFY(!OpenCup(QStringLiteral("glass.vrl")).isEmpty());
        QVERIFY(doc()->isPlaying());
        QCOMPARE(frame->Status().ModePane()->text(), QStringLiteral("Playing"));
        QCOMPARE(frame->Status().Progress()->SolutionCount(), size_t{2});
        QCOMPARE(MovedText(), QStringLiteral("Moves: 0 of 1"));
        QVERIFY(!frame->Status().SolvedNote()->isVisible());

        Drag({258, 220}, {258, 20});  // to (258, 48, 90): the second solution
        QCOMPARE(doc()->MatchList.Last()->y, 48);
        QCOMPARE(MovedText(), QString(QStringLiteral("Solved \u2013 Moves: 1 of 1")));
        QVERIFY(frame->Status().SolvedNote()->isVisible());
        QCOMPARE(frame->Status().SolvedNote()->text(),
                 QStringLiteral("Solved in 1 move, without a hint!"));
        QVERIFY(frame->boardView()->viewport()->rect().contains(
            frame->Status().SolvedNote()->geometry()));

        Drag({258, 20}, {258, 40});
        QCOMPARE(MovedText(), QStringLiteral("Moves: 1 of 1"));
        QVERIFY(!frame->Status().SolvedNote()->isVisible());

        // Edited, the riddle is judged as before.
        frame->Action(CommandId::GamePlay)->trigger();
        QVERIFY(!doc()->isPlaying());
        QCOMPARE(frame->Status().ModePane()->text(), QStringLiteral("Editing"));
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        Drag({258, 220}, {258, 20});
        QCOMPARE(MovedText(), QStringLiteral("Solved"));
        QCOMPARE(frame->Status().SolvedNote()->text(),
                 QStringLiteral("Solved, with 1 match moved."));
    }

    void riddleWithoutSolutionsIsNeverSolved() {
        QVERIFY(!OpenCup(QStringLiteral("plain.vrl")).isEmpty());
        QCOMPARE(frame->Status().Progress()->SolutionCount(), size_t{0});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        Drag({258, 220}, {258, 20});
        Drag({258, 20}, {258, 220});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        QVERIFY(!frame->Status().SolvedNote()->isVisible());
        // A new riddle has no file and so no solutions either.
        doc()->setModified(false);
        QVERIFY(frame->Files().OnFileNew());
        QCOMPARE(MovedText(), QStringLiteral("Moved: 0"));
        QVERIFY(!frame->Action(CommandId::FileSaveSolution)->isEnabled());
    }

    void comparesOnlyWhenTheBoardChanged() {
        QVERIFY(!OpenCup(QStringLiteral("still.vrl")).isEmpty());
        BoardView* board = frame->boardView();
        QWidget* port = board->viewport();
        Drag({230, 137}, {330, 187});
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        struct Case {
            const char* what;
            std::function<void()> act;
            size_t comparisons;
        } cases[] = {
            {"Tab", [&] { QTest::keyClick(board, Qt::Key_Tab); }, 0},
            {"a click beside the matches",
             [&] {
                 QTest::mouseClick(port, Qt::LeftButton, {}, {600, 400});
             },
             0},
            {"a click selecting a match",
             [&] {
                 QTest::mouseClick(port, Qt::LeftButton, {}, {330, 187});
             },
             0},
            {"a right click",
             [&] {
                 QTest::mouseClick(port, Qt::RightButton, {}, {330, 187});
             },
             0},
            {"an arrow moving the selected match", [&] { QTest::keyClick(board, Qt::Key_Right); },
             1},
            {"a drag",
             [&] {
                 Drag({259, 220}, {400, 220});
             },
             1},
            {"undo", [&] { frame->Action(CommandId::EditUndo)->trigger(); }, 1},
        };
        for (const Case& c : cases) {
            const size_t before = frame->Status().Progress()->Comparisons();
            c.act();
            QVERIFY2(frame->Status().Progress()->Comparisons() - before == c.comparisons, c.what);
        }
        QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
    }

    void solutionsAreReadAtTheFirstChangeAndAHugeOneIsRefused() {
        // The cup has 4 matches, so its solutions may hold 2 * 4 + 1000.
        struct Case {
            const char* name;
            int matches;
            bool refused;
        } cases[] = {
            {"roomy", 1008, false},
            {"huge", 1009, true},
        };
        for (const Case& c : cases) {
            MatchList many;
            for (int i = 0; i < c.matches; ++i) {
                many.Append(Match(i * 100, 1000, 0));
            }
            QFile solution(dir.filePath(QStringLiteral("%1.solution.vrl").arg(c.name)));
            QVERIFY(solution.open(QIODevice::WriteOnly));
            solution.write(QByteArray::fromStdString(SerializeRiddle(many, "")));
            solution.close();
            frame->StatusBar->clearMessage();
            doc()->setModified(false);
            // Edited, not played: a game reads them at once for its goal.
            QVERIFY(!OpenCup(QStringLiteral("%1.vrl").arg(c.name), FileCommands::PlayChoice::Never)
                         .isEmpty());
            QCOMPARE(frame->Status().Progress()->SolutionCount(), size_t{1});
            QVERIFY2(!frame->Status().Progress()->SolutionsRead(), c.name);
            Drag({230, 137}, {330, 187});
            QVERIFY2(frame->Status().Progress()->SolutionsRead(), c.name);
            QCOMPARE(frame->StatusBar->currentMessage().contains(QStringLiteral("left unread")),
                     c.refused);
            QCOMPARE(MovedText(), QStringLiteral("Moved: 1"));
        }
    }

    void saveAsSolutionWritesTheNextSolutionFile() {
        const QString path = OpenCup(QStringLiteral("author.vrl"));
        QVERIFY(!path.isEmpty());
        QVERIFY(frame->Action(CommandId::FileSaveSolution)->isEnabled());
        Drag({258, 220}, {258, 20});
        frame->Action(CommandId::FileSaveSolution)->trigger();
        const QString first = dir.filePath(QStringLiteral("author.solution.vrl"));
        const RiddleReadResult read = ReadRiddleFile(QFile::encodeName(first).toStdString());
        QVERIFY(read.ok);
        QCOMPARE(read.riddle.matches, doc()->MatchList);
        // The board is now one of its solutions; the riddle itself is unchanged.
        QCOMPARE(MovedText(), QStringLiteral("Solved"));
        QVERIFY(frame->Status().SolvedNote()->isVisible());
        QCOMPARE(ReadAll(path), ReadAll(kExample));

        Drag({258, 20}, {300, 20});
        QVERIFY(frame->Files().OnFileSaveSolution());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("author.solution-2.vrl"))));
        QCOMPARE(frame->Status().Progress()->SolutionCount(), size_t{2});
        QVERIFY(recording.errors.isEmpty());
    }
};

QTEST_MAIN(TestSolutions)
#include "test_solutions.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// A riddle played through the document: moves become one history step each,
// the riddle's file and modified state are never touched, and the game comes
// back when the same riddle is played again.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <algorithm>
#include <vector>

#include "family.h"
#include "play_session.h"
#include "riddle_document.h"
#include "riddle_io.h"
#include "riddle_progress.h"
#include "test_files.h"

using vorlo::Match;

namespace {

vorlo::MatchList List(const std::vector<Match>& matches) {
    vorlo::MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return list;
}

// Two matches standing apart; the solution lays the second across the top.
const std::vector<Match> kRiddle{Match(100, 200, 90), Match(300, 200, 90)};
const std::vector<Match> kSolution{Match(100, 200, 90), Match(100, 124, 0)};

}  // namespace

class TestPlaySession : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<RiddleDocument> doc_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    void Write(const QString& name, const std::vector<Match>& matches,
               const QString& text = QStringLiteral("Lay one match across.")) {
        QString error;
        QVERIFY2(vorlo::SaveRiddleFile(Path(name), List(matches), text, &error), qPrintable(error));
    }

    // A document of its own playing `name`, its games kept in the folder.
    std::unique_ptr<RiddleDocument> Play(const QString& name) {
        auto doc = std::make_unique<RiddleDocument>();
        doc->play()->setStoreFolder(Path(QStringLiteral("games")));
        QString error;
        if (!doc->open(Path(name), &error)) {
            qWarning() << error;
            return nullptr;
        }
        doc->play()->start();
        return doc;
    }

    static std::vector<Match> Board(const RiddleDocument& doc) { return doc.MatchList.ToVector(); }

    // A left drag of the match under (x, y) by (dx, dy), in steps.
    static void Drag(RiddleDocument& doc, int x, int y, int dx, int dy) {
        vorlo::BoardEditor& editor = doc.editor();
        editor.PressLeft(x, y);
        for (int step = 1; step <= 4; ++step) {
            editor.MovePointer(vorlo::kLeftHeld, x + dx * step / 4, y + dy * step / 4);
        }
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        Write(QStringLiteral("riddle.vrl"), kRiddle);
        Write(QStringLiteral("riddle.solution.vrl"), kSolution);
        doc_ = Play(QStringLiteral("riddle.vrl"));
        QVERIFY(doc_);
    }
    void cleanup() {
        doc_.reset();
        QDir(Path(QStringLiteral("games"))).removeRecursively();
    }

    void eachMoveIsOneStepAndTheFileIsNeverTouched() {
        const QByteArray bytes = vorlo::test::ReadAll(Path(QStringLiteral("riddle.vrl")));
        QUndoStack* history = doc_->play()->history();
        Drag(*doc_, 300, 180, 40, 0);  // one drag of four steps
        QCOMPARE(history->count(), 1);
        // A run of arrow keys on one match is one move too.
        doc_->editor().OnKeyMove(1, 0);
        doc_->editor().OnKeyMove(1, 0);
        doc_->editor().OnKeyMove(0, 1);
        QCOMPARE(history->count(), 2);
        QCOMPARE(Board(*doc_)[1], Match(342, 201, 90));
        doc_->editor().OnRotate90();  // another action on the same match
        QCOMPARE(history->count(), 3);
        QVERIFY(!doc_->isModified());

        // Nothing but moves reaches the board.
        doc_->editor().OnAddMatch(500);
        doc_->editor().OnDeleteMatch();
        QVERIFY(!doc_->editor().OnEditCut());
        QCOMPARE(doc_->MatchList.Count(), size_t{2});

        history->undo();
        history->undo();
        QCOMPARE(Board(*doc_)[1], Match(340, 200, 90));
        history->undo();
        QCOMPARE(Board(*doc_), kRiddle);
        history->redo();
        QCOMPARE(Board(*doc_)[1], Match(340, 200, 90));
        // A new move after an undo drops what could be redone.
        Drag(*doc_, 100, 180, 0, 10);
        QCOMPARE(history->count(), 2);
        QVERIFY(!history->canRedo());
        QCOMPARE(vorlo::test::ReadAll(Path(QStringLiteral("riddle.vrl"))), bytes);
        QVERIFY(!doc_->isModified());
    }

    void restartPutsEveryMatchBackAndIsUndoable() {
        QVERIFY(!doc_->play()->canRestart());
        Drag(*doc_, 300, 180, 40, 0);
        Drag(*doc_, 100, 180, -30, 20);
        const std::vector<Match> played = Board(*doc_);
        QVERIFY(doc_->play()->canRestart());
        doc_->play()->restart();
        QCOMPARE(Board(*doc_), kRiddle);
        QCOMPARE(doc_->progress()->Moved(), size_t{0});
        doc_->play()->history()->undo();
        QCOMPARE(Board(*doc_), played);
        QCOMPARE(doc_->progress()->Moved(), size_t{2});
    }

    void stopShowsTheRiddleAndPlayingAgainBringsTheGameBack() {
        Drag(*doc_, 300, 180, 40, 0);
        const std::vector<Match> played = Board(*doc_);
        doc_->play()->stop();
        QVERIFY(!doc_->isPlaying());
        QCOMPARE(Board(*doc_), kRiddle);
        QVERIFY(!doc_->isModified());
        // The editing board has nothing of the game to undo.
        QVERIFY(!doc_->editor().OnUpdateEditUndo());
        doc_->play()->start();
        QCOMPARE(Board(*doc_), played);
        QCOMPARE(doc_->progress()->Moved(), size_t{1});
        QCOMPARE(doc_->play()->history()->count(), 1);
    }

    // The game is kept by the riddle's content: another name finds it, an
    // edited riddle does not.
    void theGameFollowsTheContent_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("restored");
        QTest::newRow("the same file") << "riddle.vrl" << false << true;
        QTest::newRow("a copy under another name") << "copy.vrl" << false << true;
        QTest::newRow("an edited copy") << "edited.vrl" << true << false;
    }
    void theGameFollowsTheContent() {
        QFETCH(QString, name);
        QFETCH(bool, edited);
        QFETCH(bool, restored);
        Drag(*doc_, 300, 180, 40, 0);
        Drag(*doc_, 100, 180, 0, 30);
        doc_->play()->history()->undo();  // the position in the history is kept too
        const std::vector<Match> played = Board(*doc_);
        doc_->play()->flush();
        if (name != QLatin1String("riddle.vrl")) {
            Write(
                name, kRiddle,
                edited ? QStringLiteral("Another task.") : QStringLiteral("Lay one match across."));
        }
        const std::unique_ptr<RiddleDocument> again = Play(name);
        QVERIFY(again);
        if (restored) {
            QCOMPARE(Board(*again), played);
            QCOMPARE(again->play()->history()->count(), 2);
            QCOMPARE(again->play()->history()->index(), 1);
            again->play()->history()->redo();
            QCOMPARE(again->progress()->Moved(), size_t{2});
        } else {
            QCOMPARE(Board(*again), kRiddle);
            QCOMPARE(again->play()->history()->count(), 0);
        }
    }

    void aDamagedGameIsSetAsideAndTheRiddleStartsFresh() {
        Drag(*doc_, 300, 180, 40, 0);
        doc_->play()->flush();
        doc_.reset();
        const QDir games(Path(QStringLiteral("games")));
        const QStringList kept = games.entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QFile record(games.filePath(kept.first()));
        QVERIFY(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
        record.write("not a game\n");
        record.close();

        auto doc = std::make_unique<RiddleDocument>();
        doc->play()->setStoreFolder(Path(QStringLiteral("games")));
        QSignalSpy notices(doc->play(), &PlaySession::notice);
        QString error;
        QVERIFY(doc->open(Path(QStringLiteral("riddle.vrl")), &error));
        doc->play()->start();
        QVERIFY(doc->isPlaying());
        QCOMPARE(Board(*doc), kRiddle);
        QCOMPARE(notices.count(), 1);
    }

    void hintsMarkTheMatchThenItsPlaceAndAreCounted() {
        PlaySession* play = doc_->play();
        QVERIFY(play->canHint());
        play->hint();
        QCOMPARE(play->hintStage(), PlaySession::HintStage::MatchToMove);
        QCOMPARE(play->hintedMatch(), std::optional<Match>(Match(300, 200, 90)));
        QVERIFY(!play->hintTarget());
        play->hint();
        QCOMPARE(play->hintStage(), PlaySession::HintStage::Target);
        QVERIFY(play->hintTarget());
        QVERIFY(vorlo::SameStick(*play->hintTarget(), Match(100, 124, 0)));
        QCOMPARE(play->hintsUsed(), 2u);
        // The player's move clears what is shown; the count stays.
        Drag(*doc_, 300, 180, 10, 0);
        QCOMPARE(play->hintStage(), PlaySession::HintStage::None);
        QCOMPARE(play->hintsUsed(), 2u);
    }

    void solvingIsToldOnceAndRemembered() {
        QSignalSpy solved(doc_->play(), &PlaySession::solved);
        // The second match, laid the other way round across the top.
        doc_->editor().PressLeft(300, 180);
        doc_->editor().PlaceMatch(doc_->SelectedMatch, Match(176, 124, 180));
        QVERIFY(doc_->progress()->Solved());
        QCOMPARE(solved.count(), 1);
        QVERIFY(doc_->play()->solvedBefore());
        QVERIFY(!doc_->play()->canHint());
        doc_->play()->flush();
        const std::unique_ptr<RiddleDocument> again = Play(QStringLiteral("riddle.vrl"));
        QVERIFY(again->play()->solvedBefore());
    }

    // A family riddle, 6+4=4 with only 0+4=4 stored: judged by its rule.
    void aFamilyRiddleIsSolvedByAnyAnswerOfItsRule() {
        const std::unique_ptr<RiddleDocument> doc = PlayFamily();
        QVERIFY(doc);
        QCOMPARE(doc->progress()->FewestMoves(), std::optional<size_t>(1));
        QVERIFY(doc->progress()->JudgedByRule());
        QSignalSpy solved(doc->play(), &PlaySession::solved);
        // The plus's stroke onto the 6: 8-4=4, an answer no file holds.
        const std::vector<vorlo::MatchMove> moves = MovesTo("8-4=4", 1);
        QCOMPARE(moves.size(), size_t{1});
        Match dropped = moves[0].to;
        dropped.x += 5;  // by hand, a little off its place
        Move(*doc, moves[0].from, dropped);
        QVERIFY(doc->progress()->Solved());
        QCOMPARE(solved.count(), 1);
    }

    void aFamilyHintLeadsToTheNearestAnswer() {
        const std::unique_ptr<RiddleDocument> doc = PlayFamily();
        QVERIFY(doc);
        PlaySession* play = doc->play();
        const auto followHint = [&] {
            play->hint();
            play->hint();
            QCOMPARE(play->hintStage(), PlaySession::HintStage::Target);
            Move(*doc, *play->hintedMatch(), *play->hintTarget());
        };
        followHint();  // from the start
        QVERIFY(doc->progress()->Solved());
        doc->play()->restart();
        // With the plus's stroke set aside, 8-4=4 is one move away, the
        // stored 0+4=4 two.
        Move(*doc, MovesTo("8-4=4", 1).at(0).from, Match(700, 300, 45));
        followHint();
        QVERIFY(doc->progress()->Solved());
    }

    // A task that asks for more than the rule is judged by its files alone.
    void aTaskOfItsOwnIsJudgedByItsSolutionFiles() {
        const std::unique_ptr<RiddleDocument> doc =
            PlayFamily(QStringLiteral("Move one match to make zero appear."));
        QVERIFY(doc);
        const std::vector<vorlo::MatchMove> moves = MovesTo("8-4=4", 1);
        QCOMPARE(moves.size(), size_t{1});
        Move(*doc, moves[0].from, moves[0].to);
        QVERIFY(!doc->progress()->Solved());
    }

    void twoMovesAreNoAnswerOfAOneMoveFamilyRiddle() {
        const std::unique_ptr<RiddleDocument> doc = PlayFamily();
        QVERIFY(doc);
        // 8-4=4 with its minus on the upper bar: true, but two moves away.
        std::vector<vorlo::MatchMove> moves = MovesTo("8-4=4", 1);
        QCOMPARE(moves.size(), size_t{1});
        moves.push_back({familyRiddle_.PlaceMatch(8), familyRiddle_.PlaceMatch(7)});
        for (const vorlo::MatchMove& move : moves) {
            Move(*doc, move.from, move.to);
        }
        QCOMPARE(doc->progress()->Moved(), size_t{2});
        QVERIFY(!doc->progress()->Solved());
    }

private:
    const std::vector<Match> family_ = *vorlo::DrawEquation("6+4=4");
    const vorlo::FamilyRiddle familyRiddle_ = *vorlo::FamilyRiddle::Recognize(family_);

    // An answer of 6+4=4 of `moved` moves reading `text` (any, when empty).
    std::optional<vorlo::FamilyAnswer> Answer(const std::string& text, size_t moved) const {
        for (const vorlo::FamilyAnswer& answer : vorlo::SolveFamily(familyRiddle_, {moved, 0})) {
            if (answer.moved == moved && (text.empty() || answer.text == text)) {
                return answer;
            }
        }
        return std::nullopt;
    }
    std::vector<vorlo::MatchMove> MovesTo(const std::string& text, size_t moved) const {
        const std::optional<vorlo::FamilyAnswer> answer = Answer(text, moved);
        return answer ? vorlo::AnswerMoves(familyRiddle_, family_, answer->board)
                      : std::vector<vorlo::MatchMove>{};
    }

    // 6+4=4 played, with one solution file: 0+4=4.
    std::unique_ptr<RiddleDocument> PlayFamily(
        const QString& task =
            QString::fromStdString(vorlo::FamilyTaskText(vorlo::RiddleFamily::Equation, {1, 0}))) {
        const std::optional<vorlo::FamilyAnswer> zero = Answer("0+4=4", 1);
        if (!zero) {
            return nullptr;
        }
        Write(QStringLiteral("family.vrl"), family_, task);
        Write(QStringLiteral("family.solution.vrl"),
              vorlo::AnswerMatches(familyRiddle_, family_, zero->board));
        return Play(QStringLiteral("family.vrl"));
    }

    // One match moved from where it lies to `to`, as a drop does.
    static void Move(RiddleDocument& doc, const Match& from, const Match& to) {
        for (auto it = doc.MatchList.begin(); it != doc.MatchList.end(); ++it) {
            if (*it == from) {
                doc.editor().PlaceMatch(it.ref(), to);
                return;
            }
        }
        QFAIL("no such match on the board");
    }
};

QTEST_MAIN(TestPlaySession)
#include "test_play_session.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The moved count and the verdict, followed change by change, against a
// fresh comparison of the whole board after every edit of random sessions;
// the fewest moves and the hints.

#include <QTemporaryDir>
#include <QtTest>
#include <random>
#include <string>
#include <vector>

#include "board_editor.h"
#include "family.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "riddle_progress.h"
#include "stick_pairing.h"

using namespace vorlo;

namespace {

MatchList ListOf(const std::vector<Match>& matches) {
    MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return list;
}

bool Write(const QString& path, const std::vector<Match>& matches) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const std::string bytes = SerializeRiddle(ListOf(matches), "");
    return file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// Matches crowded on a few spots, so that edits of a pixel or a degree
// cross the tolerance and pairings must be rerouted. The first solution
// moves two matches, the second moves one 15 px right and 5 up.
const std::vector<Match> kRiddle = {
    {100, 100, 0},  {108, 100, 0},  {176, 100, 180}, {100, 100, 0},  {300, 100, 90},
    {300, 108, 90}, {300, 24, 270}, {500, 300, 45},  {505, 305, 45},
};

std::vector<Match> With(std::vector<Match> layout, size_t i, Match m) {
    layout[i] = m;
    return layout;
}

const std::vector<Match> kSolution = With(With(kRiddle, 4, {300, 100, 0}), 8, {400, 300, 45});
const std::vector<Match> kSecondSolution = With(kRiddle, 8, {515, 300, 45});

}  // namespace

class TestRiddleProgress : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY(Write(dir.filePath("crowd.vrl"), kRiddle));
        QVERIFY(Write(dir.filePath("crowd.solution.vrl"), kSolution));
        QVERIFY(Write(dir.filePath("crowd.solution-2.vrl"), kSecondSolution));
    }

    void followsEveryEditAsAWholeComparisonCounts() {
        const QString path = dir.filePath("crowd.vrl");
        RiddleDocument doc;
        RiddleProgress progress(&doc);
        QString error;
        QVERIFY2(doc.open(path, &error), qPrintable(error));
        // Asked for before any change, the fewest moves read the solutions.
        QVERIFY(!progress.SolutionsRead());
        QCOMPARE(progress.FewestMoves(), std::optional<size_t>(1));
        QVERIFY(progress.SolutionsRead());
        BoardEditor& editor = doc.editor();
        std::mt19937 random(7);
        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        std::vector<Match> base = kRiddle;
        const std::vector<StickIndex> solutions = {StickIndex(kSolution),
                                                   StickIndex(kSecondSolution)};
        int solvedSeen = 0;
        for (int step = 0; step < 3000; ++step) {
            for (int tab = pick(4); tab > 0; --tab) {
                editor.SelectNextMatch();
            }
            switch (pick(13)) {
                case 0:
                case 1:
                case 2:
                    editor.OnKeyMove(pick(21) - 10, pick(21) - 10);
                    break;
                case 3:
                    editor.OnKeyTurn(pick(31) - 15, pick(2) == 1);
                    break;
                case 4:
                    if (doc.SelectedMatch) {
                        const Match m = *doc.SelectedMatch;
                        // On the stick when it lies at 0 degrees, else on
                        // another match or on none.
                        editor.PressLeft(m.x + 30, m.y);
                        editor.MovePointer(kLeftHeld, m.x + 30 + pick(41) - 20,
                                           m.y + pick(41) - 20);
                    }
                    break;
                case 5:
                    editor.OnRotate90();
                    break;
                case 6:
                    if (doc.MatchList.Count() > 4) {
                        editor.OnDeleteMatch();
                    }
                    break;
                case 7:
                    if (const std::optional<MatchBlock> block = editor.OnEditCopy()) {
                        editor.OnEditPaste(*block);
                    }
                    break;
                case 8:
                case 9:
                    editor.OnEditUndo();
                    break;
                case 10:
                    if (pick(10) == 0) {
                        // Saving starts the count from the board as saved.
                        QVERIFY(doc.save(dir.filePath("crowd-saved.vrl"), &error));
                        progress.Rebase(RiddleProgress::Unchanged::Compared);
                        base = doc.MatchList.ToVector();
                        QCOMPARE(progress.FewestMoves(), std::nullopt);  // none beside it
                    }
                    break;
                case 11:
                    // As a player following a hint: the match it names laid
                    // where it says, by the keys.
                    if (const std::optional<LayoutJudge::Hint> hint = progress.NextHint()) {
                        for (auto it = doc.MatchList.begin(); it != doc.MatchList.end(); ++it) {
                            if (*it == hint->move) {
                                doc.SelectedMatch = it.ref();
                            }
                        }
                        if (doc.SelectedMatch && *doc.SelectedMatch == hint->move) {
                            const Match m = *doc.SelectedMatch;
                            editor.OnKeyMove(hint->target.x - m.x, hint->target.y - m.y);
                            editor.OnKeyTurn(hint->target.angle - m.angle, false);
                        }
                    }
                    break;
                default:
                    if (pick(5) == 0) {
                        QVERIFY(doc.open(path, &error));
                        base = kRiddle;
                    }
                    break;
            }
            const size_t moved = MovedCount(StickIndex(base), doc.MatchList);
            QCOMPARE(progress.Moved(), moved);
            // Only the riddle beside its solutions is judged.
            const bool judged = doc.pathName() == QFileInfo(path).absoluteFilePath();
            bool solved = false;
            for (const StickIndex& solution : solutions) {
                solved = solved || (judged && IsSolution(solution, doc.MatchList));
            }
            QCOMPARE(progress.Solved(), solved);
            solvedSeen += solved ? 1 : 0;
        }
        QVERIFY(solvedSeen > 0);
    }

    // A family riddle whose answers would take minutes to find, a 5 x 5
    // lattice nearly full with three moves, is judged by its files alone.
    void aFamilyRiddleTooCostlyToSolveIsJudgedByItsFiles() {
        const FamilyRiddle lattice = FamilyRiddle::SquaresLattice({76, 76}, 5, 5);
        std::vector<Match> riddle;
        for (size_t p = 0; p < lattice.PlaceCount(); ++p) {
            if (p % 7 != 0) {
                riddle.push_back(lattice.PlaceMatch(p));
            }
        }
        std::vector<Match> solution = riddle;
        for (size_t i = 0; i < 3; ++i) {
            solution[i] = lattice.PlaceMatch(7 * i);  // onto three empty places
        }
        QVERIFY(FamilyRiddle::Recognize(riddle));
        QVERIFY(Write(dir.filePath("lattice.vrl"), riddle));
        QVERIFY(Write(dir.filePath("lattice.solution.vrl"), solution));
        RiddleDocument doc;
        RiddleProgress progress(&doc);
        QString error;
        QVERIFY2(doc.open(dir.filePath("lattice.vrl"), &error), qPrintable(error));
        QCOMPARE(progress.FewestMoves(), std::optional<size_t>(3));
        QVERIFY(!progress.JudgedByRule());
    }
};

QTEST_MAIN(TestRiddleProgress)
#include "test_riddle_progress.moc"

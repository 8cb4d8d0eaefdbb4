// SPDX-License-Identifier: GPL-3.0-or-later
// The board as a screen reader sees it: one item per match, in list order,
// named and described, following the board as it changes.

#include <QAccessible>
#include <QTest>

#include "board_accessible.h"
#include "board_view.h"
#include "riddle_document.h"

using vorlo::Match;

class TestBoardAccessible : public QObject {
    Q_OBJECT

private slots:
    void matchesAreItemsInListOrder() {
        RiddleDocument doc;
        BoardView view(&doc);
        view.resize(400, 300);
        view.show();
        doc.MatchList.Append(Match(100, 50, 90));
        doc.SelectedMatch = doc.MatchList.Append(Match(200, 80, 180));
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(board);
        QCOMPARE(board->role(), QAccessible::List);
        QCOMPARE(board->text(QAccessible::Name), QStringLiteral("Board"));
        QVERIFY(board->text(QAccessible::Description).endsWith(QStringLiteral("2 matches.")));
        QCOMPARE(board->childCount(), 2);
        const QAccessibleInterface* first = board->child(0);
        const QAccessibleInterface* second = board->child(1);
        QCOMPARE(first->text(QAccessible::Name), QStringLiteral("Match 1 of 2"));
        QCOMPARE(first->text(QAccessible::Description),
                 QStringLiteral("At 100, 50, head pointing up"));
        QCOMPARE(second->text(QAccessible::Description),
                 QStringLiteral("At 200, 80, head pointing left, selected"));
        QVERIFY(second->state().selected);
        QVERIFY(!first->state().selected);
        QCOMPARE(first->role(), QAccessible::ListItem);
        QCOMPARE(first->parent(), board);
        QCOMPARE(board->indexOfChild(second), 1);
        QCOMPARE(board->child(1), second);  // made once, then kept
        QVERIFY(!board->child(2));
        // Its place on the screen lies in the board, and points back at it.
        const QRect onScreen = first->rect();
        QVERIFY(!onScreen.isEmpty());
        QCOMPARE(board->childAt(onScreen.center().x(), onScreen.center().y()), first);
    }

    void itemsFollowTheBoard() {
        RiddleDocument doc;
        BoardView view(&doc);
        view.resize(400, 300);
        view.show();
        doc.MatchList.Append(Match(100, 50, 0));
        doc.MatchList.Append(Match(100, 150, 0));
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view);
        QCOMPARE(board->child(1)->text(QAccessible::Name), QStringLiteral("Match 2 of 2"));
        // A match taken from the middle: the next one is the first's successor.
        doc.MatchList.Remove(doc.MatchList.First());
        static_cast<BoardAccessible*>(board)->ForgetItems();
        QCOMPARE(board->childCount(), 1);
        QCOMPARE(board->child(0)->text(QAccessible::Description),
                 QStringLiteral("At 100, 150, head pointing right"));
    }

    void directionsInWords_data() {
        QTest::addColumn<int>("angle");
        QTest::addColumn<QString>("words");
        QTest::newRow("right") << 0 << "head pointing right";
        QTest::newRow("up") << 90 << "head pointing up";
        QTest::newRow("down, negative") << -90 << "head pointing down";
        QTest::newRow("up and left, turned twice") << 855 << "head pointing up and left";
        QTest::newRow("between") << 30 << "head at 30 degrees";
        QTest::newRow("far") << INT32_MIN << "head at 232 degrees";
    }
    void directionsInWords() {
        QFETCH(int, angle);
        QFETCH(QString, words);
        QCOMPARE(BoardAccessible::Direction(angle), words);
    }

    void aHugeBoardCostsOnlyWhatIsRead() {
        RiddleDocument doc;
        BoardView view(&doc);
        view.resize(200, 200);
        view.show();
        constexpr int kCount = 2'000'000;
        std::span<Match> records = doc.MatchList.AppendUnfilled(kCount);
        for (int i = 0; i < kCount; ++i) {
            records[i] = Match(i, 0, 0);
        }
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view);
        QCOMPARE(board->childCount(), kCount);
        QCOMPARE(board->child(kCount - 1)->text(QAccessible::Name),
                 QStringLiteral("Match 2000000 of 2000000"));
        QVERIFY(board->child(kCount - 1)->state().invisible);  // far off the screen
    }
};

QTEST_MAIN(TestBoardAccessible)
#include "test_board_accessible.moc"

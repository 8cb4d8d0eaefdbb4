// SPDX-License-Identifier: GPL-3.0-or-later
// The riddle book's model over a folder of its own: which files are tiles,
// what each tile says of the player's game, and the chapters of a user.
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

#include "book_chapters.h"
#include "next_unsolved.h"
#include "progress_store.h"
#include "riddle_book_model.h"
#include "riddle_io.h"
#include "settings_store.h"
#include "tile_delegate.h"

using vorlo::GameProgress;
using vorlo::Match;
using vorlo::MatchList;
using vorlo::TileState;

namespace {

std::vector<Match> Matches(int32_t x) {
    return {Match(x, 0, 0), Match(x, 100, 90)};
}

MatchList Board(int32_t x) {
    MatchList board;
    for (const Match& match : Matches(x)) {
        board.Append(match);
    }
    return board;
}

}  // namespace

class TestRiddleBook : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString riddles_;
    vorlo::TilePlaces places_;

    QString Write(const QString& name, const MatchList& board, const QString& text) {
        QString error;
        const QString path = riddles_ + u'/' + name;
        if (!vorlo::SaveRiddleFile(path, board, text, &error)) {
            qWarning() << error;
        }
        return path;
    }
    // Keeps a game of the riddle `board` with the matches moved in it.
    void Keep(int32_t x, const QString& text, size_t moved, bool solved, uint32_t hints) {
        const MatchList board = Board(x);
        GameProgress game;
        for (size_t i = 0; i < moved; ++i) {
            const Match before = Matches(x)[i];
            game.steps.push_back({{{static_cast<uint32_t>(i), before,
                                    Match(before.x + 500, before.y + 500, before.angle)}}});
        }
        game.position = moved;
        game.solved = solved;
        game.hintsUsed = hints;
        QString error;
        const vorlo::ProgressStore store(places_.progressFolder);
        QVERIFY2(store.Save(vorlo::ProgressStore::KeyOf(board, text.toStdString()), board.Count(),
                            game, &error),
                 qPrintable(error));
    }
    static QModelIndex Row(const QAbstractItemModel& model, const QString& name) {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.index(row, 0).data().toString() == name) {
                return model.index(row, 0);
            }
        }
        return {};
    }
    static void WaitRead(RiddleBookModel& model) {
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 20000);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        riddles_ = dir_.filePath(QStringLiteral("riddles"));
        QVERIFY(QDir().mkpath(riddles_));
        places_ = {dir_.filePath(QStringLiteral("progress")),
                   dir_.filePath(QStringLiteral("cache"))};
        Write(QStringLiteral("a-new.vrl"), Board(0), QStringLiteral("First line\nsecond"));
        Write(QStringLiteral("b-started.vrl"), Board(10), QStringLiteral("started"));
        Write(QStringLiteral("c-solved.vrl"), Board(20), QStringLiteral("solved"));
        Write(QStringLiteral("c-solved.solution.vrl"), Board(21), QString());
        Write(QStringLiteral("c-solved.SOLUTION-2.vrl"), Board(22), QString());
        // A solution whose riddle is gone is still no riddle.
        Write(QStringLiteral("gone.solution.vrl"), Board(23), QString());
        QFile damaged(riddles_ + QStringLiteral("/d-damaged.vrl"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("\x05\x00\x00\x00\x01\x02", 6);  // declares 5 matches, holds none
        damaged.close();
        QVERIFY(QDir(riddles_).mkdir(QStringLiteral("e-folder.vrl")));
        Keep(10, QStringLiteral("started"), 1, false, 0);
        Keep(20, QStringLiteral("solved"), 2, true, 1);
    }

    void tilesShowTheFilesAndThePlayersState_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("stateText");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("new") << "a-new" << int(TileState::New) << "New"
                             << "a-new, new";
        QTest::newRow("started") << "b-started" << int(TileState::Started) << "Started, 1 move"
                                 << "b-started, started, 1 move";
        QTest::newRow("solved") << "c-solved" << int(TileState::Solved)
                                << "Solved in 2 moves, 1 hint"
                                << "c-solved, solved in 2 moves, with 1 hint";
    }
    void tilesShowTheFilesAndThePlayersState() {
        QFETCH(QString, name);
        QFETCH(int, state);
        QFETCH(QString, stateText);
        QFETCH(QString, spoken);
        RiddleBookModel model(places_);
        model.setFolder(riddles_);
        WaitRead(model);
        // The solution files are left out, whatever their case or number.
        QCOMPARE(model.rowCount(), 4);
        const QModelIndex tile = Row(model, name);
        QVERIFY(tile.isValid());
        QCOMPARE(tile.data(RiddleBookModel::StateRole).toInt(), state);
        QCOMPARE(tile.data(RiddleBookModel::StateTextRole).toString(), stateText);
        QCOMPARE(tile.data(Qt::AccessibleTextRole).toString(), spoken);
        QVERIFY(tile.flags() & Qt::ItemIsEnabled);
    }

    void aDamagedFileIsGreyedWithItsReason() {
        RiddleBookModel model(places_);
        model.setFolder(riddles_);
        WaitRead(model);
        const QModelIndex tile = Row(model, QStringLiteral("d-damaged"));
        QVERIFY(tile.isValid());
        QCOMPARE(tile.data(RiddleBookModel::StateRole).toInt(), int(TileState::Unreadable));
        QVERIFY(!(tile.flags() & Qt::ItemIsEnabled));
        const QString reason = tile.data(Qt::ToolTipRole).toString();
        QVERIFY2(reason.contains(QLatin1String("5")), qPrintable(reason));
        QVERIFY(tile.data(Qt::AccessibleTextRole).toString().contains(reason));
    }

    // A kept game that cannot be trusted is set aside when its tile is read,
    // and the tile says so once; the riddle is new from then on.
    void aKeptGameSetAsideIsToldOnItsTile() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("aside.vrl"));
        const QString text = QStringLiteral("aside");
        QString error;
        QVERIFY2(vorlo::SaveRiddleFile(path, Board(30), text, &error), qPrintable(error));
        Keep(30, text, 1, false, 0);
        const QString record = places_.progressFolder + u'/' +
                               vorlo::ProgressStore::KeyOf(Board(30), text.toStdString());
        QFile file(record);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not a kept game\n");
        file.close();

        const QStringList stateTexts{QStringLiteral("New: game set aside"), QStringLiteral("New")};
        for (const QString& stateText : stateTexts) {
            RiddleBookModel model(places_);
            model.setFolder(folder.path());
            WaitRead(model);
            const QModelIndex tile = Row(model, QStringLiteral("aside"));
            QVERIFY(tile.isValid());
            QCOMPARE(tile.data(RiddleBookModel::StateRole).toInt(), int(TileState::New));
            QCOMPARE(tile.data(RiddleBookModel::StateTextRole).toString(), stateText);
            const QString tip = tile.data(Qt::ToolTipRole).toString();
            const QString spoken = tile.data(Qt::AccessibleTextRole).toString();
            const bool told = stateText != QLatin1String("New");
            QCOMPARE(tip.contains(QLatin1String(".damaged")), told);
            QCOMPARE(spoken.contains(QLatin1String(".damaged")), told);
            QVERIFY(tile.flags() & Qt::ItemIsEnabled);
        }
        QVERIFY(!QFile::exists(record));
        QVERIFY(QFile::exists(record + QStringLiteral(".damaged")));
    }

    void visibleTilesGetTheirPicturesFromTheDiskCacheAgain() {
        RiddleBookModel model(places_);
        model.setFolder(riddles_);
        QTRY_VERIFY_WITH_TIMEOUT(model.rowCount() > 0, 20000);
        model.setVisibleRows({0});
        QTRY_VERIFY_WITH_TIMEOUT(model.visibleRowsDrawn(), 20000);
        QVERIFY(!model.index(0).data(RiddleBookModel::PictureRole).value<QImage>().isNull());
        const QStringList kept = QDir(places_.cacheFolder).entryList({QStringLiteral("*.png")});
        QCOMPARE(kept.size(), 1);
        // A second book draws nothing new: the picture comes from the disk.
        RiddleBookModel again(places_);
        again.setFolder(riddles_);
        QTRY_VERIFY_WITH_TIMEOUT(again.rowCount() > 0, 20000);
        again.setVisibleRows({0});
        QTRY_VERIFY_WITH_TIMEOUT(again.visibleRowsDrawn(), 20000);
        QCOMPARE(QDir(places_.cacheFolder).entryList({QStringLiteral("*.png")}), kept);
    }

    void aKeptGameTurnsTheTileSolved() {
        const QString text = QStringLiteral("later");
        Write(QStringLiteral("f-later.vrl"), Board(40), text);
        RiddleBookModel model(places_);
        UnsolvedFilter unsolved;
        unsolved.setSourceModel(&model);
        unsolved.setOnlyUnsolved(true);
        model.setFolder(riddles_);
        WaitRead(model);
        QVERIFY(Row(unsolved, QStringLiteral("f-later")).isValid());
        QVERIFY(!Row(unsolved, QStringLiteral("c-solved")).isValid());
        Keep(40, text, 1, true, 0);
        model.refreshKey(vorlo::ProgressStore::KeyOf(Board(40), text.toStdString()));
        QTRY_COMPARE_WITH_TIMEOUT(
            Row(model, QStringLiteral("f-later")).data(RiddleBookModel::StateRole).toInt(),
            int(TileState::Solved), 20000);
        QVERIFY(!Row(unsolved, QStringLiteral("f-later")).isValid());
        QVERIFY(QFile::remove(riddles_ + QStringLiteral("/f-later.vrl")));
    }

    void nextUnsolvedGoesOnInBookOrder_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::newRow("after the new one") << "a-new.vrl"
                                           << "b-started.vrl";
        QTest::newRow("past solved and damaged, round") << "b-started.vrl"
                                                        << "a-new.vrl";
        QTest::newRow("outside the book") << ""
                                          << "a-new.vrl";
    }
    void nextUnsolvedGoesOnInBookOrder() {
        QFETCH(QString, current);
        QFETCH(QString, next);
        const std::vector<vorlo::BookChapter> chapters = {
            {vorlo::BookChapter::Kind::Added, QStringLiteral("riddles"), riddles_}};
        const QString from = current.isEmpty() ? QString() : riddles_ + u'/' + current;
        QCOMPARE(vorlo::NextUnsolvedRiddle(chapters, from, places_), riddles_ + u'/' + next);
    }

    void chaptersInTheirOrder() {
        QTemporaryDir install;
        QVERIFY(QDir(install.path()).mkpath(QStringLiteral("riddles/squares")));
        const QString home = dir_.filePath(QStringLiteral("home"));
        const auto chapters = vorlo::BookChapters::List(install.path() + u'/', home,
                                                        {riddles_, riddles_ + u'/', QString()});
        QStringList titles;
        for (const vorlo::BookChapter& chapter : chapters) {
            titles << chapter.title;
        }
        // Equations have no folder yet: no chapter; an added folder comes once.
        QCOMPARE(titles, (QStringList{QStringLiteral("Samples"), QStringLiteral("Squares"),
                                      QStringLiteral("My riddles"), QStringLiteral("riddles")}));
        QCOMPARE(chapters[2].folder, home + QStringLiteral("/vorlo/riddles"));
        QVERIFY(!chapters[2].Removable());
        QVERIFY(chapters[3].Removable());
    }

    // A tile's line cut short ends with its "…" where its own text ends: on
    // the left for Hebrew, on the right for English, in either interface.
    void tileLinesEndWhereTheirTextEnds_data() {
        QTest::addColumn<Qt::LayoutDirection>("interface");
        QTest::addColumn<QString>("task");
        QTest::addColumn<bool>("cutOnTheLeft");
        const QString hebrew = QStringLiteral(
            u"\u05d4\u05d6\u05d9\u05d6\u05d5 \u05e8\u05e7 \u05e9\u05e0\u05d9 "
            u"\u05d2\u05e4\u05e8\u05d5\u05e8\u05d9\u05dd \u05db\u05da "
            u"\u05e9\u05d4\u05db\u05d5\u05e1 \u05ea\u05d9\u05e4\u05ea\u05d7 "
            u"\u05db\u05dc\u05e4\u05d9 \u05de\u05d8\u05d4");
        const QString english =
            QStringLiteral("Move just two matches so that the cup opens downward, then rest");
        QTest::newRow("Hebrew, English interface") << Qt::LeftToRight << hebrew << true;
        QTest::newRow("Hebrew, Hebrew interface") << Qt::RightToLeft << hebrew << true;
        QTest::newRow("English, English interface") << Qt::LeftToRight << english << false;
        QTest::newRow("English, Hebrew interface") << Qt::RightToLeft << english << false;
    }
    void tileLinesEndWhereTheirTextEnds() {
        QFETCH(Qt::LayoutDirection, interface);
        QFETCH(QString, task);
        QFETCH(bool, cutOnTheLeft);
        QStandardItemModel model(1, 1);
        auto* item = new QStandardItem;
        model.setItem(0, 0, item);
        item->setData(QStringLiteral("riddle.vrl"), Qt::DisplayRole);
        item->setData(task, RiddleBookModel::TaskRole);
        item->setData(QString(), RiddleBookModel::StateTextRole);

        TileDelegate delegate;
        QStyleOptionViewItem option;
        option.font = QApplication::font();
        option.fontMetrics = QFontMetrics(option.font);
        option.palette = QApplication::palette();
        option.direction = interface;
        option.state = QStyle::State_Enabled;
        option.rect = QRect(QPoint(), TileDelegate::TileSize(option.fontMetrics));
        QImage image(option.rect.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setLayoutDirection(interface);
            delegate.paint(&painter, option, model.index(0, 0));
        }

        // The task's line, below the picture and the name.
        const int line = option.fontMetrics.height();
        const int top = 6 + RiddleBookModel::kThumbnailSide + 6 + line;
        auto ink = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
        int left = image.width();
        int right = -1;
        for (int y = top; y < top + line; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (ink(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY2(right - left > 100, "the task's line was not drawn");
        // How tall the ink is in the four columns from `from`: a few pixels
        // for the dots of "…", more for a letter.
        auto height = [&](int from) {
            int high = top + line;
            int low = top - 1;
            for (int x = from; x < from + 4; ++x) {
                for (int y = top; y < top + line; ++y) {
                    if (ink(x, y)) {
                        high = std::min(high, y);
                        low = std::max(low, y);
                    }
                }
            }
            return low - high + 1;
        };
        const int atLeft = height(left);
        const int atRight = height(right - 3);
        QVERIFY2(cutOnTheLeft ? atLeft < atRight : atRight < atLeft,
                 qPrintable(QStringLiteral("ink %1 px tall on the left, %2 on the right")
                                .arg(atLeft)
                                .arg(atRight)));
    }

    void settingsKeepTheFoldersAndShowTheBookOnce() {
        vorlo::SettingsStore settings(dir_.filePath(QStringLiteral("vorlo.conf")));
        QVERIFY(settings.SetBookFolders(
            {QStringLiteral("/a"), QString(), QStringLiteral("/b"), QStringLiteral("/a")}));
        QCOMPARE(settings.BookFolders(), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));
        QVERIFY(settings.BookDueAtStart());
        QVERIFY(!settings.BookDueAtStart());
    }
};

QTEST_MAIN(TestRiddleBook)
#include "test_riddle_book.moc"

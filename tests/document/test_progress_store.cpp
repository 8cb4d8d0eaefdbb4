// SPDX-License-Identifier: GPL-3.0-or-later
// The store of games being played: what it keeps and gives back, and every
// kind of record it must set aside instead of trusting.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "hang_guard.h"
#include "progress_store.h"
#include "riddle_io.h"
#include "test_files.h"

using namespace vorlo;
using Status = ProgressStore::Status;

namespace {

MatchList Board() {
    MatchList board;
    board.Append(Match(10, 20, 0));
    board.Append(Match(30, 40, 90));
    board.Append(Match(50, 60, 180));
    return board;
}

const QString kKey = ProgressStore::KeyOf(Board(), "move one match");

// Two moves of match 1 and a restart that puts it back, one step undone.
GameProgress Game() {
    GameProgress game;
    game.steps = {
        {{{1, Match(30, 40, 90), Match(35, 40, 90)}}},
        {{{1, Match(35, 40, 90), Match(INT32_MIN, INT32_MAX, -7)}}},
        {{{1, Match(INT32_MIN, INT32_MAX, -7), Match(30, 40, 90)}}},
    };
    game.position = 2;
    game.hintsUsed = 4;
    game.solved = true;
    return game;
}

// The record Game() makes, as a person would write it.
const QByteArray kRecord = "vorlo-progress 1\nkey " + kKey.toLatin1() +
                           "\nmatches 3\nhints 4\nsolved 1\nposition 2\nsteps 3\n"
                           "step 1\n1 30 40 90 35 40 90\n"
                           "step 1\n1 35 40 90 -2147483648 2147483647 -7\n"
                           "step 1\n1 -2147483648 2147483647 -7 30 40 90\nend\n";

QByteArray Replaced(const char* what, const QByteArray& with) {
    QByteArray record = kRecord;
    return record.replace(what, with);
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

mode_t ModeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode;
}

}  // namespace

Q_DECLARE_METATYPE(vorlo::GameProgress)

class TestProgressStore : public QObject {
    Q_OBJECT

private slots:
    void keepsAndGivesBack() {
        QTemporaryDir dir;
        const ProgressStore store(dir.filePath("data/vorlo/progress"));
        QCOMPARE(store.Load(kKey, Board()).status, Status::None);  // no folder yet
        QString error;
        QVERIFY2(store.Save(kKey, 3, Game(), &error), qPrintable(error));
        QCOMPARE(test::ReadAll(store.PathOf(kKey)), kRecord);
        // Every folder made is the user's alone.
        for (const char* folder : {"data", "data/vorlo", "data/vorlo/progress"}) {
            QCOMPARE(ModeOf(dir.filePath(folder)) & 07777, mode_t(0700));
        }
        const ProgressStore::Loaded loaded = store.Load(kKey, Board());
        QCOMPARE(loaded.status, Status::Loaded);
        QVERIFY(loaded.progress == Game());
        QVERIFY(loaded.message.isEmpty());
        MatchList moved = Board();
        moved.First().Next()->x = INT32_MIN;
        moved.First().Next()->y = INT32_MAX;
        moved.First().Next()->angle = -7;
        QVERIFY(ProgressStore::Replay(Board(), loaded.progress) == moved);

        QVERIFY(store.Forget(kKey));
        QCOMPARE(store.Load(kKey, Board()).status, Status::None);
        QVERIFY(store.Forget(kKey));  // nothing left to forget
        // A link planted there goes, and what it points at stays.
        QVERIFY(Write(dir.filePath("victim"), "mine"));
        QVERIFY(QFile::link(dir.filePath("victim"), store.PathOf(kKey)));
        QVERIFY(store.Forget(kKey));
        QCOMPARE(ModeOf(store.PathOf(kKey)), mode_t(0));
        QCOMPARE(test::ReadAll(dir.filePath("victim")), QByteArray("mine"));
    }

    void keyFollowsTheContent() {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.vrl");
        const QString copy = dir.filePath("other name.vrl");
        QString error;
        QVERIFY(SaveRiddleFile(a, Board(), QStringLiteral("הזיזו גפרור אחד"), &error));
        QVERIFY(QFile::copy(a, copy));
        const auto keyOfFile = [](const QString& path) {
            const RiddleReadResult read = LoadRiddleFile(path);
            return read.ok ? ProgressStore::KeyOf(read.riddle.matches, read.riddle.text)
                           : QString();
        };
        const ProgressStore store(dir.filePath("progress"));
        QVERIFY(store.Save(keyOfFile(a), 3, Game(), &error));
        QCOMPARE(store.Load(keyOfFile(copy), Board()).status, Status::Loaded);

        // An edited riddle, by one pixel or one letter, has a game of its own.
        MatchList nudged = Board();
        nudged.First()->x += 1;
        QVERIFY(SaveRiddleFile(copy, nudged, QStringLiteral("הזיזו גפרור אחד"), &error));
        QVERIFY(keyOfFile(copy) != keyOfFile(a));
        QVERIFY(SaveRiddleFile(copy, Board(), QStringLiteral("הזיזו גפרור אחר"), &error));
        QVERIFY(keyOfFile(copy) != keyOfFile(a));
        QCOMPARE(store.Load(keyOfFile(copy), Board()).status, Status::None);
    }

    void setsAsideWhatItCannotTrust_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("reason");
        const QString damaged = QStringLiteral("it is damaged");
        const QString misfit = QStringLiteral("its moves do not fit this riddle");
        QTest::newRow("empty") << QByteArray() << damaged;
        QTest::newRow("cut in a change") << kRecord.left(kRecord.size() - 20) << damaged;
        QTest::newRow("no end") << Replaced("end\n", "") << damaged;
        QTest::newRow("no last newline") << kRecord.chopped(1) << damaged;
        QTest::newRow("after the end") << kRecord + "step 0\n" << damaged;
        QTest::newRow("other magic") << Replaced("vorlo-progress", "vorlo-progres") << damaged;
        QTest::newRow("newer version")
            << Replaced("vorlo-progress 1", "vorlo-progress 2")
            << QStringLiteral("it was written by a newer version of the program");
        QTest::newRow("other key") << Replaced(kKey.toLatin1().constData(), QByteArray(64, 'a'))
                                   << QStringLiteral("it belongs to another riddle");
        QTest::newRow("upper-case key")
            << Replaced(kKey.toLatin1().constData(), kKey.toUpper().toLatin1()) << damaged;
        QTest::newRow("other match count") << Replaced("matches 3", "matches 4") << misfit;
        QTest::newRow("index outside") << Replaced("1 30 40 90 35", "3 30 40 90 35") << misfit;
        QTest::newRow("index past 32 bits")
            << Replaced("1 30 40 90 35", "4294967297 30 40 90 35") << damaged;
        QTest::newRow("before not on the board")
            << Replaced("1 30 40 90 35", "1 31 40 90 35") << misfit;
        QTest::newRow("steps do not chain")
            << Replaced("1 35 40 90 -2147483648", "1 36 40 90 -2147483648") << misfit;
        QTest::newRow("position past the steps") << Replaced("position 2", "position 4") << damaged;
        QTest::newRow("negative position") << Replaced("position 2", "position -1") << damaged;
        QTest::newRow("solved 2") << Replaced("solved 1", "solved 2") << damaged;
        QTest::newRow("x past 32 bits") << Replaced("35 40 90\n", "2147483648 40 90\n") << damaged;
        QTest::newRow("six numbers")
            << Replaced("1 30 40 90 35 40 90", "1 30 40 90 35 40") << damaged;
        QTest::newRow("two spaces") << Replaced("1 30 40", "1  30 40") << damaged;
        QTest::newRow("CR LF") << QByteArray(kRecord).replace("\n", "\r\n") << damaged;
        QTest::newRow("NUL") << Replaced("hints 4", QByteArray("hints 4\0", 8)) << damaged;
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01 vorlo\n", 12) << damaged;
        QTest::newRow("more steps than exist") << Replaced("steps 3", "steps 4") << damaged;
        QTest::newRow("steps past the limit")
            << Replaced("steps 3", "steps 18446744073709551615") << damaged;
        QTest::newRow("changes past the limit")
            << Replaced("step 1\n1 30", "step 4000000000\n1 30") << damaged;
    }
    void setsAsideWhatItCannotTrust() {
        QFETCH(QByteArray, record);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const ProgressStore store(dir.path());
        const QString path = store.PathOf(kKey);
        QVERIFY(Write(path, record));
        const ProgressStore::Loaded loaded = store.Load(kKey, Board());
        QCOMPARE(loaded.status, Status::SetAside);
        QVERIFY2(loaded.message.contains(reason), qPrintable(loaded.message));
        QVERIFY(loaded.progress == GameProgress());
        QCOMPARE(test::ReadAll(path + ".damaged"), record);
        QCOMPARE(store.Load(kKey, Board()).status, Status::None);
        QString error;
        QVERIFY2(store.Save(kKey, 3, Game(), &error), qPrintable(error));
    }

    // What lies at the record's name is never followed, read whole or
    // waited on; it is moved aside as it is.
    void setsAsideWhatIsNotAFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("type");  // what is found set aside
        QTest::newRow("link to a good record") << "link" << int(S_IFLNK);
        QTest::newRow("FIFO") << "fifo" << int(S_IFIFO);
        QTest::newRow("folder") << "folder" << int(S_IFDIR);
        QTest::newRow("100 MB") << "huge" << int(S_IFREG);
    }
    void setsAsideWhatIsNotAFile() {
        QFETCH(QString, kind);
        QFETCH(int, type);
        QTemporaryDir dir;
        const ProgressStore store(dir.filePath("progress"));
        const QString path = store.PathOf(kKey);
        QVERIFY(QDir(dir.path()).mkdir("progress"));
        const QString elsewhere = dir.filePath("elsewhere");
        QVERIFY(Write(elsewhere, kRecord));
        if (kind == "link") {
            QVERIFY(QFile::link(elsewhere, path));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else {
            QVERIFY(Write(path, kRecord));  // a good beginning, then 100 MB of holes
            QVERIFY(QFile::resize(path, qint64(100) << 20));
        }
        const test::FifoWatchdog watchdog(path);
        const std::optional<qint64> readBefore = test::BytesReadSoFar();
        const ProgressStore::Loaded loaded = store.Load(kKey, Board());
        const std::optional<qint64> readAfter = test::BytesReadSoFar();
        QCOMPARE(watchdog.Released(), 0);
        if (readBefore && readAfter) {
            QVERIFY(*readAfter - *readBefore < (1 << 20));
        }
        QCOMPARE(loaded.status, Status::SetAside);
        QVERIFY(!loaded.message.isEmpty());
        QCOMPARE(ModeOf(path + ".damaged") & S_IFMT, mode_t(type));
        QCOMPARE(test::ReadAll(elsewhere), kRecord);
        QCOMPARE(store.Load(kKey, Board()).status, Status::None);
    }

    void saveRefuses_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<GameProgress>("game");
        QTest::addColumn<QString>("folder");  // under the temporary folder
        GameProgress outside = Game();
        outside.steps[0].changes[0].index = 3;
        GameProgress pastTheEnd = Game();
        pastTheEnd.position = 4;
        GameProgress tooLong;
        tooLong.steps.resize(ProgressStore::kMaxSteps + 1);
        QTest::newRow("a path for a key") << "../" + kKey.left(61) << Game() << "p";
        QTest::newRow("upper-case key") << kKey.toUpper() << Game() << "p";
        QTest::newRow("index outside the board") << kKey << outside << "p";
        QTest::newRow("position past the steps") << kKey << pastTheEnd << "p";
        QTest::newRow("too many steps") << kKey << tooLong << "p";
        QTest::newRow("the data home is a file") << kKey << Game() << "file/vorlo/progress";
    }
    void saveRefuses() {
        QFETCH(QString, key);
        QFETCH(GameProgress, game);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QVERIFY(Write(dir.filePath("file"), "not a folder"));
        const ProgressStore store(dir.filePath(folder));
        QString error;
        QVERIFY(!store.Save(key, 3, game, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(store.Load(kKey, Board()).status, Status::None);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"file"});
    }
};

QTEST_GUILESS_MAIN(TestProgressStore)
#include "test_progress_store.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer of files: what it refuses to replace, what a replacement
// keeps of the old file, and names at the length limit.

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "riddle_io.h"

using namespace vorlo;

namespace {

const std::string kNewBytes = "new contents";
const QByteArray kOldBytes = "old contents";

bool Make(const QString& path, const QByteArray& bytes = kOldBytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct stat Lstat(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

// Everything in the folder but the names given: a failed or finished save
// leaves no temporary file behind.
QStringList Leftovers(const QString& folder, const QStringList& expected) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    for (const QString& name : expected) {
        names.removeAll(name);
    }
    return names;
}

enum class Node { Fifo, Folder, Socket, CharDevice, LinkToFifo };

mode_t CurrentUmaskForTest() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

class TestFileWriter : public QObject {
    Q_OBJECT

private slots:
    void refusesWhatIsNotARegularFile_data() {
        QTest::addColumn<Node>("node");
        QTest::newRow("FIFO") << Node::Fifo;
        QTest::newRow("folder") << Node::Folder;
        QTest::newRow("socket") << Node::Socket;
        QTest::newRow("character device") << Node::CharDevice;
        QTest::newRow("link to a FIFO") << Node::LinkToFifo;
    }

    void refusesWhatIsNotARegularFile() {
        QFETCH(Node, node);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("target"));
        const QByteArray native = QFile::encodeName(target);
        QLocalServer server;
        mode_t expectedType = 0;
        switch (node) {
            case Node::Fifo:
                QCOMPARE(::mkfifo(native.constData(), 0600), 0);
                expectedType = S_IFIFO;
                break;
            case Node::Folder:
                QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("target")));
                expectedType = S_IFDIR;
                break;
            case Node::Socket:
                QVERIFY(server.listen(target));
                expectedType = S_IFSOCK;
                break;
            case Node::CharDevice:
                if (::geteuid() != 0) {
                    QSKIP("making a device node needs root");
                }
                // The null device's numbers, on a node of our own.
                QCOMPARE(::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
                expectedType = S_IFCHR;
                break;
            case Node::LinkToFifo: {
                const QString fifo = dir.filePath(QStringLiteral("fifo"));
                QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
                QVERIFY(QFile::link(fifo, target));
                expectedType = S_IFLNK;
                break;
            }
        }
        const QStringList before = Leftovers(dir.path(), {});

        QString error;
        QVERIFY(!WriteFileAtomically(target, kNewBytes, &error));
        QCOMPARE(error, QStringLiteral("is not a regular file"));
        QVERIFY(!IsRegularFileOrAbsent(target));
        QCOMPARE(Lstat(target).st_mode & S_IFMT, expectedType);
        QCOMPARE(Leftovers(dir.path(), {}), before);
    }

    void writesThroughLinksToRegularFiles() {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.vrl"));
        const QString link = dir.filePath(QStringLiteral("link.vrl"));
        QVERIFY(Make(real));
        QVERIFY(QFile::link(QStringLiteral("real.vrl"), link));  // relative target

        QString error;
        QVERIFY2(WriteFileAtomically(link, kNewBytes, &error), qPrintable(error));
        QVERIFY(S_ISLNK(Lstat(link).st_mode));
        QCOMPARE(Read(real), QByteArray::fromStdString(kNewBytes));

        // A link to a file not made yet makes the file and stays a link.
        const QString dangling = dir.filePath(QStringLiteral("dangling.vrl"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("later.vrl")), dangling));
        QVERIFY2(WriteFileAtomically(dangling, kNewBytes, &error), qPrintable(error));
        QVERIFY(S_ISLNK(Lstat(dangling).st_mode));
        QCOMPARE(Read(dir.filePath(QStringLiteral("later.vrl"))),
                 QByteArray::fromStdString(kNewBytes));
        QCOMPARE(
            Leftovers(dir.path(), {QStringLiteral("real.vrl"), QStringLiteral("link.vrl"),
                                   QStringLiteral("dangling.vrl"), QStringLiteral("later.vrl")}),
            QStringList());
    }

    // The program's own files: a link at the name is replaced by the file,
    // and what it pointed at (a file of the user's, nothing, itself) stays
    // as it was.
    void ownFilesReplaceTheLink_data() {
        QTest::addColumn<QString>("pointsAt");  // relative to the folder
        QTest::addColumn<bool>("victimExists");
        QTest::newRow("a file of the user's") << "victim.txt" << true;
        QTest::newRow("a file in another folder") << "other/victim.txt" << true;
        QTest::newRow("nothing yet") << "victim.txt" << false;
        QTest::newRow("itself") << "own.conf" << false;
    }
    void ownFilesReplaceTheLink() {
        QFETCH(QString, pointsAt);
        QFETCH(bool, victimExists);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("other")));
        const QString own = dir.filePath(QStringLiteral("own.conf"));
        const QString victim = dir.filePath(pointsAt);
        if (victimExists) {
            QVERIFY(Make(victim));
            QVERIFY(
                QFile::setPermissions(victim, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        }
        QVERIFY(QFile::link(pointsAt, own));
        QCOMPARE(ReadOwnFile(own, 1000).state, OwnFileState::Link);

        QString error;
        QVERIFY2(WriteOwnFileAtomically(own, kNewBytes, &error), qPrintable(error));
        QVERIFY(S_ISREG(Lstat(own).st_mode));
        QCOMPARE(Read(own), QByteArray::fromStdString(kNewBytes));
        QCOMPARE(Lstat(own).st_mode & 07777, 0666 & ~CurrentUmaskForTest());
        if (victimExists) {
            QCOMPARE(Read(victim), kOldBytes);
            QCOMPARE(Lstat(victim).st_mode & 07777, static_cast<mode_t>(0600));
        } else if (pointsAt != QStringLiteral("own.conf")) {
            QVERIFY(!QFileInfo::exists(victim));
        }
        const OwnFileRead read = ReadOwnFile(own, 1000);
        QCOMPARE(read.state, OwnFileState::Read);
        QCOMPARE(read.bytes, QByteArray::fromStdString(kNewBytes));
        QCOMPARE(read.stamp, StampOf(own));
        QCOMPARE(Leftovers(dir.path(), {QStringLiteral("own.conf"), QStringLiteral("other"),
                                        QStringLiteral("victim.txt")}),
                 QStringList());
    }

    // What the reader of the program's own files makes of what it finds.
    void ownFileReader_data() {
        QTest::addColumn<QByteArray>("make");  // file, link, fifo, folder, none, no-folder
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<OwnFileState>("state");
        QTest::newRow("empty file") << QByteArray("file") << 0LL << 10LL << OwnFileState::Read;
        QTest::newRow("at the limit") << QByteArray("file") << 10LL << 10LL << OwnFileState::Read;
        QTest::newRow("one past the limit")
            << QByteArray("file") << 11LL << 10LL << OwnFileState::TooLarge;
        QTest::newRow("link to a small file")
            << QByteArray("link") << 1LL << 10LL << OwnFileState::Link;
        QTest::newRow("FIFO") << QByteArray("fifo") << 0LL << 10LL << OwnFileState::NotRegular;
        QTest::newRow("folder") << QByteArray("folder") << 0LL << 10LL << OwnFileState::NotRegular;
        QTest::newRow("absent") << QByteArray("none") << 0LL << 10LL << OwnFileState::Absent;
        QTest::newRow("no folder")
            << QByteArray("no-folder") << 0LL << 10LL << OwnFileState::Absent;
    }
    void ownFileReader() {
        QFETCH(QByteArray, make);
        QFETCH(qint64, size);
        QFETCH(qint64, limit);
        QFETCH(OwnFileState, state);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("own"));
        const QByteArray bytes(size, 'x');
        if (make == "file") {
            QVERIFY(Make(path, bytes));
        } else if (make == "link") {
            QVERIFY(Make(dir.filePath(QStringLiteral("real")), bytes));
            QVERIFY(QFile::link(QStringLiteral("real"), path));
        } else if (make == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (make == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("own")));
        } else if (make == "no-folder") {
            path = dir.filePath(QStringLiteral("missing/own"));
        }
        const OwnFileRead read = ReadOwnFile(path, limit);  // a FIFO must not block
        QCOMPARE(read.state, state);
        QCOMPARE(read.bytes, state == OwnFileState::Read ? bytes : QByteArray());
    }

    void keepsModeGroupAndOwner_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("giveAway");  // to another user and group (root only)
        QTest::newRow("shared 0664") << 0664 << false;
        QTest::newRow("private 0600") << 0600 << false;
        QTest::newRow("read-only 0444 (root)") << 0444 << false;
        QTest::newRow("setgid bit 02664") << 02664 << false;
        QTest::newRow("someone else's 0640 (root)") << 0640 << true;
    }

    void keepsModeGroupAndOwner() {
        QFETCH(int, mode);
        QFETCH(bool, giveAway);
        const bool root = ::geteuid() == 0;
        if ((giveAway || !(mode & 0200)) && !root) {
            QSKIP("only root may write another user's or a read-only file");
        }
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("shared.vrl"));
        QVERIFY(Make(target));
        const QByteArray native = QFile::encodeName(target);
        if (giveAway) {
            QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        }
        QCOMPARE(::chmod(native.constData(), static_cast<mode_t>(mode)), 0);
        const struct stat before = Lstat(target);

        QString error;
        QVERIFY2(WriteFileAtomically(target, kNewBytes, &error), qPrintable(error));
        const struct stat after = Lstat(target);
        QCOMPARE(Read(target), QByteArray::fromStdString(kNewBytes));
        QVERIFY(after.st_ino != before.st_ino);  // replaced whole, not rewritten in place
        QCOMPARE(after.st_mode & 07777, static_cast<mode_t>(mode));
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_uid, before.st_uid);
    }

    void newFileFollowsTheUmask() {
        QTemporaryDir dir;
        const mode_t mask = ::umask(027);
        const QString target = dir.filePath(QStringLiteral("new.vrl"));
        QString error;
        const bool written = WriteFileAtomically(target, kNewBytes, &error);
        ::umask(mask);
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(Lstat(target).st_mode & 07777, static_cast<mode_t>(0640));
    }

    void namesAtTheLengthLimitSaveAgain_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("249 bytes") << QString(245, u'a') + QStringLiteral(".vrl");
        QTest::newRow("255 bytes") << QString(251, u'a') + QStringLiteral(".vrl");
        // 125 Hebrew letters of two bytes each, and ".vrl": 254 bytes.
        QTest::newRow("125 Hebrew letters") << QString(125, QChar(0x05D0)) + QStringLiteral(".vrl");
    }

    void namesAtTheLengthLimitSaveAgain() {
        QFETCH(QString, name);
        QVERIFY(QFile::encodeName(name).size() <= 255);
        QTemporaryDir dir;
        const QString target = dir.filePath(name);
        for (int save = 1; save <= 3; ++save) {
            QString error;
            QVERIFY2(WriteFileAtomically(target, kNewBytes + std::to_string(save), &error),
                     qPrintable(QStringLiteral("save %1: %2").arg(save).arg(error)));
        }
        QCOMPARE(Read(target), QByteArray::fromStdString(kNewBytes + "3"));
        QCOMPARE(Leftovers(dir.path(), {name}), QStringList());
    }

    void failuresSayTheRealReason() {
        QTemporaryDir dir;
        QString error;
        // One byte over the limit: the system's own words, not "Unknown error".
        QVERIFY(!WriteFileAtomically(dir.filePath(QString(256, u'a')), kNewBytes, &error));
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENAMETOOLONG)));
        QVERIFY(
            !WriteFileAtomically(dir.filePath(QStringLiteral("missing/x.vrl")), kNewBytes, &error));
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
        QVERIFY(!WriteFileAtomically(dir.filePath(QStringLiteral("a")) + QChar(u'\0'), kNewBytes,
                                     &error));
        QVERIFY(error.contains(QStringLiteral("NUL")));
        QCOMPARE(Leftovers(dir.path(), {}), QStringList());
    }

    // The streaming writer: the pieces make the file in order; a producer
    // that fails, or a target that is refused, leaves the old file, its
    // mode and no temporary file; a refused target is never produced for.
    void streamedWrites_data() {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<bool>("producerFails");  // after the pieces
        QTest::addColumn<bool>("fifoTarget");
        // The file may grow to 8 bytes only, and the producer ignores the
        // failed write: the save must fail all the same.
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("pieces in order")
            << QStringList{"a", "", "bc", QString(70000, u'd')} << false << false << false;
        QTest::newRow("no pieces") << QStringList{} << false << false << false;
        QTest::newRow("producer fails midway") << QStringList{"half"} << true << false << false;
        QTest::newRow("FIFO target") << QStringList{"x"} << false << true << false;
        QTest::newRow("write fails, producer goes on")
            << QStringList{"0123456789", "tail"} << false << false << true;
    }

    void streamedWrites() {
        QFETCH(QStringList, pieces);
        QFETCH(bool, producerFails);
        QFETCH(bool, fifoTarget);
        QFETCH(bool, sizeLimit);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("picture.svg"));
        const QByteArray native = QFile::encodeName(target);
        if (fifoTarget) {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else {
            QVERIFY(Make(target));
            QCOMPARE(::chmod(native.constData(), 0640), 0);
        }
        int produced = 0;
        const auto produce = [&](const FileChunkSink& write) {
            ++produced;
            for (const QString& piece : pieces) {
                if (!write(piece.toStdString()) && !sizeLimit) {
                    return false;
                }
            }
            return !producerFails;
        };
        struct rlimit oldLimit {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        if (sizeLimit) {
            const struct rlimit limit = {8, oldLimit.rlim_max};
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        QString error;
        const bool written =
            WriteFileAtomically(target, produce, QStringLiteral("cannot draw"), &error);
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldSignal);
        QCOMPARE(Leftovers(dir.path(), {QStringLiteral("picture.svg")}), QStringList());
        if (fifoTarget) {
            QVERIFY(!written);
            QCOMPARE(error, NotARegularFileMessage());
            QCOMPARE(produced, 0);
            QVERIFY(S_ISFIFO(Lstat(target).st_mode));
            return;
        }
        QCOMPARE(produced, 1);
        QCOMPARE(Lstat(target).st_mode & 07777, static_cast<mode_t>(0640));
        if (sizeLimit) {
            QVERIFY(!written);
            QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
            QCOMPARE(Read(target), kOldBytes);
            return;
        }
        if (producerFails) {
            QVERIFY(!written);
            QCOMPARE(error, QStringLiteral("cannot draw"));
            QCOMPARE(Read(target), kOldBytes);
            return;
        }
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(Read(target), pieces.join(QString()).toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "test_file_writer.moc"

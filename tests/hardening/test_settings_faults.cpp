// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up pieces and the sample commands with a settings store that is
// corrupt, unreadable or read-only, or whose installation folder is absurd:
// the program starts and works, and the sample commands open the riddle the
// folder names when there is one, and otherwise nothing, without a crash, a
// hang or a file other than the one named.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <memory>
#include <optional>

#include "board_view.h"
#include "file_commands.h"
#include "hang_guard.h"
#include "main_window.h"
#include "riddle_document.h"
#include "settings_store.h"
#include "unprivileged_case.h"
#include "vorlo_application.h"

using namespace vorlo;

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl");

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Bytes that are no INI file: NULs, unbalanced groups, broken escapes, a very
// long line, invalid UTF-8.
QByteArray GarbageIni() {
    QByteArray bytes("[Vorlo.Path\n=\n%%%\\x\\u12\n[[]]]\nfullpath=\"unterminated\n");
    bytes += QByteArray("\0\0\xff\xfe\xc3\x28", 6);
    bytes += QByteArray(200000, 'A') + "=" + QByteArray(1000, '\\') + "\n";
    QRandomGenerator random(1234);
    for (int i = 0; i < 4096; ++i) {
        bytes += static_cast<char>(random.bounded(256));
    }
    return bytes;
}

enum class Store {
    Garbage,
    Folder,
    ReadOnly,
    Fifo,
    LinkToDevice,
    EarlierWindowFileFifo,
    EarlierWindowFileLinkToDevice,
    EarlierStoreFifo,
    Huge,
    EarlierStoreHuge
};

// A sparse file far larger than any settings, which costs no disk space: a
// start that read it would read 64 MB of zeros.
constexpr qint64 kHugeBytes = qint64{64} << 20;

}  // namespace

class TestSettingsFaults : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> frame;
    QStringList errors;
    QString iniPath;

    void MakeFrame() {
        frame = std::make_unique<MainWindow>();
        errors.clear();
        frame->ShowError = [this](const QString& m) { errors << m; };
        frame->SavePrompt = [](const QString&) { return QMessageBox::Discard; };
        frame->AskFileName = [](bool, const QString&) { return QString(); };
    }

    void SetFullPath(const QString& folder) {
        QVERIFY(SettingsStore().RecordInstallationFolder(folder));
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        iniPath = SettingsStore().FileName();
        QVERIFY(QDir().mkpath(QFileInfo(iniPath).path()));
    }

    void cleanup() {
        frame.reset();
        QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::WriteOwner);
        QDir(iniPath).removeRecursively();
        QFile::remove(iniPath);
        QFile::remove(SettingsStore::UserEarlierFiles().store);
        QFile::remove(SettingsStore::UserEarlierFiles().window);
    }

    void brokenStoreStillStarts_data() {
        QTest::addColumn<int>("store");
        QTest::newRow("garbage") << int(Store::Garbage);
        QTest::newRow("a folder in its place") << int(Store::Folder);
        QTest::newRow("read-only") << int(Store::ReadOnly);
        QTest::newRow("a FIFO") << int(Store::Fifo);
        QTest::newRow("a link to a device") << int(Store::LinkToDevice);
        // Files of earlier builds are read when the store's file does not
        // exist yet: they must not block or be replaced either.
        QTest::newRow("earlier window's file a FIFO") << int(Store::EarlierWindowFileFifo);
        QTest::newRow("earlier window's file a link to a device")
            << int(Store::EarlierWindowFileLinkToDevice);
        QTest::newRow("earlier store a FIFO") << int(Store::EarlierStoreFifo);
        QTest::newRow("64 MB") << int(Store::Huge);
        QTest::newRow("earlier store 64 MB") << int(Store::EarlierStoreHuge);
    }

    void brokenStoreStillStarts() {
        QFETCH(int, store);
        const SettingsStore::EarlierFiles earlier = SettingsStore::UserEarlierFiles();
        QVERIFY(QDir().mkpath(QFileInfo(earlier.window).path()));
        QString node;  // a FIFO or device the program must neither block on nor replace
        std::optional<vorlo::test::FifoWatchdog> watchdog;
        const auto makeNode = [&](const QString& place, bool device) {
            node = dir.filePath(device ? QStringLiteral("device") : QStringLiteral("fifo"));
            const QByteArray native = QFile::encodeName(device ? node : place);
            if (device) {
                if (::geteuid() != 0) {
                    return false;
                }
                // The null device's numbers, on a node of the test's own.
                return ::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                       QFile::link(node, place);
            }
            node = place;
            if (::mkfifo(native.constData(), 0600) != 0) {
                return false;
            }
            watchdog.emplace(node);
            return true;
        };
        const auto finish = qScopeGuard([&] {
            watchdog.reset();
            QFile::remove(node);
        });
        QString huge;  // a sparse file the program must neither read nor replace
        const auto makeHuge = [&](const QString& place) {
            huge = place;
            QFile file(place);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(kHugeBytes);
        };
        const Store kind = static_cast<Store>(store);
        if ((kind == Store::LinkToDevice || kind == Store::EarlierWindowFileLinkToDevice) &&
            ::geteuid() != 0) {
            QSKIP("making a device node needs root");
        }
        switch (kind) {
            case Store::Fifo:
                QVERIFY(makeNode(iniPath, false));
                break;
            case Store::LinkToDevice:
                QVERIFY(makeNode(iniPath, true));
                break;
            case Store::EarlierWindowFileFifo:
                QVERIFY(makeNode(earlier.window, false));
                break;
            case Store::EarlierWindowFileLinkToDevice:
                QVERIFY(makeNode(earlier.window, true));
                break;
            case Store::EarlierStoreFifo:
                QVERIFY(makeNode(earlier.store, false));
                break;
            case Store::Huge:
                QVERIFY(makeHuge(iniPath));
                break;
            case Store::EarlierStoreHuge:
                QVERIFY(makeHuge(earlier.store));
                break;
            case Store::Garbage:
                QVERIFY(WriteAll(iniPath, GarbageIni()));
                break;
            case Store::Folder:
                QVERIFY(QDir().mkpath(iniPath));
                break;
            case Store::ReadOnly:
                // Root ignores the file's mode: there nobody runs the case.
                VORLO_RUN_AS_NOBODY_WHEN_ROOT();
                SetFullPath(dir.path() + u'/');
                QVERIFY(QFile::setPermissions(iniPath, QFile::ReadOwner));
                if (::access(QFile::encodeName(iniPath).constData(), W_OK) == 0) {
                    QSKIP("the file's mode does not stop this user");
                }
                break;
        }
        const std::optional<qint64> readBefore = vorlo::test::BytesReadSoFar();
        const bool greet = VorloApplication::ShouldGreet();
        VorloApplication::RecordInstallationFolder();
        const bool storeBroken = kind == Store::Folder || kind == Store::ReadOnly ||
                                 kind == Store::Fifo || kind == Store::LinkToDevice ||
                                 kind == Store::Huge;
        if (storeBroken) {
            // A store that cannot be written greets no one, and nothing is recorded.
            QVERIFY(!greet);
            QVERIFY(!SettingsStore().IsWritable());
        }

        MakeFrame();
        frame->show();
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        const size_t count = frame->riddleDocument()->MatchList.Count();
        frame->Files().OpenSampleRiddle(QStringLiteral("riddle2.vrl"));
        frame->Files().OpenSampleRiddle(QStringLiteral("kidsriddle.vrl"));
        if (!storeBroken) {
            // The store took the installation folder over the garbage: the
            // samples open, when the program has them beside it.
            const QString opened = QFileInfo(frame->riddleDocument()->pathName()).fileName();
            QVERIFY2(opened == QStringLiteral("kidsriddle.vrl") ||
                         opened == QFileInfo(kExample).fileName(),
                     qPrintable(opened));
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        } else {
            // No folder to be found: the sample commands change nothing.
            QVERIFY(errors.size() <= 2);
            QCOMPARE(frame->riddleDocument()->MatchList.Count(), count);
        }
        // Saving riddles does not depend on the store.
        const QString copy = dir.filePath(QStringLiteral("copy.vrl"));
        QString error;
        QVERIFY2(frame->riddleDocument()->save(copy, &error), qPrintable(error));
        frame->close();  // writes the recent files
        if (watchdog) {
            QVERIFY2(watchdog->Released() == 0, "the program waited on the FIFO");
        }
        // What the start and the window read shows that they went through no
        // huge file: the garbage row, whose 200 KB are read a few times, reads
        // the most, about 600 KB.
        if (readBefore) {
            const qint64 read = *vorlo::test::BytesReadSoFar() - *readBefore;
            QVERIFY2(read < SettingsStore::kMaxFileBytes, qPrintable(QString::number(read)));
        } else {
            qInfo("/proc/self/io does not tell what is read: the bound on reading is not checked");
        }
        if (kind != Store::ReadOnly) {
            QVERIFY(errors.isEmpty());  // no folder at all: silent
        }
        if (!node.isEmpty()) {
            struct stat info {};
            QCOMPARE(::lstat(QFile::encodeName(node).constData(), &info), 0);
            QVERIFY2(!S_ISREG(info.st_mode), "the FIFO or device was replaced by a file");
        }
        if (!huge.isEmpty()) {
            QCOMPARE(QFileInfo(huge).size(), kHugeBytes);  // passed over, left as it was
        }
    }

    // The installation folder in the store is whatever someone put there.
    void oddInstallationFolder_data() {
        QTest::addColumn<QString>("folder");  // relative to the test folder unless absolute
        QTest::addColumn<bool>("exists");     // a folder of that name holds riddle1.vrl
        QTest::newRow("Hebrew") << QStringLiteral("חידות גפרורים/") << true;
        QTest::newRow("newlines") << QStringLiteral("one\ntwo\r\n/") << true;
        QTest::newRow("shell characters") << QStringLiteral("$HOME `x` ; | & %1 \"'/") << true;
        QTest::newRow("no trailing separator") << QStringLiteral("plain") << false;
        QTest::newRow("dot-dot") << QStringLiteral("../../") << false;
        QTest::newRow("100 KB") << QString(100 * 1024, u'd') + u'/' << false;
        QTest::newRow("NUL inside") << QStringLiteral("decoy.vrl") + QChar(0) + u'/' << false;
        QTest::newRow("only a NUL") << QString(QChar(0)) << false;
    }

    void oddInstallationFolder() {
        QFETCH(QString, folder);
        QFETCH(bool, exists);
        QString full =
            folder.startsWith(QStringLiteral("../")) ? folder : dir.path() + u'/' + folder;
        if (exists) {
            QVERIFY(QDir().mkpath(full));
            QVERIFY(QFile::copy(kExample, full + QStringLiteral("riddle1.vrl")));
        }
        // A riddle that a path cut short at the NUL would name instead.
        QFile::remove(dir.filePath(QStringLiteral("decoy.vrl")));
        QVERIFY(QFile::copy(VORLO_SOURCE_DIR "/resources/samples/riddle3.vrl",
                            dir.filePath(QStringLiteral("decoy.vrl"))));
        SetFullPath(full);
        if (QTest::currentTestFailed()) {
            return;
        }
        QVERIFY(VorloApplication::ShouldGreet());  // the store itself is sound
        MakeFrame();
        frame->show();
        RiddleDocument* doc = frame->riddleDocument();
        doc->MatchList.Append(Match(7, 8, 9));
        const QString pathBefore = doc->pathName();

        frame->Files().OpenSampleRiddle(QStringLiteral("riddle1.vrl"));
        if (exists) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
            QCOMPARE(doc->MatchList.Count(), size_t(4));
            QCOMPARE(QFileInfo(doc->pathName()).fileName(), QStringLiteral("riddle1.vrl"));
        } else {
            QCOMPARE(doc->MatchList.Count(), size_t(1));
            QCOMPARE(doc->pathName(), pathBefore);
            QVERIFY(errors.size() <= 1);
        }

        // The next start records the real folder over the odd one, or leaves
        // it when the program has none beside it.
        VorloApplication::RecordInstallationFolder();
        QVERIFY(SettingsStore().HasGroup(QString::fromLatin1(kPathKey)));
    }
};

QTEST_MAIN(TestSettingsFaults)
#include "test_settings_faults.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The window when the file system fails it. A save that cannot be made (a
// read-only folder or file system, a full disk, a folder that is a file) leaves
// the old file as it was, says why, and keeps the riddle open and modified. An
// open that cannot be made (the file vanished or changed after the dialog, a
// folder, a FIFO, a device, a huge sparse file) says why, leaves the open
// riddle as it was, and neither hangs nor fills the memory.
//
// Some faults need a file system of the test's own: the test enters a private
// mount namespace before anything else starts (as root, or through a user
// namespace), and the cases that need it are skipped where that is refused.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "board_view.h"
#include "file_commands.h"
#include "hang_guard.h"
#include "main_window.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "task_pane.h"
#include "test_files.h"
#include "unprivileged_case.h"

using namespace vorlo;

using vorlo::test::ReadAll;

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl");

bool privateMounts = false;

bool WriteId(const char* path, const QByteArray& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, text.constData(), text.size()) == text.size();
    ::close(fd);
    return ok;
}

// Mounts made from here on are the test's own and vanish with it. Must run
// before any thread starts.
bool EnterPrivateMountNamespace() {
    if (::unshare(CLONE_NEWNS) != 0) {
        const QByteArray uid = QByteArray::number(::getuid());
        const QByteArray gid = QByteArray::number(::getgid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteId("/proc/self/setgroups", "deny") ||
            !WriteId("/proc/self/uid_map", uid + " " + uid + " 1") ||
            !WriteId("/proc/self/gid_map", gid + " " + gid + " 1")) {
            return false;
        }
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Whether this process can still create a file in `folder` (root can, whatever
// the folder's mode says).
bool CanCreateIn(const QString& folder) {
    const QString probe = folder + QStringLiteral("/.probe");
    const int fd =
        ::open(QFile::encodeName(probe).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(QFile::encodeName(probe).constData());
    return true;
}

bool MountTmpfs(const QString& folder, const char* options) {
    return QDir().mkpath(folder) &&
           ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0;
}

bool RemountReadOnly(const QString& folder) {
    return ::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                   nullptr) == 0;
}

// Clipboard data that counts how often anyone asks what it holds: another
// program's clipboard is asked the same way, and an owner that does not
// answer makes every such question wait.
class CountingMimeData : public QMimeData {
public:
    mutable int questions = 0;
    bool hasFormat(const QString& mimeType) const override {
        ++questions;
        return QMimeData::hasFormat(mimeType);
    }
    QStringList formats() const override {
        ++questions;
        return QMimeData::formats();
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        ++questions;
        return QMimeData::retrieveData(mimeType, type);
    }
};

// Answers the next modal message box with `button` and returns its text.
QString AnswerNextMessageBox(QMessageBox::StandardButton button) {
    QString text;
    const QDeadlineTimer hangGuard(vorlo::test::kHangGuardMs);
    while (!hangGuard.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->button(button)->click();
            break;
        }
    }
    return text;
}

long PeakMemoryKb() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

enum class SaveFault {
    FolderIsAFile,
    FolderWithoutWriteAccess,
    ReadOnlyFileSystem,
    FullDisk,
    ProcFs
};
enum class OpenFault {
    Vanished,
    BecameAFolder,
    BecameASymlinkLoop,
    Unreadable,
    Folder,
    Fifo,
    Device,
    SparseMaxCount,
    SparseAllText,
};

}  // namespace

class TestWindowFaults : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> frame;
    QTemporaryDir dir;
    QStringList errors;
    QStringList prompts;
    QString fileNameAnswer;
    std::function<void()> beforeAnswer;  // runs inside the file dialog
    QStringList mounts;

    RiddleDocument* doc() { return frame->riddleDocument(); }

    // The riddle the window holds, to compare before and after.
    struct Snapshot {
        std::vector<Match> matches;
        int selected = -1;
        int32_t lastAction = 0;
        QString text;
        QString path;
        bool modified = false;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    Snapshot Take() {
        Snapshot s;
        s.matches = doc()->MatchList.ToVector();
        int i = 0;
        for (auto it = doc()->MatchList.begin(); it != doc()->MatchList.end(); ++it, ++i) {
            if (it.ref() == doc()->SelectedMatch) {
                s.selected = i;
            }
        }
        s.lastAction = doc()->LastAction;
        s.text = doc()->plainText();
        s.path = doc()->pathName();
        s.modified = doc()->isModified();
        return s;
    }

    // The error shown names the file and gives a reason on its second line.
    void CheckOneMessage(const QString& path) {
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QDir::toNativeSeparators(path)), qPrintable(errors[0]));
        QVERIFY2(!errors[0].section(u'\n', 1).trimmed().isEmpty(), qPrintable(errors[0]));
    }

    // Opens a copy of the example in `folder` and changes it.
    QString OpenModifiedCopy(const QString& folder) {
        const QString path = folder + QStringLiteral("/keep.vrl");
        if (!WriteAll(path, ReadAll(kExample)) || !frame->Files().OpenDocumentFile(path)) {
            return QString();
        }
        doc()->MatchList.Append(Match(1, 2, 3));
        doc()->SelectedMatch = doc()->MatchList.Last();
        doc()->LastAction = ActionAdd;
        doc()->setModified(true);
        return path;
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        frame = std::make_unique<MainWindow>();
        errors.clear();
        prompts.clear();
        beforeAnswer = nullptr;
        frame->ShowError = [this](const QString& m) { errors << m; };
        frame->SavePrompt = [this](const QString& q) {
            prompts << q;
            return QMessageBox::Discard;
        };
        frame->AskFileName = [this](bool, const QString&) {
            if (beforeAnswer) {
                beforeAnswer();
            }
            return fileNameAnswer;
        };
        frame->show();
    }

    void cleanup() {
        if (frame) {
            doc()->setModified(false);
        }
        frame.reset();
        for (const QString& m : mounts) {
            ::umount2(QFile::encodeName(m).constData(), MNT_DETACH);
        }
        mounts.clear();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const QString& name :
             QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
            const QString path = dir.filePath(name);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) {
                QDir(path).removeRecursively();
            } else {
                QFile::remove(path);
            }
        }
    }

    void failedSaveKeepsTheOldFileAndTheRiddle_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("folder is a file") << int(SaveFault::FolderIsAFile);
        QTest::newRow("folder without write access") << int(SaveFault::FolderWithoutWriteAccess);
        QTest::newRow("read-only file system") << int(SaveFault::ReadOnlyFileSystem);
        QTest::newRow("full disk") << int(SaveFault::FullDisk);
        QTest::newRow("/proc") << int(SaveFault::ProcFs);
    }

    void failedSaveKeepsTheOldFileAndTheRiddle() {
        QFETCH(int, fault);
        QString folder = dir.path();
        QString target;  // where the save goes; empty: over the open file
        switch (static_cast<SaveFault>(fault)) {
            case SaveFault::FolderIsAFile:
                QVERIFY(WriteAll(dir.filePath(QStringLiteral("blocker")), "a file"));
                target = dir.filePath(QStringLiteral("blocker/new.vrl"));
                break;
            case SaveFault::FolderWithoutWriteAccess:
                // Root ignores the folder's mode: there nobody runs the case.
                VORLO_RUN_AS_NOBODY_WHEN_ROOT();
                folder = dir.filePath(QStringLiteral("locked"));
                QVERIFY(QDir().mkpath(folder));
                break;
            case SaveFault::ReadOnlyFileSystem:
            case SaveFault::FullDisk: {
                if (!privateMounts) {
                    QSKIP("no mount namespace of our own here");
                }
                folder = dir.filePath(QStringLiteral("mnt"));
                // Room for the old file, not for the new one.
                if (!MountTmpfs(folder, "size=64k")) {
                    QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") +
                                     std::strerror(errno)));
                }
                mounts << folder;
                break;
            }
            case SaveFault::ProcFs:
                target = QStringLiteral("/proc/vorlo-riddle.vrl");
                break;
        }
        const QString path = OpenModifiedCopy(folder);
        QVERIFY(!path.isEmpty());
        const QByteArray old = ReadAll(path);
        switch (static_cast<SaveFault>(fault)) {
            // Save offers Save As for a file it cannot write; the user names
            // the same file there, and that save fails.
            case SaveFault::FolderWithoutWriteAccess:
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
                if (CanCreateIn(folder)) {
                    QSKIP("the folder's mode does not stop this user");
                }
                target = path;
                break;
            case SaveFault::ReadOnlyFileSystem:
                QVERIFY(RemountReadOnly(folder));
                target = path;
                break;
            case SaveFault::FullDisk:
                for (int i = 0; i < 20000; ++i) {  // 240 KB of matches
                    doc()->MatchList.Append(Match(i, -i, i % 360));
                }
                break;
            default:
                break;
        }
        const Snapshot before = Take();

        bool saved = true;
        if (target.isEmpty()) {
            saved = frame->Files().OnFileSave();
            target = path;
        } else {
            fileNameAnswer = target;
            saved = frame->Files().OnFileSaveAs();
        }
        QVERIFY(!saved);
        CheckOneMessage(target);
        QCOMPARE(ReadAll(path), old);
        QVERIFY(Take() == before);
        QVERIFY(doc()->isModified());
        QVERIFY(frame->windowTitle().contains(u'*') || frame->isWindowModified());
        // No half-written file is left beside the old one.
        QStringList left = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("blocker"));
        QCOMPARE(left, QStringList{QStringLiteral("keep.vrl")});
    }

    // A name typed without ".vrl" in the Save As dialog is completed before
    // the dialog checks for an existing file, so replacing one is asked.
    void saveAsDialogAsksBeforeReplacingTheCompletedName_data() {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("keep the old file") << QMessageBox::No;
        QTest::newRow("replace it") << QMessageBox::Yes;
    }

    void saveAsDialogAsksBeforeReplacingTheCompletedName() {
        QFETCH(QMessageBox::StandardButton, answer);
        const QString precious = dir.filePath(QStringLiteral("precious.vrl"));
        QVERIFY(WriteAll(precious, ReadAll(kExample)));
        const std::unique_ptr<QFileDialog> dialog =
            FileCommands::MakeFileDialog(frame.get(), true, dir.filePath(QStringLiteral("x.vrl")));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setDirectory(dir.path());
        dialog->open();
        auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameEdit);
        nameEdit->setText(QStringLiteral("precious"));

        QString question;
        QTimer::singleShot(0, [&] { question = AnswerNextMessageBox(answer); });
        QMetaObject::invokeMethod(dialog.get(), "accept");
        QVERIFY2(question.contains(QStringLiteral("precious.vrl")), qPrintable(question));
        if (answer == QMessageBox::Yes) {
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            QCOMPARE(dialog->selectedFiles(), QStringList{precious});
        } else {
            QVERIFY(dialog->isVisible());  // back to choosing a name
        }
        dialog->close();
        QCOMPARE(ReadAll(precious), ReadAll(kExample));
    }

    // A dialog that returns a bare name (a desktop's own dialog may ignore
    // the default suffix): the save asks before replacing the ".vrl" file.
    void bareNameFromTheDialogIsConfirmedBeforeReplacing_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("keep the old file") << false;
        QTest::newRow("replace it") << true;
    }

    void bareNameFromTheDialogIsConfirmedBeforeReplacing() {
        QFETCH(bool, replace);
        const QString precious = dir.filePath(QStringLiteral("precious.vrl"));
        QVERIFY(WriteAll(precious, "precious bytes"));
        QVERIFY(frame->Files().OnFileNew());
        doc()->MatchList.Append(Match(1, 2, 3));
        doc()->setModified(true);
        QStringList asked;
        frame->ConfirmReplace = [&](const QString& path) {
            asked << path;
            return replace;
        };
        fileNameAnswer = dir.filePath(QStringLiteral("precious"));
        QCOMPARE(frame->Files().OnFileSaveAs(), replace);
        QCOMPARE(asked, QStringList{precious});
        QCOMPARE(ReadAll(precious) == "precious bytes", !replace);
        QCOMPARE(doc()->isModified(), !replace);
        QVERIFY(errors.isEmpty());
    }

    // A riddle that cannot be written where it is (an installed sample)
    // offers Save As among the user's documents; Cancel there cancels what
    // wanted the save, and another place saves it and lets it go on.
    void unwritableRiddleOffersSaveAs_data() {
        QTest::addColumn<QString>("newName");
        QTest::newRow("cancel") << QString();
        QTest::newRow("save elsewhere") << QStringLiteral("mine.vrl");
    }

    void unwritableRiddleOffersSaveAs() {
        QFETCH(QString, newName);
        QString folder = dir.filePath(QStringLiteral("samples"));
        QVERIFY(QDir().mkpath(folder));
        if (::geteuid() == 0) {
            // Root writes whatever the modes say; only a read-only mount stops it.
            if (!privateMounts || !MountTmpfs(folder, "size=64k")) {
                QSKIP("root needs a read-only mount of its own for this case");
            }
            mounts << folder;
        }
        const QString path = OpenModifiedCopy(folder);
        QVERIFY(!path.isEmpty());
        const QByteArray old = ReadAll(path);
        if (::geteuid() == 0) {
            QVERIFY(RemountReadOnly(folder));
        } else {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        const Snapshot before = Take();

        QStringList suggestions;
        frame->AskFileName = [&](bool forSave, const QString& suggestion) {
            suggestions << (forSave ? suggestion : QString());
            return newName.isEmpty() ? QString() : dir.filePath(newName);
        };
        frame->SavePrompt = [](const QString&) { return QMessageBox::Save; };
        const bool went = frame->Files().OnFileNew();

        QCOMPARE(suggestions.size(), 1);
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(documents).isDir()) {
            documents = QDir::homePath();
        }
        QCOMPARE(suggestions[0], QDir(documents).filePath(QStringLiteral("keep.vrl")));
        QVERIFY(errors.isEmpty());
        QCOMPARE(ReadAll(path), old);
        if (newName.isEmpty()) {
            QVERIFY(!went);
            QVERIFY(Take() == before);
        } else {
            QVERIFY(went);
            QCOMPARE(doc()->MatchList.Count(), size_t{0});  // the new riddle
            const RiddleReadResult saved = LoadRiddleFile(dir.filePath(newName));
            QVERIFY(saved.ok);
            QCOMPARE(saved.riddle.matches.ToVector(), before.matches);
        }
    }

    // Typing in the text pane must not ask the clipboard's owner anything:
    // whether Paste has text to insert is found out when Paste runs.
    void typingDoesNotAskTheClipboard() {
        auto* data = new CountingMimeData;
        data->setText(QStringLiteral("pasted"));
        QApplication::clipboard()->setMimeData(data);
        frame->SetActiveView(frame->TextPane());
        frame->TextPane()->setFocus();
        data->questions = 0;
        QTest::keyClicks(frame->TextPane(), QStringLiteral("abc"));
        // Coming back to the pane sets the Edit commands' states again.
        frame->SetActiveView(frame->boardView());
        frame->SetActiveView(frame->TextPane());
        QCOMPARE(data->questions, 0);
        QVERIFY(frame->Action(CommandId::EditPaste)->isEnabled());
        frame->Action(CommandId::EditPaste)->trigger();
        QCOMPARE(doc()->plainText(), QStringLiteral("abcpasted"));
    }

    void failedOpenKeepsTheOpenRiddle_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("vanished after the dialog") << int(OpenFault::Vanished);
        QTest::newRow("became a folder after the dialog") << int(OpenFault::BecameAFolder);
        QTest::newRow("became a symlink loop after the dialog")
            << int(OpenFault::BecameASymlinkLoop);
        QTest::newRow("unreadable") << int(OpenFault::Unreadable);
        QTest::newRow("a folder") << int(OpenFault::Folder);
        QTest::newRow("a FIFO") << int(OpenFault::Fifo);
        QTest::newRow("/dev/zero") << int(OpenFault::Device);
        QTest::newRow("2 GB sparse, 2^31-1 matches") << int(OpenFault::SparseMaxCount);
        QTest::newRow("2 GB sparse, all text") << int(OpenFault::SparseAllText);
    }

    void failedOpenKeepsTheOpenRiddle() {
        QFETCH(int, fault);
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
        doc()->SelectedMatch = doc()->MatchList.First();
        doc()->LastAction = ActionMove;
        const Snapshot before = Take();

        QString path = dir.filePath(QStringLiteral("victim.vrl"));
        const QByteArray encoded = QFile::encodeName(path);
        QVERIFY(WriteAll(path, ReadAll(kExample)));
        std::optional<vorlo::test::FifoWatchdog> fifoWatchdog;  // a hang turns into a failure
        switch (static_cast<OpenFault>(fault)) {
            case OpenFault::Vanished:
                beforeAnswer = [path] { QFile::remove(path); };
                break;
            case OpenFault::BecameAFolder:
                beforeAnswer = [path] { QFile::remove(path) && QDir().mkdir(path); };
                break;
            case OpenFault::BecameASymlinkLoop:
                beforeAnswer = [path] { QFile::remove(path) && QFile::link(path, path); };
                break;
            case OpenFault::Unreadable:
                // Root ignores the file's mode: there nobody runs the case.
                VORLO_RUN_AS_NOBODY_WHEN_ROOT();
                QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
                if (::access(encoded.constData(), R_OK) == 0) {
                    QSKIP("the file's mode does not stop this user");
                }
                break;
            case OpenFault::Folder:
                QVERIFY(QFile::remove(path) && QDir().mkdir(path));
                break;
            case OpenFault::Fifo:
                QVERIFY(QFile::remove(path));
                QCOMPARE(::mkfifo(encoded.constData(), 0600), 0);
                fifoWatchdog.emplace(path);
                break;
            case OpenFault::Device:
                path = QStringLiteral("/dev/zero");
                break;
            case OpenFault::SparseMaxCount:
            case OpenFault::SparseAllText: {
                const QByteArray count = static_cast<OpenFault>(fault) == OpenFault::SparseMaxCount
                                             ? QByteArray::fromHex("ffffff7f")
                                             : QByteArray::fromHex("00000000");
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                QCOMPARE(file.write(count), qint64(4));
                if (!file.resize(qint64{2} << 30)) {
                    QSKIP("no room for a 2 GB sparse file here");
                }
                break;
            }
        }
        fileNameAnswer = path;
        const long peakBefore = PeakMemoryKb();
        const std::optional<qint64> readBefore = vorlo::test::BytesReadSoFar();
        QVERIFY(!frame->Files().OnFileOpen());
        if (fifoWatchdog) {
            QVERIFY2(fifoWatchdog->Released() == 0, "the open waited on the FIFO");
        }
        // The largest text a riddle may have is 16 MB; reading it twice over is
        // still far below the 2 GB the file claims or what /dev/zero gives.
        if (readBefore) {
            const qint64 readMb = (*vorlo::test::BytesReadSoFar() - *readBefore) >> 20;
            QVERIFY2(readMb < 40, qPrintable(QString::number(readMb)));
        }
        const long grownMb = (PeakMemoryKb() - peakBefore) / 1024;
        QVERIFY2(grownMb < 200, qPrintable(QString::number(grownMb)));
        CheckOneMessage(path);
        QVERIFY(Take() == before);
        QVERIFY(!frame->Files().RecentFiles().contains(QFileInfo(path).absoluteFilePath()));
    }
};

int main(int argc, char** argv) {
    // A copy run as nobody only has cases about file modes to run, which the
    // full rights of a user namespace of its own would void.
    privateMounts = !vorlo::testing::IsNobodyChild() && EnterPrivateMountNamespace();
    QApplication app(argc, argv);
    TestWindowFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_faults.moc"

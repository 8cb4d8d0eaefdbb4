// SPDX-License-Identifier: GPL-3.0-or-later
// A save killed in the middle of writing a large riddle: the file on disk is
// the old riddle, whole, every time; never a mix of the two or a truncated
// copy. A child process saves a riddle of some 36 MB through SaveRiddleFile;
// as soon as its new file appears and begins to fill, it is killed.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "riddle_file.h"
#include "riddle_io.h"
#include "test_files.h"

using namespace vorlo;

using vorlo::test::ReadAll;

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl");
constexpr int kMatches = 3'000'000;

// Saves the large riddle to `path` in a child; the child writes one byte to
// `ready` just before the save begins.
pid_t StartSave(const QString& path, int ready) {
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    MatchList matches;
    for (int i = 0; i < kMatches; ++i) {
        matches.Append(Match(i, -i, i % 360));
    }
    const char go = 1;
    if (::write(ready, &go, 1) != 1) {
        ::_exit(3);
    }
    QString error;
    ::_exit(SaveRiddleFile(path, matches, QStringLiteral("a large riddle"), &error) ? 0 : 1);
}

struct FolderState {
    bool newFileFilling = false;  // the child writes some bytes to a file other than the target
    bool targetChanged = false;
};

// The new riddle may be a file without a name until it is complete (O_TMPFILE),
// so the child's open files are looked at as well as the folder.
FolderState Look(pid_t child, const QDir& folder, const QString& target, qint64 oldSize) {
    FolderState state;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (info.fileName() == target) {
            state.targetChanged = info.size() != oldSize;
        } else if (info.size() > 0) {
            state.newFileFilling = true;
        }
    }
    const QString fds = QStringLiteral("/proc/%1/fd").arg(child);
    const QString prefix = folder.absolutePath() + u'/';
    for (const QString& fd :
         QDir(fds).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString link = fds + u'/' + fd;
        struct stat info {};
        if (QFile::symLinkTarget(link).startsWith(prefix) &&
            ::stat(QFile::encodeName(link).constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_size > 0 && info.st_size != oldSize) {
            state.newFileFilling = true;
        }
    }
    return state;
}

}  // namespace

TEST(SaveKilled, OldFileSurvivesAKillInTheMiddleOfTheWrite) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray old = ReadAll(kExample);
    ASSERT_FALSE(old.isEmpty());
    const QString path = dir.filePath(QStringLiteral("keep.vrl"));
    const QDir folder(dir.path());

    int caughtMidWrite = 0;
    for (int attempt = 0; attempt < 6 && caughtMidWrite < 2; ++attempt) {
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
            QFile::remove(folder.filePath(name));
        }
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(old), old.size());
        }
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = StartSave(path, pipeFds[1]);
        ASSERT_GT(child, 0);
        ::close(pipeFds[1]);
        char go = 0;
        ASSERT_EQ(::read(pipeFds[0], &go, 1), 1);
        ::close(pipeFds[0]);

        // Watch the folder until the new riddle starts to fill, or the target
        // itself changes, or the child is done.
        bool killed = false;
        int status = 0;
        for (;;) {
            const FolderState state = Look(child, folder, QStringLiteral("keep.vrl"), old.size());
            if (state.newFileFilling || state.targetChanged) {
                ::kill(child, SIGKILL);
                killed = true;
                break;
            }
            if (::waitpid(child, &status, WNOHANG) == child) {
                break;
            }
        }
        if (killed) {
            ASSERT_EQ(::waitpid(child, &status, 0), child);
        }
        const QByteArray now = ReadAll(path);
        if (killed && WIFSIGNALED(status)) {
            // Killed before the rename: the old riddle, whole. Killed just
            // after it: the new one, whole.
            if (now == old) {
                ++caughtMidWrite;
            } else {
                const RiddleReadResult read = ReadRiddleFile(path.toStdString());
                ASSERT_TRUE(read.ok)
                    << "attempt " << attempt << ": " << read.error << ", size " << now.size();
                EXPECT_EQ(read.riddle.matches.Count(), size_t(kMatches));
            }
        } else {
            ASSERT_TRUE(WIFEXITED(status));
            ASSERT_EQ(WEXITSTATUS(status), 0);
            EXPECT_EQ(now.size(), 4 + 12 * qint64{kMatches} + 14);
        }
    }
    EXPECT_GE(caughtMidWrite, 1) << "the save was never caught in the middle of its write";
}

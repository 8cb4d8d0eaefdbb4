// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace vorlo {

namespace {

// The file a save really replaces: symbolic links are followed (also one that
// points at a file not made yet), so the link itself stays a link. Relative
// link targets count from the link's folder.
QByteArray ResolveTarget(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), link.size());
        if (length <= 0 || length >= static_cast<ssize_t>(link.size())) {
            return path;
        }
        link.truncate(length);
        if (link.startsWith('/')) {
            path = link;
        } else {
            const qsizetype slash = path.lastIndexOf('/');
            path = (slash < 0 ? QByteArray() : path.left(slash + 1)) + link;
        }
    }
    return path;  // a loop: the open below reports it
}

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return QByteArrayLiteral(".");
    }
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool WriteAll(int fd, const char* data, size_t size, size_t* written, int* error) {
    *written = 0;
    while (*written < size) {
        const ssize_t n = ::write(fd, data + *written, size - *written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            return false;
        }
        if (n == 0) {
            *error = ENOSPC;
            return false;
        }
        *written += static_cast<size_t>(n);
    }
    return true;
}

// The system's messages a riddle file meets most, as the C library words
// them, so that they are translated with the program's own texts.
[[maybe_unused]] const char* const kSystemMessages[] = {
    QT_TRANSLATE_NOOP("System", "No such file or directory"),
    QT_TRANSLATE_NOOP("System", "Permission denied"),
    QT_TRANSLATE_NOOP("System", "Is a directory"),
    QT_TRANSLATE_NOOP("System", "Not a directory"),
    QT_TRANSLATE_NOOP("System", "No space left on device"),
    QT_TRANSLATE_NOOP("System", "Read-only file system"),
    QT_TRANSLATE_NOOP("System", "Input/output error"),
    QT_TRANSLATE_NOOP("System", "File name too long"),
    QT_TRANSLATE_NOOP("System", "Too many levels of symbolic links"),
    QT_TRANSLATE_NOOP("System", "File too large"),
    QT_TRANSLATE_NOOP("System", "Disk quota exceeded"),
    QT_TRANSLATE_NOOP("System", "Operation not permitted"),
    QT_TRANSLATE_NOOP("System", "Too many open files"),
};

}  // namespace

QString ErrnoText(int error) {
    // Translated where the program knows the message; as the system says it
    // otherwise.
    return QCoreApplication::translate("System", std::strerror(error));
}

QString RiddleReadErrorText(const RiddleReadResult& result) {
    const auto argument = [&result](size_t i) {
        return i < result.arguments.size() ? QString::fromStdString(result.arguments[i])
                                           : QString();
    };
    switch (result.problem) {
        case RiddleReadProblem::System:
            return ErrnoText(result.systemError);
        case RiddleReadProblem::EndsInCount:
            return QCoreApplication::translate("RiddleIo", "ends inside the match count");
        case RiddleReadProblem::CountMismatch:
            return QCoreApplication::translate("RiddleIo", "declares %1 matches but holds only %2")
                .arg(argument(0), argument(1));
        case RiddleReadProblem::TextTooLong:
            return QCoreApplication::translate(
                       "RiddleIo",
                       "has a text section of %1 bytes, more than a riddle's text can be")
                .arg(argument(0));
        case RiddleReadProblem::TextGrewTooLong:
            return QCoreApplication::translate(
                       "RiddleIo",
                       "has a text section of more than %1 bytes, more than a riddle's text can be")
                .arg(argument(0));
        case RiddleReadProblem::Folder:
            return QCoreApplication::translate("RiddleIo", "is a folder, not a riddle file");
        case RiddleReadProblem::NotRegularFile:
            return NotARegularFileMessage();
        case RiddleReadProblem::NulInName:
            return QCoreApplication::translate("RiddleIo", "the file name holds a NUL character");
        case RiddleReadProblem::None:
            break;
    }
    return QString::fromStdString(result.error);
}

QString NotARegularFileMessage() {
    return QCoreApplication::translate("RiddleIo", "is not a regular file");
}

bool IsRegularFileOrAbsent(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(info.st_mode);
}

bool CanReplaceFile(const QString& path) {
    if (path.contains(QChar(u'\0')) || !IsRegularFileOrAbsent(path)) {
        return false;
    }
    const QByteArray target = ResolveTarget(QFile::encodeName(path));
    if (::access(target.constData(), F_OK) == 0 && ::access(target.constData(), W_OK) != 0) {
        return false;
    }
    return ::access(FolderOf(target).constData(), W_OK | X_OK) == 0;
}

namespace {

// How the writer treats a symbolic link at the target's name.
enum class Links {
    Follow,   // a riddle the user saves: the link stays and its file is replaced
    Replace,  // the program's own files: the link itself is replaced
};

QByteArray NameOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

// A folder opened for the *at calls, closed when it goes.
class FolderFd {
public:
    explicit FolderFd(const QByteArray& folder)
        : fd_(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~FolderFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// A new temporary file in `folder`, with a short name of its own: O_EXCL
// never opens what is there already, a link included.
int MakeTemporary(int folder, QByteArray* name) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = QByteArrayLiteral(".vorlo-");
        for (int i = 0; i < 6; ++i) {
            *name += kLetters[QRandomGenerator::global()->bounded(int(sizeof(kLetters) - 1))];
        }
        const int fd = ::openat(folder, name->constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

FileStamp StampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.mode = info.st_mode;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

// The one atomic writer: `produce` writes the bytes through the sink it gets;
// `expectedSize` (when known) only words the message of a short write. Every
// step after the folder is opened is relative to that folder, so the file
// checked, the temporary file and the renamed one are all in the same place.
bool WriteAtomically(const QString& path, Links links,
                     const std::function<bool(const FileChunkSink& write)>& produce,
                     std::optional<size_t> expectedSize, const QString& produceError,
                     QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return false;
    };
    // The system ends a file name at its first NUL: such a name would write
    // another file than the one it spells.
    if (path.isEmpty() || path.contains(QChar(u'\0'))) {
        return fail(QCoreApplication::translate("RiddleIo",
                                                "the file name is empty or holds a NUL character"));
    }
    const QByteArray native = QFile::encodeName(path);
    const QByteArray target = links == Links::Follow ? ResolveTarget(native) : native;
    const QByteArray name = NameOf(target);
    // "folder/", "." and ".." name folders, never a file to replace.
    if (name.isEmpty() || name == "." || name == "..") {
        return fail(NotARegularFileMessage());
    }
    const FolderFd folder(FolderOf(target));
    if (folder.get() < 0) {
        return fail(ErrnoText(errno));
    }

    struct stat old;
    bool exists = ::fstatat(folder.get(), name.constData(), &old,
                            links == Links::Follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        return fail(ErrnoText(errno));
    }
    // A link in the place of one of our own files is someone else's doing:
    // it goes, and nothing of where it pointed is read or kept.
    if (exists && links == Links::Replace && S_ISLNK(old.st_mode)) {
        exists = false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return fail(NotARegularFileMessage());
    }
    // Replacing by rename needs only the folder's permission; a file its
    // owner made read-only is not quietly replaced.
    if (exists && ::faccessat(folder.get(), name.constData(), W_OK, 0) != 0) {
        return fail(QCoreApplication::translate("RiddleIo", "the file is not writable (%1)")
                        .arg(ErrnoText(errno)));
    }

    // A short temporary name, so that a file whose own name is near the
    // system's length limit can be saved again and again.
    QByteArray temporary;
    const int fd = MakeTemporary(folder.get(), &temporary);
    if (fd < 0) {
        return fail(ErrnoText(errno));
    }
    const auto abandon = [&](const QString& reason) {
        ::close(fd);
        ::unlinkat(folder.get(), temporary.constData(), 0);
        return fail(reason);
    };

    // The replacement keeps what the old file had; a new file gets what any
    // new file of the user gets.
    if (exists) {
        // Only root may give a file away, and only a member of the old group
        // may keep it; anyone else's replacement takes the writer's group, as
        // nothing better exists for a file that is replaced whole.
        const int kept =
            ::fchown(fd, ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1), old.st_gid);
        static_cast<void>(kept);
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            return abandon(ErrnoText(errno));
        }
    } else if (::fchmod(fd, 0666 & ~CurrentUmask()) != 0) {
        return abandon(ErrnoText(errno));
    }

    size_t written = 0;
    int writeError = 0;
    // After a failed write nothing more is written: the file would have a gap.
    const FileChunkSink sink = [&](std::string_view chunk) {
        if (writeError != 0) {
            return false;
        }
        size_t chunkWritten = 0;
        const bool ok = WriteAll(fd, chunk.data(), chunk.size(), &chunkWritten, &writeError);
        written += chunkWritten;
        return ok;
    };
    // A failed write fails the save even if the producer went on regardless.
    if (!produce(sink) || writeError != 0) {
        if (writeError == 0) {
            return abandon(produceError);
        }
        return abandon(written > 0 && expectedSize
                           ? QCoreApplication::translate("RiddleIo",
                                                         "Only %1 of %2 bytes could be written: %3")
                                 .arg(written)
                                 .arg(*expectedSize)
                                 .arg(ErrnoText(writeError))
                           : ErrnoText(writeError));
    }
    if (::fdatasync(fd) != 0) {
        return abandon(ErrnoText(errno));
    }
    if (::close(fd) != 0) {
        const int closeError = errno;
        ::unlinkat(folder.get(), temporary.constData(), 0);
        return fail(ErrnoText(closeError));
    }
    // rename replaces a link at the name by the file, never the link's target.
    if (::renameat(folder.get(), temporary.constData(), folder.get(), name.constData()) != 0) {
        const int renameError = errno;
        ::unlinkat(folder.get(), temporary.constData(), 0);
        return fail(ErrnoText(renameError));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error) {
    return WriteAtomically(
        path, Links::Follow, [&bytes](const FileChunkSink& write) { return write(bytes); },
        bytes.size(), QString(), error);
}

bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const FileChunkSink& write)>& produce,
                         const QString& produceError, QString* error) {
    return WriteAtomically(path, Links::Follow, produce, std::nullopt, produceError, error);
}

bool WriteOwnFileAtomically(const QString& path, const std::string& bytes, QString* error) {
    return WriteAtomically(
        path, Links::Replace, [&bytes](const FileChunkSink& write) { return write(bytes); },
        bytes.size(), QString(), error);
}

FileStamp StampOf(const QString& path) {
    struct stat info;
    if (path.isEmpty() || path.contains(QChar(u'\0')) ||
        ::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    return StampFrom(info);
}

OwnFileRead ReadOwnFile(const QString& path, qint64 maxBytes) {
    OwnFileRead result;
    const auto failed = [&result](int error) {
        result.state = error == ENOENT ? OwnFileState::Absent : OwnFileState::Failed;
        result.error = error;
        return result;
    };
    if (path.isEmpty() || path.contains(QChar(u'\0'))) {
        return failed(EINVAL);
    }
    const QByteArray native = QFile::encodeName(path);
    const QByteArray name = NameOf(native);
    if (name.isEmpty() || name == "." || name == "..") {
        result.state = OwnFileState::NotRegular;
        return result;
    }
    const FolderFd folder(FolderOf(native));
    if (folder.get() < 0) {
        return failed(errno == ENOTDIR ? ENOENT : errno);
    }
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and
    // is then refused as not a regular file.
    const int fd = ::openat(folder.get(), name.constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int openError = errno;
        struct stat info;
        if (::fstatat(folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(info.st_mode)) {
                result.state = OwnFileState::Link;
                result.stamp = StampFrom(info);
                return result;
            }
            if (!S_ISREG(info.st_mode)) {
                result.state = OwnFileState::NotRegular;
                result.stamp = StampFrom(info);
                return result;
            }
        }
        return failed(openError);
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int statError = errno;
        ::close(fd);
        return failed(statError);
    }
    result.stamp = StampFrom(info);
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        result.state = OwnFileState::NotRegular;
        return result;
    }
    if (info.st_size > maxBytes) {
        ::close(fd);
        result.state = OwnFileState::TooLarge;
        return result;
    }
    // One byte more than allowed is asked for: a file that grew since the
    // stat is too large too.
    QByteArray bytes(qsizetype(info.st_size) + 1, '\0');
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes) {
                ::close(fd);
                result.state = OwnFileState::TooLarge;
                return result;
            }
            bytes.resize(qMin<qint64>(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int readError = errno;
            ::close(fd);
            return failed(readError == ENOENT ? EIO : readError);
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    result.bytes = std::move(bytes);
    result.state = OwnFileState::Read;
    return result;
}

bool RiddleFileBytes(const MatchList& matches, const QString& text, std::string* bytes,
                     QString* error) {
    const QByteArray utf8 = text.toUtf8();
    std::optional<std::string> serialized =
        SerializeSavableRiddle(matches, std::string_view(utf8.data(), utf8.size()));
    if (!serialized) {
        if (error) {
            *error = QCoreApplication::translate(
                         "RiddleIo",
                         "The riddle's text is longer than a riddle file can hold "
                         "(%1 MB at most).")
                         .arg(kMaxTextBytes >> 20);
        }
        return false;
    }
    *bytes = std::move(*serialized);
    return true;
}

bool SaveRiddleFile(const QString& path, const MatchList& matches, const QString& text,
                    QString* error) {
    std::string bytes;
    // A file the reader would refuse is not written: the old one stays.
    return RiddleFileBytes(matches, text, &bytes, error) && WriteFileAtomically(path, bytes, error);
}

RiddleReadResult LoadRiddleFile(const QString& path) {
    // The system ends a file name at its first NUL, so such a name would open
    // another file than the one it spells (a folder from the settings with a
    // NUL in it, say).
    if (path.contains(QChar(u'\0'))) {
        RiddleReadResult result;
        result.problem = RiddleReadProblem::NulInName;
        result.error = "the file name holds a NUL character";
        return result;
    }
    return ReadRiddleFile(QFile::encodeName(path).toStdString());
}

bool HasUnwrappableWord(QStringView text) {
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWrappedWord) {
            return true;
        }
    }
    return false;
}

}  // namespace vorlo

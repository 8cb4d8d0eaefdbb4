// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_io.h"

#include <QCoreApplication>
#include <QFile>

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

// The one atomic writer: `produce` writes the bytes through the sink it gets;
// `expectedSize` (when known) only words the message of a short write.
bool WriteAtomically(const QString& path,
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
    const QByteArray target = ResolveTarget(QFile::encodeName(path));

    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return fail(ErrnoText(errno));
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return fail(NotARegularFileMessage());
    }
    // Replacing by rename needs only the folder's permission; a file its
    // owner made read-only is not quietly replaced.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        return fail(QCoreApplication::translate("RiddleIo", "the file is not writable (%1)")
                        .arg(ErrnoText(errno)));
    }

    // A short temporary name, so that a file whose own name is near the
    // system's length limit can be saved again and again.
    QByteArray temporary = FolderOf(target) + "/.vorlo-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return fail(ErrnoText(errno));
    }
    const auto abandon = [&](const QString& reason) {
        ::close(fd);
        ::unlink(temporary.constData());
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
        ::unlink(temporary.constData());
        return fail(ErrnoText(closeError));
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        return fail(ErrnoText(renameError));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error) {
    return WriteAtomically(
        path, [&bytes](const FileChunkSink& write) { return write(bytes); }, bytes.size(),
        QString(), error);
}

bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const FileChunkSink& write)>& produce,
                         const QString& produceError, QString* error) {
    return WriteAtomically(path, produce, std::nullopt, produceError, error);
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

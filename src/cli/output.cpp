// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorlo::cli {

namespace {

bool standardOutputClosed = false;

}  // namespace

void HoldClosedStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // Input held write-only and output read-only: using them fails
        // with EBADF, as with the stream closed.
        const int held =
            ::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
        if (fd == STDOUT_FILENO) {
            standardOutputClosed = true;
        }
    }
}

void WriteOut(const QByteArray& bytes) {
    // A failed write leaves stdout's error mark, read at the end.
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void PrintOut(const QString& text) {
    WriteOut(text.toUtf8());
}

bool StandardOutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool FinishStandardOutput(QString* error, bool* closed) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int flushError = errno;
    if (flushed && !std::ferror(stdout)) {
        return true;
    }
    // Not open, or open for reading only: EBADF on every write.
    *closed = standardOutputClosed || flushError == EBADF;
    *error = flushError != 0 ? QString::fromLocal8Bit(std::strerror(flushError))
                             : QCoreApplication::translate("vorlo-cli", "could not be written");
    return false;
}

}  // namespace vorlo::cli

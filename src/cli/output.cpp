// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include <QCoreApplication>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorlo::cli {

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

bool FinishStandardOutput(QString* error) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int flushError = errno;
    if (flushed && !std::ferror(stdout)) {
        return true;
    }
    *error = flushError != 0 ? QString::fromLocal8Bit(std::strerror(flushError))
                             : QCoreApplication::translate("vorlo-cli", "could not be written");
    return false;
}

}  // namespace vorlo::cli

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

QString EscapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += QStringLiteral("\\x") + QString::number(u, 16).rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    return out;
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

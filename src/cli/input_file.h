// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files that vorlo-cli reads, opened by the bytes of their name (a name that
// is not UTF-8 still opens its file) and read no further than the caller
// asks: an endless or huge input never fills the memory.

#include <sys/stat.h>
#include <QByteArray>
#include <QString>

namespace vorlo::cli {

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // "-" is standard input. `nonBlocking`: a FIFO without a writer does not
    // wait for one.
    bool Open(const QByteArray& name, bool nonBlocking, QString* error);
    const struct stat& Info() const { return info_; }
    int Descriptor() const { return fd_; }

    // Appends up to `limit` bytes to `out`; false with the reason on a read error.
    bool Read(qint64 limit, QByteArray* out, QString* error);

private:
    int fd_ = -1;
    bool owned_ = false;
    struct stat info_ {};
};

}  // namespace vorlo::cli

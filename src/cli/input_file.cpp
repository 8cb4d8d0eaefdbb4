// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "riddle_io.h"

namespace vorlo::cli {

namespace {

QString SystemError(int error) {
    return ErrnoText(error);
}

}  // namespace

InputFile::~InputFile() {
    if (owned_) {
        ::close(fd_);
    }
}

bool InputFile::Open(const QByteArray& name, bool nonBlocking, QString* error) {
    if (name == "-") {
        fd_ = STDIN_FILENO;
    } else {
        fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0));
        if (fd_ < 0) {
            *error = SystemError(errno);
            return false;
        }
        owned_ = true;
    }
    if (::fstat(fd_, &info_) != 0) {
        *error = SystemError(errno);
        return false;
    }
    return true;
}

bool InputFile::Read(qint64 limit, QByteArray* out, QString* error) {
    constexpr qint64 kChunk = 1 << 16;
    while (limit > 0) {
        const qsizetype start = out->size();
        const qint64 wanted = std::min(limit, kChunk);
        out->resize(start + wanted);
        const ssize_t got = ::read(fd_, out->data() + start, static_cast<size_t>(wanted));
        if (got < 0) {
            out->resize(start);
            if (errno == EINTR) {
                continue;
            }
            *error = SystemError(errno);
            return false;
        }
        out->resize(start + got);
        if (got == 0) {
            break;
        }
        limit -= got;
    }
    return true;
}

}  // namespace vorlo::cli

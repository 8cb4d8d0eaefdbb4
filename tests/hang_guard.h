// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Waits in tests end on a condition; a deadline is only there to turn a hang
// into a failure, so it is minutes long and a slow, loaded machine never
// reaches it.

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

namespace vorlo::test {

// Below QtTest's own limit of five minutes a test function, so that the
// guard's message, not a fatal timeout, tells what hung.
inline constexpr int kHangGuardMs = 4 * 60 * 1000;

// Lets go whoever opened the FIFO `path` for reading and still waits on it
// after `grace`, and counts them: a program that blocks on a FIFO fails its
// test instead of hanging it. A reader that merely opens the FIFO without
// waiting (O_NONBLOCK, to look at what it is) is gone long before `grace`.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString& path,
                          std::chrono::milliseconds grace = std::chrono::minutes(1))
        : thread_([this, path = QFile::encodeName(path), grace] { Watch(path, grace); }) {}
    ~FifoWatchdog() {
        done_ = true;
        thread_.join();
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // Readers that were still waiting after the grace and had to be let go.
    int Released() const { return released_; }

private:
    void Watch(const QByteArray& path, std::chrono::milliseconds grace) {
        const auto end = std::chrono::steady_clock::now() + grace;
        while (!done_ && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        // From then on every reader that waits is let go, until the case ends.
        while (!done_) {
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ++released_;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::atomic<bool> done_ = false;
    std::atomic<int> released_ = 0;
    std::thread thread_;
};

// The bytes this process has read from files, pipes and devices so far (the
// kernel's rchar), or nothing where /proc does not tell. What a step reads
// shows that it stopped early on a huge input, however loaded the machine.
inline std::optional<qint64> BytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:")) {
            bool ok = false;
            const qint64 bytes = line.mid(6).trimmed().toLongLong(&ok);
            return ok ? std::optional<qint64>(bytes) : std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace vorlo::test

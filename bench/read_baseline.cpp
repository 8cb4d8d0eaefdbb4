// SPDX-License-Identifier: GPL-3.0-or-later
// The least a reader of a riddle file can do: the count, the records into a
// std::vector of 12-byte records and the rest into a string, with plain
// read() calls and no checks beyond the file's size. The baseline of
// open_probe.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Record {
    int32_t x, y, angle;
};

bool ReadAll(int fd, void* to, size_t size) {
    auto* p = static_cast<char*>(to);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n <= 0) {
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat info {};
    int32_t count = 0;
    if (fd < 0 || ::fstat(fd, &info) != 0 || !ReadAll(fd, &count, sizeof count) || count < 0 ||
        static_cast<uint64_t>(count) * sizeof(Record) + 4 > static_cast<uint64_t>(info.st_size)) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<Record> records(static_cast<size_t>(count));
    std::string text(static_cast<size_t>(info.st_size) - 4 - records.size() * sizeof(Record), '\0');
    if (!ReadAll(fd, records.data(), records.size() * sizeof(Record)) ||
        !ReadAll(fd, text.data(), text.size())) {
        std::perror(argv[1]);
        return 1;
    }
    ::close(fd);
    std::printf("%zu\n", records.size());
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The riddle reader on arbitrary bytes: it never crashes, reads a file as it
// reads the same bytes in memory, a preview keeps the first of the matches a
// full read keeps, and whatever it accepts saves and loads back as the same
// riddle.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "riddle_file.h"

using namespace vorlo;

namespace {

// A file in memory, made once and rewritten for every input.
int MemoryFile() {
    static const int fd = ::memfd_create("riddle", MFD_CLOEXEC);
    return fd;
}

// The bytes read from a file, as the program opens a riddle file; none when no
// file can be made here.
std::optional<RiddleReadResult> ReadAsFile(std::string_view bytes,
                                           const RiddleReadOptions& options) {
    const int fd = MemoryFile();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()) ||
        ::lseek(fd, 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    return ReadRiddleDescriptor(fd, options);
}

bool SameResult(const RiddleReadResult& a, const RiddleReadResult& b) {
    return a.ok == b.ok && a.error == b.error && (!a.ok || a.riddle == b.riddle);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RiddleReadResult first = ParseRiddle(bytes);
    if (const std::optional<RiddleReadResult> fromFile = ReadAsFile(bytes, {});
        fromFile && !SameResult(*fromFile, first)) {
        std::abort();
    }

    // The thumbnailer's read, with a limit taken from the input.
    const RiddleReadOptions preview{size % 7};
    const RiddleReadResult head = ParseRiddle(bytes, preview);
    if (const std::optional<RiddleReadResult> fromFile = ReadAsFile(bytes, preview);
        fromFile && !SameResult(*fromFile, head)) {
        std::abort();
    }
    if (first.ok) {
        const std::vector<Match> all = first.riddle.matches.ToVector();
        const std::vector<Match> kept = head.riddle.matches.ToVector();
        if (!head.ok || !head.riddle.text.empty() ||
            kept.size() != std::min(all.size(), size % 7) ||
            !std::equal(kept.begin(), kept.end(), all.begin())) {
            std::abort();
        }
    }
    if (!first.ok) {
        return 0;
    }

    // What the program writes, it reads back as the same riddle, and writes
    // the same way again. A text that grows beyond what a file holds when
    // written again (broken UTF-8 becomes U+FFFD) is refused, not written.
    const std::optional<std::string> saved =
        SerializeSavableRiddle(first.riddle.matches, first.riddle.text);
    if (!saved) {
        return 0;
    }
    const RiddleReadResult second = ParseRiddle(*saved);
    if (!second.ok || !(second.riddle == first.riddle)) {
        std::abort();
    }
    if (SerializeRiddle(second.riddle) != *saved) {
        std::abort();
    }
    return 0;
}

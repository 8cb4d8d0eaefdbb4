// SPDX-License-Identifier: GPL-3.0-or-later
#include "solution_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "match_record.h"

namespace vorlo {

namespace {

// Whether any directory entry has the name: a link that leads nowhere or
// round in a loop takes the name too, or a save would write through the
// dangling link or fail on the loop every time. Only a name the system says
// nothing about (absent, or not to be looked at) counts as free; the writer
// then reports what is wrong with it.
bool Exists(const std::string& path) {
    std::error_code error;
    static_cast<void>(std::filesystem::symlink_status(std::filesystem::path(path), error));
    return !error;  // lstat found an entry
}

}  // namespace

std::string RiddleStem(const std::string& riddlePath) {
    constexpr std::string_view kExtension = ".vrl";
    if (riddlePath.size() > kExtension.size()) {
        const std::string_view tail =
            std::string_view(riddlePath).substr(riddlePath.size() - kExtension.size());
        bool same = true;
        for (size_t i = 0; i < kExtension.size(); ++i) {
            const char c = tail[i];
            same = same && (c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) == kExtension[i];
        }
        if (same) {
            return riddlePath.substr(0, riddlePath.size() - kExtension.size());
        }
    }
    return riddlePath;
}

std::string SolutionPath(const std::string& riddlePath, int number) {
    const std::string stem = RiddleStem(riddlePath);
    if (number <= 1) {
        return stem + ".solution.vrl";
    }
    return stem + ".solution-" + std::to_string(number) + ".vrl";
}

std::vector<std::string> SolutionPaths(const std::string& riddlePath) {
    std::vector<std::string> paths;
    for (int number = 1;; ++number) {
        std::string path = SolutionPath(riddlePath, number);
        if (!Exists(path)) {
            return paths;
        }
        paths.push_back(std::move(path));
    }
}

std::string NextSolutionPath(const std::string& riddlePath) {
    for (int number = 1;; ++number) {
        std::string path = SolutionPath(riddlePath, number);
        if (!Exists(path)) {
            return path;
        }
    }
}

std::optional<std::string> RiddleOfSolution(const std::string& solutionPath) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    std::string_view name(solutionPath);
    auto strip = [&](std::string_view suffix) {
        if (name.size() < suffix.size()) {
            return false;
        }
        const std::string_view tail = name.substr(name.size() - suffix.size());
        for (size_t i = 0; i < suffix.size(); ++i) {
            if (lower(tail[i]) != suffix[i]) {
                return false;
            }
        }
        name.remove_suffix(suffix.size());
        return true;
    };
    if (!strip(".vrl")) {
        return std::nullopt;
    }
    // An optional "-N" between ".solution" and ".vrl".
    size_t digits = 0;
    while (digits < name.size() && name[name.size() - 1 - digits] >= '0' &&
           name[name.size() - 1 - digits] <= '9') {
        ++digits;
    }
    if (digits > 0 && digits < name.size() && name[name.size() - 1 - digits] == '-') {
        name.remove_suffix(digits + 1);
    }
    if (!strip(".solution")) {
        return std::nullopt;
    }
    std::string riddle(name);
    riddle += ".vrl";
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(riddle), error)) {
        return std::nullopt;
    }
    return riddle;
}

std::optional<uint64_t> FileMatchBound(const std::string& path) {
    // Non-blocking, so that a FIFO by that name never holds the caller up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<uint64_t> bound;
    struct stat status {};
    unsigned char count[4];
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 4 &&
        ::pread(fd, count, sizeof count, 0) == ssize_t{sizeof count}) {
        const int32_t declared =
            static_cast<int32_t>(uint32_t{count[0]} | uint32_t{count[1]} << 8 |
                                 uint32_t{count[2]} << 16 | uint32_t{count[3]} << 24);
        if (declared >= 0) {
            const uint64_t room =
                (static_cast<uint64_t>(status.st_size) - sizeof count) / kMatchRecordSize;
            bound = std::min<uint64_t>(static_cast<uint64_t>(declared), room);
        }
    }
    ::close(fd);
    return bound;
}

bool TooLargeForSolution(const std::string& path, size_t riddleMatches, uint64_t* bound) {
    const std::optional<uint64_t> matches = FileMatchBound(path);
    if (bound) {
        *bound = matches.value_or(0);
    }
    return matches && *matches > MaxSolutionMatches(riddleMatches);
}

}  // namespace vorlo

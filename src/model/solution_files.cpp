// SPDX-License-Identifier: GPL-3.0-or-later
#include "solution_files.h"

#include <filesystem>
#include <string_view>
#include <system_error>

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

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "solution_files.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace vorlo {

namespace {

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
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

}  // namespace vorlo

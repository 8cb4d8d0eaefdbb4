// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle's solutions lie beside it, in files of the riddle format: for
// NAME.vrl the first is NAME.solution.vrl, further ones NAME.solution-2.vrl,
// NAME.solution-3.vrl and so on. The numbering runs without gaps: the
// solutions of a riddle are the files from the first on up to the first
// number that has none.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlo {

// The riddle's path without its ".vrl" (any case); a path without that
// extension is taken whole.
std::string RiddleStem(const std::string& riddlePath);

// The path of solution `number` (1 for the first).
std::string SolutionPath(const std::string& riddlePath, int number);

// The riddle's solution files that exist, in their order.
std::vector<std::string> SolutionPaths(const std::string& riddlePath);

// The path the riddle's next solution is saved under: the first number
// without a file.
std::string NextSolutionPath(const std::string& riddlePath);

// The riddle a solution file belongs to by its name: NAME.vrl for
// NAME.solution.vrl or NAME.solution-N.vrl (any case). The name is taken as
// the bytes it is, whatever its encoding.
std::optional<std::string> RiddleOfSolution(const std::string& solutionPath);

// A solution shows the riddle's picture with a few matches moved, added or
// taken away: about as many matches as the riddle. One that holds more than
// this is not a solution of it, and reading it whole could take gigabytes.
inline constexpr size_t kSolutionMatchSlack = 1000;
inline constexpr size_t MaxSolutionMatches(size_t riddleMatches) {
    return 2 * riddleMatches + kSolutionMatchSlack;
}

// How many matches the riddle file at `path` holds at most, from its count
// and its size alone: the lesser of the count it declares and the records
// its size has room for. None when that cannot be told (no such file, not a
// regular file, shorter than a count, a negative count): reading it then
// says what is wrong.
std::optional<uint64_t> FileMatchBound(const std::string& path);

// Whether the file at `path` holds too many matches to be a solution of a
// riddle of `riddleMatches` matches; `bound` gets the file's FileMatchBound.
bool TooLargeForSolution(const std::string& path, size_t riddleMatches, uint64_t* bound = nullptr);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle's solutions lie beside it, in files of the riddle format: for
// NAME.vrl the first is NAME.solution.vrl, further ones NAME.solution-2.vrl,
// NAME.solution-3.vrl and so on. The numbering runs without gaps: the
// solutions of a riddle are the files from the first on up to the first
// number that has none.

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

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The subcommands of vorlo-cli. Each takes the arguments that follow its name
// and returns the exit status: 0 on success, 1 when a file cannot be read or
// written, 2 on a usage error.

#include <QString>

#include <optional>
#include <string>

#include "command_line.h"

namespace vorlo::cli {

int RunInfo(const Arguments& arguments);
int RunCreate(const Arguments& arguments);
int RunRender(const Arguments& arguments);
int RunThumbnail(const Arguments& arguments);
int RunCheck(const Arguments& arguments);
int RunEquation(const Arguments& arguments);
int RunSolve(const Arguments& arguments);
int RunGenerate(const Arguments& arguments);

// "vorlo-cli: FILE: reason" on standard error.
void PrintFileError(const QString& file, const QString& reason);

// "vorlo-cli COMMAND: message" on standard error; returns the usage error's status, 2.
int UsageError(const QString& command, const QString& message);

// -o FILE, --output FILE: the riddle file a command writes ("-": standard
// output).
QCommandLineOption RiddleOutputOption();

// Writes a riddle file's bytes where -o named (`out`; "-": standard output),
// atomically; on failure says so for `outName`. Returns the exit status.
int WriteRiddleOutput(const Argument& out, const QString& outName, const std::string& bytes);

// Parses a command's arguments. Returns the status to end with when the
// command is over already (a usage error; the help, printed), nothing when
// it goes on.
std::optional<int> ParseArguments(CommandLine& commandLine, const Arguments& arguments,
                                  const QString& command);

}  // namespace vorlo::cli

#pragma once

// The subcommands of vorlo-cli. Each takes its own arguments (the program name
// and the subcommand's name first) and returns the exit status: 0 on success,
// 1 when a file cannot be read or written, 2 on a usage error.

#include <QStringList>

namespace vorlo::cli {

int RunInfo(const QStringList& arguments);
int RunCreate(const QStringList& arguments);
int RunRender(const QStringList& arguments);
int RunThumbnail(const QStringList& arguments);

// "vorlo-cli: FILE: reason" on standard error.
void PrintFileError(const QString& file, const QString& reason);

}  // namespace vorlo::cli

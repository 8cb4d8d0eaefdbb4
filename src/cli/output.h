// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// vorlo-cli's standard output. Everything goes through C's stdout, and the
// program checks once, before it ends, that all of it was written: a full
// disk or a closed pipe is a failure, never a silent success.

#include <QByteArray>
#include <QString>

namespace vorlo::cli {

void WriteOut(const QByteArray& bytes);
void PrintOut(const QString& text);  // as UTF-8

bool StandardOutputIsTerminal();

// Flushes standard output. False, with the reason, when any of it was lost.
bool FinishStandardOutput(QString* error);

}  // namespace vorlo::cli

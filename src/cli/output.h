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

// Called first thing: a standard stream the caller closed (`>&-`) is held
// open on /dev/null, the wrong way round, so that the next file opened
// cannot take its number (a riddle being written must not receive the
// program's messages) and every write to it still fails.
void HoldClosedStandardStreams();

// Flushes standard output. False, with the reason, when any of it was lost;
// `closed` tells that standard output was not open at all.
bool FinishStandardOutput(QString* error, bool* closed);

}  // namespace vorlo::cli

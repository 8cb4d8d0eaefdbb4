#pragma once

// Riddle files on disk. Saving goes through QSaveFile, so a save that fails or
// is interrupted leaves the old file as it was.

#include <QString>

#include "riddle_file.h"

namespace vorlo {

// Writes `bytes` to `path` atomically. On failure returns false and sets
// `error` to the reason, and the old file is untouched.
bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error);

// Saves a riddle (count, records, text) to `path`.
bool SaveRiddleFile(const QString& path, const MatchList& matches, const QString& text,
                    QString* error);

// Reads a riddle file; the error says what is wrong with it.
RiddleReadResult LoadRiddleFile(const QString& path);

}  // namespace vorlo

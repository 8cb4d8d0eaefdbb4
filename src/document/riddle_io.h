// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Riddle files on disk. Every file the program writes goes through
// WriteFileAtomically, so a save that fails or is interrupted leaves the old
// file as it was.

#include <QString>
#include <functional>
#include <string_view>

#include "riddle_file.h"

namespace vorlo {

// Writes `bytes` to `path` atomically: into a temporary file beside the
// target, flushed to the disk, then renamed over it. A symbolic link is
// followed and stays a link; an existing target keeps its permission bits,
// its group and (when the writer may set it) its owner. A target that exists
// but is not a regular file (a device, a FIFO, a socket, a folder) is refused
// and left alone. On failure returns false, sets `error` to the reason, and
// the old file is untouched.
bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error);

// Takes the next piece of a file being written; false when it could not be
// written (the writer then stops asking for more).
using FileChunkSink = std::function<bool(std::string_view chunk)>;

// As above, for a file made as it is written, so that it never has to be
// whole in memory: `produce` hands the file's bytes to the sink piece by
// piece and returns false when it cannot make them (`produceError` is then
// the reason). The same guarantees hold: the target is replaced only by a
// complete, flushed file.
bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const FileChunkSink& write)>& produce,
                         const QString& produceError, QString* error);

// Whether `path` names nothing yet or, after following symbolic links, a
// regular file. Anything else (a device, a FIFO, a socket, a folder) must be
// neither opened for writing nor replaced: opening a FIFO blocks and renaming
// over a device replaces it.
bool IsRegularFileOrAbsent(const QString& path);

// Whether a save to `path` can succeed as far as permissions tell: the file
// (after links) is absent or a regular file this user may write, and its
// folder takes a new file.
bool CanReplaceFile(const QString& path);

// Why a riddle could not be read, in the language of the interface.
QString RiddleReadErrorText(const RiddleReadResult& result);

// The system's message for errno `error`, in the language of the interface
// where it has one.
QString ErrnoText(int error);

// The message for a target refused by IsRegularFileOrAbsent.
QString NotARegularFileMessage();

// The bytes of the riddle file for `matches` and `text`; false with the
// reason when the text is longer than a riddle file can hold.
bool RiddleFileBytes(const MatchList& matches, const QString& text, std::string* bytes,
                     QString* error);

// Saves a riddle (count, records, text) to `path`; a riddle whose file the
// reader would refuse is not written.
bool SaveRiddleFile(const QString& path, const MatchList& matches, const QString& text,
                    QString* error);

// Reads a riddle file; the error says what is wrong with it.
RiddleReadResult LoadRiddleFile(const QString& path);

// Whether `text` holds a run of more than kLongestWrappedWord characters
// without a space. No reader's word is that long; the text pane and the
// picture wrap such a text anywhere rather than at word boundaries, since
// breaking at a word's end where one can and anywhere where not costs
// layout time in the square of the run's length (minutes for a 2 MB word).
inline constexpr qsizetype kLongestWrappedWord = 1000;
bool HasUnwrappableWord(QStringView text);

}  // namespace vorlo

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

// The same writer for the files the program keeps by itself (the desktop
// registration, the settings): nothing is followed in the target's place. The
// file is opened, made and renamed relative to its folder, so it never lands
// outside it; a symbolic link in its place is replaced by the new file (the
// link's target is left as it was), and the new file gets what any new file
// of the user gets. A riddle the user saves keeps WriteFileAtomically: the
// user may have linked it on purpose.
bool WriteOwnFileAtomically(const QString& path, const std::string& bytes, QString* error);

// What was found at the name of one of the program's own files.
enum class OwnFileState {
    Read,        // a regular file, read whole
    Absent,      // nothing of that name (or no folder)
    Link,        // a symbolic link, which is not followed
    NotRegular,  // a FIFO, device, socket or folder
    TooLarge,    // more than the bytes asked for at most
    Failed,      // it could not be read (`error` says why)
};

// The stamp of a name as the system has it, without following a link: two
// equal stamps say the name was not replaced or changed in between.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    quint32 mode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const QString& path);

struct OwnFileRead {
    OwnFileState state = OwnFileState::Failed;
    QByteArray bytes;  // when Read
    FileStamp stamp;   // of what was read
    int error = 0;     // errno when Failed
};

// Reads one of the program's own files, at most `maxBytes`, without following
// a symbolic link at its name and without blocking on a FIFO.
OwnFileRead ReadOwnFile(const QString& path, qint64 maxBytes);

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

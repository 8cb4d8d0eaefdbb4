// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The riddle file (".vrl"): a signed 32-bit little-endian count, that many
// match records (match_record.h: x, y, angle), then the
// task text to the end of the file, with no terminator and no length.
//
// The text is Windows Hebrew (code page 1255) with CR LF between paragraphs,
// which every copy of the program reads. A text that code page 1255 cannot
// hold is written as UTF-8 behind the byte-order mark EF BB BF instead, so
// nothing typed is ever lost; the reader recognises the mark.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "riddle.h"

namespace vorlo {

// A riddle's task is a sentence or two; a text section beyond this is not a
// riddle: the reader refuses it rather than exhaust memory, and so the writer
// refuses to write one.
inline constexpr size_t kMaxTextBytes = size_t{16} << 20;

// Why a riddle could not be read, for callers that word the reason
// themselves (in another language, say).
enum class RiddleReadProblem {
    None,
    System,           // the system refused: `systemError` holds errno
    EndsInCount,      // the input ends inside the match count
    CountMismatch,    // arguments: the declared count, the records present
    TextTooLong,      // argument: the text section's size in bytes
    TextGrewTooLong,  // argument: the limit it grew past while read
    Folder,           // a folder, not a riddle file
    NotRegularFile,   // a FIFO, a device, a socket
    NulInName,        // the file name holds a NUL character
};

struct RiddleReadResult {
    bool ok = false;
    Riddle riddle;      // valid only when ok
    std::string error;  // what is wrong, when not ok ("declares 5 matches but holds only 2")
    RiddleReadProblem problem = RiddleReadProblem::None;
    int systemError = 0;                 // errno, for RiddleReadProblem::System
    std::vector<std::string> arguments;  // the numbers `error` quotes, in its order
};

struct RiddleReadOptions {
    // Keep at most this many matches and read no further: neither the matches
    // beyond nor the text. A preview needs no more, and so ends quickly and in
    // little memory on any file. The declared count is checked all the same.
    std::optional<size_t> matchLimit;
};

// The one riddle reader. Each entry reads the same way: the count, checked
// against the size of the input before anything is reserved for the records,
// then the records, read in one piece into the list's array, and the text. Nothing is shared with
// any open riddle: the caller replaces its own only when this succeeded. An empty input is an empty
// riddle.

// Reads a riddle from the bytes of a file.
RiddleReadResult ParseRiddle(std::string_view bytes, const RiddleReadOptions& options = {});

// Reads a riddle file. Refuses what is not a regular file (a directory, a FIFO
// or a device never blocks or hangs the reader).
RiddleReadResult ReadRiddleFile(const std::string& path, const RiddleReadOptions& options = {});

// Reads a riddle from an open file, from where it stands to its end; refuses
// what is not a regular file as ReadRiddleFile does. The descriptor stays open.
RiddleReadResult ReadRiddleDescriptor(int fd, const RiddleReadOptions& options = {});

// The one riddle writer: the bytes of a riddle file.
std::string SerializeRiddle(const MatchList& matches, std::string_view utf8Text);
inline std::string SerializeRiddle(const Riddle& riddle) {
    return SerializeRiddle(riddle.matches, riddle.text);
}

// The bytes of a riddle file to save: none when its text section would be
// longer than kMaxTextBytes, as the reader refuses such a file.
std::optional<std::string> SerializeSavableRiddle(const MatchList& matches,
                                                  std::string_view utf8Text);

// The text section for a UTF-8 text ("\n" between paragraphs), and back.
std::string EncodeRiddleText(std::string_view utf8Text);
std::string DecodeRiddleText(std::string_view section);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The games being played, kept without ever writing a riddle file: one record
// per riddle in a folder of the program's own (<data home>/vorlo/progress),
// named by the riddle's key, the SHA-256 of the bytes the riddle format
// writes for its matches and text. A copy of a riddle under another name
// finds the same record; any edit of the riddle makes another key, so a
// record is never replayed on a board it was not made on.
//
// A record holds only what the player changed, so its size grows with the
// moves made, never with the riddle. It is text, one item a line, each line
// ending in "\n", numbers in decimal without a sign unless negative:
//
//   vorlo-progress 1            the magic and the version
//   key <64 lower-case hex>     the riddle's key, the same as the file's name
//   matches <N>                 how many matches the riddle has
//   hints <n>                   hints used
//   solved <0|1>
//   position <p>                how many of the steps are applied, p <= S
//   steps <S>
//   then S times:
//     step <C>                  one move, or a restart: C changed matches
//     and C lines               <index> <x> <y> <angle> <x> <y> <angle>
//                               the match at `index` (0-based, < N), before
//                               and after the step
//   end
//
// A step's changes apply in their order and undo in the reverse order. A
// record is trusted only when every part of it checks out against the
// riddle's start board: everything above in place and nothing after "end",
// every index inside the board, and every change's "before" what the board
// holds when the steps are replayed in order from the start (undoing them
// again then meets every "after" by itself). A record that fails any of
// this, or is larger than kMaxRecordBytes, or is not a regular file (a
// link, a FIFO, a folder), is renamed beside to KEY.damaged (the name itself:
// a link is moved, not followed) and never read again; the player starts the
// riddle afresh and the status bar says why.
//
// The store reads and writes only its own files, through ReadOwnFile and
// WriteOwnFileAtomically (riddle_io.h): nothing at a record's name is
// followed, a FIFO never blocks, and a record is replaced only whole.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "match.h"
#include "match_list.h"

namespace vorlo {

// One match of the board, by its position in the riddle's list.
struct MatchStep {
    uint32_t index = 0;
    Match before;
    Match after;
    friend bool operator==(const MatchStep&, const MatchStep&) = default;
};

// One move (a drag, a turn, a run of keys: one match) or a restart (many).
struct GameStep {
    std::vector<MatchStep> changes;
    friend bool operator==(const GameStep&, const GameStep&) = default;
};

struct GameProgress {
    std::vector<GameStep> steps;  // the move history, oldest first
    size_t position = 0;          // how many of them are applied; the rest can be redone
    uint32_t hintsUsed = 0;
    bool solved = false;
    friend bool operator==(const GameProgress&, const GameProgress&) = default;
};

class ProgressStore {
public:
    // What a record may hold at most. Far beyond any game played by hand;
    // they bound what a damaged or hostile record can cost to read.
    static constexpr qint64 kMaxRecordBytes = qint64{16} << 20;
    static constexpr size_t kMaxSteps = 100000;
    static constexpr size_t kMaxChanges = 1000000;  // over all the steps

    // The records lie in `folder` (tests pass a temporary one).
    explicit ProgressStore(QString folder);

    // <data home>/vorlo/progress, the data home as UserDataHome() finds it.
    static QString DefaultFolder();

    // The key of a riddle by its content: the same matches and text (UTF-8)
    // give the same key whatever the file is called; any edit gives another.
    static QString KeyOf(const MatchList& matches, const std::string& text);

    enum class Status {
        None,      // no record: the riddle starts afresh (`message` is empty)
        Loaded,    // `progress` is the game as it was kept
        SetAside,  // a record was there but is not used; `message` says why
    };
    struct Loaded {
        Status status = Status::None;
        GameProgress progress;
        QString message;  // a sentence for the status bar, when SetAside
    };

    // The record of riddle `key`, checked against the riddle's `start` board
    // as the header comment says. Never fails the caller: a record that
    // cannot be trusted is set aside and reported. A key KeyOf does not
    // make finds nothing.
    Loaded Load(const QString& key, const MatchList& start) const;

    // Keeps `progress` as the record of riddle `key`, whose board has
    // `matchCount` matches; makes the folders (mode 0700) as needed. Refuses,
    // with the reason in `error`, a progress that Load would not take back
    // (an index outside the board, a position past the steps, more than the
    // limits above), and any key KeyOf does not make.
    bool Save(const QString& key, size_t matchCount, const GameProgress& progress,
              QString* error) const;

    // Removes the record of riddle `key`; true when none is left.
    bool Forget(const QString& key) const;

    // The board made of `start` and the first `position` steps. Changes
    // whose index lies outside the board are passed over.
    static MatchList Replay(const MatchList& start, const GameProgress& progress);

    // The record's path (for tests and messages).
    QString PathOf(const QString& key) const;

private:
    QString folder_;
};

}  // namespace vorlo

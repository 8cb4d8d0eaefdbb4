// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Playing a riddle: the player moves and turns the riddle's matches and
// nothing else, and the riddle's file is never written. Every move (one
// drag, one turn, one run of key steps on a match) is a command of a
// QUndoStack, so the game can be walked back and forth; Restart puts every
// match back as one more command. The game is kept on its own, without a
// prompt, in the progress store (progress_store.h) under the riddle's
// content, and comes back when the riddle is played again, wherever its file
// is then.
//
// The session belongs to the document. While it plays, the document's board
// is the player's; the riddle as its file holds it is kept here and shown
// again when play ends.

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "match.h"
#include "match_list.h"
#include "progress_store.h"

class QTimer;
class QUndoStack;
class RiddleDocument;
class RiddleProgress;

namespace vorlo {
struct BoardChange;
}

class PlaySession : public QObject {
    Q_OBJECT

public:
    PlaySession(RiddleDocument* doc, RiddleProgress* progress, QObject* parent = nullptr);
    ~PlaySession() override;

    bool isPlaying() const { return playing_; }

    // Starts playing the board the document holds, which must be the riddle
    // as its file holds it (not modified). The kept game of this riddle, if
    // any, is restored: the board, the move history, the hints used and
    // whether it was solved.
    void start();
    // Keeps the game and shows the riddle as its file holds it again.
    void stop();
    // Keeps the game now (the session also keeps it shortly after every
    // move, and when it stops).
    void flush();
    // The document is about to hold another riddle: the game is kept and
    // play ends without touching the board.
    void abandon();

    QUndoStack* history() const { return history_; }
    // Puts every match back where the riddle has it, as one undoable move.
    void restart();
    // Whether any match is away from where the riddle has it.
    bool canRestart() const;

    // Hints: the first marks a match that must move to reach the nearest
    // solution, the next shows where it goes. A move of the player's clears
    // what is shown; the count stays.
    enum class HintStage { None, MatchToMove, Target };
    bool canHint() const;
    void hint();
    HintStage hintStage() const { return hintStage_; }
    // The match to move, as it lies now, and its place in the solution.
    std::optional<vorlo::Match> hintedMatch() const;
    std::optional<vorlo::Match> hintTarget() const;
    uint32_t hintsUsed() const { return hintsUsed_; }

    // Whether this riddle was ever solved in play.
    bool solvedBefore() const { return solved_; }

    // Where the games are kept; tests point it at a folder of their own.
    void setStoreFolder(const QString& folder);

signals:
    void playingChanged(bool playing);
    void hintChanged();
    // The board now shows a solution (it did not before).
    void solved();
    // The game was written to the progress store under the riddle's `key`
    // (ProgressStore::KeyOf): whoever shows the player's records can read
    // it again.
    void kept(const QString& key);
    // Something the player should read in the status bar: a kept game that
    // was damaged and set aside, a game that could not be kept.
    void notice(const QString& message);

private:
    friend class PlayStep;
    struct SlotChange {
        uint32_t slot;
        vorlo::Match before;
        vorlo::Match after;
    };
    void onBoardChanged(const vorlo::BoardChange& change);
    void onProgressChanged();
    // Puts the changes on the board, forwards (after) or backwards (before).
    void apply(const std::vector<SlotChange>& changes, bool forwards);
    void scheduleSave();
    vorlo::GameProgress record() const;
    void restore(const vorlo::GameProgress& progress);
    void clearHint();
    void endPlay();

    RiddleDocument* doc_;
    RiddleProgress* progress_;
    QUndoStack* history_;
    QTimer* saveTimer_;
    vorlo::ProgressStore store_;
    bool playing_ = false;
    bool applying_ = false;
    vorlo::MatchList start_;
    QString key_;
    // The move being made: the editor's action it belongs to, and its match.
    std::optional<uint64_t> openAction_;
    uint32_t openSlot_ = 0;
    HintStage hintStage_ = HintStage::None;
    std::optional<uint32_t> hintSlot_;
    std::optional<vorlo::Match> hintTarget_;
    uint32_t hintsUsed_ = 0;
    bool solved_ = false;
    bool wasSolved_ = false;
};

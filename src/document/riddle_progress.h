// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How far the board has come from the riddle: how many of its matches were
// moved since the riddle was last opened, saved or reverted, and whether it
// now shows one of the riddle's solutions (the files beside the riddle).
//
// The comparison is a largest stick-for-stick pairing (stick_pairing.h):
// for n matches about n log n steps, some 25 ms for 100,000 matches lying
// apart in a release build (bench_model's BM_MovedCount), well under a
// millisecond for the riddles people make. It runs only when the board has
// changed since it last ran: the editor announces each change beforehand
// (BoardAboutToChange), and a Refresh without one costs nothing, so a key
// or a click that changes nothing never compares a large board again.

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "stick_pairing.h"

class RiddleDocument;

class RiddleProgress : public QObject {
    Q_OBJECT

public:
    explicit RiddleProgress(RiddleDocument* doc, QObject* parent = nullptr);

    // The board as it is now becomes the riddle moves are counted from, and
    // the solutions beside the document's file are read again.
    void Rebase();
    // Reads the solutions beside the document's file again.
    void ReloadSolutions();
    // Compares the board again if it changed since it was last compared;
    // Changed follows when the result differs.
    void Refresh();

    size_t Moved() const { return moved_; }
    bool Solved() const { return solved_; }
    size_t SolutionCount() const { return solutions_.size(); }
    // How many times the board has been compared, for tests.
    size_t Comparisons() const { return comparisons_; }

signals:
    void Changed();

private:
    // The board as last opened, saved or reverted. It is copied only when
    // the board is about to change for the first time since, and indexed
    // when it is first compared, so opening or saving a riddle costs
    // nothing here.
    void KeepBase();
    const vorlo::StickIndex& Riddle();

    RiddleDocument* doc_;
    bool basePending_ = true;  // the board is still the base
    std::vector<vorlo::Match> base_;
    std::optional<vorlo::StickIndex> riddle_;
    std::vector<vorlo::StickIndex> solutions_;
    // Board changes announced, and how many of them the last comparison saw.
    uint64_t changes_ = 0;
    std::optional<uint64_t> compared_;
    size_t comparisons_ = 0;
    size_t moved_ = 0;
    bool solved_ = false;
};

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
// (boardAboutToChange), and a Refresh without one costs nothing, so a key
// or a click that changes nothing never compares a large board again.

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "stick_pairing.h"

class RiddleDocument;

class RiddleProgress : public QObject {
    Q_OBJECT

public:
    explicit RiddleProgress(RiddleDocument* doc, QObject* parent = nullptr);

    // The board as it is now becomes the riddle moves are counted from, and
    // the solutions beside the document's file are looked for again.
    void Rebase();
    // Looks for the solutions beside the document's file again; they are
    // read when the board is first compared with them.
    void ReloadSolutions();
    // Compares the board again if it changed since it was last compared;
    // Changed follows when the result differs.
    void Refresh();

    size_t Moved() const { return moved_; }
    bool Solved() const { return solved_; }
    // The solution files found beside the riddle, read or not yet.
    size_t SolutionCount() const { return solutionPaths_.size(); }
    // Whether the solution files have been read since they were looked for.
    bool SolutionsRead() const { return solutionsRead_; }
    // How many times the board has been compared, for tests.
    size_t Comparisons() const { return comparisons_; }

signals:
    void Changed();
    // A solution file holds far more matches than the riddle (at most
    // `matches`, where `limit` are allowed): it is left unread and never
    // taken for a solution.
    void SolutionRefused(const QString& path, qulonglong matches, qulonglong limit);

private:
    // The board as last opened, saved or reverted. It is copied only when
    // the board is about to change for the first time since, and indexed
    // when it is first compared, so opening or saving a riddle costs
    // nothing here.
    void KeepBase();
    const vorlo::StickIndex& Riddle();
    void ReadSolutions();

    RiddleDocument* doc_;
    bool basePending_ = true;  // the board is still the base
    std::vector<vorlo::Match> base_;
    std::optional<vorlo::StickIndex> riddle_;
    std::vector<std::string> solutionPaths_;
    bool solutionsRead_ = false;
    std::vector<vorlo::StickIndex> solutions_;
    // Board changes announced, and how many of them the last comparison saw.
    uint64_t changes_ = 0;
    std::optional<uint64_t> compared_;
    size_t comparisons_ = 0;
    size_t moved_ = 0;
    bool solved_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

#include "riddle_file.h"
#include "solution_files.h"
#include "riddle_document.h"

RiddleProgress::RiddleProgress(RiddleDocument* doc, QObject* parent) : QObject(parent), doc_(doc) {
    // New and Open (Revert included) start counting afresh; every announced
    // change compares again.
    connect(doc_, &RiddleDocument::reset, this, [this] { Rebase(); });
    connect(doc_, &RiddleDocument::contentsChanged, this, [this] { Refresh(); });
    connect(doc_, &RiddleDocument::boardAboutToChange, this, [this] {
        KeepBase();
        ++changes_;
    });
    Rebase();
}

void RiddleProgress::Rebase() {
    basePending_ = true;
    base_.clear();
    base_.shrink_to_fit();
    riddle_.reset();
    ReloadSolutions();
}

void RiddleProgress::ReloadSolutions() {
    solutionPaths_.clear();
    solutions_.clear();
    solutionsRead_ = false;
    if (!doc_->pathName().isEmpty()) {
        solutionPaths_ = vorlo::SolutionPaths(QFile::encodeName(doc_->pathName()).toStdString());
    }
    compared_.reset();  // compare again, even with the board as it was
    Refresh();
}

void RiddleProgress::ReadSolutions() {
    solutionsRead_ = true;
    const size_t limit = vorlo::MaxSolutionMatches(base_.size());
    for (const std::string& path : solutionPaths_) {
        uint64_t matches = 0;
        if (vorlo::TooLargeForSolution(path, base_.size(), &matches)) {
            emit SolutionRefused(QFile::decodeName(QByteArray::fromStdString(path)), matches,
                                 limit);
            continue;
        }
        vorlo::RiddleReadResult read = vorlo::ReadRiddleFile(path);
        if (read.ok) {  // a solution that cannot be read is none
            solutions_.emplace_back(read.riddle.matches);
        }
    }
}

void RiddleProgress::KeepBase() {
    if (basePending_) {
        base_ = doc_->MatchList.ToVector();
        basePending_ = false;
    }
}

const vorlo::StickIndex& RiddleProgress::Riddle() {
    if (!riddle_) {
        riddle_.emplace(base_);
    }
    return *riddle_;
}

void RiddleProgress::Refresh() {
    if (compared_ == changes_) {
        return;  // nothing changed since the last comparison
    }
    compared_ = changes_;
    // A board the editor has not changed since the riddle was opened, saved
    // or reverted has moved nothing and is compared with no solution: they
    // are read only once a player has moved something.
    size_t moved = 0;
    bool solved = false;
    if (!basePending_) {
        ++comparisons_;
        moved = vorlo::MovedCount(Riddle(), doc_->MatchList);
        if (!solutionsRead_) {
            ReadSolutions();
        }
        for (const vorlo::StickIndex& solution : solutions_) {
            if (vorlo::IsSolution(solution, doc_->MatchList)) {
                solved = true;
                break;
            }
        }
    }
    if (moved != moved_ || solved != solved_) {
        moved_ = moved;
        solved_ = solved;
        emit Changed();
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

#include "riddle_file.h"
#include "solution_files.h"
#include "riddle_document.h"

RiddleProgress::RiddleProgress(RiddleDocument* doc, QObject* parent) : QObject(parent), doc_(doc) {
    // New and Open (Revert included) start counting afresh; every announced
    // change compares again.
    connect(doc_, &RiddleDocument::InitialUpdate, this, [this] { Rebase(); });
    connect(doc_, &RiddleDocument::ContentsChanged, this, [this] { Refresh(); });
    connect(doc_, &RiddleDocument::BoardAboutToChange, this, [this] {
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
    solutions_.clear();
    if (!doc_->PathName().isEmpty()) {
        for (const std::string& path :
             vorlo::SolutionPaths(QFile::encodeName(doc_->PathName()).toStdString())) {
            vorlo::RiddleReadResult read = vorlo::ReadRiddleFile(path);
            if (read.ok) {  // a solution that cannot be read is none
                solutions_.emplace_back(read.riddle.matches);
            }
        }
    }
    compared_.reset();  // compare again, even with the board as it was
    Refresh();
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
    ++comparisons_;
    // A board the editor has not changed since the riddle was opened, saved
    // or reverted has moved nothing.
    const size_t moved = basePending_ ? 0 : vorlo::MovedCount(Riddle(), doc_->MatchList);
    bool solved = false;
    for (const vorlo::StickIndex& solution : solutions_) {
        if (vorlo::IsSolution(solution, doc_->MatchList)) {
            solved = true;
            break;
        }
    }
    if (moved != moved_ || solved != solved_) {
        moved_ = moved;
        solved_ = solved;
        emit Changed();
    }
}

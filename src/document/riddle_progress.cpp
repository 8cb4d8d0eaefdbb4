// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

#include <algorithm>

#include "riddle_file.h"
#include "solution_files.h"
#include "vorlo_doc.h"

RiddleProgress::RiddleProgress(CVorloDoc* doc, QObject* parent) : QObject(parent), doc_(doc) {
    // New and Open (Revert included) start counting afresh; every announced
    // change compares again.
    connect(doc_, &CVorloDoc::InitialUpdate, this, [this] { Rebase(); });
    connect(doc_, &CVorloDoc::ContentsChanged, this, [this] { Refresh(); });
    Rebase();
}

void RiddleProgress::Rebase() {
    base_ = doc_->MatchList.ToVector();
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
    Refresh();
}

const vorlo::StickIndex& RiddleProgress::Riddle() {
    if (!riddle_) {
        riddle_.emplace(base_);
    }
    return *riddle_;
}

void RiddleProgress::Refresh() {
    // A board still equal to the riddle has moved nothing; that is all an
    // open, a save or a revert of a large riddle needs to know.
    const vorlo::MatchList& board = doc_->MatchList;
    const bool unchanged = !riddle_ && board.Count() == base_.size() &&
                           std::equal(board.begin(), board.end(), base_.begin());
    const size_t moved = unchanged ? 0 : vorlo::MovedCount(Riddle(), board);
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

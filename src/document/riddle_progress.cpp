// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

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
    riddle_ = vorlo::StickIndex(doc_->MatchList);
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

void RiddleProgress::Refresh() {
    const size_t moved = vorlo::MovedCount(riddle_, doc_->MatchList);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

#include "board_editor.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "solution_files.h"

RiddleProgress::RiddleProgress(RiddleDocument* doc, QObject* parent) : QObject(parent), doc_(doc) {
    // New and Open (Revert included) start counting afresh. A change of the
    // matches is followed and compared at once, a drag step included, so
    // the count follows the dragged match; a change of the selection alone
    // never compares.
    connect(doc_, &RiddleDocument::reset, this, [this] { Rebase(); });
    connect(doc_, &RiddleDocument::boardChanged, this, [this](const vorlo::BoardChange& change) {
        if (change.kind == vorlo::BoardChange::Kind::Selection) {
            return;
        }
        Follow(change);
        Refresh();
    });
    connect(doc_, &RiddleDocument::boardAboutToChange, this, [this] { KeepBase(); });
    Rebase();
}

void RiddleProgress::Rebase(Unchanged unchanged) {
    unchanged_ = unchanged;
    basePending_ = true;
    base_.clear();
    base_.shrink_to_fit();
    moves_.reset();
    ReloadSolutions();
}

void RiddleProgress::ReloadSolutions() {
    solutionPaths_.clear();
    judge_.reset();
    fewestMoves_.reset();
    solutionsRead_ = false;
    if (!doc_->pathName().isEmpty()) {
        solutionPaths_ = vorlo::SolutionPaths(QFile::encodeName(doc_->pathName()).toStdString());
    }
    Refresh();
}

void RiddleProgress::ReadSolutions() {
    solutionsRead_ = true;
    // While the board is still the base, it holds the riddle's count.
    const size_t riddleCount = basePending_ ? doc_->MatchList.Count() : base_.size();
    const size_t limit = vorlo::MaxSolutionMatches(riddleCount);
    std::vector<std::vector<vorlo::Match>> solutions;
    for (const std::string& path : solutionPaths_) {
        uint64_t matches = 0;
        if (vorlo::TooLargeForSolution(path, riddleCount, &matches)) {
            emit SolutionRefused(QFile::decodeName(QByteArray::fromStdString(path)), matches,
                                 limit);
            continue;
        }
        vorlo::RiddleReadResult read = vorlo::ReadRiddleFile(path);
        if (read.ok) {  // a solution that cannot be read is none
            solutions.push_back(read.riddle.matches.ToVector());
        }
    }
    fewestMoves_ = basePending_ ? vorlo::FewestMoves(doc_->MatchList, solutions)
                                : vorlo::FewestMoves(base_, solutions);
    judge_.emplace(std::move(solutions));
    judge_->Reset(doc_->MatchList);
}

void RiddleProgress::KeepBase() {
    if (basePending_) {
        base_ = doc_->MatchList.ToVector();
        basePending_ = false;
    }
}

void RiddleProgress::Follow(const vorlo::BoardChange& change) {
    using Kind = vorlo::BoardChange::Kind;
    auto follow = [&](auto& follower) {
        const bool moved = change.kind == Kind::Moved && change.before && change.after;
        const bool added = change.kind == Kind::Added && change.after;
        const bool removed = change.kind == Kind::Removed && change.before;
        if (!moved && !added && !removed) {
            follower.Reset(doc_->MatchList);  // the whole board is new
            return;
        }
        if (change.before) {
            follower.Remove(*change.before);
        }
        if (change.after) {
            follower.Add(*change.after);
        }
    };
    if (moves_) {
        follow(*moves_);
    }
    if (judge_) {
        follow(*judge_);
    }
}

void RiddleProgress::Refresh() {
    // A board the editor has not changed since the riddle was opened or
    // reverted has moved nothing and is compared with no solution: they are
    // read only once a player has moved something. One just saved has moved
    // nothing either, but may show a solution.
    size_t moved = 0;
    bool solved = false;
    if (!basePending_ || unchanged_ == Unchanged::Compared) {
        ++comparisons_;
        if (!basePending_) {
            if (!moves_) {
                moves_.emplace(base_);
                moves_->Reset(doc_->MatchList);
            }
            moved = moves_->BoardUnpaired();
        }
        if (!solutionsRead_) {
            ReadSolutions();
        }
        solved = judge_->Solved();
    }
    if (moved != moved_ || solved != solved_) {
        moved_ = moved;
        solved_ = solved;
        emit Changed();
    }
}

std::optional<size_t> RiddleProgress::FewestMoves() {
    if (!solutionsRead_) {
        ReadSolutions();
    }
    return fewestMoves_;
}

std::optional<vorlo::LayoutJudge::Hint> RiddleProgress::NextHint() {
    if (!solutionsRead_) {
        ReadSolutions();
    }
    return judge_->NextHint();
}

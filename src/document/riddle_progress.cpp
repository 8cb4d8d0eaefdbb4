// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_progress.h"

#include <QFile>

#include <algorithm>

#include "board_editor.h"
#include "family.h"
#include "riddle_document.h"
#include "riddle_file.h"
#include "solution_files.h"

namespace {

// Whether a family riddle's answers can all be found while the player waits
// (the solutions are read at the first move, on the window's thread): at
// most about a second of the release build here. Beyond, the riddle is
// judged by its solution files alone, as any other.
//
// Equations: the solver tries every choice of up to N of the riddle's
// matches and as many free places (about 8 ns each), which grows past any
// wait: three moves on twenty glyphs are some billions.
constexpr double kMaxEquationBoards = 5e7;
// Squares: the solver picks K squares among those N moves can complete, so
// it looks at most at every choice of up to K of them (about 75 ns each
// where most are whole, as on a full lattice; far fewer are looked at on a
// sparse one). A full 4 x 4 lattice asked for 8 squares is 9e6; 5 x 5 is
// 1.3e9, half a minute.
constexpr double kMaxSquareChoices = 1e7;

// The sum over k <= most of C(a, k) * C(b, k), or of C(a, k) with b < 0.
double Choices(double a, double b, size_t most) {
    double total = 0;
    double ways = 1;
    for (size_t k = 0; k <= most && ways > 0; ++k) {
        total += ways;
        const double kk = static_cast<double>(k);
        ways *= std::max(0.0, a - kk) / (kk + 1);
        if (b >= 0) {
            ways *= std::max(0.0, b - kk) / (kk + 1);
        }
    }
    return total;
}

bool SolvableAtOnce(const vorlo::FamilyRiddle& riddle, const vorlo::FamilyRule& rule) {
    if (riddle.Family() == vorlo::RiddleFamily::Equation) {
        const auto taken = static_cast<double>(riddle.MatchCount());
        return Choices(taken, static_cast<double>(riddle.PlaceCount()) - taken, rule.moves) <=
               kMaxEquationBoards;
    }
    double reachable = 0;
    for (const vorlo::PlaceSet& square : riddle.Squares()) {
        if ((square & ~riddle.Start()).count() <= rule.moves) {
            ++reachable;
        }
    }
    return Choices(reachable, -1, rule.squares) <= kMaxSquareChoices;
}

}  // namespace

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
    ruleJudge_.reset();
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
    ReadRule(riddleCount, solutions);
    judge_.emplace(std::move(solutions));
    judge_->Reset(doc_->MatchList);
}

void RiddleProgress::ReadRule(size_t riddleCount,
                              const std::vector<std::vector<vorlo::Match>>& solutions) {
    // A riddle of more matches than a family has places is none: it is not
    // copied or looked at.
    if (solutions.empty() || riddleCount == 0 || riddleCount > vorlo::kMaxPlaces) {
        return;
    }
    // While the board is still the base, it is the riddle.
    const std::vector<vorlo::Match> board =
        basePending_ ? doc_->MatchList.ToVector() : std::vector<vorlo::Match>{};
    std::optional<vorlo::FamilyRiddle> riddle =
        vorlo::FamilyRiddle::Recognize(basePending_ ? board : base_);
    if (!riddle) {
        return;
    }
    const std::optional<vorlo::FamilyRule> rule = vorlo::RuleOfSolutions(*riddle, solutions);
    if (!rule || !vorlo::TaskStatesRule(doc_->plainText().toStdString(), riddle->Family(), *rule) ||
        !SolvableAtOnce(*riddle, *rule)) {
        return;
    }
    ruleJudge_.emplace(std::move(*riddle), *rule);
    ruleJudge_->Reset(doc_->MatchList);
    if (!ruleJudge_->Answers().empty()) {
        const size_t fewest = ruleJudge_->Answers().front().moved;
        fewestMoves_ = fewestMoves_ ? std::min(*fewestMoves_, fewest) : fewest;
    }
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
    if (ruleJudge_) {
        follow(*ruleJudge_);
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
        solved = judge_->Solved() || (ruleJudge_ && ruleJudge_->Solved());
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
    // A family riddle's hint leads to the nearest answer of its rule; a
    // board its rule calls solved needs none.
    if (ruleJudge_) {
        if (ruleJudge_->Solved()) {
            return std::nullopt;
        }
        if (std::optional<vorlo::LayoutJudge::Hint> hint = ruleJudge_->NextHint()) {
            return hint;
        }
    }
    return judge_->NextHint();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How far the board has come from the riddle: how many of its matches were
// moved since the riddle was last opened, saved or reverted, whether it now
// shows one of the riddle's solutions (the files beside the riddle), the
// fewest moves a solution needs, and a hint towards the nearest one.
//
// Both follow the board change by change, from what each boardChanged says
// the match was and is: the moved count is a pairing with the riddle as it
// was, kept up to date (incremental_pairing.h), the verdict a LayoutJudge
// with the solutions (judge.h). A family riddle (family.h: its matches on
// the places of an equation or a squares lattice) is also judged by its
// rule, the moves and squares its solution files show: a RuleJudge
// (family_judge.h) says the board is solved by any answer, stored or not,
// and its hints lead to the nearest answer. A drag step costs what the
// matches near the dragged one cost, on a board of any size, so every step
// is compared at once. Nothing is built before the board first changes (or
// is compared after a save), so opening a riddle and looking at it costs
// nothing here; a change of the selection alone compares nothing. A riddle
// of more matches than a family has places (kMaxPlaces) is never looked at
// as one.

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "family_judge.h"
#include "incremental_pairing.h"
#include "judge.h"

class RiddleDocument;
namespace vorlo {
struct BoardChange;
}

class RiddleProgress : public QObject {
    Q_OBJECT

public:
    explicit RiddleProgress(RiddleDocument* doc, QObject* parent = nullptr);

    // The board as it is now becomes the riddle moves are counted from, and
    // the solutions beside the document's file are looked for again.
    // After a save the board is what the player made of the riddle: it is
    // compared with the solutions at once, so a solved board stays solved.
    // After New, Open and Revert it is the riddle itself and is compared only
    // once it changes.
    enum class Unchanged { NotCompared, Compared };
    void Rebase(Unchanged unchanged = Unchanged::NotCompared);
    // Looks for the solutions beside the document's file again; they are
    // read when the board is first compared with them.
    void ReloadSolutions();
    // Brings the moved count and the verdict up to date; Changed follows
    // when either differs.
    void Refresh();

    size_t Moved() const { return moved_; }
    bool Solved() const { return solved_; }
    // The solution files found beside the riddle, read or not yet.
    size_t SolutionCount() const { return solutionPaths_.size(); }
    // Whether the solution files have been read since they were looked for.
    bool SolutionsRead() const { return solutionsRead_; }
    // How many times the board has been compared, for tests.
    size_t Comparisons() const { return comparisons_; }

    // The fewest matches a player must move to solve the riddle, counted
    // from the riddle as it was opened, saved or reverted; none without
    // solutions. For a hint, a board match to move and where it goes, towards
    // the nearest solution (LayoutJudge::NextHint), for a family riddle the
    // nearest answer of its rule (RuleJudge::NextHint). Both read the
    // solutions when they were not read yet.
    std::optional<size_t> FewestMoves();
    std::optional<vorlo::LayoutJudge::Hint> NextHint();
    // Whether the riddle is judged by a family's rule as well (once the
    // solutions are read), for tests.
    bool JudgedByRule() const { return ruleJudge_.has_value(); }

signals:
    void Changed();
    // A solution file holds far more matches than the riddle (at most
    // `matches`, where `limit` are allowed): it is left unread and never
    // taken for a solution.
    void SolutionRefused(const QString& path, qulonglong matches, qulonglong limit);

private:
    // The board as last opened, saved or reverted. It is copied only when
    // the board is about to change for the first time since, so opening or
    // saving a riddle costs nothing here.
    void KeepBase();
    void ReadSolutions();
    // Makes the rule judge when the riddle (the base) is of a family and the
    // solutions show its rule.
    void ReadRule(size_t riddleCount, const std::vector<std::vector<vorlo::Match>>& solutions);
    // Tells the pairing and the judge, where they are made, of a change.
    void Follow(const vorlo::BoardChange& change);

    RiddleDocument* doc_;
    bool basePending_ = true;  // the board is still the base
    std::vector<vorlo::Match> base_;
    std::optional<vorlo::IncrementalPairing> moves_;  // the board with the base
    std::vector<std::string> solutionPaths_;
    bool solutionsRead_ = false;
    Unchanged unchanged_ = Unchanged::NotCompared;
    std::optional<vorlo::LayoutJudge> judge_;    // once the solutions are read
    std::optional<vorlo::RuleJudge> ruleJudge_;  // and the riddle is of a family
    std::optional<size_t> fewestMoves_;
    size_t comparisons_ = 0;
    size_t moved_ = 0;
    bool solved_ = false;
};

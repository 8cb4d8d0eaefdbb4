// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The board as a screen reader sees it: a list whose items are the matches,
// in the riddle's order ("Match 3 of 12"), each described by where it lies,
// the way its head points and whether it is selected.
//
// The items are made only when a reader asks for them, and forgotten when
// the board changes under them, so a board of millions of matches costs
// nothing until it is read; no item is a QObject.

#include <QAccessibleWidget>
#include <QHash>

#include "match.h"
#include "match_list.h"

class BoardView;

class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardView* view);
    ~BoardAccessible() override;

    // Makes Qt ask for this interface for every BoardView.
    static void Install();
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    BoardView* View() const;
    // The position of a match of the board in list order; -1 for none.
    int IndexOf(vorlo::MatchList::Ref ref) const;
    // The match at a position in list order; none outside the list.
    vorlo::MatchList::Ref RefAt(int index) const;

    // The items made so far are stale: the board was replaced, or a match
    // added or taken away shifted the others.
    void ForgetItems();

    // What a reader hears of one match: "at 100, 124, head pointing up,
    // selected".
    static QString DescribeMatch(const vorlo::Match& match, bool selected);
    static QString Direction(int32_t angle);

private:
    mutable QHash<int, QAccessible::Id> items_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_accessible.h"

#include <QCoreApplication>

#include "board_editor.h"
#include "board_view.h"
#include "hit_test.h"

namespace {

using vorlo::Match;
using vorlo::MatchList;

// One match of the board. It names its match by position, and stays valid
// while the board has that many matches; the board forgets its items when
// positions shift.
class MatchAccessible : public QAccessibleInterface {
public:
    MatchAccessible(BoardAccessible* board, int index) : board_(board), index_(index) {}

    bool isValid() const override { return board_->View() && index_ < board_->childCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_->window(); }
    QAccessibleInterface* parent() const override { return board_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override {
        const MatchList::Ref ref = board_->RefAt(index_);
        if (!ref) {
            return {};
        }
        switch (t) {
            case QAccessible::Name:
                return QCoreApplication::translate("BoardAccessible", "Match %1 of %2")
                    .arg(index_ + 1)
                    .arg(board_->childCount());
            case QAccessible::Description:
                return BoardAccessible::DescribeMatch(*ref, Selected());
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const MatchList::Ref ref = board_->RefAt(index_);
        BoardView* view = board_->View();
        if (!ref || !view) {
            return {};
        }
        const QRect port = view->ViewportRectOf(vorlo::MatchBounds(*ref));
        return QRect(view->viewport()->mapToGlobal(port.topLeft()), port.size());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = Selected();
        s.focused = s.selected && board_->View() && board_->View()->hasFocus();
        s.invisible = rect().isEmpty();
        return s;
    }

private:
    bool Selected() const {
        BoardView* view = board_->View();
        return view && board_->IndexOf(view->riddleDocument()->SelectedMatch) == index_;
    }

    BoardAccessible* board_;
    int index_;
};

}  // namespace

BoardAccessible::BoardAccessible(BoardView* view) : QAccessibleWidget(view, QAccessible::List) {}

BoardAccessible::~BoardAccessible() {
    ForgetItems();
}

void BoardAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&BoardAccessible::Factory);
        return true;
    }();
    (void)installed;
}

QAccessibleInterface* BoardAccessible::Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("BoardView") && object && object->isWidgetType()) {
        return new BoardAccessible(static_cast<BoardView*>(object));
    }
    return nullptr;
}

BoardView* BoardAccessible::View() const {
    return static_cast<BoardView*>(widget());
}

int BoardAccessible::childCount() const {
    const BoardView* view = View();
    if (!view) {
        return 0;
    }
    const size_t count = view->riddleDocument()->MatchList.Count();
    return count > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

MatchList::Ref BoardAccessible::RefAt(int index) const {
    const BoardView* view = View();
    if (!view || index < 0) {
        return {};
    }
    const MatchList& matches = view->riddleDocument()->MatchList;
    if (matches.Dense()) {
        return matches.AtSlot(static_cast<uint32_t>(index));
    }
    int position = 0;
    for (auto it = matches.begin(); it != matches.end(); ++it, ++position) {
        if (position == index) {
            return it.ref();
        }
    }
    return {};
}

int BoardAccessible::IndexOf(MatchList::Ref ref) const {
    const BoardView* view = View();
    if (!view || !ref) {
        return -1;
    }
    const MatchList& matches = view->riddleDocument()->MatchList;
    if (matches.Dense()) {
        return ref.Slot() > static_cast<uint32_t>(INT_MAX) ? -1 : static_cast<int>(ref.Slot());
    }
    int position = 0;
    for (auto it = matches.begin(); it != matches.end(); ++it, ++position) {
        if (it.ref() == ref) {
            return position;
        }
    }
    return -1;
}

QAccessibleInterface* BoardAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const auto known = items_.constFind(index);
    if (known != items_.constEnd()) {
        return QAccessible::accessibleInterface(*known);
    }
    auto* item = new MatchAccessible(const_cast<BoardAccessible*>(this), index);
    items_.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int BoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = items_.constBegin(); it != items_.constEnd(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child) {
            return it.key();
        }
    }
    return -1;
}

QAccessibleInterface* BoardAccessible::childAt(int x, int y) const {
    BoardView* view = View();
    if (!view) {
        return nullptr;
    }
    const QPoint port = view->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view->viewport()->rect().contains(port)) {
        return nullptr;
    }
    const vorlo::Point32 p = view->BoardPointFromViewport(port);
    return child(IndexOf(vorlo::HitTest(view->riddleDocument()->MatchList, p.x, p.y)));
}

QString BoardAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description) {
        const QString own = widget()->accessibleDescription();
        const int count = childCount();
        const QString matches =
            count == 1 ? QCoreApplication::translate("BoardAccessible", "One match.")
                       : QCoreApplication::translate("BoardAccessible", "%1 matches.").arg(count);
        return own.isEmpty() ? matches : own + QLatin1Char(' ') + matches;
    }
    return QAccessibleWidget::text(t);
}

void BoardAccessible::ForgetItems() {
    for (const QAccessible::Id id : std::as_const(items_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
    items_.clear();
}

QString BoardAccessible::Direction(int32_t angle) {
    const int64_t a = ((int64_t{angle} % 360) + 360) % 360;
    switch (a) {
        case 0:
            return QCoreApplication::translate("BoardAccessible", "head pointing right");
        case 45:
            return QCoreApplication::translate("BoardAccessible", "head pointing up and right");
        case 90:
            return QCoreApplication::translate("BoardAccessible", "head pointing up");
        case 135:
            return QCoreApplication::translate("BoardAccessible", "head pointing up and left");
        case 180:
            return QCoreApplication::translate("BoardAccessible", "head pointing left");
        case 225:
            return QCoreApplication::translate("BoardAccessible", "head pointing down and left");
        case 270:
            return QCoreApplication::translate("BoardAccessible", "head pointing down");
        case 315:
            return QCoreApplication::translate("BoardAccessible", "head pointing down and right");
        default:
            return QCoreApplication::translate("BoardAccessible", "head at %1 degrees").arg(a);
    }
}

QString BoardAccessible::DescribeMatch(const Match& match, bool selected) {
    const QString where = QCoreApplication::translate("BoardAccessible", "At %1, %2, %3")
                              .arg(match.x)
                              .arg(match.y)
                              .arg(Direction(match.angle));
    return selected ? QCoreApplication::translate("BoardAccessible", "%1, selected").arg(where)
                    : where;
}

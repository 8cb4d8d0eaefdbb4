// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_status.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

#include "board_accessible.h"
#include "board_view.h"
#include "commands.h"
#include "lock_keys.h"
#include "play_session.h"
#include "riddle_document.h"
#include "riddle_progress.h"
#include "sentence_path.h"
#include "shown_name.h"

using namespace vorlo;

namespace {

// The note keeps to the board's corner when the board is resized.
class BoardWatch : public QObject {
public:
    BoardWatch(QObject* parent, std::function<void()> resized)
        : QObject(parent), resized_(std::move(resized)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            resized_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> resized_;
};

}  // namespace

WindowStatus::WindowStatus(QStatusBar* bar, RiddleDocument* doc, BoardView* board)
    : bar_(bar), doc_(doc), board_(board) {
    messagePane_ = new QLabel(TranslatedText(kIdleMessage), bar_);
    bar_->addWidget(messagePane_, 1);

    auto addIndicator = [this](const char* widthText) {
        auto* pane = new QLabel(bar_);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int margins = 2 * (pane->frameWidth() + pane->margin()) + 6;
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(TranslatedText(widthText)) +
                            margins);
        bar_->addPermanentWidget(pane);
        return pane;
    };
    // The count pane is as wide as "0   matches" and does not grow.
    matchCountPane_ = addIndicator(kMatchCountWidthText);
    capsPane_ = addIndicator(kCapsText);
    numPane_ = addIndicator(kNumText);
    messagePane_->setAccessibleName(tr("Status"));
    matchCountPane_->setAccessibleName(tr("Match count"));
    capsPane_->setAccessibleName(tr("Caps Lock"));
    numPane_->setAccessibleName(tr("Num Lock"));
    CreateMovedPane();
    CreateSolvedNote();

    // The lock keys change without telling the window: look now and then,
    // and at every key the program sees.
    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, [this] { UpdateLockIndicators(); });
    lockTimer->start(500);
    qApp->installEventFilter(this);
    UpdateLockIndicators();
}

WindowStatus::~WindowStatus() {
    qApp->removeEventFilter(this);
}

void WindowStatus::CreateMovedPane() {
    // The moved pane lies left of the match count and is wide enough for a
    // five-digit count.
    movedPane_ = new QLabel(bar_);
    movedPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    movedPane_->setAlignment(Qt::AlignCenter);
    movedPane_->setMinimumWidth(
        std::max(
            movedPane_->fontMetrics().horizontalAdvance(tr("Moved: %1").arg(99999)),
            movedPane_->fontMetrics().horizontalAdvance(tr("Moves: %1 of %2").arg(999).arg(99))) +
        2 * movedPane_->frameWidth() + 6);
    bar_->insertPermanentWidget(bar_->layout() ? 1 : 0, movedPane_);
    movedPane_->setAccessibleName(tr("Moves"));

    // The mode lies left of the moves.
    modePane_ = new QLabel(bar_);
    modePane_->setObjectName(QStringLiteral("ModePane"));
    modePane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    modePane_->setAlignment(Qt::AlignCenter);
    modePane_->setMinimumWidth(std::max(modePane_->fontMetrics().horizontalAdvance(tr("Playing")),
                                        modePane_->fontMetrics().horizontalAdvance(tr("Editing"))) +
                               2 * modePane_->frameWidth() + 6);
    bar_->insertPermanentWidget(bar_->layout() ? 1 : 0, modePane_);
    modePane_->setAccessibleName(tr("Mode"));
    connect(doc_->play(), &PlaySession::playingChanged, this, [this] {
        ShowMode();
        ShowProgress();
    });
    connect(doc_->play(), &PlaySession::hintChanged, this, [this] {
        ShowProgress();
        AnnounceHint();
    });
    connect(doc_->play(), &PlaySession::notice, this,
            [this](const QString& message) { bar_->showMessage(message, 10000); });
    ShowMode();
}

void WindowStatus::ShowMode() {
    const bool playing = doc_->isPlaying();
    modePane_->setText(playing ? tr("Playing") : tr("Editing"));
    modePane_->setToolTip(playing ? tr("Move and turn the matches to solve the riddle; its file "
                                       "is never changed")
                                  : tr("Build the riddle: add, move and delete matches"));
}

void WindowStatus::CreateSolvedNote() {
    solvedNote_ = new QLabel(board_->viewport());
    solvedNote_->setObjectName(QStringLiteral("SolvedNote"));
    solvedNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Its style sheet is given when it is first shown: a style sheet builds
    // a style of its own for the label, which no start should wait for.
    solvedNote_->hide();

    auto* watch = new BoardWatch(this, [this] { PlaceSolvedNote(); });
    board_->installEventFilter(watch);
    board_->viewport()->installEventFilter(watch);

    progress_ = doc_->progress();
    connect(progress_, &RiddleProgress::Changed, this, [this] { ShowProgress(); });
    connect(progress_, &RiddleProgress::SolutionRefused, this,
            [this](const QString& path, qulonglong matches, qulonglong limit) {
                bar_->showMessage(
                    tr("The solution %1 is left unread: it holds %2 matches, more than the %3 "
                       "a solution of this riddle may hold.")
                        .arg(QFileInfo(path).fileName())
                        .arg(matches)
                        .arg(limit),
                    10000);
            });
    ShowProgress();
}

void WindowStatus::SetMatchCount(const QString& text) {
    matchCountPane_->setText(text);
}

void WindowStatus::OnRiddleSaved() {
    progress_->Rebase(RiddleProgress::Unchanged::Compared);
}

void WindowStatus::OnSolutionSaved(const QString& path) {
    progress_->ReloadSolutions();
    bar_->showMessage(tr("Saved the solution as %1").arg(SentencePath(QFileInfo(path).fileName())),
                      5000);
}

void WindowStatus::ShowProgress() {
    const size_t moved = progress_->Moved();
    const PlaySession* play = doc_->play();
    if (play->isPlaying()) {
        const std::optional<size_t> fewest = progress_->FewestMoves();
        const QString moves =
            fewest ? tr("Moves: %1 of %2").arg(moved).arg(*fewest) : tr("Moves: %1").arg(moved);
        movedPane_->setText(progress_->Solved() ? tr("Solved") + QStringLiteral(" \u2013 ") + moves
                                                : moves);
    } else {
        movedPane_->setText(progress_->Solved() ? tr("Solved") : tr("Moved: %1").arg(moved));
    }
    if (!progress_->Solved()) {
        solvedNote_->hide();
        return;
    }
    if (solvedNote_->styleSheet().isEmpty()) {
        solvedNote_->setStyleSheet(
            QStringLiteral("QLabel { background: rgba(232, 245, 233, 230); color: #1b5e20;"
                           " border: 1px solid #81c784; border-radius: 6px; padding: 6px 10px; }"));
    }
    if (play->isPlaying()) {
        const QString moves =
            moved == 1 ? tr("Solved in 1 move") : tr("Solved in %1 moves").arg(moved);
        const uint32_t hints = play->hintsUsed();
        solvedNote_->setText(hints == 0   ? tr("%1, without a hint!").arg(moves)
                             : hints == 1 ? tr("%1, with 1 hint.").arg(moves)
                                          : tr("%1, with %2 hints.").arg(moves).arg(hints));
    } else {
        solvedNote_->setText(moved == 1 ? tr("Solved, with 1 match moved.")
                                        : tr("Solved, with %1 matches moved.").arg(moved));
    }
    solvedNote_->adjustSize();
    PlaceSolvedNote();
    const bool news =
        solvedNote_->isHidden() || solvedNote_->accessibleName() != solvedNote_->text();
    solvedNote_->setAccessibleName(solvedNote_->text());
    solvedNote_->show();
    if (news) {
        Announce(solvedNote_);
    }
}

void WindowStatus::Announce(QWidget* widget) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent name(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    QAccessibleEvent alert(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void WindowStatus::AnnounceHint() {
    const PlaySession* play = doc_->play();
    const std::optional<vorlo::Match> match = play->hintedMatch();
    if (!match) {
        board_->setAccessibleDescription(BoardView::Description());
        return;
    }
    const QString move = BoardAccessible::DescribeMatch(*match, false);
    const std::optional<vorlo::Match> target = play->hintTarget();
    board_->setAccessibleDescription(
        target ? tr("Hint: move the match %1 to %2.")
                     .arg(move, BoardAccessible::DescribeMatch(*target, false))
               : tr("Hint: move the match %1.").arg(move));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(board_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
        QAccessibleEvent alert(board_, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void WindowStatus::PlaceSolvedNote() {
    // The top right corner of the board, out of the way of the matches,
    // which usually begin at the top left.
    constexpr int kMargin = 10;
    const QWidget* port = board_->viewport();
    solvedNote_->move(std::max(0, port->width() - solvedNote_->width() - kMargin), kMargin);
}

void WindowStatus::UpdateLockIndicators() {
    const LockKeys keys = ReadLockKeys();
    const QString caps = keys.capsLock ? TranslatedText(kCapsText) : QString();
    const QString num = keys.numLock ? TranslatedText(kNumText) : QString();
    if (capsPane_->text() != caps) {
        capsPane_->setText(caps);
    }
    if (numPane_->text() != num) {
        numPane_->setText(num);
    }
    const QString capsState = keys.capsLock ? tr("On") : tr("Off");
    if (capsPane_->accessibleDescription() != capsState) {
        capsPane_->setAccessibleDescription(capsState);
    }
    const QString numState = keys.numLock ? tr("On") : tr("Off");
    if (numPane_->accessibleDescription() != numState) {
        numPane_->setAccessibleDescription(numState);
    }
}

bool WindowStatus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock) {
            QTimer::singleShot(0, this, [this] { UpdateLockIndicators(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

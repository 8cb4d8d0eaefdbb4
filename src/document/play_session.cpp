// SPDX-License-Identifier: GPL-3.0-or-later
#include "play_session.h"

#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

#include "board_editor.h"
#include "riddle_document.h"
#include "riddle_progress.h"
#include "stick_pairing.h"

using vorlo::Match;

// One move of the game, or a restart: the matches it changed, each as it was
// before and after.
class PlayStep : public QUndoCommand {
public:
    PlayStep(PlaySession* session, std::vector<PlaySession::SlotChange> changes, bool applied)
        : session_(session), changes_(std::move(changes)), applied_(applied) {}

    void undo() override { session_->apply(changes_, false); }
    void redo() override {
        // The move was made on the board before it was recorded.
        if (applied_) {
            applied_ = false;
            return;
        }
        session_->apply(changes_, true);
    }

    std::vector<PlaySession::SlotChange>& changes() { return changes_; }

private:
    PlaySession* session_;
    std::vector<PlaySession::SlotChange> changes_;
    bool applied_;
};

namespace {

// The game is kept this long after the last move: a drag of many steps is
// written once.
constexpr int kSaveDelayMs = 400;

}  // namespace

PlaySession::PlaySession(RiddleDocument* doc, RiddleProgress* progress, QObject* parent)
    : QObject(parent),
      doc_(doc),
      progress_(progress),
      history_(new QUndoStack(this)),
      saveTimer_(new QTimer(this)),
      store_(vorlo::ProgressStore::DefaultFolder()) {
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(kSaveDelayMs);
    connect(saveTimer_, &QTimer::timeout, this, &PlaySession::flush);
    connect(history_, &QUndoStack::indexChanged, this, [this] {
        if (playing_ && !applying_) {
            scheduleSave();
        }
    });
    connect(doc_, &RiddleDocument::boardChanged, this, &PlaySession::onBoardChanged);
    connect(progress_, &RiddleProgress::Changed, this, &PlaySession::onProgressChanged);
}

PlaySession::~PlaySession() {
    if (playing_) {
        flush();
    }
}

void PlaySession::setStoreFolder(const QString& folder) {
    store_ = vorlo::ProgressStore(folder);
}

void PlaySession::start() {
    if (playing_) {
        return;
    }
    start_ = doc_->MatchList;
    key_ = vorlo::ProgressStore::KeyOf(start_, doc_->plainText().toStdString());
    history_->clear();
    openAction_.reset();
    hintsUsed_ = 0;
    solved_ = false;
    clearHint();
    playing_ = true;
    doc_->editor().SetMovesOnly(true);
    // The riddle's own flag stays as the file has it: play never modifies it.
    if (start_.Dense()) {
        const vorlo::ProgressStore::Loaded loaded = store_.Load(key_, start_);
        if (loaded.status == vorlo::ProgressStore::Status::Loaded) {
            restore(loaded.progress);
        } else if (!loaded.message.isEmpty()) {
            emit notice(loaded.message);
        }
    }
    wasSolved_ = progress_->Solved();
    emit playingChanged(true);
}

void PlaySession::restore(const vorlo::GameProgress& progress) {
    hintsUsed_ = progress.hintsUsed;
    solved_ = progress.solved;
    // Every kept move is made on the board and recorded as done, then the
    // history is walked back to where the player left it.
    applying_ = true;
    for (const vorlo::GameStep& step : progress.steps) {
        std::vector<SlotChange> changes;
        changes.reserve(step.changes.size());
        for (const vorlo::MatchStep& change : step.changes) {
            changes.push_back({change.index, change.before, change.after});
        }
        apply(changes, true);
        history_->push(new PlayStep(this, std::move(changes), true));
    }
    history_->setIndex(
        static_cast<int>(std::min<size_t>(progress.position, progress.steps.size())));
    applying_ = false;
}

void PlaySession::endPlay() {
    saveTimer_->stop();
    playing_ = false;
    doc_->editor().SetMovesOnly(false);
    history_->clear();
    openAction_.reset();
    clearHint();
}

void PlaySession::stop() {
    if (!playing_) {
        return;
    }
    flush();
    endPlay();
    doc_->showBoard(start_);
    start_.Clear();
    emit playingChanged(false);
}

void PlaySession::abandon() {
    if (!playing_) {
        return;
    }
    flush();
    endPlay();
    start_.Clear();
    emit playingChanged(false);
}

void PlaySession::flush() {
    saveTimer_->stop();
    if (!playing_ || key_.isEmpty()) {
        return;
    }
    QString error;
    if (!store_.Save(key_, start_.Count(), record(), &error)) {
        emit notice(tr("The game could not be kept: %1").arg(error));
        return;
    }
    emit kept(key_);
}

void PlaySession::scheduleSave() {
    saveTimer_->start();
}

vorlo::GameProgress PlaySession::record() const {
    vorlo::GameProgress progress;
    progress.position = static_cast<size_t>(history_->index());
    progress.hintsUsed = hintsUsed_;
    progress.solved = solved_;
    progress.steps.reserve(static_cast<size_t>(history_->count()));
    for (int i = 0; i < history_->count(); ++i) {
        auto* step = static_cast<const PlayStep*>(history_->command(i));
        vorlo::GameStep kept;
        for (const SlotChange& change : const_cast<PlayStep*>(step)->changes()) {
            kept.changes.push_back({change.slot, change.before, change.after});
        }
        progress.steps.push_back(std::move(kept));
    }
    return progress;
}

void PlaySession::apply(const std::vector<SlotChange>& changes, bool forwards) {
    const bool wasApplying = applying_;
    applying_ = true;
    for (const SlotChange& change : changes) {
        const vorlo::MatchList::Ref ref = doc_->MatchList.AtSlot(change.slot);
        if (ref) {
            doc_->editor().PlaceMatch(ref, forwards ? change.after : change.before);
        }
    }
    applying_ = wasApplying;
    // A move taken back or done again is the start of another move.
    openAction_.reset();
    clearHint();
}

void PlaySession::onBoardChanged(const vorlo::BoardChange& change) {
    if (!playing_ || applying_ || change.kind != vorlo::BoardChange::Kind::Moved || !change.match ||
        !change.before) {
        return;
    }
    const uint32_t slot = change.match.Slot();
    const uint64_t action = doc_->editor().ActionCount();
    const Match now = *change.match;
    auto* top = history_->count() > 0 && history_->index() == history_->count()
                    ? static_cast<PlayStep*>(
                          const_cast<QUndoCommand*>(history_->command(history_->count() - 1)))
                    : nullptr;
    if (top && openAction_ == action && openSlot_ == slot && top->changes().size() == 1 &&
        top->changes().front().slot == slot) {
        top->changes().front().after = now;
        scheduleSave();
    } else {
        openAction_ = action;
        openSlot_ = slot;
        history_->push(new PlayStep(this, {{slot, *change.before, now}}, true));
    }
    clearHint();
}

void PlaySession::onProgressChanged() {
    const bool solvedNow = progress_->Solved();
    if (playing_ && solvedNow && !wasSolved_) {
        solved_ = true;
        scheduleSave();
        wasSolved_ = true;
        emit solved();
    }
    wasSolved_ = solvedNow;
}

bool PlaySession::canRestart() const {
    if (!playing_) {
        return false;
    }
    return history_->index() > 0 || doc_->MatchList != start_;
}

void PlaySession::restart() {
    if (!playing_) {
        return;
    }
    std::vector<SlotChange> changes;
    auto board = doc_->MatchList.begin();
    for (auto it = start_.begin(); it != start_.end() && board != doc_->MatchList.end();
         ++it, ++board) {
        if (!(*board == *it)) {
            changes.push_back({board.ref().Slot(), *board, *it});
        }
    }
    if (changes.empty()) {
        return;
    }
    history_->push(new PlayStep(this, std::move(changes), false));
}

bool PlaySession::canHint() const {
    return playing_ && progress_->SolutionCount() > 0 && !progress_->Solved();
}

void PlaySession::hint() {
    if (!canHint()) {
        return;
    }
    if (hintStage_ == HintStage::None || !hintSlot_) {
        const std::optional<vorlo::LayoutJudge::Hint> next = progress_->NextHint();
        if (!next) {
            return;
        }
        // The match itself, or one lying just as it does (either way round).
        hintSlot_.reset();
        for (auto it = doc_->MatchList.begin(); it != doc_->MatchList.end(); ++it) {
            if (*it == next->move) {
                hintSlot_ = it.ref().Slot();
                break;
            }
            if (!hintSlot_ && vorlo::SameStick(*it, next->move)) {
                hintSlot_ = it.ref().Slot();
            }
        }
        if (!hintSlot_) {
            return;
        }
        hintTarget_ = next->target;
        hintStage_ = HintStage::MatchToMove;
    } else if (hintStage_ == HintStage::MatchToMove) {
        hintStage_ = HintStage::Target;
    } else {
        return;  // everything this hint can tell is shown
    }
    ++hintsUsed_;
    scheduleSave();
    emit hintChanged();
}

std::optional<Match> PlaySession::hintedMatch() const {
    if (hintStage_ == HintStage::None || !hintSlot_) {
        return std::nullopt;
    }
    const vorlo::MatchList::Ref ref = doc_->MatchList.AtSlot(*hintSlot_);
    return ref ? std::optional<Match>(*ref) : std::nullopt;
}

std::optional<Match> PlaySession::hintTarget() const {
    return hintStage_ == HintStage::Target ? hintTarget_ : std::nullopt;
}

void PlaySession::clearHint() {
    const bool shown = hintStage_ != HintStage::None;
    hintStage_ = HintStage::None;
    hintSlot_.reset();
    hintTarget_.reset();
    if (shown) {
        emit hintChanged();
    }
}

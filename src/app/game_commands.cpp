// SPDX-License-Identifier: GPL-3.0-or-later
#include "game_commands.h"

#include <QAction>
#include <QSignalBlocker>
#include <QUndoStack>

#include "file_commands.h"
#include "play_session.h"
#include "riddle_document.h"
#include "task_pane.h"

using vorlo::CommandId;

GameCommands::GameCommands(RiddleDocument* doc, FileCommands& files, TaskPane* text,
                           std::function<QAction*(CommandId)> action, QObject* parent)
    : QObject(parent), doc_(doc), files_(files), text_(text), action_(std::move(action)) {
    QAction* play = action_(CommandId::GamePlay);
    play->setCheckable(true);
    connect(play, &QAction::triggered, this, &GameCommands::OnPlayToggled);
    PlaySession* session = doc_->play();
    connect(action_(CommandId::GameRestart), &QAction::triggered, session, &PlaySession::restart);
    connect(action_(CommandId::GameHint), &QAction::triggered, session, &PlaySession::hint);

    const auto changed = [this] { Update(); };
    connect(session, &PlaySession::playingChanged, this, changed);
    connect(session, &PlaySession::hintChanged, this, changed);
    connect(session->history(), &QUndoStack::indexChanged, this, changed);
    connect(doc_, &RiddleDocument::titleChanged, this, changed);
    connect(doc_, &RiddleDocument::modifiedChanged, this, changed);
    connect(doc_, &RiddleDocument::contentsChanged, this, changed);
    Update();
}

void GameCommands::OnPlayToggled(bool on) {
    if (on) {
        files_.StartPlaying();
    } else {
        doc_->play()->stop();
    }
    // A start that was cancelled leaves the mode as it was.
    Update();
}

void GameCommands::Update() {
    const PlaySession* session = doc_->play();
    const bool playing = session->isPlaying();
    QAction* play = action_(CommandId::GamePlay);
    {
        const QSignalBlocker quiet(play);
        play->setChecked(playing);
    }
    // A riddle is played as a file holds it: one never saved has none.
    play->setEnabled(playing || !doc_->pathName().isEmpty() || doc_->isModified());
    action_(CommandId::GameRestart)->setEnabled(session->canRestart());
    action_(CommandId::GameHint)->setEnabled(session->canHint());
    action_(CommandId::FileSave)->setEnabled(!playing);
    action_(CommandId::FileSaveAs)->setEnabled(!playing);
    if (text_->isReadOnly() != playing) {
        text_->setReadOnly(playing);
    }
    if (CommandsChanged) {
        CommandsChanged();
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Game menu: Play Riddle (on and off), Restart Riddle and Hint, and the
// commands whose state follows the mode: a riddle being played cannot be
// saved, and its text is read, not edited.

#include <QObject>

#include <functional>

#include "commands.h"

class QAction;
class FileCommands;
class RiddleDocument;
class TaskPane;

class GameCommands : public QObject {
    Q_OBJECT

public:
    GameCommands(RiddleDocument* doc, FileCommands& files, TaskPane* text,
                 std::function<QAction*(vorlo::CommandId)> action, QObject* parent = nullptr);

    // Sets the Game commands' states and the mode's hold on the others.
    void Update();

    // Told whenever the state of the window's other commands may have
    // changed with the game: the mode, the move history.
    std::function<void()> CommandsChanged;

private:
    void OnPlayToggled(bool on);

    RiddleDocument* doc_;
    FileCommands& files_;
    TaskPane* text_;
    std::function<QAction*(vorlo::CommandId)> action_;
};

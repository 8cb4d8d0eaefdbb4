// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the main window and its command classes ask or tell the user, each
// replaceable so the window can be driven without anyone at the screen.

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include <functional>

struct WindowPrompts {
    std::function<QMessageBox::StandardButton(const QString& question)> SavePrompt;
    std::function<QString(bool forSave, const QString& suggestion)> AskFileName;
    // Asked before a save replaces a file the Save As dialog did not name
    // exactly (the ".vrl" added to a name typed without it); false cancels.
    std::function<bool(const QString& path)> ConfirmReplace;
    std::function<void(const QString& message)> ShowError;
    // Tells the user something that needs no answer.
    std::function<void(const QString& message)> ShowNotice;
    std::function<int(QDialog& dialog)> RunModal;
    // Asked before Revert throws changes away; false keeps the board.
    std::function<bool(const QString& question)> ConfirmRevert;
    // Asks where the picture goes and whether it shows the text (ticked at
    // first); an empty answer cancels.
    std::function<QString(bool* withText)> AskExportPicture;
};

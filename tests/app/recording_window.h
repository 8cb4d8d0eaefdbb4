// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window for widget tests: its messages, save prompts and file
// dialogs are answered by the test and recorded, so no one need be at the
// screen, and it is placed as on a 1024 x 740 screen, shown and active.

#include <QMessageBox>
#include <QStringList>
#include <QTest>

#include <memory>

#include "main_window.h"
#include "riddle_document.h"

struct RecordingFrame {
    std::unique_ptr<MainWindow> frame;
    QStringList errors;   // every message shown, in order
    QStringList prompts;  // every save prompt's question, in order
    QMessageBox::StandardButton promptAnswer = QMessageBox::Cancel;
    QString fileNameAnswer;  // what the file dialogs return; empty: cancelled

    // False when the window did not become active.
    bool Make() {
        frame = std::make_unique<MainWindow>();
        errors.clear();
        prompts.clear();
        frame->ShowError = [this](const QString& m) { errors << m; };
        frame->SavePrompt = [this](const QString& q) {
            prompts << q;
            return promptAnswer;
        };
        frame->AskFileName = [this](bool, const QString&) { return fileNameAnswer; };
        frame->PlaceOnScreen(QRect(0, 0, 1024, 740));
        frame->show();
        frame->activateWindow();
        return QTest::qWaitForWindowActive(frame.get());
    }

    // Closes the window without asking to save.
    void Reset() {
        if (frame) {
            frame->riddleDocument()->setModified(false);
        }
        frame.reset();
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's side of the riddle book: Game > Riddle Book shows it
// (made at first use), a tile chosen there is played in the window, every
// game the window keeps is told to it, and Game > Next Unsolved plays the
// next riddle of the book not solved yet without showing it.

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include "commands.h"

class BookWindow;
class FileCommands;
class QAction;
class QWidget;
class RiddleDocument;

class BookCommands : public QObject {
    // The texts are the window's: they keep its translations.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    BookCommands(QWidget* window, RiddleDocument* doc, FileCommands& files,
                 std::function<QAction*(vorlo::CommandId)> action,
                 std::function<void(const QString&)> notify);
    ~BookCommands() override;

    // Shows the book beside the window and gives it the focus.
    void ShowBook();
    // Closes the book when it is open.
    void CloseBook();
    // The book, once it has been shown; null before.
    BookWindow* Book() const { return book_.get(); }
    // Looks for the next unsolved riddle off the GUI thread and plays it.
    void PlayNextUnsolved();
    // Whether a search for the next unsolved riddle is under way.
    bool Searching() const { return searching_; }

private:
    void Open(const QString& path);

    QWidget* window_;
    RiddleDocument* doc_;
    FileCommands& files_;
    std::function<void(const QString&)> notify_;
    std::unique_ptr<BookWindow> book_;
    bool searching_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's status bar: the message pane, the moved pane (how far
// the board is from the riddle, "Solved" once solved), the match count and
// the CAP and NUM lock indicators; and the note over the board that tells a
// player the riddle is solved.

#include <QCoreApplication>
#include <QObject>

class QLabel;
class QStatusBar;
class BoardView;
class RiddleDocument;
class RiddleProgress;

class WindowStatus : public QObject {
    // The texts are the window's: they keep its translations.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Fills `bar`; the solved note lies on the board's viewport.
    WindowStatus(QStatusBar* bar, RiddleDocument* doc, BoardView* board);
    ~WindowStatus() override;

    QLabel* MessagePane() const { return messagePane_; }
    QLabel* MatchCountPane() const { return matchCountPane_; }
    QLabel* CapsPane() const { return capsPane_; }
    QLabel* NumPane() const { return numPane_; }
    QLabel* MovedPane() const { return movedPane_; }
    // "Playing" or "Editing": what the board's mouse and keys do now.
    QLabel* ModePane() const { return modePane_; }
    QLabel* SolvedNote() const { return solvedNote_; }
    RiddleProgress* Progress() const { return progress_; }

    void SetMatchCount(const QString& text);
    // After a save the board is the riddle again; after a solution was
    // written beside it, that solution counts too.
    void OnRiddleSaved();
    void OnSolutionSaved(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMovedPane();
    void ShowMode();
    void CreateSolvedNote();
    void ShowProgress();
    // Tells a screen reader of news: a label's new text, the hint shown.
    void Announce(QWidget* widget);
    void AnnounceHint();
    void PlaceSolvedNote();
    void UpdateLockIndicators();

    QStatusBar* bar_;
    RiddleDocument* doc_;
    BoardView* board_;
    QLabel* messagePane_ = nullptr;
    QLabel* matchCountPane_ = nullptr;
    QLabel* capsPane_ = nullptr;
    QLabel* numPane_ = nullptr;
    QLabel* movedPane_ = nullptr;
    QLabel* modePane_ = nullptr;
    QLabel* solvedNote_ = nullptr;
    RiddleProgress* progress_ = nullptr;
};

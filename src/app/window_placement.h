// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's placement on the screen and its panes' sizes, by the
// proportions of frame_placement.h.

#include <QMargins>
#include <QRect>
#include <QString>

#include <memory>

class QLockFile;
class QSplitter;
class QWidget;
class BoardView;

// Which of the program's windows running at once this one is: the first free
// slot of `count`, each a lock file "window-N.lock" in `folder` held for as
// long as the slot's owner lives. A copy of the program that ended without
// letting go leaves its slot free for the next. Slot 0, without a lock, when
// the folder is empty or every slot is taken.
struct WindowSlot {
    WindowSlot();
    WindowSlot(WindowSlot&&) noexcept;
    WindowSlot& operator=(WindowSlot&&) noexcept;
    ~WindowSlot();
    int index = 0;
    std::unique_ptr<QLockFile> lock;
};
WindowSlot TakeWindowSlot(const QString& folder, int count = 16);

// Places the main window and sizes its panes: the information column, the
// board's row and the text pane below it. The board's scroll size waits
// until the window has been fitted to its frame.
class WindowPlacement {
public:
    WindowPlacement(QWidget* window, QSplitter* outer, QSplitter* inner, BoardView* board);

    // Places the window and its panes in proportion to a screen whose area
    // available to windows is `available`. The frame the window manager puts
    // around the window counts in: the whole framed window lies inside.
    void PlaceOnScreen(const QRect& available);
    // Which window of the program this is, for the cascade (see
    // PlaceFrameOnScreen); 0 for the first.
    void SetCascade(int cascade) { cascade_ = cascade; }
    // The window's show event, before and after the window's own handling.
    void BeforeShow(bool spontaneous);
    void AfterShow();

    int FullScreenHeight = 0;
    int FullScreenWidth = 0;

private:
    void ApplyPaneSizes();
    void ApplyPlacement(const QMargins& frame);
    void FitToFrameAtFirstShow();
    void EndWaitingForFrame();

    QWidget* window_;
    QSplitter* outer_;
    QSplitter* inner_;
    BoardView* board_;
    int boardRowHeight_ = 0;
    bool paneSizesPending_ = false;
    // The area the window was last placed in, and the frame it was placed for.
    QRect placementArea_;
    QMargins placementFrame_;
    bool shownBefore_ = false;
    int cascade_ = 0;
    // Shown, but the window manager has not yet told the frame's size.
    bool waitingForFrame_ = false;
};

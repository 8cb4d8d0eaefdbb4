// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QShowEvent>
#include <QSplitter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <optional>

#include "board_view.h"
#include "frame_placement.h"

using namespace vorlo;

WindowSlot::WindowSlot() = default;
WindowSlot::WindowSlot(WindowSlot&&) noexcept = default;
WindowSlot& WindowSlot::operator=(WindowSlot&&) noexcept = default;
WindowSlot::~WindowSlot() = default;

WindowSlot TakeWindowSlot(const QString& folder, int count) {
    WindowSlot slot;
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return slot;
    }
    for (int i = 0; i < count; ++i) {
        auto lock = std::make_unique<QLockFile>(
            QDir(folder).filePath(QStringLiteral("window-%1.lock").arg(i)));
        // Held for the program's whole run: never stale by age, only when
        // the program that holds it is gone.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            slot.index = i;
            slot.lock = std::move(lock);
            return slot;
        }
    }
    return slot;
}

WindowPlacement::WindowPlacement(QWidget* window, QSplitter* outer, QSplitter* inner,
                                 BoardView* board)
    : window_(window), outer_(outer), inner_(inner), board_(board) {}

void WindowPlacement::PlaceOnScreen(const QRect& available) {
    placementArea_ = available;
    // Once shown, the window manager's frame is known; before, the window is
    // placed as if it had none, and fitted to the frame when it is shown.
    const QWindow* window = window_->windowHandle();
    ApplyPlacement(window_->isVisible() && window ? window->frameMargins() : placementFrame_);
}

void WindowPlacement::ApplyPlacement(const QMargins& frame) {
    placementFrame_ = frame;
    const ScreenPlacement place = PlaceFrameOnScreen(placementArea_, frame, cascade_);
    FullScreenWidth = place.fullScreen.width();
    FullScreenHeight = place.fullScreen.height();
    // The window system is told where the inside goes, frame taken off the
    // outer rectangle on every side; the window manager puts the frame round it.
    window_->setGeometry(place.inside);
    boardRowHeight_ = place.boardHeight;
    paneSizesPending_ = true;
    if (window_->isVisible()) {
        ApplyPaneSizes();
    }
}

void WindowPlacement::ApplyPaneSizes() {
    paneSizesPending_ = false;
    const int outer = outer_->width();
    outer_->setSizes({kInfoPaneWidth, qMax(0, outer - kInfoPaneWidth - outer_->handleWidth())});
    const int inner = inner_->height();
    inner_->setSizes({boardRowHeight_, qMax(0, inner - boardRowHeight_ - inner_->handleWidth())});
}

void WindowPlacement::FitToFrameAtFirstShow() {
    // Asked before the window appears, the window manager tells the frame's
    // size, and the window is sized to fit before its first paint.
    if (window_->testAttribute(Qt::WA_DontShowOnScreen)) {
        return;
    }
    std::optional<QMargins> frame =
        AskFrameExtents(window_->windowHandle(), std::chrono::milliseconds(500));
    if (!frame && window_->windowHandle() && !window_->windowHandle()->frameMargins().isNull()) {
        frame = window_->windowHandle()->frameMargins();  // a frame the toolkit draws itself
    }
    if (frame) {
        if (*frame != placementFrame_) {
            ApplyPlacement(*frame);
        }
        return;
    }
    if (WindowManagerFramesLater()) {
        // A window manager that tells the frame only once it has put it
        // round the window: fit then, if it does so soon. Nothing of the
        // window need move or change size when it is framed, so look now
        // and then rather than wait for an event.
        waitingForFrame_ = true;
        auto* look = new QTimer(window_);
        const QDeadlineTimer deadline(1000);
        QObject::connect(look, &QTimer::timeout, window_, [this, look, deadline] {
            const QWindow* window = window_->windowHandle();
            const bool known = window && !window->frameMargins().isNull();
            if (known) {
                ApplyPlacement(window->frameMargins());
            }
            if (known || deadline.hasExpired()) {
                look->deleteLater();
                EndWaitingForFrame();
            }
        });
        look->start(20);
    }
}

void WindowPlacement::EndWaitingForFrame() {
    if (waitingForFrame_) {
        waitingForFrame_ = false;
        board_->HoldExtent(false);
    }
}

void WindowPlacement::BeforeShow(bool spontaneous) {
    if (!spontaneous && !shownBefore_) {
        shownBefore_ = true;
        FitToFrameAtFirstShow();
    }
}

void WindowPlacement::AfterShow() {
    if (paneSizesPending_) {
        ApplyPaneSizes();
    }
    if (!waitingForFrame_) {
        board_->HoldExtent(false);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The board: the picture of the riddle, drawn by the board painter, and the
// view that the editing commands go to while it is the active view. Mouse
// presses and movements play the riddle (left button moves a match, right
// button turns it); the commands edit it. The logic of both lives in
// BoardEditor; this widget turns Qt's events into its calls and carries out
// what it asks for: cursors, immediate repaints, the clipboard.

#include <QAbstractScrollArea>
#include <QCursor>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "board_editor.h"
#include "match.h"
#include "riddle_document.h"

class QMimeData;

class BoardView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit BoardView(RiddleDocument* doc, QWidget* parent = nullptr);
    ~BoardView() override;

    RiddleDocument* riddleDocument() const { return doc_; }
    // What the board is, for screen readers.
    static QString Description();
    // The document's editor, which the board's events and commands go to.
    vorlo::BoardEditor& Editor() { return doc_->editor(); }
    const vorlo::BoardEditor& Editor() const { return doc_->editor(); }

    // The scrollable size of the board; it is the view's size at the last
    // initial update and does not follow later resizes.
    void SetScrollSizes(QSize total);
    // While the window around the view is still being placed, an initial
    // update leaves the scroll size to be measured when the hold ends.
    void HoldExtent(bool hold);
    // After a print job or preview: the scroll size is measured again.
    void OnEndPrinting();
    QSize GetTotalSize() const { return totalSize_; }
    // The part of the board that is on the screen, in board coordinates.
    QRect VisibleBoardRect() const;

    // A point of the view's viewport as a board point: the scroll offset is
    // added, so presses meet the matches where they are drawn.
    vorlo::Point32 BoardPointFromViewport(QPoint viewportPos) const;
    // The viewport pixels of a board rectangle that lie on the screen.
    QRect ViewportRectOf(const vorlo::BoardRect& r) const { return PortRect(r); }
    // Scrolls as little as needed for `r` to be on the screen, with a margin.
    void ScrollIntoView(const vorlo::BoardRect& r);

    // The buttons and modifier keys of a mouse event as the editor takes them.
    static vorlo::PointerInput PointerHeld(Qt::MouseButtons buttons,
                                           Qt::KeyboardModifiers modifiers);

    // The drag cursors, drawn for the pixel density of the board's screen.
    const QCursor& MoveCursor() const;
    const QCursor& RotateCursor() const;
    // The move or the rotate cursor as drawn for `devicePixelRatio`: 32 x 32
    // pixels, or 64 x 64 from 1.5 up.
    static QCursor DragCursor(vorlo::BoardCursor kind, qreal devicePixelRatio);

public slots:
    // The board's editing commands.
    void addMatch();
    void deleteMatch();
    void cut();
    void copy();
    void paste();
    void undo();
    void rotateTo90();

public:
    // Whether a command is enabled, and the match count's text.
    bool hasSelection() const;
    bool canUndo() const;
    QString matchCountText() const;

    // The clipboard format of one match: its 12-byte block.
    static QString MatchMimeType();

    // Selecting by key (Tab, Shift+Tab); false on an empty board.
    bool selectNextMatch();
    bool selectPreviousMatch();
    // Snapping while dragging and turning (see BoardEditor::SetSnapping).
    void SetSnapping(bool on) { Editor().SetSnapping(on); }
    bool Snapping() const { return Editor().Snapping(); }

    // The size the board is drawn at, in percent, one of ZoomSteps().
    // Matches keep their board coordinates: the picture is drawn scaled and
    // a screen pixel belongs to the board pixel under it.
    static std::span<const int> ZoomSteps();
    int Zoom() const { return zoom_; }
    // Takes the step nearest to `percent`; false when that is the size already.
    bool SetZoom(int percent);
    bool ZoomIn();
    bool ZoomOut();

signals:
    void ZoomChanged(int percent);
    // A drag with snapping off left the match just short of another
    // match's end; `globalPos` is where the pointer let go.
    void DroppedNearAnother(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The document's signals: new contents (New, Open), and a change of the
    // board, which a drag step repaints at once so the match follows the
    // pointer.
    void onReset();
    void onBoardChanged(const vorlo::BoardChange& change);

    void UpdateScrollBars();
    void TakePendingExtent();
    void ShowCursor(vorlo::BoardCursor cursor);
    // The viewport pixels of a board rectangle that lie on the screen.
    QRect PortRect(const vorlo::BoardRect& r) const;
    // Tells a screen reader what changed: the matches it knows are stale, the
    // selection moved, a move or a turn is over.
    void AnnounceChange(const vorlo::BoardChange& change);
    void AnnounceMoveDone();
    void PutOnClipboard(const vorlo::MatchBlock& block);
    // The arrow and bracket keys on the selected match; false for other keys.
    bool StepByKey(const QKeyEvent& event);
    // A viewport rectangle's board rectangle at the zoom: every board pixel
    // part of which shows in it.
    QRect BoardRectOfPort(const QRect& port) const;

    RiddleDocument* doc_;
    bool moveToAnnounce_ = false;               // a match moved since the last announcement
    std::optional<vorlo::Match> pressedMatch_;  // as the left press found it
    mutable std::optional<QCursor> moveCursor_;
    mutable std::optional<QCursor> rotateCursor_;
    mutable std::optional<QCursor> moveCursor2x_;
    mutable std::optional<QCursor> rotateCursor2x_;
    QSize totalSize_;
    // The initial update came before the view had its size: take the extent
    // when it is shown and no longer held.
    bool extentPending_ = false;
    bool extentHeld_ = false;
    int zoom_ = 100;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_view.h"

#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <span>
#include <utility>

#include "board_accessible.h"
#include "board_painter.h"
#include "play_session.h"

using vorlo::BoardCursor;
using vorlo::BoardEditor;
using vorlo::BoardRect;
using vorlo::MatchBlock;
using vorlo::Point32;

namespace {

constexpr int kZoomSteps[] = {100, 150, 200, 300, 400};

int64_t FloorDiv(int64_t n, int64_t d) {
    const int64_t q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

int64_t CeilDiv(int64_t n, int64_t d) {
    return -FloorDiv(-n, d);
}

// The drag cursors' hot spots, in pixels of their 32 x 32 pictures.
constexpr QPoint kRotateHotSpot(7, 14);
constexpr QPoint kMoveHotSpot(15, 15);

// A cursor drawn as a black picture with a white rim. On a screen of twice
// the pixel density the same drawing comes at 64 x 64, so it keeps its size
// and sharpness; its hot spot stays in the units of the 32 x 32 picture.
QCursor LoadCursor(const QString& name, QPoint hotSpot, qreal devicePixelRatio) {
    const bool twice = devicePixelRatio >= 1.5;
    const QString stem =
        QStringLiteral(":/cursors/%1%2").arg(name, twice ? QStringLiteral("@2x") : QString());
    const QBitmap bitmap(stem + QStringLiteral(".xbm"));
    const QBitmap mask(stem + QStringLiteral("_mask.xbm"));
    if (bitmap.isNull() || mask.isNull()) {
        return QCursor(Qt::ArrowCursor);
    }
    if (!twice) {
        return QCursor(bitmap, mask, hotSpot.x(), hotSpot.y());
    }
    // Black where the picture is, white on the rest of the mask, clear elsewhere.
    QImage picture(bitmap.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const QImage ink = bitmap.toImage();
    const QImage cover = mask.toImage();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (ink.pixelIndex(x, y) == 1) {
                picture.setPixelColor(x, y, Qt::black);
            } else if (cover.pixelIndex(x, y) == 1) {
                picture.setPixelColor(x, y, Qt::white);
            }
        }
    }
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(2.0);
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace

BoardView::BoardView(RiddleDocument* doc, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc) {
    setFocusPolicy(Qt::StrongFocus);
    // The board shows the file's coordinates as they are, whichever way the
    // interface around it reads: it is never mirrored, and its scroll bars
    // stay where the picture's origin puts them.
    setLayoutDirection(Qt::LeftToRight);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // Movements with no button held must arrive too, so the ordinary cursor
    // comes back once a drag is over.
    viewport()->setMouseTracking(true);
    connect(doc_, &RiddleDocument::reset, this, &BoardView::onReset);
    connect(doc_, &RiddleDocument::boardChanged, this, &BoardView::onBoardChanged);
    connect(doc_->play(), &PlaySession::hintChanged, viewport(),
            static_cast<void (QWidget::*)()>(&QWidget::update));
    BoardAccessible::Install();
    setAccessibleName(tr("Board"));
    setAccessibleDescription(Description());
}

QString BoardView::Description() {
    return tr(
        "The riddle's matches. Tab selects a match, the arrow keys move it, [ and ] turn it.");
}

BoardView::~BoardView() = default;

QCursor BoardView::DragCursor(vorlo::BoardCursor kind, qreal devicePixelRatio) {
    Q_INIT_RESOURCE(cursors);
    return kind == BoardCursor::Rotate
               ? LoadCursor(QStringLiteral("rotate"), kRotateHotSpot, devicePixelRatio)
               : LoadCursor(QStringLiteral("move"), kMoveHotSpot, devicePixelRatio);
}

// The drag cursors are read at their first use, not while the window is
// being built: most starts never drag.
const QCursor& BoardView::MoveCursor() const {
    const bool twice = viewport()->devicePixelRatioF() >= 1.5;
    std::optional<QCursor>& cursor = twice ? moveCursor2x_ : moveCursor_;
    if (!cursor) {
        cursor = DragCursor(BoardCursor::Move, twice ? 2.0 : 1.0);
    }
    return *cursor;
}

const QCursor& BoardView::RotateCursor() const {
    const bool twice = viewport()->devicePixelRatioF() >= 1.5;
    std::optional<QCursor>& cursor = twice ? rotateCursor2x_ : rotateCursor_;
    if (!cursor) {
        cursor = DragCursor(BoardCursor::Rotate, twice ? 2.0 : 1.0);
    }
    return *cursor;
}

void BoardView::onReset() {
    AnnounceChange(vorlo::BoardChange{});
    extentPending_ = true;
    TakePendingExtent();
    viewport()->update();
}

void BoardView::HoldExtent(bool hold) {
    extentHeld_ = hold;
    TakePendingExtent();
}

void BoardView::TakePendingExtent() {
    if (extentPending_ && !extentHeld_ && isVisible()) {
        extentPending_ = false;
        SetScrollSizes(size());
    }
}

void BoardView::OnEndPrinting() {
    SetScrollSizes(size());
}

void BoardView::onBoardChanged(const vorlo::BoardChange& change) {
    AnnounceChange(change);
    if (change.Whole()) {
        viewport()->update();
        return;
    }
    // Only the part on the screen is painted, and before returning, so the
    // match follows the pointer.
    QRegion region;
    for (uint8_t i = 0; i < change.areaCount; ++i) {
        region += PortRect(change.areas[i]);
    }
    if (!region.isEmpty()) {
        viewport()->repaint(region);
    }
}

void BoardView::SetScrollSizes(QSize total) {
    totalSize_ = total;
    UpdateScrollBars();
}

void BoardView::UpdateScrollBars() {
    const QSize port = viewport()->size();
    // The board's extent is drawn at the zoom as well.
    const QSize total(static_cast<int>(int64_t{totalSize_.width()} * zoom_ / 100),
                      static_cast<int>(int64_t{totalSize_.height()} * zoom_ / 100));
    horizontalScrollBar()->setRange(0, qMax(0, total.width() - port.width()));
    horizontalScrollBar()->setPageStep(qMax(1, port.width()));
    horizontalScrollBar()->setSingleStep(qMax(1, port.width() / 10));
    verticalScrollBar()->setRange(0, qMax(0, total.height() - port.height()));
    verticalScrollBar()->setPageStep(qMax(1, port.height()));
    verticalScrollBar()->setSingleStep(qMax(1, port.height() / 10));
}

QRect BoardView::VisibleBoardRect() const {
    return BoardRectOfPort(viewport()->rect());
}

QRect BoardView::BoardRectOfPort(const QRect& port) const {
    const int64_t sx = horizontalScrollBar()->value();
    const int64_t sy = verticalScrollBar()->value();
    const int64_t left = FloorDiv((port.left() + sx) * 100, zoom_);
    const int64_t top = FloorDiv((port.top() + sy) * 100, zoom_);
    const int64_t right = CeilDiv((port.left() + int64_t{port.width()} + sx) * 100, zoom_);
    const int64_t bottom = CeilDiv((port.top() + int64_t{port.height()} + sy) * 100, zoom_);
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

Point32 BoardView::BoardPointFromViewport(QPoint viewportPos) const {
    // Floor division: a screen pixel belongs to the board pixel under it,
    // also left of and above the board's origin.
    const int64_t x = viewportPos.x() + int64_t{horizontalScrollBar()->value()};
    const int64_t y = viewportPos.y() + int64_t{verticalScrollBar()->value()};
    return {static_cast<int32_t>(FloorDiv(x * 100, zoom_)),
            static_cast<int32_t>(FloorDiv(y * 100, zoom_))};
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-offset);
    if (zoom_ == 100) {
        PaintBoard(painter, doc_->MatchList, doc_->SelectedMatch, event->rect().translated(offset));
    } else {
        painter.scale(zoom_ / 100.0, zoom_ / 100.0);
        PaintBoard(painter, doc_->MatchList, doc_->SelectedMatch, BoardRectOfPort(event->rect()));
    }
    if (const PlaySession* play = doc_->play(); play->hintStage() != PlaySession::HintStage::None) {
        PaintHint(painter, play->hintedMatch(), play->hintTarget());
    }
    if (hasFocus()) {
        // The board shows that the keys go to it: a dashed line inside its edge.
        painter.resetTransform();
        QPen pen(palette().color(QPalette::Text), 2, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
    }
}

void BoardView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void BoardView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    TakePendingExtent();
}

// ----- mouse -----

vorlo::PointerInput BoardView::PointerHeld(Qt::MouseButtons buttons,
                                           Qt::KeyboardModifiers modifiers) {
    return vorlo::PointerInput{.left = (buttons & Qt::LeftButton) != 0,
                               .right = (buttons & Qt::RightButton) != 0,
                               .middle = (buttons & Qt::MiddleButton) != 0,
                               .shift = (modifiers & Qt::ShiftModifier) != 0,
                               .ctrl = (modifiers & Qt::ControlModifier) != 0};
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    // Modifier keys and other buttons held do not matter for a press.
    const Point32 point = BoardPointFromViewport(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        ShowCursor(Editor().PressLeft(point.x, point.y).cursor);
        pressedMatch_.reset();
        if (doc_->SelectedMatch) {
            pressedMatch_ = *doc_->SelectedMatch;
        }
    } else if (event->button() == Qt::RightButton) {
        ShowCursor(Editor().PressRight(point.x, point.y).cursor);
    }
    event->accept();
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    // The board never holds on to the mouse, yet Qt hands every movement
    // after a press to the pressed widget, also from over the other panes.
    // Those are none of the board's: a match dragged off it stays where it
    // last was on the board, within reach, and follows again with the same
    // grab when the pointer comes back with the button still held.
    if (!viewport()->rect().contains(event->position().toPoint())) {
        event->accept();
        return;
    }
    // Alt holds snapping off while it is down; it does not stop the drag.
    Editor().SuspendSnapping(event->modifiers() & Qt::AltModifier);
    const Point32 point = BoardPointFromViewport(event->position().toPoint());
    // The step repaints through the document's boardChanged before this returns.
    ShowCursor(Editor()
                   .MovePointer(PointerHeld(event->buttons(), event->modifiers()), point.x, point.y)
                   .cursor);
    event->accept();
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    // A drag ends because later movements no longer carry its button.
    AnnounceMoveDone();
    if (event->button() == Qt::LeftButton && pressedMatch_) {
        const vorlo::Match was = *std::exchange(pressedMatch_, std::nullopt);
        if (!Snapping() && doc_->SelectedMatch && *doc_->SelectedMatch != was &&
            Editor().SelectedNearlyMeetsAnother()) {
            emit DroppedNearAnother(event->globalPosition().toPoint());
        }
    }
    event->accept();
}

void BoardView::AnnounceChange(const vorlo::BoardChange& change) {
    if (!QAccessible::isActive()) {
        return;
    }
    auto* board = static_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(this));
    if (!board) {
        return;
    }
    using Kind = vorlo::BoardChange::Kind;
    switch (change.kind) {
        case Kind::Replaced:
        case Kind::Added:
        case Kind::Removed: {
            board->ForgetItems();
            QAccessibleEvent event(this, QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&event);
            break;
        }
        case Kind::Moved:
            moveToAnnounce_ = true;
            return;
        case Kind::Selection:
            break;
    }
    const int selected = board->IndexOf(doc_->SelectedMatch);
    if (selected >= 0) {
        QAccessibleEvent event(board->child(selected), QAccessible::Selection);
        QAccessible::updateAccessibility(&event);
        if (hasFocus()) {
            QAccessibleEvent focus(board->child(selected), QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void BoardView::AnnounceMoveDone() {
    if (!moveToAnnounce_) {
        return;
    }
    moveToAnnounce_ = false;
    if (!QAccessible::isActive()) {
        return;
    }
    auto* board = static_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(this));
    const int selected = board ? board->IndexOf(doc_->SelectedMatch) : -1;
    if (selected < 0) {
        return;
    }
    // The selected match's description says where it lies now.
    QAccessibleEvent event(board->child(selected), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    if (hasFocus()) {
        QAccessibleEvent focus(board->child(selected), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void BoardView::ScrollIntoView(const BoardRect& r) {
    // A margin around it, so the match does not sit on the view's edge.
    constexpr int64_t kMargin = 16;
    auto scrollTo = [](QScrollBar* bar, int64_t from, int64_t to, int64_t page) {
        const int64_t at = bar->value();
        int64_t want = at;
        if (to - from + 2 * kMargin > page || from - kMargin < at) {
            want = from - kMargin;
        } else if (to + kMargin > at + page) {
            want = to + kMargin - page;
        }
        bar->setValue(static_cast<int>(std::clamp<int64_t>(want, bar->minimum(), bar->maximum())));
    };
    scrollTo(horizontalScrollBar(), FloorDiv(int64_t{r.left} * zoom_, 100),
             CeilDiv(int64_t{r.right} * zoom_, 100), viewport()->width());
    scrollTo(verticalScrollBar(), FloorDiv(int64_t{r.top} * zoom_, 100),
             CeilDiv(int64_t{r.bottom} * zoom_, 100), viewport()->height());
}

QRect BoardView::PortRect(const BoardRect& r) const {
    // In 64 bits, since the corners may lie anywhere in the 32-bit range;
    // right and bottom lie just outside the rectangle. At the zoom the
    // rectangle grows to every screen pixel that shows part of it.
    const int64_t sx = horizontalScrollBar()->value();
    const int64_t sy = verticalScrollBar()->value();
    const int64_t w = viewport()->width();
    const int64_t h = viewport()->height();
    const int64_t left = std::clamp<int64_t>(FloorDiv(int64_t{r.left} * zoom_, 100) - sx, 0, w);
    const int64_t top = std::clamp<int64_t>(FloorDiv(int64_t{r.top} * zoom_, 100) - sy, 0, h);
    const int64_t right = std::clamp<int64_t>(CeilDiv(int64_t{r.right} * zoom_, 100) - sx, 0, w);
    const int64_t bottom = std::clamp<int64_t>(CeilDiv(int64_t{r.bottom} * zoom_, 100) - sy, 0, h);
    if (right <= left || bottom <= top) {
        return QRect();
    }
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

void BoardView::ShowCursor(BoardCursor cursor) {
    switch (cursor) {
        case BoardCursor::Unchanged:
            break;
        case BoardCursor::Normal:
            viewport()->unsetCursor();
            break;
        case BoardCursor::Move:
            viewport()->setCursor(MoveCursor());
            break;
        case BoardCursor::Rotate:
            viewport()->setCursor(RotateCursor());
            break;
    }
}

// ----- commands -----

void BoardView::addMatch() {
    // Each new match steps to the right, wrapping where the board window ends:
    // its width in board pixels, so that zoomed in new matches stay in sight.
    // Spots outside the part of the board on the screen, or over another
    // match, are passed over.
    const QRect shown = VisibleBoardRect();
    const vorlo::BoardRect view{shown.left(), shown.top(), shown.left() + shown.width(),
                                shown.top() + shown.height()};
    Editor().OnAddMatch(width() * 100 / zoom_, view);
}

void BoardView::deleteMatch() {
    Editor().OnDeleteMatch();
}

QString BoardView::MatchMimeType() {
    return QStringLiteral("application/x-vorlo-match");
}

void BoardView::PutOnClipboard(const MatchBlock& block) {
    auto* data = new QMimeData;
    data->setData(MatchMimeType(), QByteArray(reinterpret_cast<const char*>(block.data()),
                                              static_cast<qsizetype>(block.size())));
    QApplication::clipboard()->setMimeData(data);
}

void BoardView::copy() {
    // Without a selected match the clipboard keeps what it holds.
    if (const std::optional<MatchBlock> block = Editor().OnEditCopy()) {
        PutOnClipboard(*block);
    }
}

void BoardView::cut() {
    if (const std::optional<MatchBlock> block = Editor().OnEditCut()) {
        PutOnClipboard(*block);
    }
}

void BoardView::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const QString type = MatchMimeType();
    if (data == nullptr || !data->hasFormat(type)) {
        return;
    }
    // Copy the bytes out: replacing the clipboard's contents frees `data`.
    const QByteArray bytes = data->data(type);
    const std::span<const uint8_t> view(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        static_cast<size_t>(bytes.size()));
    const std::optional<MatchBlock> next = Editor().OnEditPaste(view);
    if (!next) {
        return;
    }
    // The pasted match is the selected one; it lies only a few pixels from
    // its original, so the view goes to where it can be seen whole.
    if (doc_->SelectedMatch) {
        ScrollIntoView(vorlo::MatchBounds(*doc_->SelectedMatch));
    }
    // The clipboard keeps the pasted place, so the next paste lands 5 pixels
    // further on, here or in another running copy of the program. Bytes
    // beyond the match are kept as they were.
    QByteArray written(reinterpret_cast<const char*>(next->data()),
                       static_cast<qsizetype>(next->size()));
    written += bytes.mid(static_cast<qsizetype>(vorlo::kMatchRecordSize));
    auto* replacement = new QMimeData;
    replacement->setData(type, written);
    QApplication::clipboard()->setMimeData(replacement);
}

void BoardView::undo() {
    Editor().OnEditUndo();
}

void BoardView::rotateTo90() {
    Editor().OnRotate90();
}

bool BoardView::hasSelection() const {
    return Editor().OnUpdateNeedSelection();
}

bool BoardView::canUndo() const {
    return Editor().OnUpdateEditUndo();
}

// Worded here rather than taken from the editor, so that it is translated.
QString BoardView::matchCountText() const {
    return tr("%1 matches").arg(doc_->MatchList.Count());
}

// ----- keyboard and zoom -----

bool BoardView::selectNextMatch() {
    return Editor().SelectNextMatch();
}

bool BoardView::selectPreviousMatch() {
    return Editor().SelectPreviousMatch();
}

bool BoardView::event(QEvent* event) {
    // Tab and Shift+Tab choose matches while the board has the focus, instead
    // of moving the focus on (F6 moves between the panes).
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (mods == Qt::NoModifier &&
            (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            back ? selectPreviousMatch() : selectNextMatch();
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool BoardView::StepByKey(const QKeyEvent& event) {
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    const int32_t move = shift ? 10 : 1;
    const int32_t turn = shift ? 15 : 1;
    switch (event.key()) {
        case Qt::Key_Left:
            Editor().OnKeyMove(-move, 0);
            return true;
        case Qt::Key_Right:
            Editor().OnKeyMove(move, 0);
            return true;
        case Qt::Key_Up:
            Editor().OnKeyMove(0, -move);
            return true;
        case Qt::Key_Down:
            Editor().OnKeyMove(0, move);
            return true;
        // "[" turns counterclockwise, "]" clockwise; with Shift the keys
        // arrive as braces on most layouts.
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            Editor().OnKeyTurn(turn, ctrl);
            return true;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            Editor().OnKeyTurn(-turn, ctrl);
            return true;
        default:
            return false;
    }
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    // Without a selected match the arrows scroll the board as before.
    if (doc_->SelectedMatch && StepByKey(*event)) {
        AnnounceMoveDone();
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void BoardView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        const int delta = event->angleDelta().y();
        if (delta > 0) {
            ZoomIn();
        } else if (delta < 0) {
            ZoomOut();
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void BoardView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void BoardView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

std::span<const int> BoardView::ZoomSteps() {
    return kZoomSteps;
}

bool BoardView::SetZoom(int percent) {
    int step = kZoomSteps[0];
    for (const int s : kZoomSteps) {
        if (std::abs(s - percent) < std::abs(step - percent)) {
            step = s;
        }
    }
    if (step == zoom_) {
        return false;
    }
    // The board point at the top left of the view stays there.
    const int64_t x = FloorDiv(int64_t{horizontalScrollBar()->value()} * 100, zoom_);
    const int64_t y = FloorDiv(int64_t{verticalScrollBar()->value()} * 100, zoom_);
    zoom_ = step;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(static_cast<int>(x * zoom_ / 100));
    verticalScrollBar()->setValue(static_cast<int>(y * zoom_ / 100));
    viewport()->update();
    emit ZoomChanged(zoom_);
    return true;
}

bool BoardView::ZoomIn() {
    for (const int s : kZoomSteps) {
        if (s > zoom_) {
            return SetZoom(s);
        }
    }
    return false;
}

bool BoardView::ZoomOut() {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < zoom_) {
            return SetZoom(*it);
        }
    }
    return false;
}

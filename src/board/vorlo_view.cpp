#include "vorlo_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "board_painter.h"

CVorloView::CVorloView(CVorloDoc* doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    doc_->AddView(this);
}

CVorloView::~CVorloView() {
    doc_->RemoveView(this);
}

void CVorloView::OnInitialUpdate() {
    if (isVisible()) {
        SetScrollSizes(size());
        extentPending_ = false;
    } else {
        extentPending_ = true;
    }
    viewport()->update();
}

void CVorloView::OnUpdate(int /*hint*/) {
    // Every change of the board redraws it whole.
    viewport()->update();
}

void CVorloView::SetScrollSizes(QSize total) {
    totalSize_ = total;
    UpdateScrollBars();
}

void CVorloView::UpdateScrollBars() {
    const QSize port = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, totalSize_.width() - port.width()));
    horizontalScrollBar()->setPageStep(qMax(1, port.width()));
    horizontalScrollBar()->setSingleStep(qMax(1, port.width() / 10));
    verticalScrollBar()->setRange(0, qMax(0, totalSize_.height() - port.height()));
    verticalScrollBar()->setPageStep(qMax(1, port.height()));
    verticalScrollBar()->setSingleStep(qMax(1, port.height() / 10));
}

QRect CVorloView::VisibleBoardRect() const {
    return QRect(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                 viewport()->size());
}

vorlo::Point32 CVorloView::BoardPointFromViewport(QPoint viewportPos) const {
    return {viewportPos.x() + horizontalScrollBar()->value(),
            viewportPos.y() + verticalScrollBar()->value()};
}

void CVorloView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-offset);
    PaintBoard(painter, doc_->MatchList, doc_->SelectedMatch, event->rect().translated(offset));
}

void CVorloView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CVorloView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (extentPending_) {
        extentPending_ = false;
        SetScrollSizes(size());
    }
}

// The editing commands are the board's; their bodies come with the edit
// commands and the mouse handling.
void CVorloView::OnAddMatch() {}
void CVorloView::OnDeleteMatch() {}
void CVorloView::OnEditCut() {}
void CVorloView::OnEditCopy() {}
void CVorloView::OnEditPaste() {}
void CVorloView::OnEditUndo() {}
void CVorloView::OnRotate90() {}
void CVorloView::OnSampleKidsriddle() {}
void CVorloView::OnSampleRiddle1() {}
void CVorloView::OnSampleRiddle2() {}
void CVorloView::OnSampleRiddle3() {}

bool CVorloView::OnUpdateNeedSelection() const {
    return static_cast<bool>(doc_->SelectedMatch);
}

bool CVorloView::OnUpdateEditUndo() const {
    return doc_->LastAction != vorlo::ActionNone;
}

QString CVorloView::OnUpdateIndicatorMatchCount() const {
    return QStringLiteral("%1 matches").arg(doc_->MatchList.Count());
}

#pragma once

// The board: the picture of the riddle, drawn by the board painter, and the
// view that the editing commands go to while it is the active view.

#include <QAbstractScrollArea>
#include <QSize>
#include <QString>

#include "match.h"
#include "vorlo_doc.h"

class CVorloView : public QAbstractScrollArea, public CDocView {
    Q_OBJECT

public:
    explicit CVorloView(CVorloDoc* doc, QWidget* parent = nullptr);
    ~CVorloView() override;

    CVorloDoc* GetDocument() const { return doc_; }

    // CDocView
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;

    // The scrollable size of the board; it is the view's size at the last
    // initial update and does not follow later resizes.
    void SetScrollSizes(QSize total);
    QSize GetTotalSize() const { return totalSize_; }
    // The part of the board that is on the screen, in board coordinates.
    QRect VisibleBoardRect() const;

    // A point of the view's viewport as a board point: the scroll offset is
    // added, so presses meet the matches where they are drawn.
    vorlo::Point32 BoardPointFromViewport(QPoint viewportPos) const;

    // Command handlers (the board's editing commands).
    void OnAddMatch();
    void OnDeleteMatch();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditUndo();
    void OnRotate90();
    void OnSampleKidsriddle();
    void OnSampleRiddle1();
    void OnSampleRiddle2();
    void OnSampleRiddle3();

    // Update handlers: whether a command is enabled, or an indicator's text.
    bool OnUpdateNeedSelection() const;
    bool OnUpdateEditUndo() const;
    QString OnUpdateIndicatorMatchCount() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateScrollBars();

    CVorloDoc* doc_;
    QSize totalSize_;
    // The initial update came before the view had its size: take the extent
    // when it is first shown.
    bool extentPending_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "board_painter.h"
#include "riddle_document.h"
#include "task_pane.h"

namespace vorlo {

void PaintRiddlePage(QPainter& painter, const QRect& pageRect, const RiddleDocument& doc,
                     const QRect& visibleBoard) {
    if (pageRect.isEmpty()) {
        return;
    }
    // The text, laid out in the page's width with the page's resolution.
    QTextDocument text;
    // Lay the text out with the printer's own metrics, not the screen's.
    text.documentLayout()->setPaintDevice(painter.device());
    text.setDocumentMargin(0);
    QFont font = doc.textDocument()->defaultFont();
    font.setPointSizeF(14.0);
    text.setDefaultFont(font);
    text.setPageSize(QSizeF(pageRect.width(), 1e9));
    RiddleDocument::SetRiddleText(text, doc.plainText());
    // The paragraphs as the text pane shows them.
    FormatRiddleParagraphs(&text, QTextOption::WordWrap);
    text.setTextWidth(pageRect.width());
    const qreal gap = doc.plainText().isEmpty() ? 0.0 : painter.device()->logicalDpiY() / 4.0;
    const qreal textHeight = doc.plainText().isEmpty() ? 0.0 : text.size().height();

    // The board fills what the text leaves, keeping its proportions.
    const QRectF boardArea(pageRect.left(), pageRect.top(), pageRect.width(),
                           qMax(1.0, pageRect.height() - textHeight - gap));
    if (!visibleBoard.isEmpty()) {
        const qreal scale = qMin(boardArea.width() / visibleBoard.width(),
                                 boardArea.height() / visibleBoard.height());
        painter.save();
        painter.translate(boardArea.topLeft());
        painter.scale(scale, scale);
        painter.translate(-visibleBoard.topLeft());
        painter.setClipRect(visibleBoard);
        PaintBoard(painter, doc.MatchList, doc.SelectedMatch, visibleBoard);
        painter.restore();
        const qreal boardBottom = boardArea.top() + visibleBoard.height() * scale;
        painter.save();
        painter.translate(pageRect.left(), boardBottom + gap);
        text.drawContents(&painter);
        painter.restore();
    }
}

bool PrintRiddle(QPagedPaintDevice* device, const RiddleDocument& doc, const QRect& visibleBoard,
                 QString* error) {
    QPainter painter;
    if (!painter.begin(device)) {
        if (error) {
            *error =
                QCoreApplication::translate("RiddlePrinter", "The printer could not be started.");
        }
        return false;
    }
    const QRect page(QPoint(0, 0), QSize(device->width(), device->height()));
    PaintRiddlePage(painter, page, doc, visibleBoard);
    if (!painter.end()) {
        if (error) {
            *error = QCoreApplication::translate("RiddlePrinter", "The page could not be printed.");
        }
        return false;
    }
    return true;
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Draws a tile of the riddle book: the thumbnail, the riddle's name, the
// first line of its task and the player's state. Every tile has the same
// size, so the view lays out thousands without asking each.

#include <QStyledItemDelegate>

class TileDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QSize TileSize(const QFontMetrics& metrics);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

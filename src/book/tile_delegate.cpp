// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

#include "riddle_book_model.h"

namespace {

constexpr int kPadding = 6;
constexpr int kTextWidth = 168;

}  // namespace

QSize TileDelegate::TileSize(const QFontMetrics& metrics) {
    const int width = std::max(kTextWidth, RiddleBookModel::kThumbnailSide) + 2 * kPadding;
    const int height = RiddleBookModel::kThumbnailSide + 3 * metrics.height() + 4 * kPadding;
    return {width, height};
}

QSize TileDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return TileSize(option.fontMetrics);
}

void TileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool selected = opt.state & QStyle::State_Selected;
    const bool active = opt.state & QStyle::State_Active;
    if (selected) {
        painter->fillRect(
            opt.rect,
            opt.palette.brush(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
    }
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.backgroundColor = opt.palette.color(QPalette::Highlight);
        const QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
    }

    const bool enabled = opt.state & QStyle::State_Enabled;
    const QPalette::ColorGroup group = enabled ? QPalette::Normal : QPalette::Disabled;
    const QRect box = opt.rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    const int side = RiddleBookModel::kThumbnailSide;
    const QRect pictureBox(box.left() + (box.width() - side) / 2, box.top(), side, side);

    painter->save();
    const QImage picture = index.data(RiddleBookModel::PictureRole).value<QImage>();
    if (!picture.isNull()) {
        const QSize size = picture.size().scaled(pictureBox.size(), Qt::KeepAspectRatio);
        const QRect target(pictureBox.center().x() - size.width() / 2 + 1,
                           pictureBox.center().y() - size.height() / 2 + 1, size.width(),
                           size.height());
        painter->drawImage(target, picture);
        if (!enabled) {
            painter->fillRect(target, QColor(255, 255, 255, 150));
        }
    } else {
        painter->fillRect(pictureBox, opt.palette.color(group, QPalette::AlternateBase));
    }
    painter->setPen(opt.palette.color(group, QPalette::Mid));
    painter->drawRect(pictureBox.adjusted(0, 0, -1, -1));

    const QColor text = selected ? opt.palette.color(active ? QPalette::Active : QPalette::Inactive,
                                                     QPalette::HighlightedText)
                                 : opt.palette.color(group, QPalette::Text);
    const int line = opt.fontMetrics.height();
    QRect row(box.left(), pictureBox.bottom() + kPadding, box.width(), line);
    // Each line reads in the direction of its own first letter, whatever the
    // interface's: a Hebrew task cut short in the English interface ends
    // with its "…" on the left, where the Hebrew ends.
    auto drawLine = [painter, &row](const QString& shown) {
        QTextOption option(Qt::AlignHCenter | Qt::AlignVCenter);
        option.setTextDirection(shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        painter->drawText(QRectF(row), shown, option);
    };

    QFont bold = opt.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(text);
    drawLine(QFontMetrics(bold).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle,
                                           row.width()));
    painter->setFont(opt.font);
    row.translate(0, line);
    drawLine(opt.fontMetrics.elidedText(index.data(RiddleBookModel::TaskRole).toString(),
                                        Qt::ElideRight, row.width()));
    row.translate(0, line);
    const auto state =
        static_cast<vorlo::TileState>(index.data(RiddleBookModel::StateRole).toInt());
    QColor stateColour = text;
    if (!selected && enabled) {
        if (state == vorlo::TileState::Solved) {
            stateColour = QColor(0x1b, 0x5e, 0x20);
        } else if (state == vorlo::TileState::Started) {
            stateColour = QColor(0x8a, 0x4b, 0x00);
        }
    }
    painter->setPen(stateColour);
    drawLine(opt.fontMetrics.elidedText(index.data(RiddleBookModel::StateTextRole).toString(),
                                        Qt::ElideRight, row.width()));
    painter->restore();
}

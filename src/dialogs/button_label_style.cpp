// SPDX-License-Identifier: GPL-3.0-or-later
#include "button_label_style.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include <utility>

namespace vorlo {

void ButtonLabelStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    const bool mend = element == CE_PushButtonLabel && button &&
                      button->direction == Qt::RightToLeft && !button->icon.isNull() &&
                      !button->text.isEmpty();
    if (!mend) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool was = std::exchange(inMirroredIconLabel_, true);
    QProxyStyle::drawControl(element, option, painter, widget);
    inMirroredIconLabel_ = was;
}

void ButtonLabelStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                    const QPalette& palette, bool enabled, const QString& text,
                                    QPalette::ColorRole textRole) const {
    // The label's rectangle ends where the icon begins: flush right in it
    // means right on the screen.
    if (inMirroredIconLabel_ && (flags & Qt::AlignRight)) {
        flags |= Qt::AlignAbsolute;
    }
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
}

void InstallButtonLabelStyle() {
    if (qobject_cast<ButtonLabelStyle*>(QApplication::style())) {
        return;
    }
    // A proxy of a fresh copy of the style in use: the application owns the
    // proxy, the proxy its base.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new ButtonLabelStyle(base));
}

}  // namespace vorlo

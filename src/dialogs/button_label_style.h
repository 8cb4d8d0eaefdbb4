// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application's style, with one mend: the label of a push button that
// has an icon, right to left. The common style lays the icon and the text
// out for the mirrored button, then asks for the text flush right without
// Qt::AlignAbsolute, so drawing the text mirrors that once more and it runs
// against the button's left edge, clipped there (Cancel and OK in every
// Hebrew dialog). The text of that one label is drawn where it was laid out.

#include <QProxyStyle>

namespace vorlo {

class ButtonLabelStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;

private:
    mutable bool inMirroredIconLabel_ = false;
};

// Makes the application's style a ButtonLabelStyle over the style it has.
void InstallButtonLabelStyle();

}  // namespace vorlo

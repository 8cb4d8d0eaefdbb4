// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace vorlo {

namespace {

// units * base / divisor, rounded to the nearest pixel (halves away from zero).
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    const long long rounded =
        product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    return static_cast<int>(rounded);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width is taken over the 52 Latin letters, rounded to a
    // whole pixel: the measure dialog layouts were designed against.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (alphabet / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const {
    return Scale(units, baseX_, 4);
}

int DialogUnits::ToPixelsY(int units) const {
    return Scale(units, baseY_, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    // Edges are converted rather than sizes, so neighbouring controls that
    // share an edge in units still share it in pixels.
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}

void DialogUnits::Place(QWidget* control, int x, int y, int width, int height) const {
    QRect place = ToPixels(x, y, width, height);
    // A dialog read from right to left is laid out as its mirror image.
    const QWidget* parent = control->parentWidget();
    if (parent && parent->isRightToLeft()) {
        place.moveLeft(parent->width() - place.left() - place.width());
    }
    control->setGeometry(place);
}

}  // namespace vorlo

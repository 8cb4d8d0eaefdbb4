// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Dialog layouts are given in dialog units, which scale with the dialog's
// font: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its character height.

#include <QRect>

class QFont;
class QWidget;

namespace vorlo {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int BaseX() const { return baseX_; }  // average character width in pixels
    int BaseY() const { return baseY_; }  // character height in pixels

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    // Places `control` at the rectangle given in units, measured from the
    // parent's right edge instead of its left when the parent reads from
    // right to left (its width must be set first).
    void Place(QWidget* control, int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

}  // namespace vorlo

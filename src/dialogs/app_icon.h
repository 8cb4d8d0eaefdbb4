// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application icon (a few matches). Its drawing is ":/icons/vorlo.svg";
// the program shows the pictures drawn from it at build time at each size of
// kApplicationIconSizes, ":/icons/vorlo-N.png".

#include <QIcon>
#include <QPixmap>

namespace vorlo {

inline constexpr char kApplicationIconResource[] = ":/icons/vorlo.svg";
inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at one square size in device-independent pixels, from the nearest
// picture drawn at build time.
QPixmap ApplicationIconPixmap(int size, qreal devicePixelRatio = 1.0);

// The icon at the usual sizes, for windows and dialogs.
QIcon ApplicationIcon();

}  // namespace vorlo

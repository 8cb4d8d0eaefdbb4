// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application icon (a few matches), drawn from ":/icons/vorlo.svg".

#include <QIcon>
#include <QPixmap>

namespace vorlo {

inline constexpr char kApplicationIconResource[] = ":/icons/vorlo.svg";

// The icon at one square size in device-independent pixels.
QPixmap ApplicationIconPixmap(int size, qreal devicePixelRatio = 1.0);

// The icon at the usual sizes, for windows and dialogs.
QIcon ApplicationIcon();

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_icon.h"

#include "deferred_file_icon.h"

#include <algorithm>
#include <cmath>

namespace vorlo {

QPixmap ApplicationIconPixmap(int size, qreal devicePixelRatio) {
    const qreal ratio =
        std::isfinite(devicePixelRatio) && devicePixelRatio >= 1.0 && devicePixelRatio <= 8.0
            ? devicePixelRatio
            : 1.0;
    const int side = std::clamp(size, 1, 4096);
    return ApplicationIcon().pixmap(QSize(side, side), ratio);
}

QIcon ApplicationIcon() {
    // Drawn from the SVG at build time: a window shows its icon without
    // parsing SVG, and a size is read only when it is asked for.
    QList<IconFile> files;
    for (const int size : kApplicationIconSizes) {
        files.append({QStringLiteral(":/icons/vorlo-%1.png").arg(size), QSize(size, size)});
    }
    return DeferredFileIcon(files);
}

}  // namespace vorlo

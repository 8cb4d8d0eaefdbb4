// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_icon.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace vorlo {

QPixmap ApplicationIconPixmap(int size, qreal devicePixelRatio) {
    // Drawn here rather than through the SVG icon plugin, so the icon shows
    // even where that plugin is not installed.
    const qreal ratio =
        std::isfinite(devicePixelRatio) && devicePixelRatio >= 1.0 && devicePixelRatio <= 8.0
            ? devicePixelRatio
            : 1.0;
    const int pixels = std::clamp(static_cast<int>(std::lround(size * ratio)), 1, 4096);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer svg(QString::fromLatin1(kApplicationIconResource));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ApplicationIcon() {
    // Drawn from the SVG at build time: a window shows its icon without
    // parsing SVG, and a size is read only when it is asked for.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/vorlo-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace vorlo

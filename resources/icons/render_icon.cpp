// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the application icon's SVG into square PNGs of the given sizes:
//   vorlo_render_icon vorlo.svg OUTDIR 16 32 48 256
// writes OUTDIR/NxN/apps/vorlo.png, the layout of an icon theme.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 4) {
        err << "usage: vorlo_render_icon SVG OUTDIR SIZE...\n";
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        err << "cannot read " << args[1] << "\n";
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            err << "bad size " << args[i] << "\n";
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/vorlo.png"))) {
            err << "cannot write into " << folder << "\n";
            return 1;
        }
    }
    return 0;
}

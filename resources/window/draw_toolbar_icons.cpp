// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the toolbar's SVG icons into PNGs at build time, so that the program
// reads small ready pictures at start instead of parsing SVG:
//   vorlo_draw_toolbar_icons OUTDIR WIDTH HEIGHT ICON.svg...
// writes OUTDIR/ICON.png at WIDTH x HEIGHT and OUTDIR/ICON@2x.png at twice
// that, for screens at 200%.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

bool Draw(QSvgRenderer& svg, const QSize& size, const QString& path) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 5) {
        err << "usage: vorlo_draw_toolbar_icons OUTDIR WIDTH HEIGHT ICON.svg...\n";
        return 2;
    }
    bool widthOk = false;
    bool heightOk = false;
    const QSize size(args[2].toInt(&widthOk), args[3].toInt(&heightOk));
    if (!widthOk || !heightOk || size.width() <= 0 || size.height() <= 0 || size.width() > 1024 ||
        size.height() > 1024) {
        err << "bad size " << args[2] << " x " << args[3] << "\n";
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        err << "cannot make " << args[1] << "\n";
        return 1;
    }
    for (qsizetype i = 4; i < args.size(); ++i) {
        QSvgRenderer svg(args[i]);
        if (!svg.isValid()) {
            err << "cannot read " << args[i] << "\n";
            return 1;
        }
        const QString name = QFileInfo(args[i]).completeBaseName();
        const QString one = out.filePath(name + QStringLiteral(".png"));
        const QString two = out.filePath(name + QStringLiteral("@2x.png"));
        if (!Draw(svg, size, one) || !Draw(svg, size * 2, two)) {
            err << "cannot write " << name << " into " << args[1] << "\n";
            return 1;
        }
    }
    return 0;
}

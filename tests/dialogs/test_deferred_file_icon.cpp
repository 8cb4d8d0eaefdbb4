// SPDX-License-Identifier: GPL-3.0-or-later
// An icon of several files reads each file only when a size it covers is
// asked for, and then behaves as an icon of those files: the picture of the
// screen's scale, greyed when disabled, scaled down to fit.

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "deferred_file_icon.h"

using namespace vorlo;

namespace {

QColor CentreOf(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

}  // namespace

class TestDeferredFileIcon : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        once_ = dir_.filePath(QStringLiteral("pick.png"));
        twice_ = dir_.filePath(QStringLiteral("pick@2x.png"));
        QVERIFY(Write(once_, QSize(16, 15), Qt::red));
        QVERIFY(Write(twice_, QSize(32, 30), Qt::blue));
    }

    // A file changed after the icon was made but before its size was first
    // wanted shows as it is then: it had not been read.
    void eachFileIsReadWhenItsSizeIsFirstWanted_data() {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("100%") << 1.0 << QSize(16, 15) << QColor(Qt::green);
        QTest::newRow("200%") << 2.0 << QSize(32, 30) << QColor(Qt::yellow);
    }
    void eachFileIsReadWhenItsSizeIsFirstWanted() {
        QFETCH(qreal, scale);
        QFETCH(QSize, pixels);
        QFETCH(QColor, colour);
        const QIcon icon = Icon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 15), QSize(32, 30)}));
        QVERIFY(Write(once_, QSize(16, 15), Qt::green));
        QVERIFY(Write(twice_, QSize(32, 30), Qt::yellow));
        const QPixmap shown = icon.pixmap(QSize(16, 15), scale);
        QCOMPARE(shown.size(), pixels);
        QCOMPARE(CentreOf(shown), colour);
        // Once read, a file is not read again.
        QVERIFY(Write(scale > 1 ? twice_ : once_, pixels, Qt::black));
        QCOMPARE(CentreOf(icon.pixmap(QSize(16, 15), scale)), colour);
    }

    // Painting takes the picture of the painted device's scale, as a toolbar
    // button does.
    void paintingChoosesThePictureOfTheDevicesScale_data() {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("100%") << 1.0 << QColor(Qt::red);
        QTest::newRow("200%") << 2.0 << QColor(Qt::blue);
    }
    void paintingChoosesThePictureOfTheDevicesScale() {
        QFETCH(qreal, scale);
        QFETCH(QColor, colour);
        const QIcon icon = Icon();
        QImage canvas(QSize(16, 15) * scale, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(scale);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            icon.paint(&painter, QRect(0, 0, 16, 15));
        }
        QCOMPARE(canvas.pixelColor(canvas.width() / 2, canvas.height() / 2), colour);
    }

    void sizesModesAndFaults() {
        const QIcon icon = Icon();
        // Larger than any file: the largest, at its own size.
        QCOMPARE(icon.actualSize(QSize(64, 64)), QSize(32, 30));
        // Smaller than every file: scaled down to fit, keeping its shape.
        const QSize fitted = QSize(16, 15).scaled(8, 8, Qt::KeepAspectRatio);
        QCOMPARE(icon.actualSize(QSize(8, 8)), fitted);
        QCOMPARE(icon.pixmap(QSize(8, 8), 1.0).size(), fitted);
        // Disabled is drawn from the ordinary picture, greyed.
        const QColor grey = CentreOf(icon.pixmap(QSize(16, 15), 1.0, QIcon::Disabled));
        QVERIFY(grey.isValid());
        QVERIFY(grey != QColor(Qt::red));
        // A file that cannot be read gives no picture, and nothing breaks.
        const QIcon missing =
            DeferredFileIcon({{dir_.filePath(QStringLiteral("gone.png")), {16, 16}}});
        QVERIFY(!missing.isNull());
        QVERIFY(missing.pixmap(QSize(16, 16), 1.0).isNull());
        // No usable files: a null icon.
        QVERIFY(DeferredFileIcon({}).isNull());
        QVERIFY(DeferredFileIcon({{QString(), {16, 16}}, {once_, {0, 0}}}).isNull());
        // A copy is the same icon.
        const QIcon copy = icon;
        QCOMPARE(CentreOf(copy.pixmap(QSize(16, 15), 2.0)), QColor(Qt::blue));
    }

private:
    static bool Write(const QString& path, QSize size, QColor colour) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        return image.save(path, "PNG");
    }

    QIcon Icon() const { return DeferredFileIcon({{once_, {16, 15}}, {twice_, {32, 30}}}); }

    QTemporaryDir dir_;
    QString once_;
    QString twice_;
};

QTEST_MAIN(TestDeferredFileIcon)
#include "test_deferred_file_icon.moc"

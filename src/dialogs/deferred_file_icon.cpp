// SPDX-License-Identifier: GPL-3.0-or-later
#include "deferred_file_icon.h"

#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace vorlo {

namespace {

class DeferredFileIconEngine final : public QIconEngine {
public:
    explicit DeferredFileIconEngine(const QList<IconFile>& files) {
        for (const IconFile& file : files) {
            if (!file.path.isEmpty() && file.size.isValid() && !file.size.isEmpty()) {
                files_.append({file, false});
            }
        }
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio =
            painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
        Read(ScaledSize(rect.size(), ratio));
        read_.paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        Read(size);
        return read_.pixmap(size, 1.0, mode, state);
    }

    // `size` is in device pixels; the pictures read remember the scale they
    // were drawn for ("@2x"), and the icon prefers the one of `scale`.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        Read(size);
        if (!std::isfinite(scale) || scale <= 1.0) {
            return read_.pixmap(size, 1.0, mode, state);
        }
        const QSize logical(static_cast<int>(std::lround(size.width() / scale)),
                            static_cast<int>(std::lround(size.height() / scale)));
        return read_.pixmap(logical, scale, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const Entry* best = BestFor(size);
        if (best == nullptr) {
            return {};
        }
        // Never larger than asked: a bigger picture is scaled down to fit.
        QSize actual = best->file.size;
        if (actual.width() > size.width() || actual.height() > size.height()) {
            actual.scale(size, Qt::KeepAspectRatio);
        }
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const Entry& entry : files_) {
                sizes.append(entry.file.size);
            }
        }
        return sizes;
    }

    bool isNull() override { return files_.isEmpty(); }

    QString key() const override { return QStringLiteral("vorlo-deferred-files"); }

    QIconEngine* clone() const override { return new DeferredFileIconEngine(*this); }

private:
    struct Entry {
        IconFile file;
        bool read = false;
    };

    static QSize ScaledSize(QSize size, qreal ratio) {
        if (!std::isfinite(ratio) || ratio <= 1.0) {
            return size;
        }
        const qreal clamped = std::min(ratio, 16.0);
        return QSize(static_cast<int>(std::lround(size.width() * clamped)),
                     static_cast<int>(std::lround(size.height() * clamped)));
    }

    // The smallest file at least as large as `size` both ways; failing that,
    // the largest file.
    Entry* BestFor(QSize size) {
        Entry* covering = nullptr;
        Entry* largest = nullptr;
        const auto area = [](QSize s) { return qint64(s.width()) * s.height(); };
        for (Entry& entry : files_) {
            const QSize s = entry.file.size;
            if (s.width() >= size.width() && s.height() >= size.height() &&
                (covering == nullptr || area(s) < area(covering->file.size))) {
                covering = &entry;
            }
            if (largest == nullptr || area(s) > area(largest->file.size)) {
                largest = &entry;
            }
        }
        return covering != nullptr ? covering : largest;
    }

    // Hands the best file for `size` to the icon of the pictures read so
    // far, which then chooses among them, scales and greys as Qt's icons do.
    void Read(QSize size) {
        Entry* best = BestFor(size);
        if (best != nullptr && !best->read) {
            best->read = true;
            read_.addFile(best->file.path, best->file.size);
        }
    }

    QList<Entry> files_;
    QIcon read_;
};

}  // namespace

QIcon DeferredFileIcon(const QList<IconFile>& files) {
    return QIcon(new DeferredFileIconEngine(files));
}

}  // namespace vorlo

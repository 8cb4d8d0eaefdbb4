// SPDX-License-Identifier: GPL-3.0-or-later
// The riddle book on a folder of 10,000 riddles (and one damaged file), made
// in a temporary folder. Prints, as key=value lines:
//   baseline_s        listing the folder's names (QDir::entryList) and
//                     drawing 30 thumbnails, one after the other
//   first_tiles_s     from choosing the chapter to its first screen of
//                     tiles painted with their thumbnails
//   longest_gap_ms    the longest gap between the ticks of a 5 ms timer
//                     while the rest of the chapter is read
//   window_rss_kb     resident memory with the main window shown
//   book_rss_kb       the same with the whole chapter read and scrolled
//                     through from top to bottom
//   damaged_greyed    1 when the damaged file's tile is greyed with a reason
// Run it on the offscreen platform with home, configuration, data and cache
// folders of its own (bench/report.py does).
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>

#include "board_render.h"
#include "book_window.h"
#include "main_window.h"
#include "progress_store.h"
#include "riddle_book_model.h"
#include "riddle_file.h"
#include "settings_store.h"

namespace {

constexpr int kRiddles = 10000;
constexpr int kBaselinePictures = 30;

long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1)
                .trimmed()
                .split(' ')
                .first()
                .toLong();
        }
    }
    return -1;
}

// Riddles of 12 to 20 matches, each a little different, with a task line.
void MakeRiddles(const QString& folder) {
    for (int i = 0; i < kRiddles; ++i) {
        vorlo::MatchList matches;
        const int count = 12 + i % 9;
        for (int m = 0; m < count; ++m) {
            matches.Append(vorlo::Match(100 + 76 * (m % 5), 100 + 76 * (m / 5) + i % 7,
                                        (m + i) % 3 == 0 ? 90 : 0));
        }
        const std::string bytes = vorlo::SerializeRiddle(
            matches, "Move " + std::to_string(1 + i % 3) + " matches to make squares");
        std::ofstream(
            QFile::encodeName(folder + QStringLiteral("/riddle-%1.vrl").arg(i, 5, 10, QChar(u'0')))
                .toStdString(),
            std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::ofstream(QFile::encodeName(folder + QStringLiteral("/riddle-damaged.vrl")).toStdString(),
                  std::ios::binary)
        .write("\x09\x00\x00\x00\x01", 5);
}

double Baseline(const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.vrl")}, QDir::Files, QDir::Name);
    for (int i = 0; i < kBaselinePictures && i < names.size(); ++i) {
        const vorlo::RiddleReadResult read =
            vorlo::ReadRiddleFile(QFile::encodeName(folder + u'/' + names.at(i)).toStdString());
        const vorlo::PictureFrame frame = vorlo::FramePicture(
            read.riddle.matches, 10,
            QSize(RiddleBookModel::kThumbnailSide, RiddleBookModel::kThumbnailSide));
        const QImage picture = vorlo::RenderImage(read.riddle.matches, {}, frame);
        if (picture.isNull()) {
            return -1;
        }
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

// Runs the event loop until `done` holds (or a minute has passed).
template <class Done>
bool WaitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 60000) {
            return false;
        }
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return 1;
    }
    const QString folder = scratch.filePath(QStringLiteral("riddles"));
    QDir().mkpath(folder);
    MakeRiddles(folder);
    // The baseline reads the files as the book will: both warm.
    Baseline(folder);
    const double baseline = Baseline(folder);
    vorlo::SettingsStore().SetBookFolders({folder});
    MainWindow window;
    window.show();
    WaitFor([&] { return window.FirstPaintSeen(); });
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
    const long windowRss = StatusKilobytes("VmRSS");

    BookWindow book(vorlo::TilePlaces{vorlo::ProgressStore::DefaultFolder(),
                                      scratch.filePath(QStringLiteral("cache"))});
    book.show();
    WaitFor([&] { return !book.model()->isLoading(); });
    int chapter = -1;
    for (size_t i = 0; i < book.chapters().size(); ++i) {
        if (book.chapters()[i].folder == QDir::cleanPath(folder)) {
            chapter = static_cast<int>(i);
        }
    }
    if (chapter < 0) {
        return 1;
    }

    // The first screen: painted with every visible thumbnail.
    bool painted = false;
    struct PaintSpy : QObject {
        bool* painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                *painted = true;
            }
            return false;
        }
    } spy;
    spy.painted = &painted;
    book.tiles()->viewport()->installEventFilter(&spy);

    qint64 longestGap = 0;
    QElapsedTimer tick;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, tick.restart()); });

    QElapsedTimer clock;
    clock.start();
    tick.start();
    ticker.start();
    book.showChapter(chapter);
    bool drawn = false;
    WaitFor([&] {
        if (!drawn && book.model()->visibleRowsDrawn() && book.model()->rowCount() > 0) {
            drawn = true;
            painted = false;
            book.tiles()->viewport()->update();
        }
        return drawn && painted;
    });
    const double firstTiles = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    WaitFor([&] { return !book.model()->isLoading(); });
    ticker.stop();

    // Through the whole chapter, a screen at a time, each drawn.
    QScrollBar* bar = book.tiles()->verticalScrollBar();
    const int steps = 40;
    for (int i = 1; i <= steps; ++i) {
        bar->setValue(bar->maximum() * i / steps);
        QApplication::processEvents();
        WaitFor([&] { return book.model()->visibleRowsDrawn(); });
    }
    const long bookRss = StatusKilobytes("VmRSS");

    int greyed = 0;
    for (int row = 0; row < book.model()->rowCount(); ++row) {
        const QModelIndex index = book.model()->index(row);
        if (index.data(Qt::DisplayRole).toString() == QLatin1String("riddle-damaged")) {
            greyed = !(index.flags() & Qt::ItemIsEnabled) &&
                     !index.data(Qt::ToolTipRole).toString().isEmpty();
        }
    }
    std::printf(
        "baseline_s=%.6f\nfirst_tiles_s=%.6f\nlongest_gap_ms=%lld\nwindow_rss_kb=%ld\n"
        "book_rss_kb=%ld\ndamaged_greyed=%d\nrows=%d\n",
        baseline, firstTiles, static_cast<long long>(longestGap), windowRss, bookRss, greyed,
        book.model()->rowCount());
    return 0;
}

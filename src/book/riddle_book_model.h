// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tiles of one chapter of the riddle book, one row a riddle file.
//
// setFolder lists the file names at once; the riddles, the player's states
// and the thumbnails are read in the background (Qt Concurrent, at most two
// batches at a time), the rows the view shows first (setVisibleRows), then
// the rest in order, so the first screen of tiles is drawn without waiting
// for a large folder. Thumbnails are held in a cache bounded by bytes and
// read again from the disk cache when a tile comes back into view; a
// chapter of thousands keeps its names, states and task lines, and no more
// than the cache's pictures.

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QThreadPool>

#include <vector>

#include "tile_loader.h"

class RiddleBookModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        PathRole = Qt::UserRole + 1,
        TaskRole,       // the first line of the task text
        StateRole,      // vorlo::TileState as int
        StateTextRole,  // TileTexts::State
        MovesRole,      // matches moved in the kept game
        HintsRole,      // hints used in it
        PictureRole,    // the thumbnail (QImage), null until drawn
    };

    static constexpr int kThumbnailSide = 112;
    // About 380 thumbnails of the full side, several screens of tiles.
    static constexpr qint64 kPictureCacheBytes = qint64{20} << 20;

    explicit RiddleBookModel(vorlo::TilePlaces places, QObject* parent = nullptr);
    ~RiddleBookModel() override;

    // Shows the riddles of `folder` (none for an empty folder name): the
    // names are listed at once, and the rows come with a reset just after.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The rows the view shows now: their riddles and thumbnails are read
    // before any other.
    void setVisibleRows(const QList<int>& rows);
    // The player's game of riddle `key` changed: the tiles of that riddle
    // read their state again.
    void refreshKey(const QString& key);

    // How many rows have been read, of rowCount().
    int readCount() const { return readCount_; }
    bool isLoading() const { return listing_ || readCount_ < rowCount(); }
    // Whether every visible row has its thumbnail (or cannot have one).
    bool visibleRowsDrawn() const;

signals:
    // After each batch read: `read` of `total` rows.
    void progress(int read, int total);

private:
    struct Tile {
        QString path;
        QString name;
        vorlo::TileInfo info;
        bool reading = false;
        bool drawing = false;
        bool stale = false;  // the state is to be read again
    };
    struct Job {
        int row;
        vorlo::TileRequest request;
    };
    void showPaths(const QStringList& paths);
    void pump();
    std::vector<Job> nextBatch();
    void apply(quint64 generation, const std::vector<Job>& jobs,
               const std::vector<vorlo::TileResult>& results);
    QString pictureKey(const Tile& tile) const;
    bool needsPicture(int row) const;

    vorlo::TilePlaces places_;
    QString folder_;
    std::vector<Tile> tiles_;
    QList<int> visible_;
    size_t cursor_ = 0;  // the next row read in order
    int readCount_ = 0;
    int inFlight_ = 0;
    bool anyStale_ = false;
    bool listing_ = false;
    quint64 generation_ = 0;
    mutable QCache<QString, QImage> pictures_;
    QThreadPool pool_;
};

// The book's filter: every riddle, or only those not solved yet.
class UnsolvedFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setOnlyUnsolved(bool only);
    bool onlyUnsolved() const { return onlyUnsolved_; }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    bool onlyUnsolved_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_book_model.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include "book_chapters.h"
#include "shown_name.h"

using vorlo::TileResult;
using vorlo::TileState;

namespace {

constexpr int kMaxJobs = 2;
constexpr int kBatchRows = 6;

}  // namespace

RiddleBookModel::RiddleBookModel(vorlo::TilePlaces places, QObject* parent)
    : QAbstractListModel(parent), places_(std::move(places)) {
    pictures_.setMaxCost(kPictureCacheBytes);
    pool_.setMaxThreadCount(kMaxJobs);
}

RiddleBookModel::~RiddleBookModel() {
    ++generation_;
    pool_.clear();
    pool_.waitForDone();
}

void RiddleBookModel::setFolder(const QString& folder) {
    beginResetModel();
    ++generation_;
    pool_.clear();  // batches not begun yet are of the old folder
    inFlight_ = 0;
    folder_ = folder;
    tiles_.clear();
    visible_.clear();
    cursor_ = 0;
    readCount_ = 0;
    anyStale_ = false;
    listing_ = true;
    endResetModel();
    // The rows come in a turn of the event loop of their own, so that the
    // listing and the view's new layout never hold up input together.
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_,
         paths = folder.isEmpty() ? QStringList() : vorlo::BookRiddlePaths(folder)] {
            if (generation == generation_) {
                showPaths(paths);
            }
        },
        Qt::QueuedConnection);
}

void RiddleBookModel::showPaths(const QStringList& paths) {
    beginResetModel();
    listing_ = false;
    tiles_.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths) {
        Tile tile;
        tile.path = path;
        // The file's name without ".vrl", which every listed name ends in.
        tile.name = path.mid(path.lastIndexOf(u'/') + 1).chopped(4);
        tiles_.push_back(std::move(tile));
    }
    endResetModel();
    emit progress(0, rowCount());
    pump();
}

int RiddleBookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tiles_.size());
}

QString RiddleBookModel::pictureKey(const Tile& tile) const {
    return tile.info.key;
}

QVariant RiddleBookModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Tile& tile = tiles_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return vorlo::ShownName(tile.name);
        case Qt::ToolTipRole:
            if (tile.info.state == TileState::Unreadable) {
                return tile.info.reason;
            }
            if (!tile.info.setAside.isEmpty()) {
                return vorlo::ShownName(tile.path) + u'\n' + tile.info.setAside;
            }
            return vorlo::ShownName(tile.path);
        case Qt::AccessibleTextRole:
            return vorlo::TileTexts::Accessible(vorlo::ShownName(tile.name), tile.info);
        case PathRole:
            return tile.path;
        case TaskRole:
            return tile.info.task;
        case StateRole:
            return static_cast<int>(tile.info.state);
        case StateTextRole:
            return vorlo::TileTexts::State(tile.info);
        case MovesRole:
            return tile.info.moves;
        case HintsRole:
            return tile.info.hints;
        case PictureRole:
            if (!tile.info.key.isEmpty()) {
                if (const QImage* picture = pictures_.object(pictureKey(tile))) {
                    return *picture;
                }
            }
            return QImage();
        default:
            return {};
    }
}

Qt::ItemFlags RiddleBookModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return Qt::NoItemFlags;
    }
    // A file that cannot be read is shown greyed and never opened.
    if (tiles_[static_cast<size_t>(index.row())].info.state == TileState::Unreadable) {
        return Qt::ItemNeverHasChildren;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RiddleBookModel::setVisibleRows(const QList<int>& rows) {
    visible_.clear();
    for (const int row : rows) {
        if (row >= 0 && row < rowCount()) {
            visible_.append(row);
        }
    }
    pump();
}

void RiddleBookModel::refreshKey(const QString& key) {
    if (key.isEmpty()) {
        return;
    }
    for (Tile& tile : tiles_) {
        if (tile.info.key == key) {
            tile.stale = true;
            anyStale_ = true;
        }
    }
    pump();
}

bool RiddleBookModel::needsPicture(int row) const {
    const Tile& tile = tiles_[static_cast<size_t>(row)];
    if (tile.drawing || tile.info.state == TileState::Unreadable) {
        return false;
    }
    return tile.info.key.isEmpty() || !pictures_.contains(pictureKey(tile));
}

bool RiddleBookModel::visibleRowsDrawn() const {
    for (const int row : visible_) {
        const Tile& tile = tiles_[static_cast<size_t>(row)];
        if (tile.info.state == TileState::Unreadable) {
            continue;
        }
        if (tile.info.state == TileState::Unknown || tile.drawing ||
            !pictures_.contains(pictureKey(tile))) {
            return false;
        }
    }
    return true;
}

std::vector<RiddleBookModel::Job> RiddleBookModel::nextBatch() {
    std::vector<Job> batch;
    const auto take = [&](int row, bool info, bool picture) {
        Tile& tile = tiles_[static_cast<size_t>(row)];
        vorlo::TileRequest request;
        request.path = tile.path;
        request.key = tile.info.key;
        request.wantInfo = info;
        request.wantPicture = picture;
        request.side = kThumbnailSide;
        tile.reading = tile.reading || info;
        tile.drawing = tile.drawing || picture;
        if (info) {
            tile.stale = false;
        }
        batch.push_back({row, request});
    };
    const auto wantsInfo = [](const Tile& tile) {
        return !tile.reading && (tile.info.state == TileState::Unknown || tile.stale);
    };
    // The rows on the screen first, with their pictures.
    for (const int row : visible_) {
        if (static_cast<int>(batch.size()) >= kBatchRows) {
            return batch;
        }
        const bool info = wantsInfo(tiles_[static_cast<size_t>(row)]);
        const bool picture = needsPicture(row);
        if (info || picture) {
            take(row, info, picture);
        }
    }
    // A game kept elsewhere in the chapter.
    if (anyStale_) {
        anyStale_ = false;
        for (size_t row = 0; row < tiles_.size(); ++row) {
            if (tiles_[row].stale) {
                if (batch.size() < kBatchRows && wantsInfo(tiles_[row])) {
                    take(static_cast<int>(row), true, false);
                } else {
                    anyStale_ = true;  // one more batch, or a read of it to wait for
                }
            }
        }
    }
    // Then the rest in order, without pictures: they are drawn when shown.
    while (cursor_ < tiles_.size() && static_cast<int>(batch.size()) < kBatchRows) {
        if (wantsInfo(tiles_[cursor_])) {
            take(static_cast<int>(cursor_), true, false);
        }
        ++cursor_;
    }
    return batch;
}

void RiddleBookModel::pump() {
    while (inFlight_ < kMaxJobs) {
        std::vector<Job> batch = nextBatch();
        if (batch.empty()) {
            return;
        }
        ++inFlight_;
        const quint64 generation = generation_;
        QtConcurrent::run(&pool_, [batch, places = places_] {
            std::vector<TileResult> results;
            results.reserve(batch.size());
            for (const Job& job : batch) {
                results.push_back(vorlo::LoadTile(job.request, places));
            }
            return results;
        }).then(this, [this, generation, batch](const std::vector<TileResult>& results) {
            apply(generation, batch, results);
        });
    }
}

void RiddleBookModel::apply(quint64 generation, const std::vector<Job>& jobs,
                            const std::vector<TileResult>& results) {
    if (generation != generation_) {
        return;  // a batch of a folder no longer shown
    }
    --inFlight_;
    for (size_t i = 0; i < jobs.size() && i < results.size(); ++i) {
        const int row = jobs[i].row;
        Tile& tile = tiles_[static_cast<size_t>(row)];
        const TileResult& result = results[i];
        if (jobs[i].request.wantInfo) {
            tile.reading = false;
        }
        if (jobs[i].request.wantPicture) {
            tile.drawing = false;
        }
        if (result.hasInfo) {
            if (tile.info.state == TileState::Unknown) {
                ++readCount_;
            }
            tile.info = result.info;
        }
        if (!result.picture.isNull() && !tile.info.key.isEmpty()) {
            const qint64 bytes = result.picture.sizeInBytes();
            pictures_.insert(pictureKey(tile), new QImage(result.picture), bytes > 0 ? bytes : 1);
        }
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed);
    }
    emit progress(readCount_, rowCount());
    pump();
}

void UnsolvedFilter::setOnlyUnsolved(bool only) {
    if (only == onlyUnsolved_) {
        return;
    }
    onlyUnsolved_ = only;
    invalidateFilter();
}

bool UnsolvedFilter::filterAcceptsRow(int row, const QModelIndex& parent) const {
    if (!onlyUnsolved_) {
        return true;
    }
    const QModelIndex index = sourceModel()->index(row, 0, parent);
    return index.data(RiddleBookModel::StateRole).toInt() != static_cast<int>(TileState::Solved);
}

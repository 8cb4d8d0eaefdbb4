// SPDX-License-Identifier: GPL-3.0-or-later
#include "tile_loader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include "board_render.h"
#include "progress_store.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "stick_pairing.h"

namespace vorlo {

namespace {

// A thumbnail of the largest side is well below this; anything larger in
// the cache is not ours.
constexpr qint64 kMaxThumbnailBytes = 4 << 20;
constexpr int kThumbnailMargin = 10;
constexpr qsizetype kMaxTaskChars = 200;

QString FirstLine(const std::string& utf8) {
    const size_t end = utf8.find('\n');
    QString line =
        QString::fromUtf8(utf8.data(),
                          static_cast<qsizetype>(end == std::string::npos ? utf8.size() : end))
            .trimmed();
    if (line.size() > kMaxTaskChars) {
        line.truncate(kMaxTaskChars);
        line.append(QChar(0x2026));
    }
    return line;
}

QImage CachedPicture(const QString& file) {
    const OwnFileRead read = ReadOwnFile(file, kMaxThumbnailBytes);
    if (read.state != OwnFileState::Read) {
        return {};
    }
    return QImage::fromData(read.bytes, "PNG");
}

void KeepPicture(const QString& cacheFolder, const QString& file, const QImage& picture) {
    if (!QDir().mkpath(cacheFolder)) {
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QImageWriter(&buffer, "png").write(picture)) {
        // A cache that cannot be written only costs drawing again.
        WriteOwnFileAtomically(file, bytes.toStdString(), nullptr);
    }
}

TileInfo StateOf(const Riddle& riddle, const TilePlaces& places) {
    TileInfo info;
    info.key = ProgressStore::KeyOf(riddle.matches, riddle.text);
    info.task = FirstLine(riddle.text);
    info.state = TileState::New;
    const ProgressStore store(places.progressFolder);
    const ProgressStore::Loaded kept = store.Load(info.key, riddle.matches);
    if (kept.status == ProgressStore::Status::SetAside) {
        // Said once: the next reading finds no record.
        info.setAside = kept.message;
    }
    if (kept.status != ProgressStore::Status::Loaded) {
        return info;
    }
    const GameProgress& game = kept.progress;
    info.hints = game.hintsUsed;
    if (game.solved) {
        info.state = TileState::Solved;
    } else if (!game.steps.empty() || game.hintsUsed > 0) {
        info.state = TileState::Started;
    }
    if (info.state != TileState::New) {
        const StickIndex start(riddle.matches);
        info.moves =
            static_cast<uint32_t>(MovedCount(start, ProgressStore::Replay(riddle.matches, game)));
    }
    return info;
}

}  // namespace

QString ThumbnailPath(const QString& cacheFolder, const QString& key, int side) {
    return cacheFolder + u'/' + key + u'-' + QString::number(side) + QStringLiteral(".png");
}

QString DefaultThumbnailFolder() {
    QString home = qEnvironmentVariable("XDG_CACHE_HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        home = QDir::homePath() + QStringLiteral("/.cache");
    }
    return QDir::cleanPath(home) + QStringLiteral("/vorlo/book");
}

TileResult LoadTile(const TileRequest& request, const TilePlaces& places) {
    TileResult result;
    if (!request.wantInfo && request.wantPicture && !request.key.isEmpty()) {
        result.picture =
            CachedPicture(ThumbnailPath(places.cacheFolder, request.key, request.side));
        if (!result.picture.isNull()) {
            return result;
        }
    }
    RiddleReadResult read = ReadRiddleFile(QFile::encodeName(request.path).toStdString());
    result.hasInfo = true;
    if (!read.ok) {
        result.info.state = TileState::Unreadable;
        result.info.reason = RiddleReadErrorText(read);
        return result;
    }
    result.info = StateOf(read.riddle, places);
    if (!request.wantPicture) {
        return result;
    }
    const QString file = ThumbnailPath(places.cacheFolder, result.info.key, request.side);
    result.picture = CachedPicture(file);
    if (result.picture.isNull()) {
        const MatchList& matches = read.riddle.matches;
        const PictureFrame frame =
            FramePicture(matches, kThumbnailMargin, QSize(request.side, request.side));
        result.picture = RenderImage(matches, {}, frame);
        if (!result.picture.isNull()) {
            KeepPicture(places.cacheFolder, file, result.picture);
        }
    }
    return result;
}

QString TileTexts::State(const TileInfo& info) {
    switch (info.state) {
        case TileState::Unknown:
            return QString();
        case TileState::Unreadable:
            return tr("Cannot be read");
        case TileState::New:
            return info.setAside.isEmpty() ? tr("New") : tr("New: game set aside");
        case TileState::Started:
            return info.moves == 1 ? tr("Started, 1 move")
                                   : tr("Started, %1 moves").arg(info.moves);
        case TileState::Solved: {
            const QString moves =
                info.moves == 1 ? tr("Solved in 1 move") : tr("Solved in %1 moves").arg(info.moves);
            return info.hints == 0   ? moves
                   : info.hints == 1 ? tr("%1, 1 hint").arg(moves)
                                     : tr("%1, %2 hints").arg(moves).arg(info.hints);
        }
    }
    return QString();
}

QString TileTexts::Accessible(const QString& name, const TileInfo& info) {
    switch (info.state) {
        case TileState::Unknown:
            return name;
        case TileState::Unreadable:
            return tr("%1, cannot be read: %2").arg(name, info.reason);
        case TileState::New:
            return info.setAside.isEmpty() ? tr("%1, new").arg(name)
                                           : tr("%1, new: %2").arg(name, info.setAside);
        case TileState::Started:
            return info.moves == 1 ? tr("%1, started, 1 move").arg(name)
                                   : tr("%1, started, %2 moves").arg(name).arg(info.moves);
        case TileState::Solved: {
            const QString solved = info.moves == 1
                                       ? tr("%1, solved in 1 move").arg(name)
                                       : tr("%1, solved in %2 moves").arg(name).arg(info.moves);
            return info.hints == 0   ? solved
                   : info.hints == 1 ? tr("%1, with 1 hint").arg(solved)
                                     : tr("%1, with %2 hints").arg(solved).arg(info.hints);
        }
    }
    return name;
}

}  // namespace vorlo

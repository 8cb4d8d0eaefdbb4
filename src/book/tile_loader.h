// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a tile of the riddle book shows of one riddle file, read off the GUI
// thread: whether it can be read (and why not), the first line of its task,
// the player's state from the progress store, and its thumbnail, drawn by
// the board painter as everywhere and kept on disk by the riddle's content.
//
// The thumbnails lie in the cache folder as <key>-<side>.png, the key being
// ProgressStore::KeyOf of the riddle: a renamed or copied riddle finds its
// picture, an edited one gets a new one. Each is written through the one
// atomic writer, so a half-written picture is never read.

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <cstdint>

namespace vorlo {

enum class TileState {
    Unknown,     // not read yet
    New,         // never played
    Started,     // played, not solved
    Solved,      // solved in play
    Unreadable,  // the file cannot be read as a riddle
};

struct TilePlaces {
    QString progressFolder;  // ProgressStore's folder
    QString cacheFolder;     // where the thumbnails are kept
};

struct TileRequest {
    QString path;
    QString key;              // known from an earlier read, or empty
    bool wantInfo = true;     // read the riddle and the player's state
    bool wantPicture = true;  // the thumbnail
    int side = 0;             // the thumbnail's longest side
};

struct TileInfo {
    TileState state = TileState::Unknown;
    QString reason;  // why the file cannot be read, when Unreadable
    // Why the riddle's kept game is not used, when reading the tile set it
    // aside; the riddle then counts as new.
    QString setAside;
    QString key;
    QString task;  // the first line of the task text
    uint32_t moves = 0;
    uint32_t hints = 0;
};

struct TileResult {
    bool hasInfo = false;
    TileInfo info;
    QImage picture;  // null when none was asked for or the file cannot be read
};

// Reads what `request` asks for; safe to run on any thread.
TileResult LoadTile(const TileRequest& request, const TilePlaces& places);

// The thumbnail's file in the cache folder.
QString ThumbnailPath(const QString& cacheFolder, const QString& key, int side);

// <cache home>/vorlo/book, the cache home being $XDG_CACHE_HOME when it is
// an absolute path, else ~/.cache.
QString DefaultThumbnailFolder();

// The texts a tile shows and reads out.
class TileTexts {
    Q_DECLARE_TR_FUNCTIONS(RiddleBook)

public:
    // "New", "Started, 3 moves", "Solved in 2 moves, 1 hint"; "New: game set
    // aside" when reading the tile set its kept game aside.
    static QString State(const TileInfo& info);
    // For screen readers: "NAME, new", "NAME, started, 3 moves",
    // "NAME, solved in 2 moves", "NAME, cannot be read: REASON", "NAME, new:
    // WHY THE KEPT GAME WAS SET ASIDE".
    static QString Accessible(const QString& name, const TileInfo& info);
};

}  // namespace vorlo

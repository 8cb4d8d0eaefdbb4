// SPDX-License-Identifier: GPL-3.0-or-later
#include "next_unsolved.h"

#include <QDir>
#include <QFileInfo>

namespace vorlo {

QString NextUnsolvedRiddle(const std::vector<BookChapter>& chapters, const QString& current,
                           const TilePlaces& places) {
    QStringList book;
    for (const BookChapter& chapter : chapters) {
        book.append(BookRiddlePaths(chapter.folder));
    }
    const QString here =
        current.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(current).absoluteFilePath());
    const qsizetype at = here.isEmpty() ? -1 : book.indexOf(here);
    const qsizetype count = book.size();
    // After the current riddle round to just before it; from the start
    // when it is not in the book.
    for (qsizetype step = 1; step <= count; ++step) {
        const qsizetype index = at < 0 ? step - 1 : (at + step) % count;
        if (index == at) {
            break;
        }
        TileRequest request;
        request.path = book.at(index);
        request.wantPicture = false;
        const TileResult tile = LoadTile(request, places);
        if (tile.info.state == TileState::New || tile.info.state == TileState::Started) {
            return book.at(index);
        }
    }
    return QString();
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The chapters of the riddle book and the riddles of each: the samples of
// the installation folder, the generated families beside them, the player's
// own folder under the data home and the folders the player added. A
// chapter is a folder; its riddles are its ".vrl" files by name, solution
// files left out (they are answers, not riddles).

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

struct BookChapter {
    enum class Kind { Samples, Family, Mine, Added };
    Kind kind = Kind::Added;
    QString title;
    QString folder;  // absolute, without a trailing separator
    // Only the folders the player added can be taken out of the book.
    bool Removable() const { return kind == Kind::Added; }
};

class BookChapters {
    Q_DECLARE_TR_FUNCTIONS(RiddleBook)

public:
    // The chapters in the book's order. `installationFolder` holds the
    // samples (none when empty), and riddles/equations and riddles/squares
    // the generated families, each a chapter only when its folder is there;
    // "My riddles" is <dataHome>/vorlo/riddles, whether made yet or not;
    // `added` follow in their order, each once, a folder already in the
    // book not again.
    static std::vector<BookChapter> List(const QString& installationFolder, const QString& dataHome,
                                         const QStringList& added);

    // The chapters of this user: the recorded installation folder, the
    // data home and the added folders kept in the settings.
    static std::vector<BookChapter> ForUser();

    // The player's own folder, <dataHome>/vorlo/riddles.
    static QString MyRiddlesFolder(const QString& dataHome);
};

// The riddle files of `folder` by name, each as the path folder/name:
// files (or anything else that is no folder) ending in ".vrl" in any case,
// solution files left out. An absent or unreadable folder has none.
QStringList BookRiddlePaths(const QString& folder);

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_chapters.h"

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "desktop_registration.h"
#include "settings_store.h"

namespace vorlo {

namespace {

QString CleanFolder(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

struct Family {
    const char* folder;
    const char* title;
};
constexpr Family kFamilies[] = {
    {"riddles/equations", QT_TRANSLATE_NOOP("RiddleBook", "Equations")},
    {"riddles/squares", QT_TRANSLATE_NOOP("RiddleBook", "Squares")},
};

// Whether `name` is named as a solution file is (NAME.solution.vrl or
// NAME.solution-N.vrl, any case), with its riddle beside it or not: a
// solution whose riddle is gone is still an answer, not a riddle.
bool NamedAsSolution(const QString& name) {
    QStringView rest(name);
    if (!rest.endsWith(QLatin1String(".vrl"), Qt::CaseInsensitive)) {
        return false;
    }
    rest.chop(4);
    qsizetype digits = 0;
    const auto digit = [&](qsizetype i) {
        const QChar c = rest.at(rest.size() - 1 - i);
        return c >= u'0' && c <= u'9';
    };
    while (digits < rest.size() && digit(digits)) {
        ++digits;
    }
    if (digits > 0 && digits < rest.size() && rest.at(rest.size() - 1 - digits) == u'-') {
        rest.chop(digits + 1);
    }
    return rest.endsWith(QLatin1String(".solution"), Qt::CaseInsensitive);
}

}  // namespace

QString BookChapters::MyRiddlesFolder(const QString& dataHome) {
    return CleanFolder(dataHome + QStringLiteral("/vorlo/riddles"));
}

std::vector<BookChapter> BookChapters::List(const QString& installationFolder,
                                            const QString& dataHome, const QStringList& added) {
    std::vector<BookChapter> chapters;
    const auto inBook = [&](const QString& folder) {
        for (const BookChapter& chapter : chapters) {
            if (chapter.folder == folder) {
                return true;
            }
        }
        return false;
    };
    if (!installationFolder.isEmpty()) {
        const QString samples = CleanFolder(installationFolder);
        chapters.push_back({BookChapter::Kind::Samples, tr("Samples"), samples});
        for (const Family& family : kFamilies) {
            const QString folder = samples + u'/' + QLatin1String(family.folder);
            if (QFileInfo(folder).isDir()) {
                chapters.push_back({BookChapter::Kind::Family, tr(family.title), folder});
            }
        }
    }
    if (!dataHome.isEmpty()) {
        const QString mine = MyRiddlesFolder(dataHome);
        if (!inBook(mine)) {
            chapters.push_back({BookChapter::Kind::Mine, tr("My riddles"), mine});
        }
    }
    for (const QString& entry : added) {
        if (entry.isEmpty()) {
            continue;
        }
        const QString folder = CleanFolder(entry);
        if (!inBook(folder)) {
            chapters.push_back({BookChapter::Kind::Added, QFileInfo(folder).fileName(), folder});
        }
    }
    return chapters;
}

std::vector<BookChapter> BookChapters::ForUser() {
    const SettingsStore settings;
    return List(settings.InstallationFolder(), UserDataHome(), settings.BookFolders());
}

QStringList BookRiddlePaths(const QString& folder) {
    // Anything of the name but a folder is listed: a file that is not a
    // riddle, or not a regular file, shows in the book as one that cannot
    // be read, and says why. The names are sorted here rather than by QDir,
    // which makes a file information for each of them to sort by.
    QStringList names;
    QDirIterator it(folder, {QStringLiteral("*.vrl")}, QDir::Files | QDir::System);
    while (it.hasNext()) {
        it.next();
        QString name = it.fileName();
        if (!NamedAsSolution(name)) {
            names.append(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    const QString prefix = CleanFolder(folder) + u'/';
    for (QString& name : names) {
        name.prepend(prefix);
    }
    return names;
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's configuration store, the one owner of everything the program
// keeps between runs: named keys holding named values, kept in one INI file,
// $XDG_CONFIG_HOME/vorlo/vorlo.conf for the user.
//
// The file is read once and kept until it changes on disk, is never read or
// written through a symbolic link at its name, and is passed over (defaults,
// nothing written, one message on standard error) when it is a link, not a
// regular file, larger than kMaxFileBytes or not readable.
//
// The values live in plain groups of the INI file, under the group and value
// names the program has always used, so a file kept by an earlier version
// reads the same. Writing needs a store that can be written: a read-only
// store reads as usual and keeps nothing. Nothing here throws or shows
// anything: every operation reports through its return value.

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlo {

// The groups and value names of the file.
inline constexpr char kPathKey[] = "Vorlo.Path";      // where the program is installed
inline constexpr char kFullPathValue[] = "fullpath";  // text: the folder, with its trailing '/'
inline constexpr char kIntroductionKey[] = "Vorlo.Introduction";
inline constexpr char kShowValue[] = "show";  // one byte: 1 = greet the user at start-up
// The window's recent riddles: text values "File1", "File2"..., newest first.
inline constexpr char kRecentFilesKey[] = "Recent File List";
// Where the Open dialog starts once a riddle outside the samples was opened.
inline constexpr char kWindowKey[] = "Settings";
inline constexpr char kOpenFolderValue[] = "OpenFolder";
// The board's view: snapping (one byte, 1 = on) and the zoom (text, percent).
inline constexpr char kSnapValue[] = "SnapToMatches";
inline constexpr char kZoomValue[] = "Zoom";
// Whether the tip about snapping was shown (one byte, 1 = shown).
inline constexpr char kSnapTipValue[] = "SnapTipShown";
// The interface language (text): "system", "en" or "he".
inline constexpr char kLanguageValue[] = "Language";
// The riddle book: the folders the player added as chapters (text values
// "Folder1", "Folder2"..., in the book's order) and whether the book was
// shown once at a first start (one byte, 1 = shown).
inline constexpr char kBookKey[] = "Book";
inline constexpr char kBookShownValue[] = "Shown";

class SettingsStore {
public:
    // The user's store, UserSettingsFile(). While that file does not exist,
    // the values that earlier builds kept in their two files are copied into
    // it first (see MigrateEarlierSettings).
    SettingsStore();
    // A store in the given INI file (used by tests and by anyone who wants the
    // settings somewhere else); nothing is migrated into it.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Whether the file holds the group (with any value), without creating it.
    bool HasGroup(const QString& group) const;

    // Whether the store's file can be written at all.
    bool IsWritable() const;

    // The INI file behind the store.
    QString FileName() const;

    // A settings file larger than this is not read (nor replaced): real ones
    // hold a few hundred bytes, and each start used to parse the file again
    // for every value it read.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // The window's recent riddles, newest first, at most `count`, without
    // empty entries or repeats; and their replacement (false when the store
    // could not be written).
    QStringList RecentFiles(int count) const;
    bool SetRecentFiles(const QStringList& files, int count);

    // The folder the Open dialog starts in, empty when none was kept.
    QString OpenFolder() const;
    bool SetOpenFolder(const QString& folder);

    // Snapping, off unless stored as on; the zoom in percent, 100 unless a
    // whole number is stored (the board takes the step nearest to it).
    bool SnapToMatches() const;
    bool SetSnapToMatches(bool on);
    bool SnapTipShown() const;
    bool SetSnapTipShown();
    int Zoom() const;
    bool SetZoom(int percent);

    // The installation folder recorded at start-up, with its trailing
    // separator; empty when none is recorded. Reading never creates anything.
    QString InstallationFolder() const;
    // Records `folder`, writing only when it differs from what is kept.
    bool RecordInstallationFolder(const QString& folder);

    // The greeting's stored choice: true for the byte 1, false for any other
    // byte, nothing when none is stored or the value is not one byte.
    std::optional<bool> ShowIntroduction() const;
    bool SetShowIntroduction(bool show);
    // Whether the greeting is due at this start: the first start (no
    // Introduction group yet) stores the choice as "greet" and greets; later
    // starts greet unless the stored choice says otherwise, and write
    // nothing. A store that cannot be written greets no one.
    bool IntroductionDueAtStart();

    // The folders the player added to the riddle book, in order, without
    // empty entries or repeats, at most kMaxBookFolders; and their
    // replacement (false when the store could not be written).
    static constexpr int kMaxBookFolders = 64;
    QStringList BookFolders() const;
    bool SetBookFolders(const QStringList& folders);
    // Whether the riddle book is to open by itself at this start: once, the
    // first time it is asked, which stores that it was shown. A store that
    // cannot be written never opens it.
    bool BookDueAtStart();

    // The interface language's stored name, empty when none is kept.
    QString LanguageName() const;
    bool SetLanguageName(const QString& name);

    // The user's settings file: "vorlo.conf" in the folder "vorlo" under the
    // user's configuration directory ($XDG_CONFIG_HOME, by default ~/.config).
    static QString UserSettingsFile();

    // The two files earlier builds wrote: the store's keys (`store`, an INI
    // file) and the window's recent files and Open folder (`window`).
    struct EarlierFiles {
        QString store;
        QString window;
    };
    static EarlierFiles UserEarlierFiles();

    // Copies the values of `earlier` into `target` when `target` does not
    // exist yet (not even as a dangling link); files that are absent,
    // unreadable or not regular files are passed over, and the earlier files
    // are left as they are. True when something was copied.
    static bool MigrateEarlierSettings(const QString& target, const EarlierFiles& earlier);

private:
    QString fileName_;
};

}  // namespace vorlo

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
// Keys behave like the keys of a system registry: opening a key creates it
// when it is absent and tells the caller which of the two happened. A key can
// only be opened when the store can be written, so a read-only store looks to
// callers like one in which every key fails to open. Nothing here throws or
// shows anything: every operation reports through its return value.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QVariant;

namespace vorlo {

// The keys and values the program keeps.
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

class SettingsStore {
public:
    // One open key. It refers to the store's file by name, so it stays
    // usable even if the SettingsStore that opened it is gone.
    class Key {
    public:
        const QString& Name() const { return name_; }

        // Whether the value exists at all (of any kind).
        bool HasValue(const QString& value) const;

        // A one-byte binary value. Nothing when it is missing or does not fit
        // in exactly one byte.
        std::optional<uint8_t> ReadByte(const QString& value) const;
        bool WriteByte(const QString& value, uint8_t byte);

        // A text value. Nothing when it is missing or not text.
        std::optional<QString> ReadString(const QString& value) const;
        bool WriteString(const QString& value, const QString& text);

        // Removes the value; true when it is gone (or was never there).
        bool RemoveValue(const QString& value);

    private:
        friend class SettingsStore;
        Key(QString fileName, QString name);
        std::optional<QVariant> Read(const QString& value) const;
        bool Write(const QString& value, const std::optional<QVariant>& data);

        QString fileName_;
        QString name_;
    };

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

    // Opens `name`, creating it when absent. `existed` (when given) learns
    // whether the key was there before. Nothing when the store cannot be
    // written or the new key could not be saved.
    std::optional<Key> OpenOrCreateKey(const QString& name, bool* existed = nullptr);

    // Opens `name` only when it exists, without creating it or needing to
    // write; for reading a choice without side effects.
    std::optional<Key> OpenExistingKey(const QString& name) const;

    // Whether the key exists, without creating it.
    bool HasKey(const QString& name) const;

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
    int Zoom() const;
    bool SetZoom(int percent);

    // The installation folder recorded at start-up, with its trailing
    // separator; empty when none is recorded. Never creates the key.
    QString InstallationFolder() const;

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

    // Key and value names go into the file escaped, so that dots, slashes,
    // backslashes and any other characters are kept as they are and never
    // split a name into groups.
    static QString EscapeName(const QString& name);

private:
    QString fileName_;
};

}  // namespace vorlo

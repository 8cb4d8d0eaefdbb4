// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>

#include "riddle_io.h"

namespace vorlo {

namespace {

const QString kApplication = QStringLiteral("vorlo");
// The folder under the configuration directory where builds up to 1.1 kept
// their two settings files.
const QString kEarlierFolder = QStringLiteral("Local AppWizard-Generated Applications");

// The path of a value in QSettings' terms: its group, a slash, its name.
// Every group and value name the program uses is fixed and holds no slash,
// backslash or percent sign, so QSettings keeps them as they are.
QString EntryPath(const char* group, const char* value) {
    return QString::fromLatin1(group) + u'/' + QString::fromLatin1(value);
}

// QSettings is the INI codec, but it opens files by name and follows a link
// at the name (its QSaveFile replaces the link's target, keeping that file's
// owner and mode). So the store reads and writes its file itself, without
// following links, and QSettings only ever sees private copies in a folder of
// the program's own. Each copy gets a name never used before: QSettings keeps
// what it parsed per file name.
class PrivateCopies {
public:
    static PrivateCopies& Instance() {
        static PrivateCopies copies;
        return copies;
    }

    std::optional<QVariantMap> Parse(const QByteArray& bytes) {
        const QString path = NextName();
        if (path.isEmpty()) {
            return std::nullopt;
        }
        QFile copy(path);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size()) {
            QFile::remove(path);
            return std::nullopt;
        }
        copy.close();
        std::optional<QVariantMap> entries;
        {
            const QSettings settings(path, QSettings::IniFormat);
            if (settings.status() == QSettings::NoError) {
                entries.emplace();
                for (const QString& entry : settings.allKeys()) {
                    entries->insert(entry, settings.value(entry));
                }
            }
        }
        QFile::remove(path);
        return entries;
    }

    std::optional<QByteArray> Format(const QVariantMap& entries) {
        const QString path = NextName();
        if (path.isEmpty()) {
            return std::nullopt;
        }
        bool ok = false;
        {
            QSettings settings(path, QSettings::IniFormat);
            for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
                settings.setValue(it.key(), it.value());
            }
            settings.sync();
            ok = settings.status() == QSettings::NoError;
        }
        QFile copy(path);
        std::optional<QByteArray> bytes;
        if (entries.isEmpty()) {
            bytes.emplace();  // QSettings writes no file for no entries
        } else if (ok && copy.open(QIODevice::ReadOnly)) {
            bytes = copy.readAll();
        }
        copy.close();
        QFile::remove(path);
        return bytes;
    }

private:
    PrivateCopies() : dir_(QDir::tempPath() + QStringLiteral("/vorlo-settings-XXXXXX")) {}

    QString NextName() {
        return dir_.isValid() ? dir_.filePath(QStringLiteral("copy-%1.ini").arg(++used_))
                              : QString();
    }

    QTemporaryDir dir_;  // made with mode 0700: no one else puts anything there
    quint64 used_ = 0;
};

// What the store last read of one file. Every SettingsStore and Key of that
// file shares it: the program makes a store for each use, and a file read
// again for each value took seconds once the file was large.
struct Snapshot {
    FileStamp stamp;
    OwnFileState state = OwnFileState::Absent;
    bool parsed = false;  // QSettings could make sense of it
    QVariantMap entries;
    int error = 0;      // errno when it could not be read
    bool told = false;  // the user has heard why the file is passed over
};

std::mutex gSnapshotsLock;
QHash<QString, Snapshot>& Snapshots() {
    static QHash<QString, Snapshot> snapshots;
    return snapshots;
}

bool Usable(const Snapshot& snapshot) {
    return snapshot.state == OwnFileState::Absent ||
           (snapshot.state == OwnFileState::Read && snapshot.parsed);
}

// Why a file that is there is passed over, for someone who started the
// program from a terminal; said once while the file stays so.
void TellWhyPassedOver(const QString& fileName, Snapshot& snapshot) {
    if (Usable(snapshot) || snapshot.told) {
        return;
    }
    snapshot.told = true;
    QString why;
    switch (snapshot.state) {
        case OwnFileState::Link:
            why = QCoreApplication::translate("SettingsStore",
                                              "it is a symbolic link, which is not followed");
            break;
        case OwnFileState::TooLarge:
            why = QCoreApplication::translate(
                      "SettingsStore", "it is larger than %1 KB, far more than any settings take")
                      .arg(SettingsStore::kMaxFileBytes / 1024);
            break;
        case OwnFileState::NotRegular:
            why = NotARegularFileMessage();
            break;
        case OwnFileState::Failed:
            why = ErrnoText(snapshot.error);
            break;
        case OwnFileState::Read:
            why = QCoreApplication::translate("SettingsStore", "it is not a settings file");
            break;
        case OwnFileState::Absent:
            break;
    }
    const QString message =
        QCoreApplication::translate(
            "SettingsStore",
            "the settings file %1 is not used: %2. The program starts with its default settings, "
            "and changes are not kept while the file is so; it is left as it is.")
            .arg(QDir::toNativeSeparators(fileName), why);
    std::fprintf(stderr, "vorlo: %s\n", qPrintable(message));
}

// The snapshot of `fileName`, read again when the file was replaced or
// changed since. The caller holds gSnapshotsLock.
Snapshot& CurrentLocked(const QString& fileName) {
    QHash<QString, Snapshot>& snapshots = Snapshots();
    const auto found = snapshots.find(fileName);
    const FileStamp stamp = StampOf(fileName);
    if (found != snapshots.end() && found->stamp == stamp) {
        return *found;
    }
    const bool told = found != snapshots.end() && found->told;
    Snapshot snapshot;
    const OwnFileRead read = ReadOwnFile(fileName, SettingsStore::kMaxFileBytes);
    snapshot.state = read.state;
    snapshot.stamp = read.state == OwnFileState::Read ? read.stamp : stamp;
    snapshot.error = read.error;
    if (read.state == OwnFileState::Read) {
        if (std::optional<QVariantMap> entries = PrivateCopies::Instance().Parse(read.bytes)) {
            snapshot.parsed = true;
            snapshot.entries = std::move(*entries);
        }
    }
    // Told once while the file stays unusable, again after it was usable.
    snapshot.told = told && !Usable(snapshot);
    Snapshot& kept = snapshots[fileName] = std::move(snapshot);
    TellWhyPassedOver(fileName, kept);
    return kept;
}

QVariantMap EntriesOf(const QString& fileName, bool* usable) {
    const std::lock_guard<std::mutex> guard(gSnapshotsLock);
    const Snapshot& snapshot = CurrentLocked(fileName);
    *usable = Usable(snapshot);
    return snapshot.entries;
}

// Whether a new version of the file can be put in place, as far as
// permissions tell. Like QSettings, it makes the folder when missing.
bool CanWrite(const QString& fileName, const Snapshot& snapshot) {
    if (!Usable(snapshot)) {
        return false;
    }
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    if (snapshot.state == OwnFileState::Read &&
        ::access(QFile::encodeName(fileName).constData(), W_OK) != 0) {
        return false;
    }
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// Holds an advisory lock on the file's folder, so that two running copies of
// the program change the file one after the other.
class FolderLock {
public:
    explicit FolderLock(const QString& fileName)
        : fd_(::open(QFile::encodeName(QFileInfo(fileName).absolutePath()).constData(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

// Reads the file as it is now, lets `change` edit its entries and, when it
// says it changed them, writes the result through the one file writer,
// without following links. False when the file is passed over or could not
// be written; the file is then as it was.
bool Update(const QString& fileName, const std::function<bool(QVariantMap&)>& change) {
    const std::lock_guard<std::mutex> guard(gSnapshotsLock);
    if (!CanWrite(fileName, CurrentLocked(fileName))) {
        return false;
    }
    const FolderLock lock(fileName);
    Snapshot& snapshot = CurrentLocked(fileName);  // another copy may have written meanwhile
    if (!CanWrite(fileName, snapshot)) {
        return false;
    }
    QVariantMap entries = snapshot.entries;
    if (!change(entries)) {
        return true;
    }
    const std::optional<QByteArray> bytes = PrivateCopies::Instance().Format(entries);
    if (!bytes || !WriteOwnFileAtomically(fileName, bytes->toStdString(), nullptr)) {
        return false;
    }
    snapshot.entries = std::move(entries);
    snapshot.state = OwnFileState::Read;
    snapshot.parsed = true;
    snapshot.stamp = StampOf(fileName);
    return true;
}

// Whether anything, even a dangling link, has the name.
bool Exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The entries of an earlier file, or nothing when it is absent, not a
// regular file (a FIFO would block start-up), a link, too large or not
// readable as INI.
std::optional<QVariantMap> ReadEarlier(const QString& fileName) {
    if (fileName.isEmpty()) {
        return std::nullopt;
    }
    const OwnFileRead read = ReadOwnFile(fileName, SettingsStore::kMaxFileBytes);
    if (read.state != OwnFileState::Read) {
        return std::nullopt;
    }
    return PrivateCopies::Instance().Parse(read.bytes);
}

// Whether any entry lies in `group`. Earlier versions marked a group that
// held no value yet with an entry "%key" (escaped "%25key" in the file); it
// counts here like any value, because the start-up greets, and writes
// nothing, when the Introduction group is there without its "show".
bool GroupExists(const QVariantMap& entries, const QString& group) {
    const QString prefix = group + u'/';
    const auto next = entries.lowerBound(prefix);
    return next != entries.cend() && next.key().startsWith(prefix);
}

// The stored value, nothing when the file is passed over or lacks it.
std::optional<QVariant> ValueOf(const QString& fileName, const char* group, const char* value) {
    bool usable = false;
    const QVariantMap entries = EntriesOf(fileName, &usable);
    const auto found = entries.constFind(EntryPath(group, value));
    if (!usable || found == entries.cend() || !found->isValid()) {
        return std::nullopt;
    }
    return *found;
}

// A one-byte binary value: stored as a byte array of length one, or typed
// by hand as a number ("show=0").
std::optional<uint8_t> ByteOf(const std::optional<QVariant>& data) {
    if (!data) {
        return std::nullopt;
    }
    if (data->typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = data->toByteArray();
        if (bytes.size() != 1) {
            return std::nullopt;
        }
        return static_cast<uint8_t>(bytes[0]);
    }
    if (data->typeId() == QMetaType::QString) {
        bool ok = false;
        const uint number = data->toString().trimmed().toUInt(&ok, 10);
        if (ok && number <= 0xFF) {
            return static_cast<uint8_t>(number);
        }
    }
    return std::nullopt;
}

QVariant ByteValue(uint8_t byte) {
    return QVariant(QByteArray(1, static_cast<char>(byte)));
}

// A text value; a binary one is not text.
QString TextOf(const std::optional<QVariant>& data) {
    return data && data->typeId() == QMetaType::QString ? data->toString() : QString();
}

// Sets (or with nothing, removes) one value, writing the file only when it
// changes.
bool SetValueIn(const QString& fileName, const char* group, const char* value,
                const std::optional<QVariant>& data) {
    return Update(fileName, [&](QVariantMap& entries) {
        const QString path = EntryPath(group, value);
        const auto found = entries.constFind(path);
        if (!data) {
            return entries.remove(path) > 0;
        }
        if (found != entries.cend() && found->typeId() == data->typeId() && *found == *data) {
            return false;
        }
        entries.insert(path, *data);
        return true;
    });
}

}  // namespace

// --- SettingsStore ----------------------------------------------------------
SettingsStore::SettingsStore() : fileName_(UserSettingsFile()) {
    MigrateEarlierSettings(fileName_, UserEarlierFiles());
}

QString SettingsStore::UserSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           kApplication + u'/' + kApplication + QStringLiteral(".conf");
}

SettingsStore::EarlierFiles SettingsStore::UserEarlierFiles() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           u'/' + kEarlierFolder + u'/';
    return {folder + kApplication + QStringLiteral(".ini"),
            folder + kApplication + QStringLiteral(".conf")};
}

bool SettingsStore::MigrateEarlierSettings(const QString& target, const EarlierFiles& earlier) {
    if (Exists(target)) {
        return false;
    }
    const std::optional<QVariantMap> store = ReadEarlier(earlier.store);
    const std::optional<QVariantMap> window = ReadEarlier(earlier.window);
    if (!store && !window) {
        return false;
    }
    // The earlier store used the same group and value names: entries go
    // over as they are.
    QVariantMap entries = store.value_or(QVariantMap());
    if (window) {
        // The window kept its recent files in a group of the key's name and
        // the Open folder ungrouped.
        const QString recent = QString::fromLatin1(kRecentFilesKey);
        const QString prefix = recent + u'/';
        for (auto it = window->cbegin(); it != window->cend(); ++it) {
            const QString name = it.key().mid(prefix.size());
            if (it.key().startsWith(prefix) && !name.contains(u'/')) {
                entries.insert(prefix + name, it.value());
            }
        }
        const auto folder = window->constFind(QString::fromLatin1(kOpenFolderValue));
        if (folder != window->cend()) {
            entries.insert(EntryPath(kWindowKey, kOpenFolderValue), folder.value());
        }
    }
    if (entries.isEmpty()) {
        return false;
    }
    const std::optional<QByteArray> bytes = PrivateCopies::Instance().Format(entries);
    return bytes && QDir().mkpath(QFileInfo(target).absolutePath()) &&
           WriteOwnFileAtomically(target, bytes->toStdString(), nullptr);
}

SettingsStore::SettingsStore(const QString& iniPath) : fileName_(iniPath) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::FileName() const {
    return fileName_;
}

bool SettingsStore::IsWritable() const {
    const std::lock_guard<std::mutex> guard(gSnapshotsLock);
    return CanWrite(fileName_, CurrentLocked(fileName_));
}

bool SettingsStore::HasGroup(const QString& group) const {
    bool usable = false;
    const QVariantMap entries = EntriesOf(fileName_, &usable);
    return usable && !group.isEmpty() && GroupExists(entries, group);
}

QStringList SettingsStore::RecentFiles(int count) const {
    QStringList files;
    for (int i = 1; i <= count; ++i) {
        const QByteArray value = "File" + QByteArray::number(i);
        const QString path = TextOf(ValueOf(fileName_, kRecentFilesKey, value.constData()));
        if (!path.isEmpty() && !files.contains(path)) {
            files.append(path);
        }
    }
    return files;
}

bool SettingsStore::SetRecentFiles(const QStringList& files, int count) {
    return Update(fileName_, [&](QVariantMap& entries) {
        const QVariantMap before = entries;
        for (int i = 1; i <= count; ++i) {
            const QByteArray value = "File" + QByteArray::number(i);
            const QString path = EntryPath(kRecentFilesKey, value.constData());
            if (i <= files.size()) {
                entries.insert(path, files.at(i - 1));
            } else {
                entries.remove(path);
            }
        }
        return entries != before;
    });
}

QString SettingsStore::OpenFolder() const {
    return TextOf(ValueOf(fileName_, kWindowKey, kOpenFolderValue));
}

bool SettingsStore::SetOpenFolder(const QString& folder) {
    return SetValueIn(fileName_, kWindowKey, kOpenFolderValue, QVariant(folder));
}

bool SettingsStore::SnapToMatches() const {
    return ByteOf(ValueOf(fileName_, kWindowKey, kSnapValue)).value_or(0) == 1;
}

bool SettingsStore::SetSnapToMatches(bool on) {
    return SetValueIn(fileName_, kWindowKey, kSnapValue, ByteValue(on ? 1 : 0));
}

bool SettingsStore::SnapTipShown() const {
    return ByteOf(ValueOf(fileName_, kWindowKey, kSnapTipValue)).value_or(0) == 1;
}

bool SettingsStore::SetSnapTipShown() {
    return SetValueIn(fileName_, kWindowKey, kSnapTipValue, ByteValue(1));
}

int SettingsStore::Zoom() const {
    bool ok = false;
    const int percent = TextOf(ValueOf(fileName_, kWindowKey, kZoomValue)).toInt(&ok);
    return ok ? percent : 100;
}

bool SettingsStore::SetZoom(int percent) {
    return SetValueIn(fileName_, kWindowKey, kZoomValue, QVariant(QString::number(percent)));
}

QString SettingsStore::InstallationFolder() const {
    return TextOf(ValueOf(fileName_, kPathKey, kFullPathValue));
}

bool SettingsStore::RecordInstallationFolder(const QString& folder) {
    return SetValueIn(fileName_, kPathKey, kFullPathValue, QVariant(folder));
}

std::optional<bool> SettingsStore::ShowIntroduction() const {
    const std::optional<uint8_t> byte = ByteOf(ValueOf(fileName_, kIntroductionKey, kShowValue));
    if (!byte) {
        return std::nullopt;
    }
    return *byte == 1;
}

bool SettingsStore::SetShowIntroduction(bool show) {
    return SetValueIn(fileName_, kIntroductionKey, kShowValue, ByteValue(show ? 1 : 0));
}

bool SettingsStore::IntroductionDueAtStart() {
    bool firstStart = false;
    const bool ok = Update(fileName_, [&](QVariantMap& entries) {
        firstStart = !GroupExists(entries, QString::fromLatin1(kIntroductionKey));
        if (firstStart) {
            entries.insert(EntryPath(kIntroductionKey, kShowValue), ByteValue(1));
        }
        return firstStart;
    });
    if (!ok) {
        return false;
    }
    // A group without a readable "show" greets, and is left as it is.
    return firstStart || ShowIntroduction().value_or(true);
}

QStringList SettingsStore::BookFolders() const {
    QStringList folders;
    for (int i = 1; i <= kMaxBookFolders; ++i) {
        const QByteArray value = "Folder" + QByteArray::number(i);
        const QString folder = TextOf(ValueOf(fileName_, kBookKey, value.constData()));
        if (!folder.isEmpty() && !folders.contains(folder)) {
            folders.append(folder);
        }
    }
    return folders;
}

bool SettingsStore::SetBookFolders(const QStringList& folders) {
    return Update(fileName_, [&](QVariantMap& entries) {
        const QVariantMap before = entries;
        QStringList kept;
        for (const QString& folder : folders) {
            if (!folder.isEmpty() && !kept.contains(folder) && kept.size() < kMaxBookFolders) {
                kept.append(folder);
            }
        }
        for (int i = 1; i <= kMaxBookFolders; ++i) {
            const QByteArray value = "Folder" + QByteArray::number(i);
            const QString path = EntryPath(kBookKey, value.constData());
            if (i <= kept.size()) {
                entries.insert(path, kept.at(i - 1));
            } else {
                entries.remove(path);
            }
        }
        return entries != before;
    });
}

bool SettingsStore::BookDueAtStart() {
    bool due = false;
    const bool ok = Update(fileName_, [&](QVariantMap& entries) {
        const QString path = EntryPath(kBookKey, kBookShownValue);
        due = !entries.contains(path);
        if (due) {
            entries.insert(path, ByteValue(1));
        }
        return due;
    });
    return ok && due;
}

QString SettingsStore::LanguageName() const {
    return TextOf(ValueOf(fileName_, kWindowKey, kLanguageValue));
}

bool SettingsStore::SetLanguageName(const QString& name) {
    return SetValueIn(fileName_, kWindowKey, kLanguageValue, QVariant(name));
}

}  // namespace vorlo

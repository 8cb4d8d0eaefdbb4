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

// A key that exists but holds no values yet still needs an entry in the file,
// or the INI writer would drop its group. Escaped names never hold a '%' that
// is not followed by "25", "2F" or "5C", so this entry cannot be a value.
const QString kKeyMarker = QStringLiteral("%key");
// The unnamed value of a key.
const QString kDefaultValue = QStringLiteral("%default");

// The special names above go in unescaped; every name the caller gives is
// escaped, so the two never meet.
QString EntryPath(const QString& key, const QString& value) {
    const QString entry = value.isEmpty() ? kDefaultValue : SettingsStore::EscapeName(value);
    return SettingsStore::EscapeName(key) + u'/' + entry;
}

QString MarkerPath(const QString& key) {
    return SettingsStore::EscapeName(key) + u'/' + kKeyMarker;
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

bool KeyExists(const QVariantMap& entries, const QString& name) {
    const QString prefix = SettingsStore::EscapeName(name) + u'/';
    const auto next = entries.lowerBound(prefix);
    return next != entries.cend() && next.key().startsWith(prefix);
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
    // The earlier store used the same escaped names: entries go over as they
    // are.
    QVariantMap entries = store.value_or(QVariantMap());
    if (window) {
        // The window kept its recent files in a group of the key's name and
        // the Open folder ungrouped.
        const QString recent = QString::fromLatin1(kRecentFilesKey);
        const QString prefix = recent + u'/';
        for (auto it = window->cbegin(); it != window->cend(); ++it) {
            const QString name = it.key().mid(prefix.size());
            if (it.key().startsWith(prefix) && !name.contains(u'/')) {
                entries.insert(EntryPath(recent, name), it.value());
            }
        }
        const auto folder = window->constFind(QString::fromLatin1(kOpenFolderValue));
        if (folder != window->cend()) {
            entries.insert(
                EntryPath(QString::fromLatin1(kWindowKey), QString::fromLatin1(kOpenFolderValue)),
                folder.value());
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

QString SettingsStore::EscapeName(const QString& name) {
    // QSettings reads '/' and '\' as group separators and escapes everything
    // else itself; '%' is escaped too so that the mapping stays one to one.
    QString escaped;
    escaped.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'%') {
            escaped += QStringLiteral("%25");
        } else if (c == u'/') {
            escaped += QStringLiteral("%2F");
        } else if (c == u'\\') {
            escaped += QStringLiteral("%5C");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool SettingsStore::IsWritable() const {
    const std::lock_guard<std::mutex> guard(gSnapshotsLock);
    return CanWrite(fileName_, CurrentLocked(fileName_));
}

bool SettingsStore::HasKey(const QString& name) const {
    if (name.isEmpty()) {
        return false;
    }
    bool usable = false;
    const QVariantMap entries = EntriesOf(fileName_, &usable);
    return usable && KeyExists(entries, name);
}

std::optional<SettingsStore::Key> SettingsStore::OpenExistingKey(const QString& name) const {
    if (!HasKey(name)) {
        return std::nullopt;
    }
    return Key(fileName_, name);
}

std::optional<SettingsStore::Key> SettingsStore::OpenOrCreateKey(const QString& name,
                                                                 bool* existed) {
    if (name.isEmpty()) {
        return std::nullopt;
    }
    // A file we cannot read or make sense of is left alone rather than
    // rewritten without the parts we did not understand.
    bool wasThere = false;
    const bool ok = Update(fileName_, [&](QVariantMap& entries) {
        wasThere = KeyExists(entries, name);
        if (!wasThere) {
            entries.insert(MarkerPath(name), true);
        }
        return !wasThere;
    });
    if (!ok) {
        return std::nullopt;
    }
    if (existed != nullptr) {
        *existed = wasThere;
    }
    return Key(fileName_, name);
}

QStringList SettingsStore::RecentFiles(int count) const {
    QStringList files;
    const auto key = OpenExistingKey(QString::fromLatin1(kRecentFilesKey));
    for (int i = 1; key && i <= count; ++i) {
        const QString path = key->ReadString(QStringLiteral("File%1").arg(i)).value_or(QString());
        if (!path.isEmpty() && !files.contains(path)) {
            files.append(path);
        }
    }
    return files;
}

bool SettingsStore::SetRecentFiles(const QStringList& files, int count) {
    auto key = OpenOrCreateKey(QString::fromLatin1(kRecentFilesKey));
    if (!key) {
        return false;
    }
    bool written = true;
    for (int i = 1; i <= count; ++i) {
        const QString value = QStringLiteral("File%1").arg(i);
        written = (i <= files.size() ? key->WriteString(value, files.at(i - 1))
                                     : key->RemoveValue(value)) &&
                  written;
    }
    return written;
}

QString SettingsStore::OpenFolder() const {
    const auto key = OpenExistingKey(QString::fromLatin1(kWindowKey));
    return key ? key->ReadString(QString::fromLatin1(kOpenFolderValue)).value_or(QString())
               : QString();
}

bool SettingsStore::SetOpenFolder(const QString& folder) {
    auto key = OpenOrCreateKey(QString::fromLatin1(kWindowKey));
    return key && key->WriteString(QString::fromLatin1(kOpenFolderValue), folder);
}

bool SettingsStore::SnapToMatches() const {
    const auto key = OpenExistingKey(QString::fromLatin1(kWindowKey));
    return key && key->ReadByte(QString::fromLatin1(kSnapValue)).value_or(0) == 1;
}

bool SettingsStore::SetSnapToMatches(bool on) {
    auto key = OpenOrCreateKey(QString::fromLatin1(kWindowKey));
    return key && key->WriteByte(QString::fromLatin1(kSnapValue), on ? 1 : 0);
}

int SettingsStore::Zoom() const {
    const auto key = OpenExistingKey(QString::fromLatin1(kWindowKey));
    const QString text =
        key ? key->ReadString(QString::fromLatin1(kZoomValue)).value_or(QString()) : QString();
    bool ok = false;
    const int percent = text.toInt(&ok);
    return ok ? percent : 100;
}

bool SettingsStore::SetZoom(int percent) {
    auto key = OpenOrCreateKey(QString::fromLatin1(kWindowKey));
    return key && key->WriteString(QString::fromLatin1(kZoomValue), QString::number(percent));
}

QString SettingsStore::InstallationFolder() const {
    const auto key = OpenExistingKey(QString::fromLatin1(kPathKey));
    return key ? key->ReadString(QString::fromLatin1(kFullPathValue)).value_or(QString())
               : QString();
}

// --- SettingsStore::Key -----------------------------------------------------

SettingsStore::Key::Key(QString fileName, QString name)
    : fileName_(std::move(fileName)), name_(std::move(name)) {}

std::optional<QVariant> SettingsStore::Key::Read(const QString& value) const {
    bool usable = false;
    const QVariantMap entries = EntriesOf(fileName_, &usable);
    const auto found = entries.constFind(EntryPath(name_, value));
    if (!usable || found == entries.cend() || !found->isValid()) {
        return std::nullopt;
    }
    return *found;
}

bool SettingsStore::Key::Write(const QString& value, const std::optional<QVariant>& data) {
    return Update(fileName_, [&](QVariantMap& entries) {
        if (data) {
            entries.insert(EntryPath(name_, value), *data);
        } else {
            entries.remove(EntryPath(name_, value));
        }
        return true;
    });
}

bool SettingsStore::Key::HasValue(const QString& value) const {
    return Read(value).has_value();
}

std::optional<uint8_t> SettingsStore::Key::ReadByte(const QString& value) const {
    const std::optional<QVariant> data = Read(value);
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
    // Someone editing the file by hand writes "show=0": take a plain number
    // that fits in a byte as well.
    if (data->typeId() == QMetaType::QString) {
        bool ok = false;
        const uint number = data->toString().trimmed().toUInt(&ok, 10);
        if (ok && number <= 0xFF) {
            return static_cast<uint8_t>(number);
        }
    }
    return std::nullopt;
}

bool SettingsStore::Key::WriteByte(const QString& value, uint8_t byte) {
    return Write(value, QVariant(QByteArray(1, static_cast<char>(byte))));
}

std::optional<QString> SettingsStore::Key::ReadString(const QString& value) const {
    const std::optional<QVariant> data = Read(value);
    if (!data || data->typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return data->toString();
}

bool SettingsStore::Key::WriteString(const QString& value, const QString& text) {
    return Write(value, QVariant(text));
}

bool SettingsStore::Key::RemoveValue(const QString& value) {
    return !Read(value) || Write(value, std::nullopt);
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <memory>

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

// The store's file, or nothing when the name stands for something else than
// a regular file: reading a FIFO would block start-up for ever, and the INI
// writer would replace a device or a link to one with a regular file.
std::unique_ptr<QSettings> OpenStore(const QString& fileName) {
    if (!IsRegularFileOrAbsent(fileName)) {
        return nullptr;
    }
    return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

// Whether anything, even a dangling link, has the name.
bool Exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// An earlier file to read, or nothing when it is absent, not a regular file
// (a FIFO would block start-up) or not readable as INI.
std::unique_ptr<QSettings> OpenEarlier(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !IsRegularFileOrAbsent(fileName)) {
        return nullptr;
    }
    auto settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) {
        return nullptr;
    }
    return settings;
}

bool KeyExists(QSettings& settings, const QString& name) {
    settings.beginGroup(SettingsStore::EscapeName(name));
    const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    settings.endGroup();
    return exists;
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
    const auto store = OpenEarlier(earlier.store);
    const auto window = OpenEarlier(earlier.window);
    if (!store && !window) {
        return false;
    }
    QSettings settings(target, QSettings::IniFormat);
    bool copied = false;
    if (store) {
        // The earlier store used the same escaped names: entries go over as
        // they are.
        for (const QString& entry : store->allKeys()) {
            settings.setValue(entry, store->value(entry));
            copied = true;
        }
    }
    if (window) {
        // The window kept its recent files in a group of the key's name and
        // the Open folder ungrouped.
        const QString recent = QString::fromLatin1(kRecentFilesKey);
        window->beginGroup(recent);
        for (const QString& value : window->childKeys()) {
            settings.setValue(EntryPath(recent, value), window->value(value));
            copied = true;
        }
        window->endGroup();
        const QVariant folder = window->value(QString::fromLatin1(kOpenFolderValue));
        if (folder.isValid()) {
            settings.setValue(
                EntryPath(QString::fromLatin1(kWindowKey), QString::fromLatin1(kOpenFolderValue)),
                folder);
            copied = true;
        }
    }
    if (!copied) {
        return false;
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
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
    const auto settings = OpenStore(fileName_);
    return settings && settings->status() == QSettings::NoError && settings->isWritable();
}

bool SettingsStore::HasKey(const QString& name) const {
    if (name.isEmpty()) {
        return false;
    }
    const auto settings = OpenStore(fileName_);
    return settings && settings->status() == QSettings::NoError && KeyExists(*settings, name);
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
    const auto settings = OpenStore(fileName_);
    // A file we cannot parse is left alone rather than rewritten without the
    // parts we did not understand.
    if (!settings || settings->status() != QSettings::NoError || !settings->isWritable()) {
        return std::nullopt;
    }
    const bool wasThere = KeyExists(*settings, name);
    if (!wasThere) {
        settings->setValue(MarkerPath(name), true);
        settings->sync();
        if (settings->status() != QSettings::NoError) {
            return std::nullopt;
        }
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
    const auto settings = OpenStore(fileName_);
    if (!settings || settings->status() != QSettings::NoError) {
        return std::nullopt;
    }
    const QVariant data = settings->value(EntryPath(name_, value));
    if (!data.isValid()) {
        return std::nullopt;
    }
    return data;
}

bool SettingsStore::Key::Write(const QString& value, const std::optional<QVariant>& data) {
    const auto settings = OpenStore(fileName_);
    if (!settings || settings->status() != QSettings::NoError || !settings->isWritable()) {
        return false;
    }
    if (data) {
        settings->setValue(EntryPath(name_, value), *data);
    } else {
        settings->remove(EntryPath(name_, value));
    }
    settings->sync();
    return settings->status() == QSettings::NoError;
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

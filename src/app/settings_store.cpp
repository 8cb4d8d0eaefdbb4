#include "settings_store.h"

#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <memory>

#include "riddle_io.h"

namespace vorlo {

namespace {

const QString kOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
const QString kApplication = QStringLiteral("vorlo");

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

bool KeyExists(QSettings& settings, const QString& name) {
    settings.beginGroup(SettingsStore::EscapeName(name));
    const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    settings.endGroup();
    return exists;
}

}  // namespace

// --- SettingsStore ----------------------------------------------------------

SettingsStore::SettingsStore() : fileName_(UserSettingsFile(QStringLiteral(".ini"))) {}

QString SettingsStore::UserSettingsFile(const QString& suffix) {
    // Where QSettings keeps the user's settings of this organisation and
    // application, named without opening anything there.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           kOrganisation + u'/' + kApplication + suffix;
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

bool SettingsStore::Key::Write(const QString& value, const QVariant& data) {
    const auto settings = OpenStore(fileName_);
    if (!settings || settings->status() != QSettings::NoError || !settings->isWritable()) {
        return false;
    }
    settings->setValue(EntryPath(name_, value), data);
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
    return Write(value, QByteArray(1, static_cast<char>(byte)));
}

std::optional<QString> SettingsStore::Key::ReadString(const QString& value) const {
    const std::optional<QVariant> data = Read(value);
    if (!data || data->typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return data->toString();
}

bool SettingsStore::Key::WriteString(const QString& value, const QString& text) {
    return Write(value, text);
}

}  // namespace vorlo

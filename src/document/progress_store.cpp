// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_store.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "desktop_registration.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "shown_name.h"

namespace vorlo {

namespace {

constexpr std::string_view kMagic = "vorlo-progress";
constexpr uint64_t kVersion = 1;
constexpr size_t kKeyLength = 64;
// The shortest change line, "0 0 0 0 0 0 0\n": what the bytes left can hold
// at most, so that a count read from the record never reserves more.
constexpr size_t kShortestChangeLine = 14;

// What KeyOf makes: 64 lower-case hex digits. Nothing else names a record,
// so no key reaches outside the folder.
bool IsKey(std::string_view key) {
    return key.size() == kKeyLength && std::all_of(key.begin(), key.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}
// A character beyond Latin-1 becomes "?", which no key holds.
bool IsKey(const QString& key) {
    const QByteArray latin1 = key.toLatin1();
    return IsKey(std::string_view(latin1.constData(), static_cast<size_t>(latin1.size())));
}

// ----- writing -----

template <typename T>
void AppendNumber(std::string& out, T value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof(digits), value);
    static_cast<void>(error);  // 24 characters hold any 64-bit number
    out.append(digits, end);
}

void AppendField(std::string& out, std::string_view name, uint64_t value) {
    out += name;
    out += ' ';
    AppendNumber(out, value);
    out += '\n';
}

void AppendMatch(std::string& out, const Match& match) {
    for (const int32_t value : {match.x, match.y, match.angle}) {
        out += ' ';
        AppendNumber(out, value);
    }
}

std::string RecordBytes(const QString& key, size_t matchCount, const GameProgress& progress) {
    std::string out;
    out += kMagic;
    out += ' ';
    AppendNumber(out, kVersion);
    out += "\nkey ";
    out += key.toStdString();
    out += '\n';
    AppendField(out, "matches", matchCount);
    AppendField(out, "hints", progress.hintsUsed);
    AppendField(out, "solved", progress.solved ? 1 : 0);
    AppendField(out, "position", progress.position);
    AppendField(out, "steps", progress.steps.size());
    for (const GameStep& step : progress.steps) {
        AppendField(out, "step", step.changes.size());
        for (const MatchStep& change : step.changes) {
            AppendNumber(out, change.index);
            AppendMatch(out, change.before);
            AppendMatch(out, change.after);
            out += '\n';
        }
    }
    out += "end\n";
    return out;
}

// ----- reading -----

// Why a record is not used.
enum class Fault {
    None,
    Damaged,      // not a record, or cut short, or with something foreign in it
    Newer,        // a later version of the format
    OtherRiddle,  // the key inside is another riddle's
    DoesNotFit,   // the match count, an index or a "before" disagrees with the board
    TooLarge,     // over kMaxRecordBytes
    Link,         // a symbolic link at the record's name
    NotRegular,   // a FIFO, a device, a socket, a folder
    Unreadable,   // the system refused to read it
};

// The record's lines, each of which must end in "\n".
class Lines {
public:
    explicit Lines(std::string_view bytes) : rest_(bytes) {}
    bool Next(std::string_view* line) {
        const size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            return false;
        }
        *line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return true;
    }
    size_t BytesLeft() const { return rest_.size(); }

private:
    std::string_view rest_;
};

// A whole decimal number of type T: digits only, a "-" only for a signed
// type, and nothing the type cannot hold.
template <typename T>
bool ParseNumber(std::string_view text, T* value) {
    if (text.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc() && end == text.data() + text.size();
}

// "NAME VALUE" with VALUE a number of type T.
template <typename T>
bool ParseField(std::string_view line, std::string_view name, T* value) {
    return line.size() > name.size() && line.substr(0, name.size()) == name &&
           line[name.size()] == ' ' && ParseNumber(line.substr(name.size() + 1), value);
}

// "<index> <x> <y> <angle> <x> <y> <angle>", single spaces between.
bool ParseChange(std::string_view line, MatchStep* change) {
    std::string_view fields[7];
    for (size_t i = 0; i < 7; ++i) {
        const size_t space = line.find(' ');
        if ((space == std::string_view::npos) != (i == 6)) {
            return false;
        }
        fields[i] = line.substr(0, space);
        line.remove_prefix(i == 6 ? line.size() : space + 1);
    }
    Match* const matches[2] = {&change->before, &change->after};
    bool ok = ParseNumber(fields[0], &change->index);
    for (size_t m = 0; m < 2 && ok; ++m) {
        ok = ParseNumber(fields[1 + 3 * m], &matches[m]->x) &&
             ParseNumber(fields[2 + 3 * m], &matches[m]->y) &&
             ParseNumber(fields[3 + 3 * m], &matches[m]->angle);
    }
    return ok;
}

// Reads a record and checks it against the riddle's start board.
Fault ParseRecord(std::string_view bytes, const QString& key, const MatchList& start,
                  GameProgress* progress) {
    Lines lines(bytes);
    std::string_view line;
    if (!lines.Next(&line)) {
        return Fault::Damaged;
    }
    uint64_t version = 0;
    if (!ParseField(line, kMagic, &version)) {
        return Fault::Damaged;
    }
    if (version != kVersion) {
        return version > kVersion ? Fault::Newer : Fault::Damaged;
    }
    if (!lines.Next(&line) || line.substr(0, 4) != "key " || !IsKey(line.substr(4))) {
        return Fault::Damaged;
    }
    if (line.substr(4) != key.toStdString()) {
        return Fault::OtherRiddle;
    }
    uint64_t matchCount = 0;
    uint32_t hints = 0;
    uint32_t solved = 0;
    uint64_t position = 0;
    uint64_t stepCount = 0;
    if (!lines.Next(&line) || !ParseField(line, "matches", &matchCount) || !lines.Next(&line) ||
        !ParseField(line, "hints", &hints) || !lines.Next(&line) ||
        !ParseField(line, "solved", &solved) || solved > 1 || !lines.Next(&line) ||
        !ParseField(line, "position", &position) || !lines.Next(&line) ||
        !ParseField(line, "steps", &stepCount) || stepCount > ProgressStore::kMaxSteps ||
        position > stepCount) {
        return Fault::Damaged;
    }
    if (matchCount != start.Count()) {
        return Fault::DoesNotFit;
    }

    // The steps replayed on the start board as they are read: each change
    // must find the board as it says it was.
    std::vector<Match> board = start.ToVector();
    GameProgress read;
    read.hintsUsed = hints;
    read.solved = solved == 1;
    read.position = static_cast<size_t>(position);
    size_t changesLeft = ProgressStore::kMaxChanges;
    for (uint64_t s = 0; s < stepCount; ++s) {
        uint64_t changeCount = 0;
        if (!lines.Next(&line) || !ParseField(line, "step", &changeCount) ||
            changeCount > changesLeft) {
            return Fault::Damaged;
        }
        changesLeft -= static_cast<size_t>(changeCount);
        GameStep step;
        step.changes.reserve(std::min<size_t>(static_cast<size_t>(changeCount),
                                              lines.BytesLeft() / kShortestChangeLine));
        for (uint64_t c = 0; c < changeCount; ++c) {
            MatchStep change;
            if (!lines.Next(&line) || !ParseChange(line, &change)) {
                return Fault::Damaged;
            }
            if (change.index >= board.size() || board[change.index] != change.before) {
                return Fault::DoesNotFit;
            }
            board[change.index] = change.after;
            step.changes.push_back(change);
        }
        read.steps.push_back(std::move(step));
    }
    if (!lines.Next(&line) || line != "end" || lines.BytesLeft() != 0) {
        return Fault::Damaged;
    }
    *progress = std::move(read);
    return Fault::None;
}

QString FaultText(Fault fault, int error) {
    switch (fault) {
        case Fault::Damaged:
            return QCoreApplication::translate("ProgressStore", "it is damaged");
        case Fault::Newer:
            return QCoreApplication::translate("ProgressStore",
                                               "it was written by a newer version of the program");
        case Fault::OtherRiddle:
            return QCoreApplication::translate("ProgressStore", "it belongs to another riddle");
        case Fault::DoesNotFit:
            return QCoreApplication::translate("ProgressStore", "its moves do not fit this riddle");
        case Fault::TooLarge:
            return QCoreApplication::translate("ProgressStore", "it is larger than %1 MB")
                .arg(ProgressStore::kMaxRecordBytes >> 20);
        case Fault::Link:
            return QCoreApplication::translate("ProgressStore",
                                               "it is a symbolic link, which is not followed");
        case Fault::NotRegular:
            return QCoreApplication::translate("ProgressStore", "it is not a regular file");
        case Fault::Unreadable:
            return ErrnoText(error);
        case Fault::None:
            break;
    }
    return {};
}

// Makes `folder` and every missing folder above it, each with mode 0700: the
// games are the user's alone. False with errno set when one cannot be made
// or a file stands in its place.
bool MakeFolders(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (clean.contains(QChar(u'\0'))) {
        errno = EINVAL;
        return false;
    }
    const QByteArray native = QFile::encodeName(clean);
    for (qsizetype end = 1; end <= native.size(); ++end) {
        if (end < native.size() && native[end] != '/') {
            continue;
        }
        const QByteArray prefix = native.left(end);
        if (::mkdir(prefix.constData(), 0700) == 0) {
            continue;
        }
        const int made = errno;
        struct stat info;
        if (made != EEXIST || ::stat(prefix.constData(), &info) != 0) {
            errno = made;
            return false;
        }
        if (!S_ISDIR(info.st_mode)) {
            errno = ENOTDIR;
            return false;
        }
    }
    return true;
}

bool Refuse(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

}  // namespace

ProgressStore::ProgressStore(QString folder) : folder_(std::move(folder)) {}

QString ProgressStore::DefaultFolder() {
    return UserDataHome() + QStringLiteral("/vorlo/progress");
}

QString ProgressStore::KeyOf(const MatchList& matches, const std::string& text) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const std::string bytes = SerializeRiddle(matches, text);
    hash.addData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return QString::fromLatin1(hash.result().toHex());
}

QString ProgressStore::PathOf(const QString& key) const {
    return folder_ + u'/' + key;
}

ProgressStore::Loaded ProgressStore::Load(const QString& key, const MatchList& start) const {
    Loaded loaded;
    if (!IsKey(key)) {
        return loaded;
    }
    const QString path = PathOf(key);
    const OwnFileRead read = ReadOwnFile(path, kMaxRecordBytes);
    Fault fault = Fault::None;
    switch (read.state) {
        case OwnFileState::Absent:
            return loaded;
        case OwnFileState::Read:
            fault = ParseRecord(
                std::string_view(read.bytes.constData(), static_cast<size_t>(read.bytes.size())),
                key, start, &loaded.progress);
            break;
        case OwnFileState::Link:
            fault = Fault::Link;
            break;
        case OwnFileState::NotRegular:
            fault = Fault::NotRegular;
            break;
        case OwnFileState::TooLarge:
            fault = Fault::TooLarge;
            break;
        case OwnFileState::Failed:
            fault = Fault::Unreadable;
            break;
    }
    if (fault == Fault::None) {
        loaded.status = Status::Loaded;
        return loaded;
    }
    loaded.progress = GameProgress();
    loaded.status = Status::SetAside;
    // The name itself is moved, whatever it is: rename follows no link.
    const QString aside = path + QStringLiteral(".damaged");
    const QString reason = FaultText(fault, read.error);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0) {
        loaded.message =
            QCoreApplication::translate("ProgressStore",
                                        "The kept game of this riddle is not used (%1): it was "
                                        "set aside as %2, and the riddle starts afresh.")
                .arg(reason, ShownName(QDir::toNativeSeparators(aside)));
    } else {
        loaded.message =
            QCoreApplication::translate("ProgressStore",
                                        "The kept game of this riddle is not used (%1), and "
                                        "the riddle starts afresh.")
                .arg(reason);
    }
    return loaded;
}

bool ProgressStore::Save(const QString& key, size_t matchCount, const GameProgress& progress,
                         QString* error) const {
    if (!IsKey(key)) {
        return Refuse(
            error, QCoreApplication::translate("ProgressStore", "the riddle's key is not valid"));
    }
    size_t changes = 0;
    bool fits = progress.position <= progress.steps.size();
    for (const GameStep& step : progress.steps) {
        changes += step.changes.size();
        for (const MatchStep& change : step.changes) {
            fits = fits && change.index < matchCount;
        }
    }
    if (!fits) {
        return Refuse(error, QCoreApplication::translate("ProgressStore",
                                                         "the game does not fit the riddle"));
    }
    if (progress.steps.size() > kMaxSteps || changes > kMaxChanges) {
        return Refuse(error,
                      QCoreApplication::translate(
                          "ProgressStore", "the game has more moves than can be kept (%1 at most)")
                          .arg(progress.steps.size() > kMaxSteps ? kMaxSteps : kMaxChanges));
    }
    const std::string bytes = RecordBytes(key, matchCount, progress);
    if (bytes.size() > static_cast<size_t>(kMaxRecordBytes)) {
        return Refuse(error, FaultText(Fault::TooLarge, 0));
    }
    if (!MakeFolders(folder_)) {
        return Refuse(error, ErrnoText(errno));
    }
    return WriteOwnFileAtomically(PathOf(key), bytes, error);
}

bool ProgressStore::Forget(const QString& key) const {
    if (!IsKey(key)) {
        return false;
    }
    // unlink removes a link at the name, never what it points at.
    if (::unlink(QFile::encodeName(PathOf(key)).constData()) == 0) {
        return true;
    }
    return errno == ENOENT || errno == ENOTDIR;
}

MatchList ProgressStore::Replay(const MatchList& start, const GameProgress& progress) {
    std::vector<Match> board = start.ToVector();
    const size_t applied = std::min(progress.position, progress.steps.size());
    for (size_t s = 0; s < applied; ++s) {
        for (const MatchStep& change : progress.steps[s].changes) {
            if (change.index < board.size()) {
                board[change.index] = change.after;
            }
        }
    }
    MatchList result;
    const std::span<Match> places = result.AppendUnfilled(board.size());
    std::copy(board.begin(), board.end(), places.begin());
    return result;
}

}  // namespace vorlo

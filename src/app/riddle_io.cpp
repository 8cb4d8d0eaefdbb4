#include "riddle_io.h"

#include <QFile>
#include <QSaveFile>

namespace vorlo {

namespace {
constexpr size_t kHeaderBytes = 4;   // the match count
constexpr size_t kRecordBytes = 12;  // x, y, angle
}  // namespace

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error) {
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk, a size limit) shows in the
    // result of write(): a buffered one is flushed inside commit(), which
    // then reports success for a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 written = file.write(bytes.data(), size);
    if (written != size || !file.commit()) {
        if (error) {
            *error =
                (written >= 0 && written < size)
                    ? QStringLiteral("Only %1 of %2 bytes could be written.").arg(written).arg(size)
                    : file.errorString();
        }
        file.cancelWriting();
        return false;
    }
    return true;
}

bool SaveRiddleFile(const QString& path, const MatchList& matches, const QString& text,
                    QString* error) {
    const QByteArray utf8 = text.toUtf8();
    const std::string bytes = SerializeRiddle(matches, std::string_view(utf8.data(), utf8.size()));
    // A file the reader would refuse is not written: the old one stays.
    if (bytes.size() - kHeaderBytes - kRecordBytes * matches.Count() > kMaxTextBytes) {
        if (error) {
            *error = QStringLiteral(
                         "The riddle's text is longer than a riddle file can hold "
                         "(%1 MB at most).")
                         .arg(kMaxTextBytes >> 20);
        }
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

RiddleReadResult LoadRiddleFile(const QString& path) {
    // The system ends a file name at its first NUL, so such a name would open
    // another file than the one it spells (a folder from the settings with a
    // NUL in it, say).
    if (path.contains(QChar(u'\0'))) {
        RiddleReadResult result;
        result.error = "the file name holds a NUL character";
        return result;
    }
    return ReadRiddleFile(QFile::encodeName(path).toStdString());
}

}  // namespace vorlo

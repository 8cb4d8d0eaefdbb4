#include "riddle_io.h"

#include <QFile>
#include <QSaveFile>

namespace vorlo {

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        file.cancelWriting();
        return false;
    }
    return true;
}

bool SaveRiddleFile(const QString& path, const MatchList& matches, const QString& text,
                    QString* error) {
    const QByteArray utf8 = text.toUtf8();
    return WriteFileAtomically(
        path, SerializeRiddle(matches, std::string_view(utf8.data(), utf8.size())), error);
}

RiddleReadResult LoadRiddleFile(const QString& path) {
    return ReadRiddleFile(QFile::encodeName(path).toStdString());
}

}  // namespace vorlo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_address.h"

#include <QCoreApplication>
#include <QFile>

#include "sentence_path.h"
#include "shown_name.h"

QString RiddlePathFromFileUrl(const QUrl& address, const QString& typed, QString* error) {
    const bool local = address.isValid() &&
                       address.scheme().compare(u"file", Qt::CaseInsensitive) == 0 &&
                       (address.host().isEmpty() || address.host() == u"localhost");
    if (!local) {
        *error = QCoreApplication::translate("VorloApplication",
                                             "%1: only files on this computer can be opened")
                     .arg(SentencePath(typed));
        return {};
    }
    const QByteArray name =
        QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1());
    const QString path = QFile::decodeName(name);
    if (QFile::encodeName(path) != name) {
        *error = QCoreApplication::translate("VorloApplication",
                                             "%1: the file's name cannot be read (it is not UTF-8)")
                     .arg(SentencePath(typed));
        return {};
    }
    return path;
}

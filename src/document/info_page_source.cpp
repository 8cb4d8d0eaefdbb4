// SPDX-License-Identifier: GPL-3.0-or-later
#include "info_page_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QStringDecoder>

namespace vorlo {

QStringList InfoPageModuleFolders() {
    QStringList folders;
    if (QCoreApplication::instance() == nullptr) {
        return folders;
    }
    const QString program = QCoreApplication::applicationDirPath();
    folders << program;
#ifdef VORLO_MODULE_FROM_PROGRAM
    folders << QDir::cleanPath(program + u'/' + QStringLiteral(VORLO_MODULE_FROM_PROGRAM));
#endif
    return folders;
}

std::unique_ptr<InfoPageSource> LoadOnlineInfoPageSource(InfoPageReady ready, QString* why) {
    QStringList failures;
    for (const QString& folder : InfoPageModuleFolders()) {
        const QString path =
            folder + u'/' + QLatin1String(kInfoPageModuleName) + QStringLiteral(".so");
        if (!QFile::exists(path)) {
            continue;
        }
        // Never unloaded: the source's code must outlive every source made.
        QLibrary module(path);
        auto factory = reinterpret_cast<InfoPageFactory>(module.resolve(kInfoPageFactoryName));
        if (factory == nullptr) {
            failures << module.errorString();
            continue;
        }
        if (InfoPageSource* source = factory(std::move(ready))) {
            return std::unique_ptr<InfoPageSource>(source);
        }
        failures << path;
    }
    if (why != nullptr) {
        *why = failures.isEmpty() ? QStringLiteral("%1.so is in none of %2")
                                        .arg(QLatin1String(kInfoPageModuleName),
                                             InfoPageModuleFolders().join(QStringLiteral(", ")))
                                  : failures.join(QStringLiteral("; "));
    }
    return nullptr;
}

InfoPage ReadInstalledInfoPage(const QString& folder, qint64 maxBytes) {
    // No folder known: nothing, rather than a page name with no folder.
    if (folder.isEmpty()) {
        return {};
    }
    QString path = folder;
    if (!path.endsWith(u'/')) {
        path += u'/';
    }
    path += QLatin1String(kInfoPageName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray page = file.read(maxBytes + 1);
    if (page.size() > maxBytes) {
        return {};
    }
    return {DecodeHtml(page), QUrl::fromLocalFile(path)};
}

QString DecodeHtml(const QByteArray& data, const QByteArray& contentType) {
    for (const QByteArray& parameter : contentType.split(';')) {
        const QByteArray trimmed = parameter.trimmed();
        if (trimmed.toLower().startsWith("charset=")) {
            QByteArray name = trimmed.mid(8).trimmed();
            if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"')) {
                name = name.mid(1, name.size() - 2);
            }
            QStringDecoder decoder(name.constData());
            if (decoder.isValid()) {
                return decoder.decode(data);
            }
        }
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringDecoder::Utf8);
    }
    return decoder.decode(data);
}

}  // namespace vorlo

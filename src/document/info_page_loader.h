// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Finds the information page for the pane on the left: the server's copy when
// the computer is on-line and the server answers in time, otherwise the copy
// installed with the program (at once when the server's name is one that can
// never answer). Never blocks: the result arrives as a signal.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include "info_page_source.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace vorlo {

class InfoPageLoader : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kPageName = kInfoPageName;
    static constexpr int kDefaultTimeoutMs = 5000;
    static constexpr qint64 kDefaultMaxBytes = kInfoPageMaxBytes;

    explicit InfoPageLoader(QObject* parent = nullptr);
    ~InfoPageLoader() override;

    // Starts loading the page anew; a load still running is dropped.
    // `installationFolder` ends with "/" and may be empty (then there is no
    // installed copy to fall back on).
    void Load(const QString& installationFolder);

    // How long the server may take, and how large its page may be.
    void SetTimeout(int ms) { timeoutMs_ = ms; }
    void SetMaxBytes(qint64 bytes) { maxBytes_ = bytes; }

    // The web server: $VORLO_INFO_SERVER when set, else the one built in.
    static QString ServerAddress();
    // http://<server>/soft/vorlo_heb.html, or an invalid URL when the server
    // setting does not make a plain host (and port).
    static QUrl OnlineUrl();
    // Whether `host` lies under a name reserved for examples and tests
    // (.example, .invalid, .test, .localhost), where no server can answer.
    static bool IsReservedHost(const QString& host);

signals:
    // The page to show and the address its relative links resolve against:
    // an http URL for the server's page, a file URL for the installed copy.
    // An empty page with an empty URL means there is nothing to show.
    void PageReady(const QString& html, const QUrl& baseUrl);

private:
    void StartOnline(const QUrl& url);
    void OnReplyData();
    void OnReplyFinished();
    void ShowInstalledCopy();
    void Deliver(const QString& html, const QUrl& baseUrl);
    void DropReply();

    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer* deadline_ = nullptr;
    QByteArray received_;
    QString folder_;
    bool tooLarge_ = false;
    int timeoutMs_ = kDefaultTimeoutMs;
    qint64 maxBytes_ = kDefaultMaxBytes;
    quint64 generation_ = 0;  // which Load a queued delivery belongs to
};

}  // namespace vorlo

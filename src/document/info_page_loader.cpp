// SPDX-License-Identifier: GPL-3.0-or-later
#include "info_page_loader.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#ifndef VORLO_INFO_SERVER_DEFAULT
#define VORLO_INFO_SERVER_DEFAULT "www.vorlo-riddles.example"
#endif

namespace vorlo {

namespace {

bool IsLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

// True only when the system says for certain that there is no network. Without
// a reachability backend nobody knows, and the server is simply tried.
bool SystemReportsOffline() {
    static bool backendTried = false;
    if (!backendTried) {
        backendTried = true;
        if (QNetworkInformation::instance() == nullptr) {
            QNetworkInformation::loadDefaultBackend();
        }
    }
    const QNetworkInformation* information = QNetworkInformation::instance();
    return information != nullptr &&
           information->supports(QNetworkInformation::Feature::Reachability) &&
           information->reachability() == QNetworkInformation::Reachability::Disconnected;
}

}  // namespace

InfoPageLoader::InfoPageLoader(QObject* parent) : QObject(parent) {
    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] {
        // abort() finishes the reply, which falls back to the installed copy.
        if (reply_ != nullptr) {
            reply_->abort();
        }
    });
}

InfoPageLoader::~InfoPageLoader() {
    ++generation_;
    DropReply();
}

QString InfoPageLoader::ServerAddress() {
    const QString fromEnvironment = qEnvironmentVariable("VORLO_INFO_SERVER").trimmed();
    return fromEnvironment.isEmpty() ? QStringLiteral(VORLO_INFO_SERVER_DEFAULT) : fromEnvironment;
}

QUrl InfoPageLoader::OnlineUrl() {
    const QString expectedPath = QStringLiteral("/soft/") + QLatin1String(kPageName);
    const QUrl url(QStringLiteral("http://") + ServerAddress() + expectedPath, QUrl::StrictMode);
    // Anything but a host and a port (a path, a user, a query) is not a server.
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() ||
        url.path() != expectedPath || url.hasQuery() || url.hasFragment()) {
        return {};
    }
    return url;
}

bool InfoPageLoader::IsReservedHost(const QString& host) {
    QString name = host.toLower();
    if (name.endsWith(u'.')) {
        name.chop(1);  // the root of the name space, as in "www.x.example."
    }
    // The bare name "localhost" is this machine, where a server may well
    // run; every other name under these is never handed out.
    for (const char* reserved : {"example", "invalid", "test", "localhost"}) {
        const QLatin1String tld(reserved);
        if ((name == tld && tld != QLatin1String("localhost")) ||
            name.endsWith(u'.' + QString(tld))) {
            return true;
        }
    }
    return false;
}

void InfoPageLoader::Load(const QString& installationFolder) {
    ++generation_;
    DropReply();
    folder_ = installationFolder;

    // A server under a reserved name cannot answer; asking it would only
    // delay the installed copy (and have Qt complain on standard error).
    const QUrl url = OnlineUrl();
    if (url.isValid() && !IsReservedHost(url.host()) &&
        (IsLoopbackHost(url.host()) || !SystemReportsOffline())) {
        StartOnline(url);
        return;
    }
    // Delivered from the event loop like every other result, never from
    // inside Load.
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == generation_) {
                ShowInstalledCopy();
            }
        },
        Qt::QueuedConnection);
}

void InfoPageLoader::StartOnline(const QUrl& url) {
    if (network_ == nullptr) {
        network_ = new QNetworkAccessManager(this);
    }
    QNetworkRequest request(url);
    // A redirect may move the page on its own server, never to another host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(3);
    request.setTransferTimeout(timeoutMs_);
    received_.clear();
    tooLarge_ = false;

    QNetworkReply* reply = network_->get(request);
    // Qt reads ahead of us without bound unless told otherwise; a server that
    // streams without end would fill the memory before the cap is seen.
    reply->setReadBufferSize(maxBytes_ + 1);
    reply_ = reply;
    connect(reply, &QNetworkReply::readyRead, this, &InfoPageLoader::OnReplyData);
    connect(reply, &QNetworkReply::finished, this, &InfoPageLoader::OnReplyFinished);
    // The transfer timeout only notices silence; a server that trickles must
    // still finish in time.
    deadline_->start(timeoutMs_);
}

void InfoPageLoader::OnReplyData() {
    if (reply_ == nullptr || sender() != reply_ || tooLarge_) {
        return;
    }
    received_ += reply_->readAll();
    if (received_.size() > maxBytes_) {
        tooLarge_ = true;
        received_.clear();
        reply_->abort();
    }
}

void InfoPageLoader::OnReplyFinished() {
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply == nullptr) {
        return;
    }
    reply->deleteLater();
    if (reply != reply_) {
        return;  // a reply of an earlier Load
    }
    reply_ = nullptr;
    deadline_->stop();

    if (!tooLarge_) {
        received_ += reply->readAll();
        tooLarge_ = received_.size() > maxBytes_;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status == 200 && !tooLarge_) {
        const QByteArray page = received_;
        received_.clear();
        Deliver(DecodeHtml(page, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()),
                reply->url());
        return;
    }
    received_.clear();
    ShowInstalledCopy();
}

void InfoPageLoader::ShowInstalledCopy() {
    const InfoPage page = ReadInstalledInfoPage(folder_, maxBytes_);
    Deliver(page.html, page.baseUrl);
}

void InfoPageLoader::Deliver(const QString& html, const QUrl& baseUrl) {
    emit PageReady(html, baseUrl);
}

void InfoPageLoader::DropReply() {
    deadline_->stop();
    if (reply_ != nullptr) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    received_.clear();
}

}  // namespace vorlo

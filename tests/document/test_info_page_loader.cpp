// SPDX-License-Identifier: GPL-3.0-or-later
// The information page loader against a small HTTP server on 127.0.0.1.

#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "hang_guard.h"
#include "info_page_loader.h"
#include "test_http_server.h"

using namespace vorlo;
using vorlo::test::Answer;
using vorlo::test::ClosedAddress;
using vorlo::test::HttpServer;

namespace {

const char kInstalledPage[] = "<html><body><p>installed page</p></body></html>";

}  // namespace

class TestInfoPageLoader : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deliversServerOrInstalledCopy_data();
    void deliversServerOrInstalledCopy();
    void silentServerTimesOut_data();
    void silentServerTimesOut();
    void neverDeliversDuringLoad();
    void noFolderShowsNothing();
    void missingInstalledCopyShowsNothing();
    void newLoadReplacesTheRunningOne();
    void serverSetting_data();
    void serverSetting();
    void decodesDeclaredCharset();
    void reservedNames_data();
    void reservedNames();
    void reservedServerIsNeverAsked_data();
    void reservedServerIsNeverAsked();

private:
    QTemporaryDir folder_;
    QString installedUrl_;
};

void TestInfoPageLoader::init() {
    QVERIFY(folder_.isValid());
    QFile page(folder_.filePath(QStringLiteral("vorlo_heb.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(kInstalledPage);
    installedUrl_ = QUrl::fromLocalFile(page.fileName()).toString();
    // The loader must reach 127.0.0.1 itself, not a proxy.
    qunsetenv("http_proxy");
    qunsetenv("HTTP_PROXY");
}

void TestInfoPageLoader::cleanup() {
    qunsetenv("VORLO_INFO_SERVER");
}

void TestInfoPageLoader::deliversServerOrInstalledCopy_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("fromServer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");  // the base URL's path for a server page
    QTest::newRow("page") << int(Answer::Page) << true << "server page"
                          << "/soft/vorlo_heb.html";
    QTest::newRow("not found") << int(Answer::NotFound) << false << "installed page"
                               << "";
    QTest::newRow("larger than the cap") << int(Answer::Huge) << false << "installed page"
                                         << "";
    QTest::newRow("redirect to another host")
        << int(Answer::RedirectAway) << false << "installed page"
        << "";
    QTest::newRow("redirect on the same server")
        << int(Answer::RedirectHome) << true << "moved page"
        << "/soft/moved/vorlo_heb.html";
}

void TestInfoPageLoader::deliversServerOrInstalledCopy() {
    QFETCH(int, answer);
    QFETCH(bool, fromServer);
    QFETCH(QString, text);
    QFETCH(QString, path);

    HttpServer server(static_cast<Answer>(answer));
    QVERIFY(server.Start());
    HttpServer elsewhere(Answer::Page);  // another origin that must never be asked
    QVERIFY(elsewhere.Start());
    server.redirectTarget =
        QStringLiteral("http://%1/soft/vorlo_heb.html").arg(elsewhere.Address());
    qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

    InfoPageLoader loader;
    loader.SetMaxBytes(100 * 1024);
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(folder_.path() + u'/');
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.count(), 1);
    const QString html = spy[0][0].toString();
    const QUrl base = spy[0][1].toUrl();
    QVERIFY2(html.contains(text), qPrintable(html.left(200)));
    QCOMPARE(server.paths.value(0), QStringLiteral("/soft/vorlo_heb.html"));
    QVERIFY(elsewhere.paths.isEmpty());
    if (fromServer) {
        QCOMPARE(base.scheme(), QStringLiteral("http"));
        QCOMPARE(base.port(), int(server.serverPort()));
        QCOMPARE(base.path(), path);
    } else {
        QCOMPARE(base.toString(), installedUrl_);
    }
    QVERIFY(!spy.wait(200));  // exactly one delivery
}

void TestInfoPageLoader::silentServerTimesOut_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("text");
    // Only the loader's own timeout can end the wait on a server that never
    // answers; the hang guard is minutes away.
    QTest::newRow("silent") << int(Answer::Silent) << 400 << QStringLiteral("installed page");
    // A slow answer well within the timeout is waited for, not given up on.
    QTest::newRow("late, within the timeout")
        << int(Answer::Late) << vorlo::test::kHangGuardMs << QStringLiteral("server page");
}

void TestInfoPageLoader::silentServerTimesOut() {
    QFETCH(int, answer);
    QFETCH(int, timeoutMs);
    QFETCH(QString, text);
    HttpServer server(static_cast<Answer>(answer));
    server.lateMs = 400;
    QVERIFY(server.Start());
    qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

    InfoPageLoader loader;
    loader.SetTimeout(timeoutMs);
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(folder_.path() + u'/');
    QVERIFY2(spy.wait(vorlo::test::kHangGuardMs), "hung");
    QCOMPARE(server.paths.size(), 1);  // it was asked
    QVERIFY2(spy[0][0].toString().contains(text), qPrintable(spy[0][0].toString()));
}

void TestInfoPageLoader::neverDeliversDuringLoad() {
    for (const QString& address : {ClosedAddress(), QStringLiteral("bad/server")}) {
        qputenv("VORLO_INFO_SERVER", address.toLatin1());
        InfoPageLoader loader;
        QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
        loader.Load(folder_.path() + u'/');
        QCOMPARE(spy.count(), 0);  // the event loop brings the page, Load does not
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
        QVERIFY(spy[0][0].toString().contains(QStringLiteral("installed page")));
    }
}

void TestInfoPageLoader::noFolderShowsNothing() {
    qputenv("VORLO_INFO_SERVER", ClosedAddress().toLatin1());
    InfoPageLoader loader;
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(QString());
    QVERIFY(spy.wait(5000));
    QVERIFY(spy[0][0].toString().isEmpty());
    QVERIFY(spy[0][1].toUrl().isEmpty());
}

void TestInfoPageLoader::missingInstalledCopyShowsNothing() {
    qputenv("VORLO_INFO_SERVER", ClosedAddress().toLatin1());
    QTemporaryDir empty;
    InfoPageLoader loader;
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(empty.path() + u'/');
    QVERIFY(spy.wait(5000));
    QVERIFY(spy[0][0].toString().isEmpty());
}

void TestInfoPageLoader::newLoadReplacesTheRunningOne() {
    HttpServer silent(Answer::Silent);
    QVERIFY(silent.Start());
    HttpServer server(Answer::Page);
    QVERIFY(server.Start());

    InfoPageLoader loader;
    loader.SetTimeout(400);
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    qputenv("VORLO_INFO_SERVER", silent.Address().toLatin1());
    loader.Load(folder_.path() + u'/');
    QTRY_VERIFY(!silent.paths.isEmpty());
    qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());
    loader.Load(folder_.path() + u'/');
    QVERIFY(spy.wait(5000));
    QVERIFY(spy[0][0].toString().contains(QStringLiteral("server page")));
    // The first load's timeout passes without a second delivery.
    QVERIFY(!spy.wait(800));
    QCOMPARE(spy.count(), 1);
}

void TestInfoPageLoader::serverSetting_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("url");
    QTest::newRow("built in") << ""
                              << QStringLiteral("http://" VORLO_INFO_SERVER_DEFAULT
                                                "/soft/vorlo_heb.html");
    QTest::newRow("host and port") << "127.0.0.1:8080"
                                   << "http://127.0.0.1:8080/soft/vorlo_heb.html";
    QTest::newRow("spaces trimmed") << "  host.example "
                                    << "http://host.example/soft/vorlo_heb.html";
    QTest::newRow("a path is not a server") << "host.example/evil"
                                            << "";
    QTest::newRow("a user is not a server") << "me@host.example"
                                            << "";
    QTest::newRow("a query is not a server") << "host.example?x=1"
                                             << "";
}

void TestInfoPageLoader::serverSetting() {
    QFETCH(QString, setting);
    QFETCH(QString, url);
    if (setting.isEmpty()) {
        qunsetenv("VORLO_INFO_SERVER");
    } else {
        qputenv("VORLO_INFO_SERVER", setting.toUtf8());
    }
    QCOMPARE(InfoPageLoader::OnlineUrl().toString(), url);
}

void TestInfoPageLoader::decodesDeclaredCharset() {
    HttpServer server(Answer::Hebrew1255);
    QVERIFY(server.Start());
    qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());
    InfoPageLoader loader;
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(folder_.path() + u'/');
    QVERIFY(spy.wait(5000));
    // The charset named only in the Content-Type header.
    QVERIFY2(spy[0][0].toString().contains(QStringLiteral("<p>חידה</p>")),
             qPrintable(spy[0][0].toString()));

    // The page's own declaration, and UTF-8 when nothing is declared.
    QCOMPARE(DecodeHtml("<meta charset=\"windows-1255\"><p>\xe7\xe9\xe3\xe4</p>"),
             QStringLiteral("<meta charset=\"windows-1255\"><p>חידה</p>"));
    QCOMPARE(DecodeHtml("<p>\xd7\x97\xd7\x99\xd7\x93\xd7\x94</p>"), QStringLiteral("<p>חידה</p>"));
    // An unknown charset in the header falls back to what the page says.
    QCOMPARE(DecodeHtml("<p>\xd7\x97</p>", "text/html; charset=x-no-such"),
             QStringLiteral("<p>ח</p>"));
}

void TestInfoPageLoader::reservedNames_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("reserved");
    const QList<std::pair<const char*, bool>> cases{
        {"www.vorlo-riddles.example", true},
        {"WWW.Vorlo-Riddles.EXAMPLE", true},
        {"www.vorlo-riddles.example.", true},
        {"example", true},
        {"server.invalid", true},
        {"riddles.test", true},
        {"test", true},
        {"riddles.localhost", true},
        {"localhost", false},  // this machine, where a server may run
        {"127.0.0.1", false},
        {"vorlo-riddles.com", false},
        {"example.com", false},
        {"test.org", false},
        {"mytest", false},
        {"latest", false},
        {"www.example.net", false},
        {"server.local", false},
        {"server.internal", false},
    };
    for (const auto& [host, reserved] : cases) {
        QTest::newRow(host) << QString::fromLatin1(host) << reserved;
    }
}

void TestInfoPageLoader::reservedNames() {
    QFETCH(QString, host);
    QFETCH(bool, reserved);
    QCOMPARE(InfoPageLoader::IsReservedHost(host), reserved);
}

void TestInfoPageLoader::reservedServerIsNeverAsked_data() {
    QTest::addColumn<QString>("setting");
    QTest::newRow("built in") << QString();
    QTest::newRow("with a port") << QStringLiteral("riddles.test:8080");
    QTest::newRow("invalid") << QStringLiteral("www.riddles.invalid");
}

void TestInfoPageLoader::reservedServerIsNeverAsked() {
    QFETCH(QString, setting);
    if (setting.isEmpty()) {
        qunsetenv("VORLO_INFO_SERVER");
        if (!InfoPageLoader::IsReservedHost(InfoPageLoader::OnlineUrl().host())) {
            QSKIP("this build names a real information server");
        }
    } else {
        qputenv("VORLO_INFO_SERVER", setting.toUtf8());
    }
    // Not a word on standard error either.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    InfoPageLoader loader;
    QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
    loader.Load(folder_.path() + u'/');
    // Neither a name lookup nor a connection is begun for a reserved name.
    QCOMPARE(loader.findChildren<QNetworkAccessManager*>().size(), 0);
    QVERIFY2(spy.wait(vorlo::test::kHangGuardMs), "hung");
    QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
    QVERIFY(spy[0][0].toString().contains(QStringLiteral("installed page")));
    // Nothing was set up to talk to any server.
    QCOMPARE(loader.findChildren<QNetworkAccessManager*>().size(), 0);
    QVERIFY(!spy.wait(200));
}

QTEST_GUILESS_MAIN(TestInfoPageLoader)
#include "test_info_page_loader.moc"

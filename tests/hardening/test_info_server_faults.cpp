// SPDX-License-Identifier: GPL-3.0-or-later
// The information page against servers that misbehave: bytes that are not
// HTTP, a page that never ends, a page that trickles, a redirect that never
// arrives anywhere, and a server that says nothing. Each time the installed
// copy is shown in bounded time, what the server sends is cut off at the size
// cap, and the event loop keeps running while the loader waits.

#include <QFile>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "hang_guard.h"
#include "info_page_loader.h"
#include "test_http_server.h"

using namespace vorlo;
using vorlo::test::Answer;
using vorlo::test::HttpServer;

namespace {

const char kInstalledPage[] = "<html><body><p>installed page</p></body></html>";

}  // namespace

class TestInfoServerFaults : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        QFile page(folder_.filePath(QStringLiteral("vorlo_heb.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(kInstalledPage);
        installedUrl_ = QUrl::fromLocalFile(page.fileName()).toString();
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
    }
    void cleanup() { qunsetenv("VORLO_INFO_SERVER"); }

    void fallsBackToTheInstalledCopy_data() {
        QTest::addColumn<int>("behaviour");
        QTest::addColumn<int>("timeoutMs");
        // The cap, not the deadline, must stop the endless pages: their
        // deadline lies beyond the hang guard, so only the cap can end them.
        const int never = 2 * vorlo::test::kHangGuardMs;
        QTest::newRow("not HTTP") << int(Answer::Garbage) << never;
        QTest::newRow("not HTTP, without end") << int(Answer::GarbageForever) << never;
        QTest::newRow("a page without end") << int(Answer::Endless) << never;
        QTest::newRow("chunks without end") << int(Answer::EndlessChunked) << never;
        // A page that trickles is cut off by the deadline, however alive it
        // looks: its 100000 bytes would take well over an hour.
        QTest::newRow("one byte at a time") << int(Answer::Drip) << 600;
        QTest::newRow("redirect to itself") << int(Answer::RedirectLoop) << never;
    }

    void fallsBackToTheInstalledCopy() {
        QFETCH(int, behaviour);
        QFETCH(int, timeoutMs);
        HttpServer server(static_cast<Answer>(behaviour));
        QVERIFY(server.Start());
        qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

        InfoPageLoader loader;
        loader.SetTimeout(timeoutMs);
        loader.SetMaxBytes(256 * 1024);
        QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
        loader.Load(folder_.path() + u'/');
        QVERIFY2(spy.wait(vorlo::test::kHangGuardMs),
                 qPrintable(QStringLiteral("hung; the server sent %1 bytes").arg(server.sent)));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
        QVERIFY(spy[0][0].toString().contains(QStringLiteral("installed page")));
        QVERIFY(server.connections >= 1);
        if (static_cast<Answer>(behaviour) == Answer::RedirectLoop) {
            QVERIFY2(server.connections <= 5, qPrintable(QString::number(server.connections)));
        } else {
            // The download was dropped, not read on to the end and thrown away;
            // what the server got rid of lies mostly in the sockets' buffers.
            QTRY_COMPARE_WITH_TIMEOUT(server.disconnects, server.connections,
                                      vorlo::test::kHangGuardMs);
            QVERIFY2(server.sent < 16 * 1024 * 1024, qPrintable(QString::number(server.sent)));
        }
        QVERIFY(!spy.wait(300));  // exactly one delivery
    }

    // While the server keeps the loader waiting the window's event loop runs:
    // Load returns before anything came back, and a timer keeps ticking while
    // the request waits on the server; when the server hangs up, the
    // installed copy follows.
    void eventLoopRunsWhileWaiting() {
        HttpServer server(Answer::Silent);
        QVERIFY(server.Start());
        qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

        InfoPageLoader loader;
        loader.SetTimeout(2 * vorlo::test::kHangGuardMs);  // only the server ends the wait
        QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);

        loader.Load(folder_.path() + u'/');
        // No loop of its own ran inside Load: the server, served by this
        // thread's loop, has not even seen the connection.
        QCOMPARE(server.connections, 0);
        QCOMPARE(spy.count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!server.paths.isEmpty(), vorlo::test::kHangGuardMs);
        const int ticksAtRequest = ticks;
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= ticksAtRequest + 10, vorlo::test::kHangGuardMs);
        QCOMPARE(spy.count(), 0);  // still waiting on the server, and the loop runs

        // A GET cut off before its answer is sent once more: nothing listens now.
        server.close();
        for (QTcpSocket* socket : server.findChildren<QTcpSocket*>()) {
            socket->abort();
        }
        QVERIFY2(spy.wait(vorlo::test::kHangGuardMs), "hung");
        QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
    }

private:
    QTemporaryDir folder_;
    QString installedUrl_;
};

QTEST_GUILESS_MAIN(TestInfoServerFaults)
#include "test_info_server_faults.moc"

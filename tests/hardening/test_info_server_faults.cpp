// SPDX-License-Identifier: GPL-3.0-or-later
// The information page against servers that misbehave: bytes that are not
// HTTP, a page that never ends, a page that trickles, a redirect that never
// arrives anywhere, and a server that says nothing. Each time the installed
// copy is shown in bounded time, what the server sends is cut off at the size
// cap, and the event loop keeps running while the loader waits.

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
        QTest::addColumn<int>("withinMs");  // the installed copy is there by then
        // The cap, not the deadline, must stop the endless pages: the deadline
        // is far away for them.
        QTest::newRow("not HTTP") << int(Answer::Garbage) << 20000 << 8000;
        QTest::newRow("not HTTP, without end") << int(Answer::GarbageForever) << 20000 << 8000;
        QTest::newRow("a page without end") << int(Answer::Endless) << 20000 << 8000;
        QTest::newRow("chunks without end") << int(Answer::EndlessChunked) << 20000 << 8000;
        // A page that trickles is cut off by the deadline, however alive it looks.
        QTest::newRow("one byte at a time") << int(Answer::Drip) << 600 << 5000;
        QTest::newRow("redirect to itself") << int(Answer::RedirectLoop) << 20000 << 8000;
    }

    void fallsBackToTheInstalledCopy() {
        QFETCH(int, behaviour);
        QFETCH(int, timeoutMs);
        QFETCH(int, withinMs);
        HttpServer server(static_cast<Answer>(behaviour));
        QVERIFY(server.Start());
        qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

        InfoPageLoader loader;
        loader.SetTimeout(timeoutMs);
        loader.SetMaxBytes(256 * 1024);
        QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
        QElapsedTimer clock;
        clock.start();
        loader.Load(folder_.path() + u'/');
        QVERIFY2(spy.wait(withinMs),
                 qPrintable(QStringLiteral("nothing after %1 ms, server sent %2 bytes")
                                .arg(clock.elapsed())
                                .arg(server.sent)));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
        QVERIFY(spy[0][0].toString().contains(QStringLiteral("installed page")));
        QVERIFY(server.connections >= 1);
        if (static_cast<Answer>(behaviour) == Answer::RedirectLoop) {
            QVERIFY2(server.connections <= 5, qPrintable(QString::number(server.connections)));
        } else {
            // The download was dropped, not read on to the end and thrown away;
            // what the server got rid of lies mostly in the sockets' buffers.
            QTRY_COMPARE_WITH_TIMEOUT(server.disconnects, server.connections, 5000);
            QVERIFY2(server.sent < 16 * 1024 * 1024, qPrintable(QString::number(server.sent)));
        }
        QVERIFY(!spy.wait(300));  // exactly one delivery
    }

    // While the server keeps the loader waiting the window's event loop runs:
    // Load returns at once and a timer keeps ticking until the page is there.
    void eventLoopRunsWhileWaiting() {
        HttpServer server(Answer::Silent);
        QVERIFY(server.Start());
        qputenv("VORLO_INFO_SERVER", server.Address().toLatin1());

        InfoPageLoader loader;
        loader.SetTimeout(1500);
        QSignalSpy spy(&loader, &InfoPageLoader::PageReady);
        int ticks = 0;
        int ticksAtDelivery = -1;
        connect(&loader, &InfoPageLoader::PageReady, this, [&] { ticksAtDelivery = ticks; });
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);

        QElapsedTimer clock;
        clock.start();
        loader.Load(folder_.path() + u'/');
        QVERIFY2(clock.elapsed() < 250, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait(10000));
        QVERIFY2(clock.elapsed() >= 1400, qPrintable(QString::number(clock.elapsed())));
        // 1.5 s at 20 ms: some 75 ticks; a loop blocked for most of it gives few.
        QVERIFY2(ticksAtDelivery >= 25, qPrintable(QString::number(ticksAtDelivery)));
        QCOMPARE(spy[0][1].toUrl().toString(), installedUrl_);
    }

private:
    QTemporaryDir folder_;
    QString installedUrl_;
};

QTEST_GUILESS_MAIN(TestInfoServerFaults)
#include "test_info_server_faults.moc"

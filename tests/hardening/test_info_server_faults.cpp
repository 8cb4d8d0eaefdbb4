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

using namespace vorlo;

namespace {

enum class Behaviour {
    Garbage,         // bytes that are no HTTP response, then the connection closes
    GarbageForever,  // bytes that are no HTTP response, without end
    Endless,         // 200 without a length, and the page never ends
    EndlessChunked,  // 200 chunked, and the chunks never end
    Drip,            // 200 with a length, one byte every 50 ms
    RedirectLoop,    // 302 to itself, every time
    Silent,          // accepts the connection and says nothing
};

// Far more than any page: a server that gets this far was not stopped.
constexpr qint64 kServerLimit = qint64{100} << 20;
constexpr qint64 kPieceSize = 64 * 1024;

class RogueServer : public QTcpServer {
public:
    explicit RogueServer(Behaviour behaviour) : behaviour_(behaviour) {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
                connect(socket, &QTcpSocket::disconnected, this, [this] { ++disconnects; });
            }
        });
    }
    bool Start() { return listen(QHostAddress::LocalHost); }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }

    int connections = 0;
    int disconnects = 0;
    qint64 sent = 0;  // body bytes, all connections together

private:
    void Serve(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        pending_.remove(socket);
        switch (behaviour_) {
            case Behaviour::Garbage:
                socket->write(QByteArray("\x00\xff\xfe garbage \x01\x02\r\n\r\n", 18) +
                              QByteArray(4096, '\x9c'));
                socket->disconnectFromHost();
                break;
            case Behaviour::GarbageForever:
                socket->write(QByteArray(1024, '\xff'));
                Stream(socket, QByteArray(kPieceSize, '\x7f'));
                break;
            case Behaviour::Endless:
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>");
                Stream(socket, QByteArray(kPieceSize, 'x'));
                break;
            case Behaviour::EndlessChunked: {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: "
                    "chunked\r\n\r\n");
                Stream(socket, QByteArray::number(kPieceSize, 16) + "\r\n" +
                                   QByteArray(kPieceSize, 'y') + "\r\n");
                break;
            }
            case Behaviour::Drip: {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n");
                auto* timer = new QTimer(socket);
                connect(timer, &QTimer::timeout, socket, [this, socket] {
                    socket->write("z");
                    ++sent;
                });
                timer->start(50);
                break;
            }
            case Behaviour::RedirectLoop:
                socket->write(
                    "HTTP/1.1 302 Found\r\nLocation: /soft/vorlo_heb.html\r\nContent-Length: "
                    "0\r\n\r\n");
                break;
            case Behaviour::Silent:
                break;
        }
    }

    // Keeps the socket's send buffer filled with `piece` until the peer goes
    // away or the limit is reached.
    void Stream(QTcpSocket* socket, const QByteArray& piece) {
        auto refill = [this, socket, piece] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < 4 * kPieceSize && sent < kServerLimit) {
                socket->write(piece);
                sent += piece.size();
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, refill);
        refill();
    }

    Behaviour behaviour_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

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
        QTest::newRow("not HTTP") << int(Behaviour::Garbage) << 20000 << 8000;
        QTest::newRow("not HTTP, without end") << int(Behaviour::GarbageForever) << 20000 << 8000;
        QTest::newRow("a page without end") << int(Behaviour::Endless) << 20000 << 8000;
        QTest::newRow("chunks without end") << int(Behaviour::EndlessChunked) << 20000 << 8000;
        // A page that trickles is cut off by the deadline, however alive it looks.
        QTest::newRow("one byte at a time") << int(Behaviour::Drip) << 600 << 5000;
        QTest::newRow("redirect to itself") << int(Behaviour::RedirectLoop) << 20000 << 8000;
    }

    void fallsBackToTheInstalledCopy() {
        QFETCH(int, behaviour);
        QFETCH(int, timeoutMs);
        QFETCH(int, withinMs);
        RogueServer server(static_cast<Behaviour>(behaviour));
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
        if (static_cast<Behaviour>(behaviour) == Behaviour::RedirectLoop) {
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
        RogueServer server(Behaviour::Silent);
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

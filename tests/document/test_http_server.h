// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small HTTP server on 127.0.0.1 for the information page's tests: it
// answers every request in one way, well behaved or not, and counts what it
// saw and sent.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace vorlo::test {

enum class Answer {
    Page,            // 200 with `page`
    Silent,          // reads the request and never answers
    Late,            // 200 with `page`, `lateMs` after the request came
    NotFound,        // 404
    Huge,            // 200 with 300 KB
    RedirectAway,    // 302 to `redirectTarget`
    RedirectHome,    // 302 to another path on the same server, which has a page
    Hebrew1255,      // 200 with a page in windows-1255
    Garbage,         // bytes that are no HTTP response, then the connection closes
    GarbageForever,  // bytes that are no HTTP response, without end
    Endless,         // 200 without a length, and the page never ends
    EndlessChunked,  // 200 chunked, and the chunks never end
    Drip,            // 200 with a length, one byte every 50 ms
    RedirectLoop,    // 302 to itself, every time
};

class HttpServer : public QTcpServer {
public:
    // Far more than any page: a server that gets this far was not stopped.
    static constexpr qint64 kLimit = qint64{100} << 20;
    static constexpr qint64 kPieceSize = 64 * 1024;

    explicit HttpServer(Answer answer) : answer_(answer) {
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

    QByteArray page = "<html><body><p>server page</p></body></html>";  // for Page
    QString redirectTarget;                                            // for RedirectAway
    int lateMs = 1000;                                                 // for Late

    QStringList paths;  // request paths in arrival order
    int connections = 0;
    int disconnects = 0;
    qint64 sent = 0;  // body bytes of the endless answers, all connections together

private:
    void Serve(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        const QList<QByteArray> firstLine = request.left(request.indexOf("\r\n")).split(' ');
        const QString path = firstLine.size() > 1 ? QString::fromLatin1(firstLine[1]) : QString();
        pending_.remove(socket);
        paths.append(path);

        QByteArray status = "200 OK";
        QByteArray headers = "Content-Type: text/html; charset=utf-8\r\n";
        QByteArray body;
        switch (answer_) {
            case Answer::Silent:
                return;
            case Answer::Late:
                QTimer::singleShot(lateMs, socket, [this, socket] {
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  QByteArray::number(page.size()) +
                                  "\r\nConnection: close\r\n\r\n" + page);
                    socket->disconnectFromHost();
                });
                return;
            case Answer::Page:
                body = page;
                break;
            case Answer::NotFound:
                status = "404 Not Found";
                body = "<html><body>missing</body></html>";
                break;
            case Answer::Huge:
                body = QByteArray(300 * 1024, 'x');
                break;
            case Answer::RedirectAway:
                status = "302 Found";
                headers = "Location: " + redirectTarget.toLatin1() + "\r\n";
                break;
            case Answer::RedirectHome:
                if (path == QLatin1String("/soft/vorlo_heb.html")) {
                    status = "302 Found";
                    headers = "Location: /soft/moved/vorlo_heb.html\r\n";
                } else {
                    body = "<html><body><p>moved page</p></body></html>";
                }
                break;
            case Answer::Hebrew1255:
                headers = "Content-Type: text/html; charset=windows-1255\r\n";
                body = "<html><body><p>\xe7\xe9\xe3\xe4</p></body></html>";  // חידה
                break;
            case Answer::Garbage:
                socket->write(QByteArray("\x00\xff\xfe garbage \x01\x02\r\n\r\n", 18) +
                              QByteArray(4096, '\x9c'));
                socket->disconnectFromHost();
                return;
            case Answer::GarbageForever:
                socket->write(QByteArray(1024, '\xff'));
                Stream(socket, QByteArray(kPieceSize, '\x7f'));
                return;
            case Answer::Endless:
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>");
                Stream(socket, QByteArray(kPieceSize, 'x'));
                return;
            case Answer::EndlessChunked:
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: "
                    "chunked\r\n\r\n");
                Stream(socket, QByteArray::number(kPieceSize, 16) + "\r\n" +
                                   QByteArray(kPieceSize, 'y') + "\r\n");
                return;
            case Answer::Drip: {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n");
                auto* timer = new QTimer(socket);
                connect(timer, &QTimer::timeout, socket, [this, socket] {
                    socket->write("z");
                    ++sent;
                });
                timer->start(50);
                return;
            }
            case Answer::RedirectLoop:
                socket->write(
                    "HTTP/1.1 302 Found\r\nLocation: /soft/vorlo_heb.html\r\nContent-Length: "
                    "0\r\n\r\n");
                return;
        }
        socket->write("HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    // Keeps the socket's send buffer filled with `piece` until the peer goes
    // away or the limit is reached.
    void Stream(QTcpSocket* socket, const QByteArray& piece) {
        auto refill = [this, socket, piece] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < 4 * kPieceSize && sent < kLimit) {
                socket->write(piece);
                sent += piece.size();
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, refill);
        refill();
    }

    Answer answer_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// A port on which nothing listens.
inline QString ClosedAddress() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

}  // namespace vorlo::test

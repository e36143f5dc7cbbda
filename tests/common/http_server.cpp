// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/http_server.h"

#include <algorithm>
#include <memory>

TestHttpServer::TestHttpServer() : TestHttpServer(std::make_unique<QTcpServer>(), false) {}

TestHttpServer::TestHttpServer(const QSslConfiguration& tls) : TestHttpServer(std::make_unique<QSslServer>(), true)
{
    static_cast<QSslServer*>(server_.get())->setSslConfiguration(tls);
}

// An encrypted connection is pending only once its handshake is done.
TestHttpServer::TestHttpServer(std::unique_ptr<QTcpServer> server, bool tls) : server_(std::move(server)), tls_(tls)
{
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &TestHttpServer::OnConnection);
}

bool TestHttpServer::listen() { return server_->listen(QHostAddress::LocalHost, 0); }

QString TestHttpServer::base() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(tls_ ? "https" : "http").arg(server_->serverPort());
}

void TestHttpServer::OnConnection()
{
    while (QTcpSocket* s = server_->nextPendingConnection()) {
        struct Pending {
            QByteArray data, path;
            bool requested = false, written = false;
        };
        auto buffer = std::make_shared<Pending>();
        connect(s, &QTcpSocket::disconnected, s, [this, s, buffer] {
            if (buffer->requested && !buffer->written) dropped_[buffer->path] += 1;
            s->deleteLater();
        });
        auto onData = [this, s, buffer] {
            if (buffer->requested) return;
            buffer->data += s->readAll();
            if (buffer->data.indexOf("\r\n\r\n") < 0) return;
            const QList<QByteArray> first = buffer->data.left(buffer->data.indexOf("\r\n")).split(' ');
            buffer->requested = true;
            const QByteArray path = buffer->path = first.size() >= 2 ? first[1] : QByteArray("/");
            hits_[path] += 1;
            Route r = routes_.value(path);
            if (!routes_.contains(path)) r.status = 404, r.body = "<html>not here</html>";
            QPointer<QTcpSocket> guard(s);
            auto answer = [guard, r, buffer] {
                if (!guard) return;
                const qint64 size = r.generated > 0 ? r.generated : r.body.size();
                QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Status") +
                                  "\r\nContent-Length: " + QByteArray::number(r.announce >= 0 ? r.announce : size) +
                                  "\r\nConnection: close\r\n";
                for (const auto& h : r.headers) head += h.first + ": " + h.second + "\r\n";
                guard->write(head + "\r\n");
                if (r.generated <= 0) {
                    guard->write(r.cutAfter < 0 ? r.body : r.body.left(r.cutAfter));
                    guard->flush();
                    buffer->written = true;
                    guard->disconnectFromHost();
                    return;
                }
                // Topped up whenever little is left to send: only a few megabytes are ever buffered.
                auto sent = std::make_shared<qint64>(0);
                QTcpSocket* s = guard.data();
                auto topUp = [s, sent, size, buffer] {
                    static const QByteArray block = [] {
                        QByteArray b(kGeneratedPeriod, Qt::Uninitialized);
                        for (qsizetype i = 0; i < b.size(); ++i) b[i] = Generated(i);
                        return b;
                    }();
                    while (*sent < size && s->bytesToWrite() < 4 * block.size()) {
                        const qint64 n = std::min<qint64>(block.size(), size - *sent);
                        s->write(block.constData(), n);
                        *sent += n;
                    }
                    if (*sent >= size && s->bytesToWrite() == 0) {
                        buffer->written = true;
                        s->disconnectFromHost();
                    }
                };
                QObject::connect(s, &QTcpSocket::bytesWritten, s, topUp);
                topUp();
            };
            QTimer::singleShot(r.delayMs, guard, answer);
        };
        connect(s, &QTcpSocket::readyRead, s, onData);
        // An encrypted socket may hold the request already when handed over.
        QMetaObject::invokeMethod(s, onData, Qt::QueuedConnection);
    }
}

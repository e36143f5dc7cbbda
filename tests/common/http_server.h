// A small HTTP/1.1 server on 127.0.0.1 for the update tests: each path
// answers with a set status, headers and body, optionally late or cut off
// halfway. One request per connection.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>
#include <memory>

class QSslConfiguration;

class TestHttpServer : public QObject {
    Q_OBJECT
public:
    struct Route {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        int delayMs = 0;
        // Bytes of the body sent before the connection is closed; -1 sends
        // all. Content-Length always announces the whole body.
        qsizetype cutAfter = -1;
        // Content-Length announced instead of the body's own; -1: the body's.
        qint64 announce = -1;
    };
    TestHttpServer();
    // With a configuration the server speaks HTTPS only.
    explicit TestHttpServer(const QSslConfiguration& tls);
    bool listen();
    QString base() const;  // "http://127.0.0.1:PORT" (or https)
    void route(const QByteArray& path, Route r) { routes_[path] = std::move(r); }
    int hits(const QByteArray& path) const { return hits_.value(path); }

private:
    void OnConnection();

    std::unique_ptr<QTcpServer> server_;
    bool tls_ = false;
    QHash<QByteArray, Route> routes_;
    QHash<QByteArray, int> hits_;
};

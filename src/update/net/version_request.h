// SPDX-License-Identifier: GPL-3.0-or-later
// The request for the version file: collects the answer's bytes and reports
// the whole file once it has arrived. A failure reports nothing beyond
// failed(). The body is capped so a wrong or hostile server cannot fill
// memory: past the cap the request is aborted as failed.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace ks {

class VersionRequest : public QObject {
    Q_OBJECT
public:
    VersionRequest(QNetworkAccessManager& nam, const QUrl& url, QObject* parent = nullptr);
    ~VersionRequest() override;

    // Stops the request; nothing is reported after this.
    void abort();
    bool running() const { return !reply_.isNull(); }
    // Why the request failed, in one line; empty before failed().
    QString errorString() const { return error_; }

signals:
    // A 2xx answer, complete (gResponseData).
    void finishedLoading(const QByteArray& data);
    void failed();

private:
    void ResponseReceived();
    void DataReceived();
    void FinishedLoading();

    QPointer<QNetworkReply> reply_;
    QByteArray gResponseData;
    QString error_;
};

}  // namespace ks

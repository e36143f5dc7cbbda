// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/net/version_request.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "update/version.h"

namespace ks {

VersionRequest::VersionRequest(QNetworkAccessManager& nam, const QUrl& url, QObject* parent) : QObject(parent)
{
    QNetworkRequest request(url);
    // Certificates are verified by default; TLS errors are never ignored, so
    // they end the request as failed.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    reply_ = nam.get(request);
    // Only what fits under the cap is ever buffered by the reply itself.
    reply_->setReadBufferSize(kVersionFileMaxBytes);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &VersionRequest::ResponseReceived);
    connect(reply_, &QNetworkReply::readyRead, this, &VersionRequest::DataReceived);
    connect(reply_, &QNetworkReply::finished, this, &VersionRequest::FinishedLoading);
}

VersionRequest::~VersionRequest() { abort(); }

void VersionRequest::abort()
{
    if (QNetworkReply* r = reply_.data()) {
        reply_.clear();
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
}

void VersionRequest::ResponseReceived() { gResponseData.clear(); }

void VersionRequest::DataReceived()
{
    if (!reply_) return;
    const QByteArray chunk = reply_->readAll();
    if (gResponseData.size() + chunk.size() > kVersionFileMaxBytes) {
        abort();
        error_ = QStringLiteral("the answer is larger than %1 bytes").arg(kVersionFileMaxBytes);
        emit failed();
        return;
    }
    gResponseData += chunk;
}

void VersionRequest::FinishedLoading()
{
    QNetworkReply* r = reply_.data();
    if (!r) return;
    DataReceived();
    if (!reply_) return;  // over the cap: already reported
    const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = r->error() == QNetworkReply::NoError && (status == 0 || (status >= 200 && status < 300));
    if (r->error() != QNetworkReply::NoError)
        error_ = r->errorString();
    else if (!ok)
        error_ = QStringLiteral("the server answered with status %1").arg(status);
    reply_.clear();
    r->disconnect(this);
    r->deleteLater();
    QByteArray data;
    data.swap(gResponseData);  // the buffer is released either way
    if (ok)
        emit finishedLoading(data);
    else
        emit failed();
}

}  // namespace ks

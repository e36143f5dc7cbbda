// SPDX-License-Identifier: GPL-3.0-or-later
// The archive download over Qt Network: the kestrova-download module, which
// the update check loads on the first download.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryFile>
#include <memory>

#include "update/archive_download.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace ks {

class NetworkArchiveDownload final : public QObject, public ArchiveDownload {
    Q_OBJECT
public:
    // What the reply may hold before we take it: each chunk goes to the
    // file as it comes, so memory stays flat and no pass of the event loop
    // writes more than this.
    static constexpr qint64 kReadBuffer = qint64(256) << 10;

    NetworkArchiveDownload();
    ~NetworkArchiveDownload() override;

    bool start(const std::string& url, const std::string& folder, std::chrono::milliseconds timeout) override;
    void abort() override;
    bool running() const override { return !reply_.isNull(); }
    std::string savedPath() const override { return savedPath_.toStdString(); }

private:
    void OnMetaData();
    void OnData();
    void OnFinished();
    bool StatusOk() const;
    bool OpenPartial();
    bool Commit();
    void Fail();

    std::unique_ptr<QNetworkAccessManager> nam_;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QTemporaryFile> file_;  // the archive while it arrives
    QString folder_;
    QString name_;  // what the server calls it, made safe
    QString savedPath_;
    qint64 written_ = 0;
    qint64 flushedTo_ = 0;   // handed to the disk up to here
    qint64 announced_ = -1;  // Content-Length, -1 when not given
    bool failed_ = false;
};

// Gives the finished file `from` the first of name, "stem (1).ext" ...
// "stem (maxNumbered).ext" in folder that no file (nor a dangling link)
// has, in one step each: a name taken meanwhile by someone else is never
// replaced. The name given, or empty when all are taken or the file cannot
// be moved.
QString CommitUnderFreeName(const QString& from, const QString& folder, const QString& name, int maxNumbered);

}  // namespace ks

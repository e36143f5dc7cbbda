// The archive download over Qt Network: the kestrova-download module, which
// the update check loads on the first download.
#pragma once

#include <QPointer>
#include <QSaveFile>
#include <memory>

#include "update/qt/archive_download.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace ks {

class NetworkArchiveDownload final : public ArchiveDownload {
    Q_OBJECT
public:
    // What the reply may hold before we take it: each chunk goes to the
    // file as it comes, so memory stays flat and no pass of the event loop
    // writes more than this.
    static constexpr qint64 kReadBuffer = qint64(256) << 10;

    NetworkArchiveDownload();
    ~NetworkArchiveDownload() override;

    bool start(const QUrl& url, const QString& folder, std::chrono::milliseconds timeout) override;
    void abort() override;
    bool running() const override { return !reply_.isNull(); }
    QString savedPath() const override { return savedPath_; }

private:
    void OnMetaData();
    void OnData();
    void OnFinished();
    bool StatusOk() const;
    bool OpenDestination();
    void Fail();

    std::unique_ptr<QNetworkAccessManager> nam_;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    QString folder_;
    QString savedPath_;
    qint64 written_ = 0;
    qint64 flushedTo_ = 0;   // handed to the disk up to here
    qint64 announced_ = -1;  // Content-Length, -1 when not given
    bool failed_ = false;
};

// A name in folder that no file has yet: name, "stem (1).ext", ... "stem
// (99).ext"; empty when all are taken.
QString FreeFileName(const QString& folder, const QString& name, int maxNumbered);

}  // namespace ks

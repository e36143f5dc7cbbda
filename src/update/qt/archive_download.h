// The download of the installer archive into a folder. The file is written
// through QSaveFile as it arrives: it appears under its name only when the
// whole announced archive has arrived, so a failed, cut-off or oversized
// download leaves nothing behind. An
// existing file is never overwritten: the name gets " (1)" ... " (99)"
// before its extension, and when all of those are taken the download fails.
#pragma once

#include <chrono>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace ks {

class ArchiveDownload : public QObject {
    Q_OBJECT
public:
    // Bigger answers are refused: no installer is near this size, and a
    // server streaming without end must not fill the disk.
    static constexpr qint64 kMaxArchive = qint64(1) << 30;
    // What the reply may hold before we take it: each chunk goes to the
    // file as it comes, so memory stays flat and no pass of the event loop
    // writes more than this.
    static constexpr qint64 kReadBuffer = qint64(256) << 10;
    static constexpr qint64 kWriteBehind = qint64(8) << 20;
    static constexpr int kMaxNumbered = 99;

    ArchiveDownload(QNetworkAccessManager& nam, QObject* parent = nullptr);
    ~ArchiveDownload() override;

    // Starts the download into folder (created when missing). False when it
    // cannot be started; then nothing is reported.
    bool start(const QUrl& url, const QString& folder, std::chrono::milliseconds timeout);
    // Stops a running download without a report; its partial file is gone.
    void abort();
    bool running() const { return !reply_.isNull(); }
    // The file written by the last successful download.
    QString savedPath() const { return savedPath_; }

signals:
    // After each chunk written; total is -1 when the size is not announced.
    void progress(qint64 received, qint64 total);
    // Once per started download: true when the whole archive is saved.
    void finished(bool ok);

private:
    void OnMetaData();
    void OnData();
    void OnFinished();
    bool StatusOk() const;
    bool OpenDestination();
    void Fail();

    QNetworkAccessManager& nam_;  // outlives every download it makes
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    QString folder_;
    QString savedPath_;
    qint64 written_ = 0;
    qint64 flushedTo_ = 0;  // handed to the disk up to here
    qint64 announced_ = -1;  // Content-Length, -1 when not given
    bool failed_ = false;
};

// A name in folder that no file has yet: name, "stem (1).ext", ... "stem
// (99).ext"; empty when all are taken.
QString FreeFileName(const QString& folder, const QString& name, int maxNumbered);

}  // namespace ks

// The download of the installer archive into a folder. The file is written
// through QSaveFile as it arrives: it appears under its name only when the
// whole announced archive has arrived, so a failed, cut-off or oversized
// download leaves nothing behind. An
// existing file is never overwritten: the name gets " (1)" ... " (99)"
// before its extension, and when all of those are taken the download fails.
//
// Only the interface is the program's: the download itself, with Qt Network,
// is the kestrova-download module (network_download.h), loaded on the first
// download so the program starts without the network stack.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>

namespace ks {

class ArchiveDownload : public QObject {
    Q_OBJECT
public:
    // Bigger answers are refused: no installer is near this size, and a
    // server streaming without end must not fill the disk.
    static constexpr qint64 kMaxArchive = qint64(1) << 30;
    // Written data is handed to the disk in steps of this size.
    static constexpr qint64 kWriteBehind = qint64(8) << 20;
    static constexpr int kMaxNumbered = 99;

    // The module's factory: a new download without a parent.
    using Factory = ArchiveDownload* (*)();
    static constexpr const char* kFactory = "kestrova_archive_download";

    using QObject::QObject;

    // Starts the download into folder (created when missing). False when it
    // cannot be started; then nothing is reported.
    virtual bool start(const QUrl& url, const QString& folder, std::chrono::milliseconds timeout) = 0;
    // Stops a running download without a report; its partial file is gone.
    virtual void abort() = 0;
    virtual bool running() const = 0;
    // The file written by the last successful download.
    virtual QString savedPath() const = 0;

signals:
    // After each chunk written; total is -1 when the size is not announced.
    void progress(qint64 received, qint64 total);
    // Once per started download: true when the whole archive is saved.
    void finished(bool ok);
};

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
// The download of the installer archive into a folder. The file appears
// under its name only when the whole announced archive has arrived, so a
// failed, cut-off or oversized download leaves nothing behind. An existing
// file is never overwritten: the name gets " (1)" ... " (99)" before its
// extension, and when all of those are taken the download fails.
//
// Only the interface is the program's: the download itself, with Qt Network,
// is the kestrova-download module, loaded on the first download so the
// program starts without the network stack. Its reports come back through
// plain callbacks, on the thread that runs the download's event loop.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace ks {

class ArchiveDownload {
public:
    // Bigger answers are refused: no installer is near this size, and a
    // server streaming without end must not fill the disk.
    static constexpr std::int64_t kMaxArchive = std::int64_t(1) << 30;
    // Written data is handed to the disk in steps of this size.
    static constexpr std::int64_t kWriteBehind = std::int64_t(8) << 20;
    static constexpr int kMaxNumbered = 99;

    // The module's factory: a new download.
    using Factory = ArchiveDownload* (*)();
    static constexpr const char* kFactory = "kestrova_archive_download";

    struct Reports {
        // After each chunk written; total is -1 when the size is not announced.
        std::function<void(std::int64_t received, std::int64_t total)> progress;
        // Once per started download: true when the whole archive is saved.
        std::function<void(bool ok)> finished;
    };

    virtual ~ArchiveDownload() = default;

    void setReports(Reports reports) { reports_ = std::move(reports); }

    // Starts the download of url (its encoded text) into folder (a UTF-8
    // path, created when missing). False when it cannot be started; then
    // nothing is reported.
    virtual bool start(const std::string& url, const std::string& folder, std::chrono::milliseconds timeout) = 0;
    // Stops a running download without a report; its partial file is gone.
    virtual void abort() = 0;
    virtual bool running() const = 0;
    // The file written by the last successful download (UTF-8).
    virtual std::string savedPath() const = 0;

protected:
    void ReportProgress(std::int64_t received, std::int64_t total) const
    {
        if (reports_.progress) reports_.progress(received, total);
    }
    void ReportFinished(bool ok) const
    {
        if (reports_.finished) reports_.finished(ok);
    }

private:
    Reports reports_;
};

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/download/network_download.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <cerrno>

#include "update/download_name.h"

namespace ks {

namespace {

// Moves from to to unless to exists, as one step of the file system. Where
// the file system cannot refuse a rename by itself, a hard link does the
// same (it fails on an existing name) and the old name goes after.
bool MoveUnlessTaken(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (::link(from.constData(), to.constData()) != 0) return false;
    ::unlink(from.constData());
    return true;
}

}  // namespace

QString CommitUnderFreeName(const QString& from, const QString& folder, const QString& name, int maxNumbered)
{
    const QDir dir(folder);
    const QByteArray source = QFile::encodeName(from);
    const std::string utf8 = name.toStdString();
    for (int n = 0; n <= maxNumbered; ++n) {
        const QString candidate = QString::fromStdString(NumberedFileName(utf8, n));
        if (MoveUnlessTaken(source, QFile::encodeName(dir.filePath(candidate)))) return dir.filePath(candidate);
        if (errno != EEXIST) return QString();
    }
    return QString();
}

NetworkArchiveDownload::NetworkArchiveDownload() : nam_(std::make_unique<QNetworkAccessManager>()) {}

NetworkArchiveDownload::~NetworkArchiveDownload() { abort(); }

bool NetworkArchiveDownload::start(const std::string& url, const std::string& folder, std::chrono::milliseconds timeout)
{
    const QUrl target = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    if (running() || !target.isValid() || folder.empty()) return false;
    const QString dir = QString::fromStdString(folder);
    if (!QDir().mkpath(dir)) return false;
    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    folder_ = dir;
    name_.clear();
    savedPath_.clear();
    written_ = 0;
    flushedTo_ = 0;
    announced_ = -1;
    failed_ = false;
    file_.reset();
    reply_ = nam_->get(request);
    if (!reply_) return false;
    reply_->setReadBufferSize(kReadBuffer);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &NetworkArchiveDownload::OnMetaData);
    connect(reply_, &QNetworkReply::readyRead, this, &NetworkArchiveDownload::OnData);
    connect(reply_, &QNetworkReply::finished, this, &NetworkArchiveDownload::OnFinished);
    return true;
}

void NetworkArchiveDownload::abort()
{
    if (QNetworkReply* r = reply_.data()) {
        reply_.clear();
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
    file_.reset();  // the partial file is removed with it
}

bool NetworkArchiveDownload::StatusOk() const
{
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status == 0 || (status >= 200 && status < 300);
}

// The partial file, hidden in the destination folder (so the final move is a
// rename on the same file system), and the name it is meant to get: when
// every numbered name is taken already, the download fails before a byte is
// written.
bool NetworkArchiveDownload::OpenPartial()
{
    const QByteArray disposition = reply_->rawHeader("Content-Disposition");
    const QByteArray path = reply_->url().path(QUrl::FullyEncoded).toUtf8();
    name_ = QString::fromStdString(
        ChooseDownloadName(std::string_view(disposition.constData(), std::size_t(disposition.size())),
                           std::string_view(path.constData(), std::size_t(path.size())), "Kestrova.zip"));
    const QDir dir(folder_);
    bool free = false;
    for (int n = 0; n <= kMaxNumbered && !free; ++n) {
        const QFileInfo info(dir.filePath(QString::fromStdString(NumberedFileName(name_.toStdString(), n))));
        free = !info.exists() && !info.isSymLink();  // a dangling link counts as taken too
    }
    if (!free) return false;
    file_ = std::make_unique<QTemporaryFile>(dir.filePath(QStringLiteral(".kestrova-download-XXXXXX")));
    return file_->open();
}

// Flushed to the disk, given the permissions a new file of the user gets,
// then moved under its free name in one step.
bool NetworkArchiveDownload::Commit()
{
    if (!file_->flush() || ::fdatasync(file_->handle()) != 0) return false;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(file_->handle(), 0666 & ~mask) != 0) return false;
    const QString saved = CommitUnderFreeName(file_->fileName(), folder_, name_, kMaxNumbered);
    if (saved.isEmpty()) return false;
    file_->setAutoRemove(false);  // it has its own name now
    savedPath_ = saved;
    return true;
}

void NetworkArchiveDownload::Fail()
{
    failed_ = true;
    file_.reset();
    // Aborting makes the reply finish, which reports the failure.
    if (QNetworkReply* r = reply_.data(); r && !r->isFinished()) r->abort();
}

void NetworkArchiveDownload::OnMetaData()
{
    if (!reply_ || failed_) return;
    // Announced beyond the bound: refused before a byte is written.
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    announced_ = length.isValid() ? length.toLongLong() : -1;
    if (announced_ > kMaxArchive) Fail();
}

void NetworkArchiveDownload::OnData()
{
    if (!reply_ || failed_) return;
    if (!StatusOk() || reply_->error() != QNetworkReply::NoError) {
        reply_->readAll();  // an error page is not the archive
        return;
    }
    if (!file_ && !OpenPartial()) {
        Fail();
        return;
    }
    const QByteArray chunk = reply_->readAll();
    if (written_ + chunk.size() > kMaxArchive || file_->write(chunk) != chunk.size()) {
        Fail();
        return;
    }
    written_ += chunk.size();
    // Each chunk moves the bar (the reply's own report comes at most ten
    // times a second, too seldom for a fast link).
    ReportProgress(written_, announced_);
#ifdef __linux__
    // Starts writing the pages out as they come, without waiting, so the
    // commit's sync at the end has little left to do on the main thread.
    if (written_ - flushedTo_ >= kWriteBehind && file_->flush()) {
        ::sync_file_range(file_->handle(), flushedTo_, written_ - flushedTo_, SYNC_FILE_RANGE_WRITE);
        flushedTo_ = written_;
    }
#endif
}

void NetworkArchiveDownload::OnFinished()
{
    QNetworkReply* r = reply_.data();
    if (!r) return;
    if (!failed_) OnData();
    bool ok = !failed_ && r->error() == QNetworkReply::NoError && StatusOk();
    // A connection closed before the announced length is a cut-off archive.
    const QVariant length = r->header(QNetworkRequest::ContentLengthHeader);
    if (ok && length.isValid() && length.toLongLong() != written_) ok = false;
    if (ok && !file_) ok = OpenPartial();  // an empty archive is still a file
    if (ok) ok = Commit();
    file_.reset();
    reply_.clear();
    r->disconnect(this);
    r->deleteLater();
    ReportFinished(ok);
}

}  // namespace ks

#include "update/qt/network_download.h"

#include <fcntl.h>

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <type_traits>

#include "update/download_name.h"

namespace ks {

QString FreeFileName(const QString& folder, const QString& name, int maxNumbered)
{
    const QDir dir(folder);
    const std::string utf8 = name.toStdString();
    for (int n = 0; n <= maxNumbered; ++n) {
        const QString candidate = QString::fromStdString(NumberedFileName(utf8, n));
        // A dangling symbolic link counts as taken too.
        const QFileInfo info(dir.filePath(candidate));
        if (!info.exists() && !info.isSymLink()) return candidate;
    }
    return QString();
}

NetworkArchiveDownload::NetworkArchiveDownload() : nam_(std::make_unique<QNetworkAccessManager>()) {}

NetworkArchiveDownload::~NetworkArchiveDownload() { abort(); }

bool NetworkArchiveDownload::start(const QUrl& url, const QString& folder, std::chrono::milliseconds timeout)
{
    if (running() || !url.isValid() || folder.isEmpty()) return false;
    if (!QDir().mkpath(folder)) return false;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    folder_ = folder;
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
    if (file_) file_->cancelWriting();
    file_.reset();  // uncommitted: the partial file is removed
}

bool NetworkArchiveDownload::StatusOk() const
{
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status == 0 || (status >= 200 && status < 300);
}

bool NetworkArchiveDownload::OpenDestination()
{
    const QByteArray disposition = reply_->rawHeader("Content-Disposition");
    const QByteArray path = reply_->url().path(QUrl::FullyEncoded).toUtf8();
    const std::string name =
        ChooseDownloadName(std::string_view(disposition.constData(), std::size_t(disposition.size())),
                           std::string_view(path.constData(), std::size_t(path.size())), "Kestrova.zip");
    const QString free = FreeFileName(folder_, QString::fromStdString(name), kMaxNumbered);
    if (free.isEmpty()) return false;
    file_ = std::make_unique<QSaveFile>(QDir(folder_).filePath(free));
    return file_->open(QIODevice::WriteOnly);
}

void NetworkArchiveDownload::Fail()
{
    failed_ = true;
    if (file_) file_->cancelWriting();
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
    if (!file_ && !OpenDestination()) {
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
    emit progress(written_, announced_);
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
    if (ok && !file_) ok = OpenDestination();  // an empty archive is still a file
    if (ok) {
        // Someone may have made a file of that name meanwhile: never replace it.
        const QFileInfo target(file_->fileName());
        if (target.exists() || target.isSymLink()) ok = false;
    }
    if (ok) {
        const QString name = file_->fileName();
        ok = file_->commit();
        if (ok) savedPath_ = name;
    } else if (file_) {
        file_->cancelWriting();
    }
    file_.reset();
    reply_.clear();
    r->disconnect(this);
    r->deleteLater();
    emit finished(ok);
}

}  // namespace ks

extern "C" Q_DECL_EXPORT ks::ArchiveDownload* kestrova_archive_download() { return new ks::NetworkArchiveDownload; }
static_assert(std::is_same_v<decltype(&kestrova_archive_download), ks::ArchiveDownload::Factory>);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/update_check.h"

#include <QPushButton>
#include <algorithm>
#include <utility>

#include "context/kestrova.h"
#include "support/macroman.h"
#include "support/qt/module.h"
#include "support/qt/qt_text.h"
#include "support/qt/resource_dir.h"
#include "update/archive_download.h"
#include "update/qt/downloads_folder.h"
#include "update/qt/fetch_process.h"
#include "update/qt/update_desktop.h"
#include "update/version.h"

namespace ks {

namespace {

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

using W = UpdateWindow;

// The window's buttons, each with its place.
constexpr W::Button kOkButton{W::kOk, "OK", {320, 110, 400, 130}, true};
constexpr W::Button kDownloadButton{W::kDownload, "Download...", {275, 110, 400, 130}, true};
constexpr W::Button kDontDownloadButton{W::kDontDownload, "Don't Download", {130, 110, 255, 130}, false};
constexpr W::Button kLaunchInstallerButton{
    W::kLaunchInstaller, "Launch Installer and Quit", {130, 110, 310, 130}, false};
constexpr W::Button kDownloadedOkButton{W::kDownloadedOk, "OK", {330, 110, 400, 130}, true};

}  // namespace

UpdateCheck::UpdateCheck(Kestrova& k, UpdateDesktop& desktop, QObject* parent)
    : QObject(parent),
      k_(k),
      desktop_(desktop),
      downloads_(DefaultDownloadsFolder()),
      fetchProgram_(SiblingProgram(QStringLiteral("kestrova-fetch")))
{
    for (QTimer* t : {&judgeTimer_, &answerLimit_, &trashWait_, &zipWait_, &quitWait_}) t->setSingleShot(true);
    connect(&judgeTimer_, &QTimer::timeout, this, [this] { CarbonTimerActionCheckVersion(1); });
    connect(&answerLimit_, &QTimer::timeout, this, [this] {
        k_.up.CheckFailedFlag = 1;
        Judge();
    });
    connect(&trashWait_, &QTimer::timeout, this, [this] { Download(QUrl(FromUtf8(k_.up.downloadURL))); });
    connect(&zipWait_, &QTimer::timeout, this, [this] {
        LSLaunchURLInDownloadsFolder(desktop_, downloads_, FromUtf8(k_.up.downFileName));
        emit closeDesignWindow();
        quitWait_.start(kQuitWaitMs);
    });
    connect(&quitWait_, &QTimer::timeout, this, [this] { emit quitRequested(); });
}

ArchiveDownload* UpdateCheck::Downloader()
{
    if (download_) return download_.get();
    const auto make = reinterpret_cast<ArchiveDownload::Factory>(
        ModuleFunction(QStringLiteral("kestrova-download"), ArchiveDownload::kFactory));
    if (!make) return nullptr;
    download_.reset(make());
    download_->setReports({.progress =
                               [this](std::int64_t received, std::int64_t total) {
                                   if (window_) window_->ShowProgress(received, total);
                               },
                           .finished =
                               [this](bool ok) {
                                   k_.up.DownLoadOkFlag = ok ? 0 : 1;
                                   if (ok) k_.up.downloadedPath = download_->savedPath();
                                   ShowDownLoadFinished();
                                   emit downloadFinished(ok);
                               }});
    return download_.get();
}

void UpdateCheck::HoldTimers(bool hold)
{
    if (hold) {
        for (QTimer* t : {&judgeTimer_, &answerLimit_, &trashWait_, &zipWait_, &quitWait_}) {
            if (!t->isActive()) continue;
            heldTimers_.emplace_back(t, std::max(0, t->remainingTime()));
            t->stop();
        }
        return;
    }
    // Every start elsewhere names its delay, so the shortened one set here
    // does not stay behind.
    for (auto [t, left] : std::exchange(heldTimers_, {})) t->start(left);
}

UpdateCheck::~UpdateCheck()
{
    request_.reset();
    status_.reset();
    if (download_) download_->abort();
    download_.reset();
    if (window_) {
        window_->CloseQuietly();
        delete window_.data();
    }
}

bool UpdateCheck::downloading() const { return (download_ && download_->running()) || trashWait_.isActive(); }

void UpdateCheck::CheckForUpdatesCommand()
{
    emit menusBusy();
    InitUpdateFlag();
    k_.sh.CheckByMenuFlag = 1;
    CheckForVersion();
}

void UpdateCheck::StartUpdateCheck()
{
    if (judgementPending() || window_) return;
    InitUpdateFlag();
    CheckForVersion();
}

void UpdateCheck::InitUpdateFlag()
{
    k_.up.NetConnectFlag = 0;
    k_.up.UpdateOkFlag = 0;
    k_.up.DownLoadOkFlag = 0;
    k_.up.CheckFailedFlag = 0;
    k_.sh.CheckByMenuFlag = 0;
}

void UpdateCheck::ReadBundleVersion()
{
    if (bundleVersion_.isEmpty())
        k_.up.bundleStr = GetCFBundleVersion("CFBundleShortVersionString");
    else
        k_.up.bundleStr = Utf8ToMacRomanLossy(bundleVersion_.toStdString());
}

void UpdateCheck::CheckForVersion()
{
    if (probe_)
        k_.up.NetConnectFlag = probe_() ? 0 : 1;
    else
        AskNetworkStatus();
    // Known before any answer, so the window names the running version
    // even when the server never answers.
    ReadBundleVersion();
    CheckForNewVersion(QUrl(FromUtf8(k_.up.checkVerURL)));
    answerLimit_.stop();
    judgeTimer_.start(kJudgeDelayMs);  // replaces an earlier, unjudged one
}

void UpdateCheck::AskNetworkStatus()
{
    k_.up.NetConnectFlag = 0;
    status_ = std::make_unique<FetchProcess>(fetchProgram_, QStringList{QStringLiteral("--network-status")});
    connect(status_.get(), &FetchProcess::finishedLoading, this, [this](const QByteArray& answer) {
        if (answer.trimmed() == "down") k_.up.NetConnectFlag = 1;
    });
}

void UpdateCheck::CheckForNewVersion(const QUrl& url)
{
    request_ = std::make_unique<FetchProcess>(fetchProgram_, QStringList{url.toString(QUrl::FullyEncoded)});
    connect(request_.get(), &FetchProcess::finishedLoading, this, &UpdateCheck::OnVersionFile);
    connect(request_.get(), &FetchProcess::failed, this, &UpdateCheck::OnRequestFailed);
}

void UpdateCheck::OnVersionFile(const QByteArray& data)
{
    k_.up.availStr = DecodeVersionFile(std::string_view(data.constData(), std::size_t(data.size())));
    ReadBundleVersion();
    k_.up.UpdateOkFlag = JudgeNewer(k_.up.availStr, k_.up.bundleStr);
    if (answerLimit_.isActive()) Judge();
}

void UpdateCheck::OnRequestFailed()
{
    k_.up.CheckFailedFlag = 1;
    if (answerLimit_.isActive()) Judge();
}

void UpdateCheck::CarbonTimerActionCheckVersion(int code)
{
    if (code != 1) return;
    // Asked for from the menu, the window waits for the outcome rather than
    // call a version it has not heard of current.
    if (k_.sh.CheckByMenuFlag == 1 && request_ && request_->running()) {
        answerLimit_.start(std::max(0, answerLimitMs_ - kJudgeDelayMs));
        return;
    }
    Judge();
}

void UpdateCheck::Judge()
{
    answerLimit_.stop();
    // An answer later than this changes nothing: stop waiting for it.
    if (request_) request_->abort();
    if (status_) status_->abort();
    if (k_.up.UpdateOkFlag == 1 || k_.sh.CheckByMenuFlag == 1) {
        emit menusBusy();
        CheckForUpdateWnd();
    }
    k_.sh.CheckForUpFlag = 1;
    emit judged();
}

void UpdateCheck::CheckForUpdateWnd()
{
    if (window_) {
        window_->CloseQuietly();
        delete window_.data();
    }
    auto* w = new UpdateWindow();
    window_ = w;
    connect(w, &UpdateWindow::controlHit, this, &UpdateCheck::ControlHit);
    connect(w, &UpdateWindow::returnPressed, this, &UpdateCheck::WindowReturn);
    connect(w, &UpdateWindow::closeRequested, this, &UpdateCheck::CheckForUpdateWndOkButton);
    w->SetLaunchCheck(k_.prefs.UpdateForCheck != 0);

    const UpdateState& u = k_.up;
    if (u.NetConnectFlag == 1 || u.CheckFailedFlag == 1) {
        // The network was reported down, or no version file came: whatever
        // answered, there is no download to offer, and no version to call
        // current.
        w->SetMessage(QStringLiteral("Network Connection Failed."),
                      QStringLiteral("Please confirm the network connection."));
    } else if (u.UpdateOkFlag == 1) {
        w->SetMessage(QStringLiteral("Newer Version is Available."),
                      FromMacRoman(PStr("Newer Version : ") + VersionLine(u.availStr)));
    } else {
        w->SetMessage(QStringLiteral("This Version is Currently."),
                      FromMacRoman(PStr("Current Version : ") + VersionLine(u.bundleStr)));
    }
    if (u.NetConnectFlag == 0 && u.CheckFailedFlag == 0 && u.UpdateOkFlag == 1) {
        w->AddButton(kDownloadButton);
        w->AddButton(kDontDownloadButton);
        k_.up.checkUpdateBtn = kDownloadButton.id;
    } else {
        w->AddButton(kOkButton);
        k_.up.checkUpdateBtn = kOkButton.id;
    }
    w->show();
    w->activateWindow();
}

void UpdateCheck::CheckForUpdateWndOkButton()
{
    if (installing_) return;
    trashWait_.stop();
    if (download_) download_->abort();
    if (window_) {
        window_->CloseQuietly();
        window_->deleteLater();
        window_.clear();
    }
    k_.up.checkUpdateBtn = 0;
    if (k_.sh.CheckForUpFlag == 1 && k_.sh.CheckByMenuFlag == 0)
        emit menusOpen();
    else if (k_.sh.RespWndCloseFlag == 0)
        emit menusOpen();
    else
        emit menusClosed();
}

void UpdateCheck::CheckForUpdateWndDownloadButton()
{
    // A second press while the first download runs would only race it.
    if (downloading() || installing_) return;
    ObjectToTrash(desktop_, downloads_, FromUtf8(k_.up.downFileZip));
    ObjectToTrash(desktop_, downloads_, FromUtf8(k_.up.downFileName));
    trashWait_.start(kTrashWaitMs);
}

void UpdateCheck::Download(const QUrl& url)
{
    k_.up.downloadedPath.clear();
    ArchiveDownload* d = Downloader();
    if (!d || !d->start(url.toEncoded().toStdString(), downloads_.toStdString(),
                        std::chrono::milliseconds(kDownloadTimeoutMs))) {
        k_.up.DownLoadOkFlag = 1;
        ShowDownLoadFinished();
        emit downloadFinished(false);
        return;
    }
    if (window_) window_->ShowProgress(0, -1);
}

void UpdateCheck::ShowDownLoadFinished()
{
    UpdateWindow* w = window_.data();
    if (!w) return;
    w->HideProgress();
    w->RemoveControl(W::kDownload);
    w->RemoveControl(W::kDontDownload);
    if (k_.up.DownLoadOkFlag == 0) {
        w->SetMessage(QStringLiteral("Download is Successful."),
                      QStringLiteral("Download file is in the downloads folder."));
        w->AddButton(kLaunchInstallerButton);
    } else {
        w->SetMessage(QStringLiteral("Download is Failed."), QStringLiteral("Please try again later."));
    }
    w->AddButton(kDownloadedOkButton);
    k_.up.checkUpdateBtn = kDownloadedOkButton.id;
}

void UpdateCheck::LaunchInstallerAndQuit()
{
    if (installing_) return;
    installing_ = true;
    if (window_) window_->SetButtonsEnabled(false);
    // The file actually saved, which is the archive's own name unless the
    // server suggested another.
    const QString zip = k_.up.downloadedPath.empty() ? FromUtf8(k_.up.downFileZip) : FromUtf8(k_.up.downloadedPath);
    LSLaunchURLInDownloadsFolder(desktop_, downloads_, zip);
    zipWait_.start(kZipOpenWaitMs);
}

void UpdateCheck::ControlHit(int id, int state)
{
    switch (id) {
    case W::kOk:
    case W::kDontDownload:
    case W::kDownloadedOk: CheckForUpdateWndOkButton(); break;
    case W::kDownload: CheckForUpdateWndDownloadButton(); break;
    case W::kLaunchInstaller: LaunchInstallerAndQuit(); break;
    case W::kLaunchCheck: k_.prefs.UpdateForCheck = state; break;
    default: break;
    }
}

void UpdateCheck::WindowReturn()
{
    switch (k_.up.checkUpdateBtn) {
    case W::kOk:
    case W::kDownloadedOk: CheckForUpdateWndOkButton(); break;
    case W::kDownload: CheckForUpdateWndDownloadButton(); break;
    default: break;
    }
}

}  // namespace ks

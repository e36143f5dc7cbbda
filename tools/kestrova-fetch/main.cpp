// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-fetch: fetches one version file and writes it to standard output,
// or tells the system's passive network status. Kestrova runs it for its
// update check; the network stack lives and dies with this process.
#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <string>

#include "support/program_lines.h"
#include "update/net/network_status.h"
#include "update/net/version_request.h"

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
// A stalled server or name lookup must not keep the process alive.
constexpr int kOverallMs = 30000;
constexpr qsizetype kMaxUrl = 2048;

constexpr const char* kUsageText =
    "Usage: kestrova-fetch URL\n"
    "       kestrova-fetch --network-status\n"
    "       kestrova-fetch --help | -h | --version\n"
    "Writes the file at URL (http or https, at most 64 KiB, answered with a 2xx\n"
    "status) to standard output. --network-status prints \"up\" or \"down\", as the\n"
    "system reports the connection; it sends nothing.\n"
    "Exit status: 0 done; 1 the fetch failed (one line on standard error);\n"
    "2 wrong arguments.\n";

int Fail(int status, const QString& why)
{
    std::fprintf(stderr, "kestrova-fetch: %s\n", qPrintable(why.simplified()));
    return status;
}

// One absolute http or https address with a host; anything else is refused
// before any connection is made.
bool ParseUrl(const std::string& arg, QUrl& url)
{
    if (arg.empty() || qsizetype(arg.size()) > kMaxUrl) return false;
    url = QUrl(QString::fromStdString(arg), QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) &&
           !url.host().isEmpty();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Fail(kUsage, QStringLiteral("give one URL, or --network-status (see --help)"));
    const std::string arg = argv[1];
    if (arg == "--help" || arg == "-h" || arg == "--version") {
        const std::string text = arg == "--version" ? ks::VersionText("kestrova-fetch") : kUsageText;
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? kOk : kFailed;
    }
    QUrl url;
    const bool status = arg == "--network-status";
    if (!status && arg.size() > 1 && arg[0] == '-') {
        std::fprintf(stderr, "%s\n", ks::RefusalLine("kestrova-fetch", "unknown option:", arg).c_str());
        return kUsage;
    }
    if (argc != 2) return Fail(kUsage, QStringLiteral("give one URL, or --network-status (see --help)"));
    if (!status && !ParseUrl(arg, url))
        return Fail(kUsage,
                    QStringLiteral("not an http or https address: %1").arg(QString::fromStdString(arg.substr(0, 200))));

    QCoreApplication app(argc, argv);
    if (status) {
        std::fputs(ks::InternetAvailable() ? "up\n" : "down\n", stdout);
        return kOk;
    }
    QNetworkAccessManager nam;
    ks::VersionRequest request(nam, url);
    QObject::connect(&request, &ks::VersionRequest::finishedLoading, &app, [](const QByteArray& data) {
        const std::size_t n = std::size_t(data.size());
        const bool written = std::fwrite(data.constData(), 1, n, stdout) == n && std::fflush(stdout) == 0;
        QCoreApplication::exit(written ? kOk : Fail(kFailed, QStringLiteral("could not write the answer")));
    });
    QObject::connect(&request, &ks::VersionRequest::failed, &app,
                     [&request] { QCoreApplication::exit(Fail(kFailed, request.errorString())); });
    QTimer::singleShot(kOverallMs, &app, [&request] {
        request.abort();
        QCoreApplication::exit(Fail(kFailed, QStringLiteral("no answer within %1 seconds").arg(kOverallMs / 1000)));
    });
    return app.exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// One run of kestrova-fetch, the helper that does the update check's network
// work in a process of its own: the network stack and its TLS library load
// there and go away with it, not in this long-lived program. Reports as
// VersionRequest does: the whole standard output once the helper has ended
// well, or failed() for a helper that is missing, fails, crashes or writes
// more than the version file's cap.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace ks {

class FetchProcess : public QObject {
    Q_OBJECT
public:
    // The helper starts once the event loop runs again, so every failure is
    // reported to whoever connected meanwhile. An empty program is missing.
    FetchProcess(const QString& program, const QStringList& arguments, QObject* parent = nullptr);
    ~FetchProcess() override;

    // Ends the helper at once (and reaps it); nothing is reported after this.
    void abort();
    bool running() const { return live_; }

signals:
    void finishedLoading(const QByteArray& data);
    void failed();

private:
    void Start();
    void OnOutput();
    void OnFinished(int code, QProcess::ExitStatus status);
    void Fail();

    QString program_;
    QStringList arguments_;
    QProcess* process_ = nullptr;  // a child of this object
    QByteArray out_;
    bool live_ = true;
};

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/fetch_process.h"

#include "update/version.h"

namespace ks {

FetchProcess::FetchProcess(const QString& program, const QStringList& arguments, QObject* parent)
    : QObject(parent), program_(program), arguments_(arguments)
{
    QMetaObject::invokeMethod(this, &FetchProcess::Start, Qt::QueuedConnection);
}

FetchProcess::~FetchProcess() { abort(); }

void FetchProcess::Start()
{
    if (!live_) return;
    if (program_.isEmpty()) {
        Fail();
        return;
    }
    process_ = new QProcess(this);
    process_->setStandardInputFile(QProcess::nullDevice());
    // Its one line of diagnosis is for people running it by hand.
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, &FetchProcess::OnOutput);
    connect(process_, &QProcess::finished, this, &FetchProcess::OnFinished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) Fail();
    });
    process_->start(program_, arguments_, QIODevice::ReadOnly);
}

void FetchProcess::abort()
{
    live_ = false;
    out_.clear();
    QProcess* p = process_;
    if (!p) return;
    process_ = nullptr;
    p->disconnect(this);
    if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(1000);  // a killed process ends at once; no zombie stays
    }
    // Not deleted here: this may run inside one of its own signals.
    p->deleteLater();
}

void FetchProcess::Fail()
{
    if (!live_) return;
    abort();
    emit failed();
}

void FetchProcess::OnOutput()
{
    if (!process_) return;
    out_ += process_->readAllStandardOutput();
    // The helper caps the file itself; this bounds a helper gone wrong.
    if (out_.size() > kVersionFileMaxBytes) Fail();
}

void FetchProcess::OnFinished(int code, QProcess::ExitStatus status)
{
    OnOutput();
    if (!live_) return;  // over the cap: already reported
    if (status != QProcess::NormalExit || code != 0) {
        Fail();
        return;
    }
    QByteArray data;
    data.swap(out_);
    abort();
    emit finishedLoading(data);
}

}  // namespace ks

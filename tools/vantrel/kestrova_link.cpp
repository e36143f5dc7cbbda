// SPDX-License-Identifier: GPL-3.0-or-later
#include "kestrova_link.h"

#include <QProcess>
#include <string_view>

#include "exchange/words.h"
#include "library/driver_values.h"
#include "support/qt/resource_dir.h"

namespace ks::vantrel {

KestrovaLink::KestrovaLink(DbusMessenger& bus, QObject* parent) : QObject(parent), bus_(bus)
{
    poll_.setInterval(100);
    connect(&poll_, &QTimer::timeout, this, &KestrovaLink::Poll);
}

void KestrovaLink::Receive(const QByteArray& text)
{
    auto call = [](const std::function<void()>& f) {
        if (f) f();
    };
    const std::string_view word(text.constData(), std::size_t(text.size()));
    if (word == kBootedVtrlFromKstv)
        bus_.send(kKestrovaName, kKestrovaClass, kYesBootedVtrl);
    else if (word == kShowVtrl)
        call(show);
    else if (word == kHideVtrl)
        call(hide);
    else if (word == kQuitVtrl)
        call(quit);
    else if (word == kSetMeDefaultVtrlFromKstv)
        call(ready);
}

void KestrovaLink::Announce()
{
    if (!bus_.peers(BusText(kKestrovaName)).isEmpty())
        bus_.send(kKestrovaName, kKestrovaClass, kBootedKstvFromVtrlByFile);
}

QString KestrovaLink::FindProgram() { return SiblingProgram(QStringLiteral("kestrova")); }

void KestrovaLink::SendDriver(const lib::Driver& d)
{
    const QString model = QString::fromStdString(d.model);
    if (busy()) {
        Q_EMIT finished(false, QStringLiteral("Still waiting for Kestrova to start; \"%1\" was not sent.").arg(model));
        return;
    }
    // A value no driver has would reach the design program as nonsense or
    // as an infinity.
    if (const auto said = lib::Implausible(d)) {
        Q_EMIT finished(
            false,
            QStringLiteral("\"%1\" was not sent: %2. Correct it first.").arg(model, QString::fromStdString(*said)));
        return;
    }
    std::string error;
    const std::optional<PStr> record = lib::BuildRecord(d, error);
    if (!record) {
        Q_EMIT finished(false, QStringLiteral("\"%1\" cannot be sent: %2").arg(model, QString::fromStdString(error)));
        return;
    }
    if (!bus_.connected()) {
        Q_EMIT finished(false, QStringLiteral("No session bus: Kestrova cannot be reached."));
        return;
    }
    waiting_ = *record;
    waitingModel_ = model;
    if (!bus_.peers(BusText(kKestrovaName)).isEmpty()) {
        Deliver(model);
        return;
    }
    const QString exe = FindProgram();
    if (exe.isEmpty() || !QProcess::startDetached(exe, {})) {
        waiting_.reset();
        Q_EMIT finished(false, exe.isEmpty() ? QStringLiteral("Kestrova was not found beside vantrel or on PATH.")
                                             : QStringLiteral("Kestrova (%1) could not be started.").arg(exe));
        return;
    }
    clock_.start();
    poll_.start();
    Q_EMIT waitingChanged(true);
}

void KestrovaLink::Poll()
{
    if (!bus_.peers(BusText(kKestrovaName)).isEmpty()) {
        poll_.stop();
        Q_EMIT waitingChanged(false);
        Deliver(waitingModel_);
        return;
    }
    if (clock_.elapsed() < kStartWaitMs) return;
    poll_.stop();
    waiting_.reset();
    Q_EMIT waitingChanged(false);
    Q_EMIT finished(false,
                    QStringLiteral("Kestrova was started but did not answer within %1 seconds; \"%2\" was not sent.")
                        .arg(kStartWaitMs / 1000)
                        .arg(waitingModel_));
}

void KestrovaLink::Deliver(const QString& model)
{
    const PStr record = *waiting_;
    waiting_.reset();
    const int n = bus_.send(kKestrovaName, kKestrovaClass, record.view());
    bus_.flush();
    if (n > 0)
        Q_EMIT finished(true, QStringLiteral("\"%1\" sent to Kestrova.").arg(model));
    else
        Q_EMIT finished(false, QStringLiteral("\"%1\" reached no Kestrova.").arg(model));
}

}  // namespace ks::vantrel

// SPDX-License-Identifier: GPL-3.0-or-later
// A whole shell on the offscreen platform, recording what it sends, plays and
// asks of the platform, with a preferences file of its own.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/shell.h"
#include "common/drivers.h"
#include "common/recording_messenger.h"
#include "common/recording_platform.h"
#include "context/kestrova.h"
#include "exchange/records.h"
#include "sound/sound.h"
#include "support/macroman.h"

namespace kt {

struct RecordingSound final : ks::SoundPlayer {
    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view) override
    {
        played.emplace_back(name);
        if (whilePlaying) whilePlaying();  // as a real player's wait would
        return 0;
    }
    std::vector<std::string> played;
    std::function<void()> whilePlaying;
};

struct ShellRig {
    ks::DesignWindow* design() const { return shell->design(); }
    QLineEdit* field(int id) const { return design() ? design()->field(id) : nullptr; }
    QString text(int id) const { return field(id) ? field(id)->text() : QStringLiteral("<none>"); }
    ks::Menus& menus() { return shell->menus(); }

    // A driver record as the companion would send it.
    void receive(const std::string& text) { shell->Receive(text); }

    // Types into a box entry and presses Return in it.
    void enter(int id, const QString& typed)
    {
        QLineEdit* e = field(id);
        QVERIFY(e);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, typed);
        QTest::keyClick(e, Qt::Key_Return);
    }

    QTemporaryDir dir;
    QString settingsPath = dir.filePath(QStringLiteral("Kestrova.conf"));
    std::unique_ptr<QSettings> settings = std::make_unique<QSettings>(settingsPath, QSettings::IniFormat);
    std::unique_ptr<ks::PrefsStore> store = std::make_unique<ks::PrefsStore>(settings.get());
    ks::Kestrova k;
    RecordingMessenger messenger;
    RecordingSound sound;
    RecordingPlatform platform;
    std::unique_ptr<ks::Shell> shell = std::make_unique<ks::Shell>(k, messenger, *store, sound, platform);
};

}  // namespace kt

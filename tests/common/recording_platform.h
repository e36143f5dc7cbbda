// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's platform for tests: nothing is opened, beeped or ended, only recorded.
#pragma once

#include <QUrl>
#include <functional>
#include <vector>

#include "app/qt/shell.h"

namespace kt {

struct RecordingPlatform final : ks::ShellPlatform {
    bool OpenUrl(const QUrl& url) override { return opened.push_back(url), opens; }
    void Beep() override { ++beeps; }
    void Exit(int status) override { exits.push_back(status); }
    bool LaunchCompanion() override { return launch ? launch() : false; }

    std::function<bool()> launch;
    bool opens = true;  // whether a URL finds its application
    std::vector<QUrl> opened;
    std::vector<int> exits;
    int beeps = 0;
};

}  // namespace kt

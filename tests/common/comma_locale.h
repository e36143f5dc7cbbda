// SPDX-License-Identifier: GPL-3.0-or-later
// A locale whose numbers carry a decimal comma, made with localedef in a private folder when the system lacks it
// (containers run without the German locale). `why` names the reason when none can be had.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <string>

namespace kt {

class CommaLocale {
public:
    CommaLocale()
    {
        if (!std::setlocale(LC_ALL, kName)) {
            dir_ = std::filesystem::temp_directory_path() / ("kestrova-locale-" + std::to_string(::getpid()));
            std::filesystem::create_directories(dir_);
            const std::string cmd = "localedef -i de_DE -f UTF-8 '" + (dir_ / kName).string() + "' >/dev/null 2>&1";
            [[maybe_unused]] const int rc = std::system(cmd.c_str());
            ::setenv("LOCPATH", dir_.c_str(), 1);
            if (!std::setlocale(LC_ALL, kName)) {
                why = "de_DE.UTF-8 is not installed and localedef could not make it";
                return;
            }
        }
        std::locale::global(std::locale(kName));
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 0.5);
        if (std::string(probe) != "0,5") why = "de_DE.UTF-8 does not write a decimal comma here";
    }
    ~CommaLocale()
    {
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C");
        if (!dir_.empty()) ::unsetenv("LOCPATH"), std::filesystem::remove_all(dir_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    std::string why;

private:
    static constexpr const char* kName = "de_DE.UTF-8";
    std::filesystem::path dir_;
};

}  // namespace kt

// SPDX-License-Identifier: GPL-3.0-or-later
// Playing a sound resource of the program to its end.
#pragma once

#include <string_view>

namespace ks {

class SoundPlayer {
public:
    // The kestrova-sound module's factory: a new player for the program's
    // own resources.
    using Factory = SoundPlayer* (*)();
    static constexpr const char* kFactory = "kestrova_sound_player";

    virtual ~SoundPlayer() = default;
    // Plays the resource `name` of folder `folder` synchronously; 0 when it
    // played (or there is no audio device), -43 when the resource is missing.
    virtual int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) = 0;
};

class SilentSoundPlayer final : public SoundPlayer {
public:
    int PlayMovieSoundFromSupportFilename(std::string_view, std::string_view) override { return 0; }
};

}  // namespace ks

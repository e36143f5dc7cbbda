// SPDX-License-Identifier: GPL-3.0-or-later
// The kestrova-sound module's entry: the Qt Multimedia player behind the
// program's ModuleSoundPlayer.
#include <type_traits>

#include "sound/player/sound_player.h"

extern "C" Q_DECL_EXPORT ks::SoundPlayer* kestrova_sound_player() { return new ks::MediaSoundPlayer; }
static_assert(std::is_same_v<decltype(&kestrova_sound_player), ks::SoundPlayer::Factory>);

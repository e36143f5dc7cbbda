// The kestrova-sound module: the Qt Multimedia player behind the program's
// ModuleSoundPlayer.
#include <type_traits>

#include "reports/qt/module_sound.h"
#include "reports/qt/sound_player.h"

extern "C" Q_DECL_EXPORT ks::SoundPlayer* kestrova_sound_player() { return new ks::MediaSoundPlayer; }
static_assert(std::is_same_v<decltype(&kestrova_sound_player), ks::ModuleSoundPlayer::Factory>);

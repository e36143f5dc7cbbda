// The program's sound player: the one of the kestrova-sound module, loaded
// on the first sound so Qt Multimedia and the decoders stay out of the start.
// Without the module the program goes on silent.
#pragma once

#include <QString>
#include <memory>

#include "reports/sound.h"

namespace ks {

class ModuleSoundPlayer final : public SoundPlayer {
public:
    // The module's factory: a new player for the program's own resources.
    using Factory = SoundPlayer* (*)();
    static constexpr const char* kFactory = "kestrova_sound_player";

    explicit ModuleSoundPlayer(QString module = QStringLiteral("kestrova-sound"));
    ~ModuleSoundPlayer() override;

    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override;

private:
    QString module_;
    bool tried_ = false;  // a missing module is reported once
    std::unique_ptr<SoundPlayer> player_;
};

}  // namespace ks

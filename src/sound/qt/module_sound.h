// SPDX-License-Identifier: GPL-3.0-or-later
// The program's sound player: the one of the kestrova-sound module, loaded
// on the first sound so Qt Multimedia and the decoders stay out of the start.
// Without the module the program goes on silent.
#pragma once

#include <QString>
#include <memory>

#include "sound/sound.h"

namespace ks {

class ModuleSoundPlayer final : public SoundPlayer {
public:
    explicit ModuleSoundPlayer(QString module = QStringLiteral("kestrova-sound"));
    ~ModuleSoundPlayer() override;

    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override;

private:
    QString module_;
    bool tried_ = false;  // a missing module is reported once
    std::unique_ptr<SoundPlayer> player_;
};

}  // namespace ks

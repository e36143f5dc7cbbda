// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/qt/module_sound.h"

#include <utility>

#include "support/qt/module.h"

namespace ks {

ModuleSoundPlayer::ModuleSoundPlayer(QString module) : module_(std::move(module)) {}

ModuleSoundPlayer::~ModuleSoundPlayer() = default;

int ModuleSoundPlayer::PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder)
{
    if (!std::exchange(tried_, true))
        if (auto make = reinterpret_cast<Factory>(ModuleFunction(module_, kFactory))) player_.reset(make());
    return player_ ? player_->PlayMovieSoundFromSupportFilename(name, folder) : 0;
}

}  // namespace ks

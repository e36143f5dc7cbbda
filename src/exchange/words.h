// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the companion protocol: the two programs as the session bus
// knows them, the class a message to each must carry, the texts they send
// each other and the tags of the parameter records. Kestrova, vantrel and
// kestrova-send take them from here only, so a word misspelt on one side
// fails to compile instead of going unanswered. Nothing here needs more than
// the standard library.
#pragma once

#include <string_view>

namespace ks {

// The processes, and the four-character class each accepts.
inline constexpr std::string_view kKestrovaName = "Kestrova";
inline constexpr std::string_view kKestrovaClass = "Kstv";
inline constexpr std::string_view kVantrelName = "Vantrel";
inline constexpr std::string_view kVantrelClass = "Vtrl";
// The id every message carries: it is a text.
inline constexpr std::string_view kTextEventId = "TEXT";

// Kestrova to vantrel.
// Kestrova has started; a vantrel already running answers kYesBootedVtrl.
inline constexpr std::string_view kBootedVtrlFromKstv = "BootedVtrlFromKstv";
// Kestrova works with this vantrel now: it may offer its drivers.
inline constexpr std::string_view kSetMeDefaultVtrlFromKstv = "SetMeDefaultVtrlFromKstv";
// Speaker Select: bring the library window up to pick a driver.
inline constexpr std::string_view kShowVtrl = "ShowVtrl";
// New Box Design: the design window takes over; the library window goes.
inline constexpr std::string_view kHideVtrl = "HideVtrl";
// Kestrova quits, and its companion with it.
inline constexpr std::string_view kQuitVtrl = "QuitVtrl";

// vantrel to Kestrova.
// The answer to kBootedVtrlFromKstv.
inline constexpr std::string_view kYesBootedVtrl = "YesBootedVtrl";
// vantrel started on its own (or by a file) and found Kestrova running.
inline constexpr std::string_view kBootedKstvFromVtrlByFile = "BootedKstvFromVtrlByFile";
// Close the default-parameter and design windows.
inline constexpr std::string_view kHideKstv = "HideKstv";
// Quit, without telling the companion that asked for it.
inline constexpr std::string_view kQuitKstv = "QuitKstv";

// The parameter records (records.h): the design record Copy Parameters
// makes, the driver record vantrel sends, and what ends every field.
inline constexpr std::string_view kDesignTag = "DUMMY%";
inline constexpr std::string_view kDriverTag = "DUMMY#";
inline constexpr std::string_view kFieldSeparator = "  ";

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/qt_text.h"

#include "support/macroman.h"

namespace ks {

QString FromMacRoman(std::string_view macRoman) { return QString::fromStdString(MacRomanToUtf8(macRoman)); }

std::optional<std::string> ToMacRoman(const QString& text) { return Utf8ToMacRoman(text.toStdString()); }

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a file to import: CSV, or the driver database XML of the
// qspeakers program (one <speaker> element a driver; vas in litres, sd in
// m², dia in m, xmax in mm, le in mH, spl in dB), converted to the library's
// units.
#pragma once

#include <QByteArray>
#include <QString>

#include "library/csv.h"

namespace ks::lib {

ImportResult ImportQspeakersXml(const QByteArray& bytes);

// Reads the file (bounded) and imports it as XML when it starts with '<',
// else as CSV. A file that cannot be read gives fatal with the reason.
ImportResult ImportFile(const QString& path);

// Writes the library through the one save helper (whole or not at all,
// only ever replacing a regular file); false with error set.
bool ExportFile(const QString& path, const std::vector<Driver>& drivers, QString& error);

// Why a written file of this many drivers and bytes would not be read back
// whole by one import, for the user to hear at once; empty when it would.
QString ReadBackLimit(std::size_t drivers, qint64 bytes);

}  // namespace ks::lib

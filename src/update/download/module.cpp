// SPDX-License-Identifier: GPL-3.0-or-later
// The kestrova-download module's entry: the Qt Network download behind the
// update check's ArchiveDownload.
#include <type_traits>

#include "update/download/network_download.h"

extern "C" Q_DECL_EXPORT ks::ArchiveDownload* kestrova_archive_download() { return new ks::NetworkArchiveDownload; }
static_assert(std::is_same_v<decltype(&kestrova_archive_download), ks::ArchiveDownload::Factory>);

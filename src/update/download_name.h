// SPDX-License-Identifier: GPL-3.0-or-later
// The file name a download is saved under: the name the server suggests
// (Content-Disposition), made safe as a plain name in one folder, else the
// address's last path segment, else the archive's own name.
#pragma once

#include <string>
#include <string_view>

namespace ks {

// The longest file name kept, in bytes (the usual file-system limit).
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The file name a Content-Disposition value suggests ("filename*" with its
// UTF-8 percent-encoding first, then "filename", quoted or not); empty when
// it names none. Only the first 1024 bytes of the value are read.
std::string ContentDispositionFileName(std::string_view header);

// A plain file name: only what follows the last "/" or "\", with control
// characters removed, leading dots and blanks dropped, cut to 255 bytes on a
// UTF-8 character boundary keeping the extension; empty when nothing usable
// is left ("", ".", "..", "/").
std::string SanitizeFileName(std::string_view name);

// The last path segment of an address path ("/downloads/apps/Kestrova.zip"
// gives "Kestrova.zip"), percent-decoded, without query or fragment.
std::string UrlPathFileName(std::string_view path);

// The name to save under: the sanitised suggestion, else the sanitised
// address name, else fallback.
std::string ChooseDownloadName(std::string_view contentDisposition, std::string_view urlPath,
                               std::string_view fallback);

// "Kestrova.zip" with n = 1 gives "Kestrova (1).zip"; n = 0 gives the name.
std::string NumberedFileName(std::string_view name, int n);

}  // namespace ks

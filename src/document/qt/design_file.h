// SPDX-License-Identifier: GPL-3.0-or-later
// Design files on disk: read whole (at most a little over the document's
// limit) and checked before anything uses them; written whole or not at
// all. Every failure comes with the reason a user can act on.
#pragma once

#include <QString>
#include <optional>

#include "document/design_document.h"

namespace ks {

struct DesignFileRead {
    std::optional<DesignDocument> doc;
    QString error;  // when doc is empty: why, one clause
};

// Refused besides what the document refuses: a path that is no regular file
// (a folder, a pipe, a device: nothing is opened that could wait for ever),
// one that cannot be opened or read, with the system's reason.
DesignFileRead ReadDesignFile(const QString& path);

// Empty on success. A document that cannot be written is refused, and the
// file goes through the one save (SaveFileBytes): what is no regular file is
// left as it is, and a failed write leaves the old file as it was.
QString WriteDesignFile(const QString& path, const DesignDocument& doc);

}  // namespace ks

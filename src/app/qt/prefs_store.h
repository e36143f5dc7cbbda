// SPDX-License-Identifier: GPL-3.0-or-later
// The per-application preferences store (QSettings, native format) and the
// nine preferences read at start and written at the end of the run.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "context/prefs.h"
#include "context/shell_state.h"
#include "support/pstring.h"

class QSettings;
class QString;
class QVariant;

namespace ks {

class PrefsStore {
public:
    // The application's own store: organization "Tessaly", application
    // "Kestrova", with no fall-back to organization or system files.
    PrefsStore();
    // The store in the file at path, native format.
    explicit PrefsStore(const QString& path);
    // A store the caller owns (tests hand in a file of their own).
    explicit PrefsStore(QSettings* settings);
    ~PrefsStore();
    PrefsStore(const PrefsStore&) = delete;
    PrefsStore& operator=(const PrefsStore&) = delete;

    // Keys and texts are Mac Roman, at most 255 bytes. Each Get returns
    // whether the key held a value of its type; if not, `where` gets the
    // default.
    bool GetLong(std::string_view key, std::int32_t& where, std::int32_t def) const;
    void SetLong(std::string_view key, std::int32_t value);
    bool GetPString(std::string_view key, PStr& where, const PStr& def) const;
    void SetPString(std::string_view key, std::string_view text);
    bool GetRect(std::string_view key, Rect16& where, const Rect16& def) const;
    void SetRect(std::string_view key, const Rect16& r);
    // Writes pending changes; false when they could not be written.
    bool AppSynchronize();

    // Reads the nine keys in their order, each defaulting to the current
    // value, so a missing or ill-typed key keeps it; then the recent design
    // files (what is no fit path is left out).
    void LoadPrefs(Prefs& p) const;
    // Writes the nine keys in the same order and the recent design files
    // (no key without any), then synchronises. A store
    // that cannot be written is left as it is; one line on standard error
    // gives the system's reason.
    void SavePrefs(const Prefs& p);

    // False when the file is there but is no regular file (after following
    // links): a FIFO, a device, a folder. Such a file is neither read (the
    // start values stay) nor replaced.
    bool usable() const { return usable_; }

    QSettings& settings() const { return *settings_; }

private:
    // Checks path before anything opens it; false (and one line on standard
    // error) when it must be left alone.
    bool UsePath(const QString& path);

    bool usable_ = true;
    std::unique_ptr<QSettings> owned_;
    QSettings* settings_ = nullptr;
};

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/prefs_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdio>
#include <limits>
#include <string>

#include "app/design_list.h"
#include "app/prefs_rect.h"
#include "support/macroman.h"
#include "support/qt/qt_text.h"
#include "support/qt/save_file.h"

namespace ks {

namespace {

QString KeyText(std::string_view key)
{
    if (key.size() > PStr::kMax) key = key.substr(0, PStr::kMax);
    return FromMacRoman(key);
}

// A decimal integer and nothing else; the text store keeps integers so.
bool ParseI32(const QString& s, std::int32_t& out)
{
    // Longer than any 32-bit number with sign and a few blanks: not one.
    if (s.size() > 16) return false;
    const std::string t = s.trimmed().toStdString();
    std::size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
    if (i == t.size()) return false;
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > std::int64_t{1} << 32) return false;  // far outside already
    }
    if (neg) v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool VariantToI32(const QVariant& v, std::int32_t& out)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong: {
        const qlonglong x = v.toLongLong();
        if (x < std::numeric_limits<std::int32_t>::min() || x > std::numeric_limits<std::int32_t>::max()) return false;
        out = static_cast<std::int32_t>(x);
        return true;
    }
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong x = v.toULongLong();
        if (x > static_cast<qulonglong>(std::numeric_limits<std::int32_t>::max())) return false;
        out = static_cast<std::int32_t>(x);
        return true;
    }
    case QMetaType::QString: return ParseI32(v.toString(), out);
    default: return false;  // lists, byte arrays, reals, booleans...
    }
}

// Only a text value is a text; a text store hands every scalar over as a
// text, a typed store keeps integers apart.
bool VariantToPStr(const QVariant& v, PStr& out)
{
    if (v.typeId() != QMetaType::QString) return false;
    // Each character becomes at most one Mac Roman byte: 255 characters are
    // all a text can keep (a pair cut in two turns into "?").
    const QString s = v.toString().left(static_cast<qsizetype>(PStr::kMax));
    out = Utf8ToMacRomanLossy(s.toStdString());
    return true;
}

// Where QSettings keeps the native store of an application on this platform;
// known before QSettings opens it, as opening reads the file at once.
QString NativeStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessaly/Kestrova.conf");
}

// Stands in for a file that must not be touched: nothing to read, nothing
// ever written (SavePrefs does not get that far).
std::unique_ptr<QSettings> NoStore() { return std::make_unique<QSettings>(QString(), QSettings::IniFormat); }

}  // namespace

bool PrefsStore::UsePath(const QString& path)
{
    // Reading a FIFO would block for ever, and replacing a device would
    // destroy it; a link to a regular file is read and written through.
    const QFileInfo info(path);
    usable_ = !info.exists() || info.isFile();
    if (!usable_)
        std::fprintf(stderr, "Kestrova: %s is not a regular file: start values are used and it is left as it is\n",
                     QFile::encodeName(path).constData());
    return usable_;
}

PrefsStore::PrefsStore()
{
    if (UsePath(NativeStorePath())) {
        owned_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tessaly"),
                                             QStringLiteral("Kestrova"));
    } else {
        owned_ = NoStore();
    }
    settings_ = owned_.get();
    settings_->setFallbacksEnabled(false);
}

PrefsStore::PrefsStore(const QString& path)
    : owned_(UsePath(path) ? std::make_unique<QSettings>(path, QSettings::NativeFormat) : NoStore()),
      settings_(owned_.get())
{
}

PrefsStore::PrefsStore(QSettings* settings) : settings_(settings) {}

PrefsStore::~PrefsStore() = default;

bool PrefsStore::GetLong(std::string_view key, std::int32_t& where, std::int32_t def) const
{
    std::int32_t v = 0;
    const bool found = VariantToI32(settings_->value(KeyText(key)), v);
    where = found ? v : def;
    return found;
}

void PrefsStore::SetLong(std::string_view key, std::int32_t value)
{
    settings_->setValue(KeyText(key), QVariant(static_cast<int>(value)));
}

bool PrefsStore::GetPString(std::string_view key, PStr& where, const PStr& def) const
{
    PStr v;
    const bool found = VariantToPStr(settings_->value(KeyText(key)), v);
    where = found ? v : def;
    return found;
}

void PrefsStore::SetPString(std::string_view key, std::string_view text)
{
    if (text.size() > PStr::kMax) text = text.substr(0, PStr::kMax);
    settings_->setValue(KeyText(key), FromMacRoman(text));
}

bool PrefsStore::GetRect(std::string_view key, Rect16& where, const Rect16& def) const
{
    PStr text;
    if (!GetPString(key, text, PStr())) {
        where = def;
        return false;
    }
    where = TextToRect(text.view());
    return true;
}

void PrefsStore::SetRect(std::string_view key, const Rect16& r) { SetPString(key, RectToText(r).view()); }

bool PrefsStore::AppSynchronize()
{
    if (!usable_) return false;
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

void PrefsStore::LoadPrefs(Prefs& p) const
{
    GetRect("Bounds", p.Bounds, p.Bounds);
    GetRect("PrefeBounds", p.PrefeBounds, p.PrefeBounds);
    GetLong("BoundsCheck", p.BoundsCheck, p.BoundsCheck);
    GetLong("SnapRegionCheck", p.SnapRegionCheck, p.SnapRegionCheck);
    GetLong("SnapSoundCheck", p.SnapSoundCheck, p.SnapSoundCheck);
    GetLong("CopySoundCheck", p.CopySoundCheck, p.CopySoundCheck);
    GetLong("PrintDateCheck", p.PrintDateCheck, p.PrintDateCheck);
    GetLong("UpdateForCheck", p.UpdateForCheck, p.UpdateForCheck);
    GetLong("ImpVertScale", p.ImpVertScale, p.ImpVertScale);
    // A list of one is stored as a plain text.
    const QVariant recent = settings_->value(QStringLiteral("RecentDesigns"));
    QStringList paths;
    if (recent.typeId() == QMetaType::QStringList)
        paths = recent.toStringList();
    else if (recent.typeId() == QMetaType::QString)
        paths << recent.toString();
    std::vector<std::string> stored;
    for (const QString& path : paths) stored.push_back(path.left(kMaxRecentPathBytes + 1).toStdString());
    p.RecentDesigns = CleanRecentDesigns(stored);
}

void PrefsStore::SavePrefs(const Prefs& p)
{
    if (!usable_) return;
    SetRect("Bounds", p.Bounds);
    SetRect("PrefeBounds", p.PrefeBounds);
    SetLong("BoundsCheck", p.BoundsCheck);
    SetLong("SnapRegionCheck", p.SnapRegionCheck);
    SetLong("SnapSoundCheck", p.SnapSoundCheck);
    SetLong("CopySoundCheck", p.CopySoundCheck);
    SetLong("PrintDateCheck", p.PrintDateCheck);
    SetLong("UpdateForCheck", p.UpdateForCheck);
    SetLong("ImpVertScale", p.ImpVertScale);
    if (p.RecentDesigns.empty()) {
        settings_->remove(QStringLiteral("RecentDesigns"));
    } else {
        QStringList paths;
        for (const std::string& path : p.RecentDesigns) paths << QString::fromStdString(path);
        settings_->setValue(QStringLiteral("RecentDesigns"), paths);
    }
    if (AppSynchronize()) return;
    // QSettings only says that something failed (a file it could not parse
    // counts too); a trial write tells whether, and why, writing did.
    const QString path = settings_->fileName();
    const QString why = TrialWriteFailure(path, 4096);
    if (why.isEmpty()) return;
    std::fprintf(stderr, "Kestrova: preferences not saved to %s: %s\n", QFile::encodeName(path).constData(),
                 why.toLocal8Bit().constData());
}

}  // namespace ks

// SPDX-License-Identifier: GPL-3.0-or-later
// The design record on the clipboard, the driver record in messages, and the companion protocol's words.
#include "exchange/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/recording_messenger.h"
#include "exchange/companion.h"

namespace ks {
namespace {

// What the reader wrote: tag, model, range, then each value as "text=number".
std::string Decode(std::string_view text)
{
    Kestrova k;
    k.sh.s_Masg = text;
    MasageTextToParameter(k);
    const Design& d = k.d;
    std::string s = k.sh.s_Dummy.str() + "|" + d.s_SP.str() + "|" + d.s_RANG.str();
    const std::pair<const PStr*, f32> values[] = {
        {&d.s_DIA, d.DIA2},   {&d.s_FS, d.FS2},   {&d.s_VAS, d.VAS2}, {&d.s_QTS, d.QTS2},   {&d.s_QES, d.QES2},
        {&d.s_QMS, d.QMS2},   {&d.s_EFI, d.EFI2}, {&d.s_RE, d.RE2},   {&d.s_PEMX, d.PEMX2}, {&d.s_SD, d.SD2},
        {&d.s_XMAX, d.XMAX2}, {&d.s_VD, d.VD2},   {&d.s_LE, d.LE2}};
    for (const auto& [t, value] : values) {
        char b[32];
        std::snprintf(b, sizeof b, "=%g", static_cast<double>(value));
        s.append("|").append(t->str()).append(b);
    }
    if (!(d.s_SP2 == d.s_SP) || !(d.s_RANG2 == d.s_RANG)) s += "|the copies differ";
    if (d.FS != 0.0f) s += "|adopted too early";
    return s;
}

const std::string kFullValues =
    "| 2.5=2.5| 1000=1000| 0=0| 0.707=0.707| 0.972=0.972| 2.5=2.5| 0.628=0.628| 6=6"
    "| 10=10| 5=5| 0.2=0.2| 0.1=0.1| 0.025=0.025";
const std::string kNoValues = "|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0";

// The companion's record reads back field for field; every field ends in two blanks, the record is cut at 255 bytes.
// The design's record is written byte for byte on one line.
TEST(Records, DriverRecordReadBackFieldForFieldAndDesignRecordOnOneLine)
{
    const std::string full =
        MakeDriverRecord({"Test2.5-07", "Dome Tw", 2.5, 1000, 0, 0.707, 0.972, 2.5, 0.628, 6, 10, 5, 0.2, 0.1, 0.025})
            .str();
    EXPECT_EQ(full,
              "DUMMY#  Test2.5-07  Dome Tw   2.5   1000   0   0.707   0.972   2.5   0.628   6   10   5   0.2"
              "   0.1   0.025  ");
    const std::string tail = full.substr(full.find("  Dome"));
    const std::string model(255 - 8 - tail.size(), 'N'), none = Decode("");
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {full + " 99  extra  ", "DUMMY#|Test2.5-07|Dome Tw" + kFullValues},
        // A missing separator empties the rest; a record may be the tag alone.
        {"DUMMY#  M     3     800   0.5", "DUMMY#|M|| 3=3|=0| 800=800" + kNoValues.substr(9)},
        {"DUMMY#  ", "DUMMY#||" + kNoValues},
        // Exactly 255 bytes; one more and the cut takes the last separator.
        {"DUMMY#  " + model + tail, "DUMMY#|" + model + "|Dome Tw" + kFullValues},
        {("DUMMY#  N" + model + tail).substr(0, 255),
         "DUMMY#|N" + model + "|Dome Tw" + kFullValues.substr(0, kFullValues.rfind('|')) + "|=0"},
        // Anything but the driver tag changes only the tag; no separator, no tag.
        {"DUMMY%" + full.substr(6), "DUMMY%" + none}, {"dummy#" + full.substr(6), "dummy#" + none},
        {" DUMMY#" + full.substr(6), " DUMMY#" + none}, {"DUMMY##" + full.substr(6), "DUMMY##" + none},
        {full.substr(6), none}, {"DUMMY# 3", none},
        {"DUMMY#  Two\nLines\r\t\x7F  Mid  ", "DUMMY#|Two\nLines\r\t\x7F|Mid" + kNoValues},  // kept as received
    };
    // clang-format on
    for (const auto& [text, want] : cases) EXPECT_EQ(Decode(text), want) << text;
    // 64 bytes without a model: with 191 the record is 255 bytes, whole.
    for (const auto& [length, cut] : {std::pair{191, false}, {192, true}}) {
        bool truncated = !cut;
        EXPECT_EQ(MakeDriverRecord({.model = std::string(std::size_t(length), 'x')}, &truncated).size(), 255u)
            << length;
        EXPECT_EQ(truncated, cut) << length;
    }
    // The design's record: the rounded texts stay in its text fields; the name as it is but for control characters.
    Kestrova k;
    Design& d = k.d;
    d.s_SP = "W130-8";
    d.SPL = 87.6543f, d.FS = 50.0f, d.VAS = 10.0f, d.QTS = 0.35f, d.QES = 0.4f, d.QMS = 2.8f, d.EFI = 0.0f;
    d.RE = 5.6f, d.LE = 0.28f, d.VB = 47.619f, d.FC = 55.0f, d.QTC = 0.382f, d.QA = 10.0f, d.boxSys = 1;
    PStr r = MakeClipText(k);
    EXPECT_EQ(r.str(),
              "DUMMY%  W130-8   87.7   50   10   0.35   0.4   2.8   0   5.6   0.28   47.619   55   0.382   10  ");
    EXPECT_EQ(k.sh.ClipText.str(), r.str());  // kept for the clipboard
    EXPECT_EQ(d.s_QTC.str(), " 0.382");       // and the fields
    d.s_SP = std::string(200, 'M');           // cut at 255 inside a field
    EXPECT_EQ(MakeClipText(k).str().substr(244), "   0   5.6 ");
    d.s_SP = "Two\nLines\r\t\x7F";
    const std::string c = MakeClipText(k).str();
    EXPECT_EQ(c.substr(0, 22), "DUMMY%  Two Lines     ");
    EXPECT_TRUE(std::none_of(c.begin(), c.end(), IsControlByte)) << c;
}

struct Host : CompanionHost {
    explicit Host(Kestrova& k) : k(k) {}
    std::vector<std::string> calls;
    Kestrova& k;
    void SetUpDesign() override { calls.push_back("setup " + std::to_string(int(k.d.FS))); }
    void StartUpdateCheck() override { calls.push_back("update"); }
    void HideWindows() override { calls.push_back("hide"); }
    void CloseDesignWindow() override { calls.push_back("close"); }
    void MenuDisable() override { calls.push_back("menus-off"); }
    void LaunchCompanion() override { calls.push_back("launch"); }
    void QuitSequence(bool tellCompanion) override { calls.push_back(tellCompanion ? "quit" : "save-quit"); }
    void Beep() override { calls.push_back("beep"); }
};

using Texts = std::vector<std::string>;

TEST(Companion, EachTextAndSpeakerSelectDoTheirOwnThingOnly)
{
    const std::string driver = MakeDriverRecord({.model = "Mid 4", .fs = 75, .vas = 4.5, .qts = 0.4, .re = 6.2}).str();
    // clang-format off
    const struct { std::string text; int updateCheck, checked; Texts calls, sent; } cases[] = {  // checked: this run
        // A driver is adopted before the set-up; the update check runs once, and only when the preference asks.
        {driver, 1, 0, {"setup 75", "update"}, {}}, {driver, 1, 1, {"setup 75"}, {}}, {driver, 0, 0, {"setup 75"}, {}},
        {"HideKstv", 1, 0, {"hide"}, {}}, {"QuitKstv", 1, 0, {"save-quit"}, {}},
        {"BootedKstvFromVtrlByFile", 1, 0, {}, {"SetMeDefaultVtrlFromKstv"}},
        {"YesBootedVtrl", 1, 0, {"launch"}, {"SetMeDefaultVtrlFromKstv"}},
        // Anything else only sets the message globals; a command word with more bytes, even cut at 255, is none.
        {"ShowVtrl", 1, 0, {}, {}}, {"hidekstv", 1, 0, {}, {}}, {"QuitKstv ", 1, 0, {}, {}}, {"", 1, 0, {}, {}},
        {"DUMMY%  x  ", 1, 0, {}, {}}, {"garbage\xff", 1, 0, {}, {}},
        {"QuitKstv" + std::string(300, ' '), 1, 0, {}, {}}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        Kestrova k;
        kt::RecordingMessenger m;
        Host h(k);
        k.prefs.UpdateForCheck = c.updateCheck, k.sh.CheckForUpFlag = c.checked, k.sh.GPrintScale = 10.0;
        DoAppleEvent(k, m, h, c.text);
        EXPECT_EQ(std::pair(h.calls, m.texts()), std::pair(c.calls, c.sent));
        for (const auto& s : m.sent) EXPECT_EQ(s.to + "/" + s.cls, "Vantrel/Vtrl");
        EXPECT_EQ(std::pair(k.sh.s_Masg.str(), k.sh.GPrintScale), std::pair(c.text.substr(0, 255), 100.0));
        EXPECT_EQ(SpeakerSelectEnabled(k), c.text == driver || c.text == "YesBootedVtrl");
        EXPECT_EQ(k.d.VAS, c.text == driver ? 4.5f : Kestrova().d.VAS);
    }
    // Speaker Select hands over; a failed send beeps.
    Kestrova k;
    kt::RecordingMessenger m;
    Host h(k);
    m.receivers = 0, k.sh.GPrintScale = 50.0;  // nobody listening is not a failure
    SpeakerSelect(k, m, h);
    EXPECT_EQ(h.calls, (Texts{"close", "menus-off", "launch"}));
    EXPECT_EQ(m.texts(), Texts{"ShowVtrl"});
    EXPECT_EQ(k.sh.GPrintScale, 100.0);
    h.calls.clear();
    m.receivers = -1;  // a message that cannot be built
    DoAppleEvent(k, m, h, "YesBootedVtrl");
    EXPECT_EQ(h.calls, (Texts{"launch", "beep"}));
}

}  // namespace
}  // namespace ks

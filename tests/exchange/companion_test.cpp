// The companion protocol: every command word, driver records arriving, the
// handshake answers and Speaker Select, over a recording transport.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/recording_messenger.h"
#include "exchange/companion.h"
#include "exchange/records.h"

namespace ks {
namespace {

struct Host : CompanionHost {
    std::vector<std::string> calls;
    Kestrova* k = nullptr;
    void SetUpDesign() override { calls.push_back("setup " + std::to_string(int(k->d.FS))); }
    void StartUpdateCheck() override { calls.push_back("update"); }
    void HideWindows() override { calls.push_back("hide"); }
    void CloseDesignWindow() override { calls.push_back("close"); }
    void MenuDisable() override { calls.push_back("menus-off"); }
    void LaunchCompanion() override { calls.push_back("launch"); }
    void QuitSequence(bool tellCompanion) override { calls.push_back(tellCompanion ? "quit" : "save-quit"); }
    void Beep() override { calls.push_back("beep"); }
};

using Texts = std::vector<std::string>;

TEST(Companion, EachTextDoesItsOwnThingOnly)
{
    const std::string driver = MakeDriverRecord({.model = "Mid 4", .fs = 75, .vas = 4.5, .qts = 0.4, .re = 6.2}).str();
    const struct {
        std::string text;
        int updateCheck, checked;  // the preference, and whether this run checked already
        Texts calls, sent;
    } cases[] = {
        // A driver is adopted before the window is set up; the update check
        // runs once, and only when the preference asks for it.
        {driver, 1, 0, {"setup 75", "update"}, {}},
        {driver, 1, 1, {"setup 75"}, {}},
        {driver, 0, 0, {"setup 75"}, {}},
        {"HideKstv", 1, 0, {"hide"}, {}},
        {"BootedKstvFromVtrlByFile", 1, 0, {}, {"SetMeDefaultVtrlFromKstv"}},
        {"YesBootedVtrl", 1, 0, {"launch"}, {"SetMeDefaultVtrlFromKstv"}},
        {"QuitKstv", 1, 0, {"save-quit"}, {}},
        // Anything else only sets the message globals; a command word
        // followed by more bytes, even cut at 255, is none.
        {"ShowVtrl", 1, 0, {}, {}},  {"hidekstv", 1, 0, {}, {}}, {"QuitKstv ", 1, 0, {}, {}}, {"", 1, 0, {}, {}},
        {"DUMMY%  x  ", 1, 0, {}, {}}, {"garbage\xff", 1, 0, {}, {}}, {"QuitKstv" + std::string(300, ' '), 1, 0, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        Kestrova k;
        kt::RecordingMessenger m;
        Host h;
        h.k = &k;
        k.prefs.UpdateForCheck = c.updateCheck;
        k.sh.CheckForUpFlag = c.checked;
        k.sh.GPrintScale = 10.0;
        DoAppleEvent(k, m, h, c.text);
        EXPECT_EQ(h.calls, c.calls);
        EXPECT_EQ(m.texts(), c.sent);
        for (const auto& s : m.sent) EXPECT_EQ(s.to + "/" + s.cls, "Vantrel/Vtrl");
        EXPECT_EQ(k.sh.s_Masg.str(), c.text.substr(0, 255));
        EXPECT_EQ(k.sh.GPrintScale, 100.0);
        const bool driverOrBoot = c.text == driver || c.text == "YesBootedVtrl";
        EXPECT_EQ(SpeakerSelectEnabled(k), driverOrBoot);
        EXPECT_EQ(k.d.VAS, c.text == driver ? 4.5f : Kestrova().d.VAS);
    }
}

TEST(Companion, SpeakerSelectHandsOverAndAFailedSendBeeps)
{
    Kestrova k;
    kt::RecordingMessenger m;
    Host h;
    h.k = &k;
    m.receivers = 0;  // nobody listening is not a failure
    k.sh.GPrintScale = 50.0;
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

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
    float fsAtSetUp = -1;
    void SetUpDesign() override
    {
        calls.push_back("setup");
        fsAtSetUp = k->d.FS;
    }
    void StartUpdateCheck() override { calls.push_back("update"); }
    void HideWindows() override { calls.push_back("hide"); }
    void CloseDesignWindow() override { calls.push_back("close"); }
    void MenuDisable() override { calls.push_back("menus-off"); }
    void LaunchCompanion() override { calls.push_back("launch"); }
    void QuitSequence(bool tellCompanion) override { calls.push_back(tellCompanion ? "quit" : "save-quit"); }
    void Beep() override { calls.push_back("beep"); }
};

class Companion : public ::testing::Test {
protected:
    Kestrova k;
    kt::RecordingMessenger m;
    Host h;
    void SetUp() override
    {
        h.k = &k;
        k.sh.GPrintScale = 50.0;
    }
    std::string Driver(double fs = 75.0)
    {
        const DriverRecordFields f{.model = "Mid 4", .range = "200-5k", .fs = fs, .vas = 4.5, .qts = 0.4, .qes = 0.5,
                                   .qms = 2.0, .re = 6.2};
        return MakeDriverRecord(f).str();
    }
};

TEST_F(Companion, DriverRecordBecomesTheDesign)
{
    DoAppleEvent(k, m, h, Driver(75.0));
    EXPECT_EQ(k.sh.s_Dummy, "DUMMY#");
    EXPECT_EQ(k.sh.s_MasgMenu, "BootKstv");
    EXPECT_TRUE(SpeakerSelectEnabled(k));
    EXPECT_EQ(h.fsAtSetUp, 75.0f);  // adopted before the window is set up
    EXPECT_EQ(k.d.s_SP, "Mid 4");
    EXPECT_EQ(k.d.VAS, 4.5f);
    EXPECT_EQ(h.calls, (std::vector<std::string>{"setup", "update"}));
    EXPECT_EQ(k.sh.GPrintScale, 100.0);
    EXPECT_TRUE(m.sent.empty());
}

TEST_F(Companion, UpdateCheckOnlyOnceAndOnlyWhenAsked)
{
    k.sh.CheckForUpFlag = 1;
    DoAppleEvent(k, m, h, Driver());
    EXPECT_EQ(h.calls, std::vector<std::string>{"setup"});
    h.calls.clear();
    k.sh.CheckForUpFlag = 0;
    k.prefs.UpdateForCheck = 0;
    DoAppleEvent(k, m, h, Driver());
    EXPECT_EQ(h.calls, std::vector<std::string>{"setup"});
}

TEST_F(Companion, OtherTextsOnlyChangeTheMessageGlobals)
{
    for (std::string text : {"ShowVtrl", "hidekstv", "QuitKstv ", "", "DUMMY%  x  ", "garbage\xff"}) {
        SCOPED_TRACE(text);
        k.sh.GPrintScale = 10.0;
        const Design before = k.d;
        DoAppleEvent(k, m, h, text);
        EXPECT_TRUE(h.calls.empty());
        EXPECT_TRUE(m.sent.empty());
        EXPECT_EQ(k.sh.s_Masg, text);
        EXPECT_EQ(k.sh.GPrintScale, 100.0);
        EXPECT_EQ(k.d.FS, before.FS);
        EXPECT_FALSE(SpeakerSelectEnabled(k));
    }
}

TEST_F(Companion, LongTextIsCutTo255)
{
    const std::string longWord(400, 'x');
    DoAppleEvent(k, m, h, longWord);
    EXPECT_EQ(k.sh.s_Masg.size(), 255u);
    // A command word followed by more bytes is not the command word.
    DoAppleEvent(k, m, h, std::string("QuitKstv") + std::string(300, ' '));
    EXPECT_TRUE(h.calls.empty());
}

TEST_F(Companion, UnbuildableMessageBeepsOnce)
{
    m.receivers = -1;
    DoAppleEvent(k, m, h, "YesBootedVtrl");
    EXPECT_EQ(h.calls, (std::vector<std::string>{"launch", "beep"}));
    h.calls.clear();
    m.receivers = 0;  // nobody listening is not a failure
    SpeakerSelect(k, m, h);
    EXPECT_EQ(h.calls, (std::vector<std::string>{"close", "menus-off", "launch"}));
    ASSERT_EQ(m.sent.size(), 2u);
    EXPECT_EQ(m.sent[0].to, "Vantrel");
    EXPECT_EQ(m.sent[0].cls, "Vtrl");
    EXPECT_EQ(m.sent[0].text, "SetMeDefaultVtrlFromKstv");
    EXPECT_EQ(m.sent[1].text, "ShowVtrl");
}

}  // namespace
}  // namespace ks

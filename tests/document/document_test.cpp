// SPDX-License-Identifier: GPL-3.0-or-later
// Design documents read back to the bit or refused with the reason; a reopened design drawn as it was saved.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <sstream>
#include <string>

#include "app/design_apply.h"
#include "app/design_list.h"
#include "common/comma_locale.h"
#include "common/drivers.h"
#include "document/design_document.h"
#include "exchange/records.h"
#include "graphs/recording_canvas.h"
#include "model/response.h"

namespace ks {
namespace {

DesignDocument Sample()
{
    DesignDocument d;
    d.driver.model = "Mid 13\xB5", d.driver.range = "60-4000 Hz";  // a Mac Roman micro sign
    d.driver.values = {13, 50, 10, 0.35f, 0.4f, 2.8f, 0.5f, 6.2f, 60, 85, 4, 34, 0.4f};
    d.box = {1, 7.0f, 3, 0.70700002f};
    d.view = {"gd", 2, 10};
    d.kept = {{"first \u2014 try", 3, d.driver, {2, 20.0f, 2, 12.5f}}, {"", 1, d.driver, {1, 10.0f, 1, 0.0f}}};
    return d;
}

// Each float is written with its shortest digits, which no other float has: a text writing again as itself read back.
TEST(DesignDocument, EveryFieldReadsBackToTheBitWithAPointInAnyLocale)
{
    kt::CommaLocale comma;
    if (!comma.why.empty()) GTEST_SKIP() << comma.why;
    const std::string text = WriteDesignDocument(Sample());
    for (const char* shown : {"\"qts\": 0.35,", "\"qtc\": 0.707\n", "\"model\": \"Mid 13\u00B5\"", "\"vb\": 12.5\n"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
    const DocumentRead read = ReadDesignDocument(text);
    ASSERT_TRUE(read.doc) << read.error;
    EXPECT_EQ(WriteDesignDocument(*read.doc), text);
    EXPECT_EQ(read.doc->box.entry, 0.70700002f);
    EXPECT_EQ(read.doc->kept.at(0).name, "first \u2014 try");
    // Any single-precision value in range, whatever its digits.
    std::mt19937 bits(29);
    DesignDocument any = Sample();
    for (int round = 0; round < 2000; ++round) {
        for (f32& v : any.driver.values) {
            do v = std::bit_cast<f32>(static_cast<std::uint32_t>(bits()) & 0x7FFFFFFFu);
            while (!(static_cast<double>(v) <= kMaxDriverValue));
        }
        const std::string written = WriteDesignDocument(any);
        const DocumentRead again = ReadDesignDocument(written);
        ASSERT_TRUE(again.doc) << again.error << written;
        ASSERT_EQ(WriteDesignDocument(*again.doc), written);
    }
}

// Each text is the sample's with one change; the reason names the field.
TEST(DesignDocument, RefusedWithTheFieldAndTheReason)
{
    const std::string good = WriteDesignDocument(Sample());
    const auto with = [&good](std::string_view from, std::string_view to) {
        std::string t = good;
        const std::size_t at = t.find(from);
        return at == std::string::npos ? "not in the sample: " + std::string(from) : t.replace(at, from.size(), to);
    };
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {good + std::string(kMaxDesignBytes, ' '), "it is larger than 1 MiB"},
        {"", "it is not a JSON document (syntax error at line 1, column 1)"},
        {with("\"driver\": {", "\"driver\": {{"), "it is not a JSON document (syntax error at line 4"},
        {with("Mid 13", "Mid \xFF"), "it is not a JSON document"},
        {with("\"fs\": 50.0", "\"fs\": 1e400"), "it is not a JSON document (a number is beyond any range)"},
        {"[1, 2]", "it is not a Kestrova design"},
        {with("kestrova-design", "kestrova-driver"), "it is not a Kestrova design"},
        {with("\"version\": 1", "\"version\": 2"),
         "it was written by a newer Kestrova (design format version 2; this one reads version 1)"},
        {with("\"version\": 1", "\"version\": 0"), "the field version is out of range: 0"},
        {with("\"qes\": 0.4,", ""), "the field driver.qes is missing"},
        {with("\"fs\": 50.0", "\"fs\": \"50\""), "the field driver.fs must be a number"},
        {with("\"fs\": 50.0", "\"fs\": -5"), "the field driver.fs is out of range (0 to 1000000): -5"},
        {with("\"fs\": 50.0", "\"fs\": 1e39"), "the field driver.fs is out of range: 1e+39"},
        {with("Mid 13", "Mid \u6771"), "the field driver.model has a character Kestrova cannot show"},
        {with("Mid 13", std::string(256, 'x')), "the field driver.model is longer than 255 characters"},
        {with("\"qa\": 7.0", "\"qa\": 8"), "the field box.qa is out of range (5, 7, 10, 15 or 20): 8"},
        {with("\"system\": \"closed-box\"", "\"system\": \"vented\""), "the field box.system is out of range: \"vented\""},
        {with("\"qtc\": 0.707", "\"qtc\": 0"), "the field box.qtc is out of range (above 0): 0"},
        {with("\"qtc\": 0.707", "\"vb\": 3"), "the field box.qtc is missing"},
        {with("\"system\": \"closed-box\"", "\"system\": \"rear-closed\""),
         "a driver with a Vas is designed as a closed box or on a baffle"},
        {with("\"vas\": 10.0", "\"vas\": 0"), "a driver without a Vas is a rear-closed unit, in no box"},
        {with("\"response\": \"gd\"", "\"response\": \"xy\""), "the field view.response is out of range: \"xy\""},
        {with("\"scale\": 10", "\"scale\": 7"), "the field view.scale is out of range (5 or 10): 7"},
        {with("\"colour\": 3", "\"colour\": 5"), "the field kept[0].colour is out of range (1 to 4, one each): 5"},
        {with("\"colour\": 3", "\"colour\": 1"), "the field kept[1].colour is out of range (1 to 4, one each): 1"},
        {with("\"vb\": 12.5", "\"vb\": -1"), "the field kept[0].box.vb is out of range (above 0): -1"},
        {with("\"kept\": [", "\"kept\": [{}, {}, {}, {}, "), "more than 4 kept designs"},
        {with("\"kept\": [", "\"kept\": [[[[[[[[[[1]]]]]]]]], "), "it nests deeper than a design does"},
    };
    // clang-format on
    for (const auto& [text, why] : rows) {
        SCOPED_TRACE(why);
        const DocumentRead read = ReadDesignDocument(text);
        EXPECT_FALSE(read.doc);
        EXPECT_EQ(read.error.substr(0, why.size()), why);
    }
    // What could not be read back is not written either.
    DesignDocument rear = Sample();
    rear.driver.values[2] = 0.0f, rear.box = {3, 10.0f, 3, 1.0f};
    EXPECT_EQ(CheckDesignDocument(rear), "a rear-closed unit has no box to align");
    DesignDocument nan = Sample();
    nan.driver.values[3] = NAN;
    EXPECT_EQ(CheckDesignDocument(nan), "the field driver.qts is out of range (0 to 1000000): nan");
}

struct Drawn {
    std::string list, record;
};

// What the window shows: the last redraw on `screen` (after its erase), and the record Copy Parameters gives.
Drawn Shown(Kestrova& k, const RecordingCanvas& screen)
{
    const std::string all = screen.str();
    const std::size_t erase = all.rfind("erase ");
    const std::size_t from = erase == std::string::npos ? 0 : all.find('\n', erase) + 1;
    return {all.substr(from), std::string(MakeClipText(k).view())};
}

// Written, read back and reopened: the driver, its set-up, the box and view by the commands, and the redraw.
Drawn Reopen(const Kestrova& saved, std::vector<std::string>& alerts)
{
    const DocumentRead read = ReadDesignDocument(WriteDesignDocument(CaptureDesign(saved)));
    if (!read.doc) return {"not read: " + read.error, ""};
    Kestrova k;
    RecordingCanvas screen;
    k.screen = k.page = &screen;
    k.kept = MakeKeptDesigns(read.doc->kept);
    LoadIncomingDriver(k.d, read.doc->driver);
    ParameterPass(k.d);
    HeadlessDesign h(k);
    h.SetUp();
    ApplyBoxAndView(read.doc->box, read.doc->view, h);
    alerts = h.alerts;
    return Shown(k, screen);
}

// A user's commands: "qa2" (the pop-up's item), "vb12.5" and "qtc1.2" (the alignment, its entry and Calc.),
// "pick-qtc", "ib", "cb", "view2" (View menu), "r4" (Response menu), "keep" (for comparison).
void Give(Kestrova& k, HeadlessDesign& h, const std::string& words)
{
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        if (w.starts_with("qa")) h.ChooseQa(std::stoi(w.substr(2)));
        if (w.starts_with("vb")) h.ChooseAlignment(2), h.EnterBox(311, PStr(w.substr(2)));
        if (w.starts_with("qtc")) h.ChooseAlignment(3), h.EnterBox(313, PStr(w.substr(3)));
        if (w == "pick-qtc") h.ChooseAlignment(3);
        if (w == "ib") h.InfiniteBaffle();
        if (w == "cb") h.ClosedBox();
        if (w.starts_with("view")) h.ChooseView(std::stoi(w.substr(4)));
        if (w.size() > 1 && w[0] == 'r' && std::isdigit(static_cast<unsigned char>(w[1])))
            h.ChooseResponse(std::stoi(w.substr(1)));
        if (w == "keep") KeepForComparison(k, "kept");
    }
}

// Designs made by a user's commands, some redrawn in every view (a Qtc box moves in its last bits with each
// redraw), some with designs kept; the alignment sheets come back with the design.
TEST(DesignFile, ReopenedDesignIsDrawnAndRecordedAsSaved)
{
    const std::string views = " r2 r4 r6 r3 r1 r4";
    // clang-format off
    const struct { const char* name; bool woofer; std::string steps; std::size_t alerts; } rows[] = {
        {"closed box, optimum", true, "", 0}, {"optimum, Qa 5, absolute 10 dB", true, "qa1 view2 view5", 0},
        {"box volume, Qa 7, impedance", true, "qa2 vb12.5 r2", 0},
        {"Qtc 1.2, Qa 15, then every view", true, "qa4 qtc1.2" + views, 0},
        {"Qtc too small, step", true, "r6 qtc0.3", 1}, {"Qtc too large, phase", true, "r3 qtc8", 1},
        {"Qtc, then the profile", true, "qtc1.1 r8", 0}, {"Qtc chosen, not calculated", true, "pick-qtc", 0},
        {"baffle after the optimum, Qa 20", true, "qa5 ib", 0},
        {"baffle after a volume, impedance", true, "vb20 ib r2", 0},
        {"baffle after a Qtc, every view", true, "qtc0.9 ib" + views, 0},
        {"rear-closed unit, Qa 5, profile", false, "qa1 r8", 0}, {"rear-closed unit, Nyquist", false, "r5", 0},
        {"Qtc 0.8 beside two kept designs", true, "qtc1.05 keep ib r4 keep cb r4 qtc0.8", 0},
        {"the limit views beside a kept design", true, "keep qtc0.9 r13 r14", 0}};
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Kestrova k;
        RecordingCanvas screen;
        k.screen = k.page = &screen;
        if (r.woofer) k.sh.s_Masg = kt::ClosedBoxRecord(), MasageTextToParameter(k);  // else the built-in driver
        ParameterPass(k.d);
        HeadlessDesign h(k);
        h.SetUp();
        Give(k, h, r.steps);
        EXPECT_EQ(std::pair(h.beeped, h.alerts.size()), std::pair(false, r.alerts));
        const Drawn saved = Shown(k, screen);
        std::vector<std::string> alerts;
        const Drawn reopened = Reopen(k, alerts);
        EXPECT_EQ(reopened.record, saved.record);
        EXPECT_TRUE(reopened.list == saved.list) << reopened.list.substr(0, 400);
        EXPECT_EQ(alerts, h.alerts);
    }
}

}  // namespace
}  // namespace ks

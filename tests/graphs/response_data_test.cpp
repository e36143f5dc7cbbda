#include "graphs/response_data.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <sstream>

#include "common/comma_locale.h"
#include "common/display_list.h"
#include "graphs/evaluate_at.h"
#include "graphs/imp.h"
#include "model/cb.h"
#include "model/ib.h"

using namespace ks;
using namespace ks::test;

namespace {

// The three systems: the worked closed box (Fs 50, Vas 10, Qts 0.35, Qa 10,
// optimum), the same driver on an infinite baffle, and the built-in driver
// without Vas (a rear-closed unit).
enum Sys { kBox = 1, kBaffle = 2, kRearClosed = 3 };

void Make(Kestrova& k, Sys sys)
{
    if (sys == kRearClosed) {
        kt::SetUpDriver(k);
    } else {
        kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
        k.d.boxSys = static_cast<i16>(sys);
    }
    ASSERT_EQ(k.d.boxSys, sys);
}

// Where the system resonates: Fc in the box, else Fs.
float Resonance(const Kestrova& k)
{
    return k.d.boxSys == 1 ? SampleResponse(k.d, {10, 20, 1}).box.FC : k.d.FS;
}

ResponsePoint At(const Kestrova& k, float hz)
{
    const ResponseData one = SampleResponse(k.d, {hz, hz, 1});
    EXPECT_EQ(one.points.size(), 1u);
    return one.points.at(0);
}

TEST(ResponseData, LevelIsTheAmplitudeViewsEvaluationPlusTheSensitivity)
{
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        Make(k, sys);
        const float fr = Resonance(k);
        for (float hz : {1000.0f, fr}) {
            const ResponsePoint p = At(k, hz);
            ks::Design view = k.d;
            CofCal(view);
            EvaluateAt(view, static_cast<float>(std::log10(hz)), CBFRcal, IBFRcal);
            EXPECT_EQ(p.hz, view.ff) << sys;
            EXPECT_EQ(p.level, static_cast<float>(double(view.SPL) - double(view.yy))) << sys << " at " << hz;
        }
        // At resonance a second-order high-pass is Q times its pass band.
        if (sys != kBox) {
            EXPECT_NEAR(At(k, fr).level, k.d.SPL + 20.0 * std::log10(k.d.QTS), 0.001) << sys;
        }
    }
}

TEST(ResponseData, kBoxPhaseFallsContinuouslyFrom180To0)
{
    Kestrova k;
    Make(k, kBox);
    const ResponseData r = SampleResponse(k.d, ResponseRange{});
    ASSERT_EQ(r.points.size(), 575u);  // 10 Hz .. 40 kHz at 48 per octave
    EXPECT_EQ(r.points.front().hz, 10.0f);
    EXPECT_GT(r.points.front().phase, 170.0f);
    EXPECT_LT(r.points.back().phase, 1.0f);
    EXPECT_GT(r.points.back().phase, 0.0f);
    for (std::size_t i = 1; i < r.points.size(); ++i) {
        EXPECT_LT(r.points[i].phase, r.points[i - 1].phase) << r.points[i].hz;
        EXPECT_LT(r.points[i - 1].phase - r.points[i].phase, 3.0f) << r.points[i].hz;
    }
}

TEST(ResponseData, ImpedancePeaksAtResonanceWithTheViewsHeightAndNoPhase)
{
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        k.d.LE2 = 0.0f;  // the coil's inductance is the one term the view adds differently
        Make(k, sys);
        const float fr = Resonance(k);
        const ResponsePoint peak = At(k, fr);
        ks::Design view = k.d;
        view.s_Resp = "imp";
        ImpPrepare(view);
        EvaluateAt(view, static_cast<float>(std::log10(fr)), CBIMPcal, IBIMPcal);
        EXPECT_NEAR(peak.ohms, view.yyLinea, 1e-5 * view.yyLinea) << sys;
        EXPECT_NEAR(peak.ohmsPhase, 0.0, 0.01) << sys;
        for (const ResponsePoint& p : SampleResponse(k.d, {fr / 2.0, fr * 2.0, 384}).points)
            EXPECT_LE(p.ohms, peak.ohms * (1.0f + 1e-6f)) << sys << " at " << p.hz;
    }
}

std::vector<std::string> Split(const std::string& line, char sep)
{
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, sep);) out.push_back(field);
    return out;
}

float Read(const std::string& field)
{
    float v = std::nanf("");
    const auto [p, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    EXPECT_TRUE(ec == std::errc() && p == field.data() + field.size()) << "'" << field << "'";
    return v;
}

TEST(ResponseData, EveryFormatForEverySystemReadsBackExactlyUnderADecimalCommaLocale)
{
    const kt::CommaLocale german;
    if (!german.why.empty()) GTEST_SKIP() << german.why;
    const char* systemLine[] = {"", "* System: closed box", "* System: infinite baffle", "* System: rear-closed driver"};
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        // Without Vas or an efficiency the sensitivity is unknown: the level is relative.
        if (sys == kRearClosed) k.d.EFI2 = 0.0f;
        Make(k, sys);
        const ResponseData r = SampleResponse(k.d, {20, 20000, 12});
        ASSERT_EQ(r.points.size(), 120u);
        for (ResponseFormat f : {ResponseFormat::Frd, ResponseFormat::Zma, ResponseFormat::Csv}) {
            const std::string text = ResponseText(r, f, "2026-12-05T14:30:00");
            const std::vector<std::string> lines = Split(text, '\n');
            const bool csv = f == ResponseFormat::Csv;
            std::size_t first = 0;
            if (csv) {
                EXPECT_EQ(Split(lines.at(0), ',').size(), 6u);
                EXPECT_EQ(lines[0].find("Level (dB rel.)") != std::string::npos, sys == kRearClosed);
                first = 1;
            } else {
                while (first < lines.size() && lines[first].rfind("* ", 0) == 0) ++first;
                const std::string header = text.substr(0, text.find("\n" + lines.at(first)));
                EXPECT_EQ(lines[0].rfind("* Kestrova " KESTROVA_VERSION ": modelled ", 0), 0u) << lines[0];
                EXPECT_NE(header.find(systemLine[sys]), std::string::npos) << header;
                EXPECT_NE(header.find("\n* Driver: " + k.d.s_SP.str() + "\n"), std::string::npos) << header;
                EXPECT_NE(header.find("\n* Box: " + std::string(sys == kBox ? "Vb 2.8 litres, Fc 106.9 Hz, Qtc 0.707, Qa 10" : "none")),
                          std::string::npos) << header;
                EXPECT_NE(header.find("\n* Date: 2026-12-05T14:30:00"), std::string::npos);
                EXPECT_EQ(header.find("relative") != std::string::npos, sys == kRearClosed && f == ResponseFormat::Frd);
            }
            ASSERT_EQ(lines.size() - first, r.points.size()) << sys;
            for (std::size_t i = 0; i < r.points.size(); ++i) {
                const ResponsePoint& p = r.points[i];
                const std::vector<std::string> v = Split(lines[first + i], csv ? ',' : ' ');
                const std::vector<float> want =
                    csv ? std::vector<float>{p.hz, p.level, p.phase, p.delay, p.ohms, p.ohmsPhase}
                    : f == ResponseFormat::Frd ? std::vector<float>{p.hz, p.level, p.phase}
                                               : std::vector<float>{p.hz, p.ohms, p.ohmsPhase};
                ASSERT_EQ(v.size(), want.size()) << lines[first + i];
                for (std::size_t c = 0; c < want.size(); ++c) {
                    EXPECT_TRUE(std::isfinite(want[c])) << sys << " " << lines[first + i];
                    EXPECT_EQ(Read(v[c]), want[c]) << lines[first + i];
                }
            }
        }
    }
}

}  // namespace

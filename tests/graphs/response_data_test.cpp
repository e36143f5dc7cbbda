#include "graphs/response_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "common/comma_locale.h"
#include "common/drivers.h"
#include "graphs/evaluate_at.h"
#include "graphs/imp.h"
#include "model/cb.h"
#include "model/ib.h"

using namespace ks;

namespace {

// The worked closed box (Fs 50, Vas 10, Qts 0.35, Qa 10, optimum), the same
// driver on an infinite baffle, and the built-in driver without Vas (a
// rear-closed unit).
enum Sys { kBox = 1, kBaffle = 2, kRearClosed = 3 };

void Make(Kestrova& k, Sys sys)
{
    if (sys == kRearClosed) return kt::SetUpDriver(k);  // the header below names the system it chose
    kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
    k.d.boxSys = static_cast<i16>(sys);
}

ResponsePoint At(const Kestrova& k, float hz) { return SampleResponse(k.d, {hz, hz, 1}).points.at(0); }

// The level is the amplitude view's evaluation plus the sensitivity, and at
// resonance (Fc in the box, else Fs) Q times the pass band; the impedance
// there has the impedance view's height and no phase.
TEST(ResponseData, LevelImpedanceAndPhaseFollowTheViews)
{
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        k.d.LE2 = 0.0f;  // the coil's inductance is the one term the view adds differently
        Make(k, sys);
        const float fr = sys == kBox ? SampleResponse(k.d, {10, 20, 1}).box.FC : k.d.FS;
        for (float hz : {1000.0f, fr}) {
            Design view = k.d;
            CofCal(view);
            EvaluateAt(view, static_cast<float>(std::log10(hz)), CBFRcal, IBFRcal);
            EXPECT_EQ(At(k, hz).level, static_cast<float>(double(view.SPL) - double(view.yy))) << sys << " " << hz;
        }
        if (sys != kBox) { EXPECT_NEAR(At(k, fr).level, k.d.SPL + 20.0 * std::log10(k.d.QTS), 0.001) << sys; }
        const ResponsePoint peak = At(k, fr);
        Design view = k.d;
        view.s_Resp = "imp";
        ImpPrepare(view);
        EvaluateAt(view, static_cast<float>(std::log10(fr)), CBIMPcal, IBIMPcal);
        EXPECT_NEAR(peak.ohms, view.yyLinea, 1e-5 * view.yyLinea) << sys;
        EXPECT_NEAR(peak.ohmsPhase, 0.0, 0.01) << sys;
    }
}

// Every format for every system reads back exactly, with a decimal point even
// under a decimal-comma locale, below a header that names the design.
TEST(ResponseData, EveryFormatReadsBackExactlyUnderADecimalCommaLocale)
{
    const kt::CommaLocale german;
    if (!german.why.empty()) GTEST_SKIP() << german.why;
    const char* system[] = {"", "closed box\n* Box: Vb 2.8 litres, Fc 106.9 Hz, Qtc 0.707, Qa 10\n",
                            "infinite baffle\n* Box: none", "rear-closed driver\n* Box: none"};
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        if (sys == kRearClosed) k.d.EFI2 = 0.0f;  // no Vas, no efficiency: the level is relative
        Make(k, sys);
        const ResponseData r = SampleResponse(k.d, {20, 20000, 12});
        for (ResponseFormat f : {ResponseFormat::Frd, ResponseFormat::Zma, ResponseFormat::Csv}) {
            const bool csv = f == ResponseFormat::Csv;
            std::istringstream text(ResponseText(r, f, "2026-12-05T14:30:00"));
            std::string header, line;
            while ((text.peek() == '*' || (csv && header.empty())) && std::getline(text, line)) header += line + '\n';
            if (csv) {
                EXPECT_EQ(std::count(header.begin(), header.end(), ','), 5);
                EXPECT_EQ(header.find("Level (dB rel.)") != std::string::npos, sys == kRearClosed);
            } else {
                EXPECT_TRUE(header.starts_with("* Kestrova " KESTROVA_VERSION ": modelled ") &&
                            header.ends_with("\n* Date: 2026-12-05T14:30:00\n")) << header;
                EXPECT_NE(header.find("\n* Driver: " + k.d.s_SP.str() + "\n* System: " + system[sys]), std::string::npos);
                EXPECT_EQ(header.find("relative") != std::string::npos, sys == kRearClosed && f == ResponseFormat::Frd);
            }
            std::vector<float> got, want;
            while (std::getline(text, line)) {
                std::replace(line.begin(), line.end(), ',', ' ');
                std::istringstream fields(line);
                for (std::string field; fields >> field;) {
                    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), got.emplace_back());
                    EXPECT_TRUE(ec == std::errc() && end == field.data() + field.size()) << line;
                }
            }
            for (const ResponsePoint& p : r.points)
                want.insert(want.end(), csv ? std::initializer_list<float>{p.hz, p.level, p.phase, p.delay, p.ohms, p.ohmsPhase}
                                        : f == ResponseFormat::Frd ? std::initializer_list<float>{p.hz, p.level, p.phase}
                                                                   : std::initializer_list<float>{p.hz, p.ohms, p.ohmsPhase});
            EXPECT_EQ(got, want);  // not a number never equals itself
        }
    }
}

}  // namespace

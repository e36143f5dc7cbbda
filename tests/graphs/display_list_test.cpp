// Pictures as data: each scene's display list is compared with its file in
// golden/. The designs' views were written once by kestrova-render --trace
// (the program's own sequence) and the scale scenes by this test's write
// mode, then checked by hand against the worked values and the frame
// geometry. A file changes only with a picture users see; say why in the
// commit that rewrites one.
//
// KESTROVA_WRITE_DISPLAY_LISTS=DIR writes every scene into DIR instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/drivers.h"
#include "graphs/amp.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/null_canvas.h"
#include "graphs/recording_canvas.h"
#include "graphs/step_graph.h"
#include "render_session.h"

namespace ks {
namespace {

struct Scene {
    std::string name;
    std::function<std::string()> draw;
};

// The program's sequence for the given kestrova-render options.
std::string Render(std::vector<std::string_view> args)
{
    const auto parsed = ParseRenderOptions(args);
    if (!parsed.options) return "bad options: " + parsed.error;
    Kestrova k;
    NullCanvas scratch;
    const RenderRun run = RunRenderSequence(k, *parsed.options, scratch);
    if (!run.ok) return "failed: " + run.error;
    RecordingCanvas out;
    DrawFinalView(k, *parsed.options, out, parsed.options->date.value_or(DateStamp{}));
    return out.str();
}

// One graph routine on a set-up default driver, after `prepare`.
std::string Draw(const std::function<void(Kestrova&)>& prepare, void (*graph)(Kestrova&))
{
    Kestrova k;
    kt::SetUpDriver(k);
    prepare(k);
    RecordingCanvas rc;
    k.screen = &rc;
    k.page = &rc;
    graph(k);
    return rc.str();
}

std::string Num(double v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

std::vector<Scene> Scenes()
{
    std::vector<Scene> s;
    const std::pair<const char*, std::vector<std::string_view>> designs[] = {
        {"closed_box", {"--driver", kt::kWooferRecord}},
        {"infinite_baffle", {"--driver", kt::kWooferRecord, "--system", "ib"}},
        {"rear_closed", {}},
    };
    for (const auto& [design, args] : designs) {
        for (const char* view : {"amp", "imp", "ph", "gd", "nq", "st", "sys"}) {
            std::vector<std::string_view> a = args;
            a.insert(a.end(), {"--view", view});
            s.push_back({std::string(design) + "_" + view, [a] { return Render(a); }});
        }
        for (const char* view : {"amp", "sys"}) {
            std::vector<std::string_view> a = args;
            a.insert(a.end(), {"--view", view, "--print", "--date", "2026-12-05T14:30:00"});
            s.push_back({std::string(design) + "_print_" + view, [a] { return Render(a); }});
        }
    }
    const std::pair<const char*, std::vector<std::string_view>> variants[] = {
        {"closed_box_amp_absolute", {"--driver", kt::kWooferRecord, "--absolute"}},
        {"closed_box_amp_absolute_scale10", {"--driver", kt::kWooferRecord, "--absolute", "--scale", "10"}},
        {"closed_box_qtc_amp", {"--driver", kt::kWooferRecord, "--qa", "5", "--align", "qtc=1.2"}},
        {"rear_closed_imp_log", {"--view", "imp", "--imp-log"}},
    };
    for (const auto& [name, a] : variants) s.push_back({name, [a] { return Render(a); }});

    // Every scale's labels and grid, on the default driver.
    for (const float scl : {0.005f, 0.01f, 0.025f, 0.05f, 0.1f, 0.25f, 0.5f, 1.0f, 2.5f, 5.0f, 10.0f})
        s.push_back({"gd_scale_" + Num(scl),
                     [scl] { return Draw([scl](Kestrova& k) { k.ds.GDscl = scl; }, GdGraph); }});
    for (const float scl : {10.0f, 4.0f, 2.0f, 1.0f, 0.1f})
        s.push_back({"imp_scale_" + Num(scl),
                     [scl] { return Draw([scl](Kestrova& k) { k.ds.IMPscal = scl; }, ImpGraph); }});
    const std::pair<float, float> steps[] = {{17500, 1}, {17499, 1}, {3500, 1}, {1750, 1}, {1000, 0.707f}, {350, 1},
                                             {175, 1},   {70, 1},    {35, 1},   {17.5f, 1}, {17.4999f, 1}};
    for (const auto& [fs, qts] : steps)
        s.push_back({"step_fs_" + Num(fs), [fs, qts] {
                         return Draw([fs, qts](Kestrova& k) { k.d.FS = fs, k.d.QTS = qts; }, StepGraph);
                     }});
    const std::tuple<int, float> bands[] = {{5, 75.99f}, {5, 76.0f},   {5, 85.99f}, {5, 89.998f},
                                            {5, 100.99f}, {5, 101.0f}, {5, 120.0f}, {10, 80.99f},
                                            {10, 81.0f}, {10, 100.99f}, {10, 101.0f}};
    for (const auto& [scale, spl] : bands)
        s.push_back({"amp_band_" + Num(scale) + "_" + Num(spl), [scale, spl] {
                         return Draw([scale, spl](Kestrova& k) { k.d.magni = 2, k.d.scale = scale, k.d.SPL = spl; },
                                     AmpGraph);
                     }});
    return s;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(DisplayList, EverySceneMatchesItsFile)
{
    if (const char* dir = std::getenv("KESTROVA_WRITE_DISPLAY_LISTS")) {
        for (const Scene& sc : Scenes()) std::ofstream(std::string(dir) + "/" + sc.name + ".txt") << sc.draw();
        GTEST_SKIP() << "display lists written to " << dir;
    }
    for (const Scene& sc : Scenes()) {
        SCOPED_TRACE(sc.name);
        const std::string want = Read(std::string(KESTROVA_GOLDEN_DIR) + "/" + sc.name + ".txt");
        ASSERT_FALSE(want.empty()) << "no file for " << sc.name;
        EXPECT_EQ(sc.draw(), want);
    }
}

}  // namespace
}  // namespace ks

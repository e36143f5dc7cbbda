// The box entries as the design window's Calc. reads them, through a view
// that holds the typed texts.
#include "app/design_actions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/drivers.h"
#include "exchange/records.h"

namespace ks {
namespace {

struct TypedView final : DesignView {
    std::map<std::int16_t, std::string> typed;
    int beeps = 0, sheets = 0;
    void ResponseWndDisp() override {}
    PStr BoxEntryText(std::int16_t id) override { return PStr(typed[id]); }
    void Beep() override { ++beeps; }
    void ShowSheetAlert(std::string_view, std::string_view) override { ++sheets; }
};

// A decimal comma is the point in what is typed; the record the design
// makes afterwards carries the point.
TEST(BoxEntries, ReadADecimalCommaAsThePoint)
{
    const struct {
        short alin;
        const char* typed;
        float Design::*field;
        float value;
        const char* recorded;
    } rows[] = {{2, "1,5", &Design::VB, 1.5f, "  1.5  "},
                {2, " 2,25", &Design::VB, 2.25f, "  2.25  "},
                {2, ",5", &Design::VB, 0.5f, "  0.5  "},
                {3, "0,9", &Design::QTC, 0.9f, "  0.9  "}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        Kestrova k;
        kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
        k.d.alin = r.alin;
        TypedView v;
        v.typed[r.alin == 2 ? 311 : 313] = r.typed;
        CalcBtnClickRetern(k, v);
        EXPECT_EQ(std::pair(v.beeps, v.sheets), std::pair(0, 0));
        EXPECT_FLOAT_EQ(k.d.*r.field, r.value);
        const std::string record(MakeClipText(k).view());
        EXPECT_NE(record.find(r.recorded), std::string::npos) << record;
        EXPECT_EQ(record.find(','), std::string::npos) << record;
    }
}

}  // namespace
}  // namespace ks

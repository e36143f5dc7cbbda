// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/companion.h"

#include "exchange/records.h"
#include "model/response.h"

namespace ks {

void SndAppleEvent(Messenger& m, CompanionHost& h, std::string_view eventClass, std::string_view text,
                   std::string_view processName)
{
    if (m.send(processName, eventClass, text) < 0) h.Beep();
}

void AdoptIncomingDriver(Kestrova& k, CompanionHost& h)
{
    ParameterPass(k.d);
    h.SetUpDesign();
    if (k.prefs.UpdateForCheck == 1 && k.sh.CheckForUpFlag == 0) h.StartUpdateCheck();
}

void DoAppleEvent(Kestrova& k, Messenger& m, CompanionHost& h, std::string_view text)
{
    k.sh.s_Masg = text;  // cut to 255 bytes
    DoAppleEventCommon(k, m, h);
}

void DoAppleEventCommon(Kestrova& k, Messenger& m, CompanionHost& h)
{
    MasageTextToParameter(k);
    if (k.sh.s_Dummy == kDriverTag) {
        k.sh.s_MasgMenu = kCompanionAnswered;
        AdoptIncomingDriver(k, h);
    }

    const PStr& word = k.sh.s_Masg;
    if (word == kHideKstv) {
        h.HideWindows();
    } else if (word == kBootedKstvFromVtrlByFile) {
        SndAppleEvent(m, h, kVantrelClass, kSetMeDefaultVtrlFromKstv, kVantrelName);
    } else if (word == kYesBootedVtrl) {
        k.sh.s_MasgMenu = kCompanionAnswered;
        h.LaunchCompanion();
        SndAppleEvent(m, h, kVantrelClass, kSetMeDefaultVtrlFromKstv, kVantrelName);
    } else if (word == kQuitKstv) {
        k.sh.GPrintScale = 100.0;
        h.QuitSequence(false);
        return;
    }
    k.sh.GPrintScale = 100.0;
}

void SpeakerSelect(Kestrova& k, Messenger& m, CompanionHost& h)
{
    h.CloseDesignWindow();
    k.sh.GPrintScale = 100.0;
    h.MenuDisable();
    h.LaunchCompanion();
    SndAppleEvent(m, h, kVantrelClass, kShowVtrl, kVantrelName);
}

}  // namespace ks

#include "ui/ExchangeForm.h"

#include "support/RecordingProfile.h"

#include <gtest/gtest.h>
#include <string>

namespace tevra {
namespace {

using Control = ExchangeForm::TimerControl;

// The four boxes, the three fields, which of inversion, all night and the three fields are
// enabled, then the port entry and its text.
std::string state(const ExchangeForm& form) {
    const ControllerSettings& s = form.settings();
    std::string text = std::string(s.timerOn ? "T" : "-") + (s.allNight ? "A" : "-") +
                       (s.inversion ? "I" : "-") + (s.slave ? "S " : "- ") + s.dayWaitText + " " +
                       s.switchOnDelayText + " " + s.workTimeText + " ";
    for (const Control c : {Control::Inversion, Control::AllNight, Control::DayWait,
                            Control::SwitchOnDelay, Control::WorkTime}) {
        text += form.isEnabled(c) ? "1" : "0";
    }
    return text + " " + std::to_string(form.portIndex()) + ":" + form.portText();
}

// The timer ("t") and all-night ("n") boxes clicked as the controls then show them.
TEST(ExchangeForm, OpensFromTheProfileAndTheBoxesSwitchTheTimerControls) {
    const struct {
        int timerWord; // -1: an empty profile
        const char* clicks;
        const char* state;
        int port = 3;
    } rows[] = {
        {-1, "", "TA-- 0 0 0 11010 0:COM1"},
        {65535, "", "---S 1 1 10 00000 3:COM4"},
        {65281, "", "T-IS 3600 60 7200 11111 3:COM4"},
        {0, "", "TA-S 3600 60 7200 11010 3:COM4"},
        // Switching the timer on frees every field, even with "all night" still checked.
        {-1, "tt", "TA-- 0 0 0 11111 0:COM1"},
        // A stored index outside the list selects nothing.
        {0, "", "TA-S 3600 60 7200 11010 -1:", -1},
        {0, "", "TA-S 3600 60 7200 11010 -1:", 22},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        RecordingProfile profile;
        if (r.timerWord >= 0) {
            profile.m_values = {
                {kTimerWordKey, r.timerWord}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60},
                {kWorkTimeKey, 7200},         {kSlaveKey, -1},     {kPortKey, r.port}};
        }
        ExchangeForm form(profile, windowsPortTable());
        for (const char box : std::string(r.clicks)) {
            ControllerSettings shown = form.settings();
            (box == 't' ? shown.timerOn : shown.allNight) ^= true;
            box == 't' ? form.onTimerCheck(shown) : form.onAllNightCheck(shown);
        }
        EXPECT_EQ(state(form), r.state);
        EXPECT_TRUE(profile.m_writes.empty());
    }
}

} // namespace
} // namespace tevra

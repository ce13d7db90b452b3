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

TEST(ExchangeForm, OpensFromTheProfile) {
    const struct {
        int timerWord; // -1: an empty profile
        const char* state;
        int port = 3;
    } rows[] = {
        {-1, "TA-- 0 0 0 11010 0:COM1"},
        {65535, "---S 1 1 10 00000 3:COM4"},
        {65281, "T-IS 3600 60 7200 11111 3:COM4"},
        {0, "TA-S 3600 60 7200 11010 3:COM4"},
        // A stored index outside the list selects nothing.
        {0, "TA-S 3600 60 7200 11010 -1:", -1},
        {0, "TA-S 3600 60 7200 11010 -1:", 22},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        RecordingProfile profile;
        if (r.timerWord >= 0) {
            profile.m_values = {
                {kTimerWordKey, r.timerWord}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60},
                {kWorkTimeKey, 7200},         {kSlaveKey, -1},     {kPortKey, r.port}};
        }
        EXPECT_EQ(state(ExchangeForm(profile, windowsPortTable())), r.state);
        EXPECT_TRUE(profile.m_writes.empty());
    }
}

} // namespace
} // namespace tevra

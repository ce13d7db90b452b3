#include "ui/ExchangeForm.h"

#include "support/RecordingProfile.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tevra {
namespace {

using Control = ExchangeForm::TimerControl;
using Writes = std::vector<std::pair<std::string, int>>;

// The four boxes, the three fields, the enabled states of inversion, all night, day wait,
// switch-on delay and work time, then the port entry and its text.
std::string state(const ExchangeForm& form) {
    const ControllerSettings& s = form.settings();
    std::string text = std::string(s.timerOn ? "T" : "-") + (s.allNight ? "A" : "-") +
                       (s.inversion ? "I" : "-") + (s.slave ? "S" : "-") + " " + s.dayWaitText +
                       " " + s.switchOnDelayText + " " + s.workTimeText + " ";
    for (const Control c : {Control::Inversion, Control::AllNight, Control::DayWait,
                            Control::SwitchOnDelay, Control::WorkTime}) {
        text += form.isEnabled(c) ? "1" : "0";
    }
    return text + " " + std::to_string(form.portIndex()) + ":" + form.portText();
}

// Clicks on the timer ("t") or all-night ("n") box, as the controls then show them.
void clickBoxes(ExchangeForm& form, const std::string& boxes) {
    for (const char box : boxes) {
        ControllerSettings shown = form.settings();
        if (box == 't') {
            shown.timerOn = !shown.timerOn;
            form.onTimerCheck(shown);
        } else {
            shown.allNight = !shown.allNight;
            form.onAllNightCheck(shown);
        }
    }
}

TEST(ExchangeForm, OpensFromTheProfileAndTheBoxesSwitchTheTimerControls) {
    const std::map<std::string, int> stored = {{kDayWaitKey, 3600},
                                               {kSwitchOnDelayKey, 60},
                                               {kWorkTimeKey, 7200},
                                               {kSlaveKey, -1},
                                               {kPortKey, 3}};
    const struct {
        std::optional<int> timerWord; // none: an empty profile
        const char* clicks;
        const char* state;
        int port = 3;
    } rows[] = {
        {{}, "", "TA-- 0 0 0 11010 0:COM1", 0},
        {65535, "", "---S 1 1 10 00000 3:COM4"},
        {65281, "", "T-IS 3600 60 7200 11111 3:COM4"},
        {65280, "", "TAIS 3600 60 7200 11010 3:COM4"},
        {0, "", "TA-S 3600 60 7200 11010 3:COM4"},
        {1, "", "T--S 3600 60 7200 11111 3:COM4"},
        {257, "", "---S 1 1 10 00000 3:COM4"},
        {{}, "n", "T--- 0 0 0 11111 0:COM1", 0},
        {{}, "nn", "TA-- 0 0 0 11010 0:COM1", 0},
        {{}, "t", "-A-- 0 0 0 00000 0:COM1", 0},
        // Switching the timer on frees every field, even with "all night" still checked.
        {{}, "tt", "TA-- 0 0 0 11111 0:COM1", 0},
        // A stored index outside the list selects nothing.
        {0, "", "TA-S 3600 60 7200 11010 -1:", -1},
        {0, "", "TA-S 3600 60 7200 11010 -1:", 22},
        {0, "", "TA-S 3600 60 7200 11010 -1:", 1000},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.state);
        RecordingProfile profile;
        if (r.timerWord) {
            profile.m_values = stored;
            profile.m_values[kTimerWordKey] = *r.timerWord;
            profile.m_values[kPortKey] = r.port;
        }
        ExchangeForm form(profile, windowsPortTable());
        clickBoxes(form, r.clicks);
        EXPECT_EQ(state(form), r.state);
        EXPECT_EQ(form.statusText(), "");
        EXPECT_EQ(form.progressPosition(), 0);
        EXPECT_TRUE(profile.m_writes.empty());
    }
}

TEST(ExchangeForm, WhatIsOpenedIsWhatIsRememberedAndShownNextTime) {
    const struct {
        const char* typed;
        int index; // stored as "COMM_SET"
        const char* device;
        const char* remembered; // stored as our own key
    } rows[] = {
        {"COM5", 4, "COM5", ""},
        {"COM10", 9, "\\\\.\\COM10", ""},
        {"\\\\.\\COM12", 11, "\\\\.\\COM12", ""},
        {"/dev/ttyUSB0", ExchangeForm::kNoPort, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"", ExchangeForm::kNoPort, "", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        RecordingProfile profile;
        profile.m_texts[kTypedPortKey] = "/dev/stale";
        ExchangeForm form(profile, windowsPortTable());
        ControllerSettings shown = form.settings();
        // Refused by its fields, the choice is stored all the same.
        EXPECT_FALSE(form.write(shown, r.typed).block);
        EXPECT_EQ(profile.m_writes, (Writes{{kPortKey, r.index}}));
        EXPECT_EQ(profile.m_texts[kTypedPortKey], r.remembered);

        shown.timerOn = false;
        EXPECT_EQ(form.write(shown, r.typed).device, r.device);
        EXPECT_EQ(form.portIndex(), r.index);
        const ExchangeForm reopened(profile, windowsPortTable());
        EXPECT_EQ(reopened.portIndex(), r.index);
        EXPECT_EQ(reopened.portText(), r.index == ExchangeForm::kNoPort
                                           ? std::string(r.typed)
                                           : windowsPortTable()[std::size_t(r.index)].shownName);
    }
}

TEST(ExchangeForm, AcceptedWriteStoresEverythingAndBuildsTheBlock) {
    RecordingProfile profile;
    ExchangeForm form(profile, windowsPortTable());
    ControllerSettings shown = form.settings();
    shown.allNight = false;
    shown.dayWaitText = "3600";
    shown.switchOnDelayText = "60";
    shown.workTimeText = "7200";
    const ExchangeForm::WriteResult result = form.write(shown, "/dev/ttyS0");
    ASSERT_TRUE(result.block);
    EXPECT_EQ((*result.block)[0], 0x01);
    EXPECT_EQ((*result.block)[8], 0xFF);
    EXPECT_EQ(profile.m_writes, (Writes{{kPortKey, -1},
                                        {kTimerWordKey, 1},
                                        {kDayWaitKey, 3600},
                                        {kSwitchOnDelayKey, 60},
                                        {kWorkTimeKey, 7200},
                                        {kSlaveKey, 0}}));
    const ExchangeForm reopened(profile, windowsPortTable());
    EXPECT_EQ(state(reopened), "T--- 3600 60 7200 11111 -1:/dev/ttyS0");
}

} // namespace
} // namespace tevra

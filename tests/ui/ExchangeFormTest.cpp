#include "ui/ExchangeForm.h"

#include "support/RecordingProfile.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tevra {
namespace {

using Control = ExchangeForm::TimerControl;
constexpr int kPorts = 22;

// Enabled states of 1077, 1078, 1049, 1050, 1051.
std::vector<bool> enabledStates(const ExchangeForm& form) {
    return {form.isEnabled(Control::Inversion), form.isEnabled(Control::AllNight),
            form.isEnabled(Control::DayWait), form.isEnabled(Control::SwitchOnDelay),
            form.isEnabled(Control::WorkTime)};
}

TEST(ExchangeFormInitTest, EmptyProfileOpensWithAllNightTimerAndZeroFields) {
    RecordingProfile profile;
    const ExchangeForm form(profile, windowsPortTable());
    const ControllerSettings& s = form.settings();
    EXPECT_TRUE(s.timerOn);
    EXPECT_TRUE(s.allNight);
    EXPECT_FALSE(s.inversion);
    EXPECT_FALSE(s.slave);
    EXPECT_EQ(s.dayWaitText, "0");
    EXPECT_EQ(s.switchOnDelayText, "0");
    EXPECT_EQ(s.workTimeText, "0");
    EXPECT_EQ(enabledStates(form), (std::vector<bool>{true, true, false, true, false}));
    EXPECT_EQ(form.portIndex(), 0);
    EXPECT_EQ(form.statusText(), "");
    EXPECT_EQ(form.progressPosition(), 0);
    EXPECT_TRUE(profile.m_writes.empty());
}

struct InitCase {
    int stored;
    bool timerOn;
    bool allNight;
    bool inversion;
    std::vector<bool> enabled;
};

class ExchangeFormDecodeTest : public ::testing::TestWithParam<InitCase> {};

TEST_P(ExchangeFormDecodeTest, StoredTimerWordSetsBoxesFieldsAndEnabledStates) {
    const InitCase& c = GetParam();
    RecordingProfile profile;
    profile.m_values = {{kTimerWordKey, c.stored}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60},
                        {kWorkTimeKey, 7200},      {kSlaveKey, -1},     {kPortKey, 3}};
    const ExchangeForm form(profile, windowsPortTable());
    const ControllerSettings& s = form.settings();
    EXPECT_EQ(s.timerOn, c.timerOn);
    EXPECT_EQ(s.allNight, c.allNight);
    EXPECT_EQ(s.inversion, c.inversion);
    EXPECT_TRUE(s.slave);
    EXPECT_EQ(form.portIndex(), 3);
    EXPECT_EQ(enabledStates(form), c.enabled);
    if (c.timerOn) {
        EXPECT_EQ(s.dayWaitText, "3600");
        EXPECT_EQ(s.switchOnDelayText, "60");
        EXPECT_EQ(s.workTimeText, "7200");
    } else {
        EXPECT_EQ(s.dayWaitText, "1");
        EXPECT_EQ(s.switchOnDelayText, "1");
        EXPECT_EQ(s.workTimeText, "10");
    }
}

const std::vector<bool> kAllEnabled{true, true, true, true, true};
const std::vector<bool> kAllDisabled{false, false, false, false, false};
const std::vector<bool> kAllNightEditsOff{true, true, false, true, false};

INSTANTIATE_TEST_SUITE_P(Table, ExchangeFormDecodeTest,
                         ::testing::Values(InitCase{65535, false, false, false, kAllDisabled},
                                           InitCase{65281, true, false, true, kAllEnabled},
                                           InitCase{65280, true, true, true, kAllNightEditsOff},
                                           InitCase{0, true, true, false, kAllNightEditsOff},
                                           InitCase{1, true, false, false, kAllEnabled},
                                           InitCase{257, false, false, false, kAllDisabled}));

TEST(ExchangeFormPortTest, WhatIsOpenedIsWhatIsRememberedAndShownNextTime) {
    struct Row {
        const char* typed;
        int index; // stored as "COMM_SET"
        const char* device;
        const char* remembered; // stored as our own key
    };
    const std::vector<Row> rows = {
        {"COM5", 4, "COM5", ""},
        {"COM10", 9, "\\\\.\\COM10", ""},
        {"\\\\.\\COM12", 11, "\\\\.\\COM12", ""},
        {"/dev/ttyUSB0", ExchangeForm::kNoPort, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"", ExchangeForm::kNoPort, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        RecordingProfile profile;
        profile.m_texts[kTypedPortKey] = "/dev/stale";
        ExchangeForm form(profile, windowsPortTable());
        ControllerSettings shown = form.settings();
        // Refused by its fields, the choice is stored all the same.
        EXPECT_FALSE(form.write(shown, row.typed).block);
        EXPECT_EQ(profile.m_writes,
                  (std::vector<std::pair<std::string, int>>{{"COMM_SET", row.index}}));
        EXPECT_EQ(profile.m_texts[kTypedPortKey], row.remembered);

        shown.timerOn = false;
        EXPECT_EQ(form.write(shown, row.typed).device, row.device);
        EXPECT_EQ(form.portIndex(), row.index);
        const ExchangeForm reopened(profile, windowsPortTable());
        EXPECT_EQ(reopened.portIndex(), row.index);
        EXPECT_EQ(reopened.portText(), row.index == ExchangeForm::kNoPort
                                           ? std::string(row.typed)
                                           : windowsPortTable()[std::size_t(row.index)].shownName);
    }
}

TEST(ExchangeFormPortTest, StoredIndexOutsideTheListSelectsNothing) {
    for (const int stored : {-1, kPorts, 1000}) {
        RecordingProfile profile;
        profile.m_values[kPortKey] = stored;
        const ExchangeForm form(profile, windowsPortTable());
        EXPECT_EQ(form.portIndex(), ExchangeForm::kNoPort) << stored;
        EXPECT_EQ(form.portText(), "") << stored;
    }
}

TEST(ExchangeFormCheckTest, TimerBoxSwitchesAllFiveEvenWithAllNightChecked) {
    RecordingProfile profile;
    ExchangeForm form(profile, windowsPortTable());
    ControllerSettings shown = form.settings();
    shown.timerOn = false;
    form.onTimerCheck(shown);
    EXPECT_EQ(enabledStates(form), kAllDisabled);
    EXPECT_FALSE(form.settings().timerOn);
    shown.timerOn = true;
    form.onTimerCheck(shown);
    EXPECT_TRUE(form.settings().allNight);
    EXPECT_EQ(enabledStates(form), kAllEnabled);
}

TEST(ExchangeFormCheckTest, AllNightBoxSwitchesDayWaitAndWorkTimeOnly) {
    RecordingProfile profile;
    ExchangeForm form(profile, windowsPortTable());
    ControllerSettings shown = form.settings();
    shown.allNight = false;
    form.onAllNightCheck(shown);
    EXPECT_EQ(enabledStates(form), kAllEnabled);
    shown.allNight = true;
    form.onAllNightCheck(shown);
    EXPECT_EQ(enabledStates(form), kAllNightEditsOff);
}

TEST(ExchangeFormCheckTest, OptionBoxesOnlyTakeTheControls) {
    RecordingProfile profile;
    ExchangeForm form(profile, windowsPortTable());
    ControllerSettings shown = form.settings();
    shown.inversion = true;
    shown.slave = true;
    form.onOptionCheck(shown);
    EXPECT_TRUE(form.settings().inversion);
    EXPECT_TRUE(form.settings().slave);
    EXPECT_EQ(enabledStates(form), kAllNightEditsOff);
    EXPECT_TRUE(profile.m_writes.empty());
}

TEST(ExchangeFormWriteTest, AcceptedWriteStoresEverythingAndBuildsTheBlock) {
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
    EXPECT_EQ(profile.m_writes.size(), 6U);
    EXPECT_EQ(profile.m_writes.front(), (std::pair<std::string, int>{"COMM_SET", -1}));
    EXPECT_EQ(profile.m_writes.back(), (std::pair<std::string, int>{"SLAVE_SET", 0}));
    // Reopening shows what was stored.
    const ExchangeForm reopened(profile, windowsPortTable());
    EXPECT_EQ(reopened.settings().dayWaitText, "3600");
    EXPECT_FALSE(reopened.settings().allNight);
    EXPECT_EQ(enabledStates(reopened), kAllEnabled);
}

TEST(ExchangeFormUploadTest, ProgressThenBarBackToZeroKeepingTheStatus) {
    RecordingProfile profile;
    ExchangeForm form(profile, windowsPortTable());
    form.showProgress({.rangeMax = 9, .position = 3, .statusText = kUploadWritingStatus});
    EXPECT_EQ(form.progressMax(), 9);
    EXPECT_EQ(form.progressPosition(), 3);
    EXPECT_EQ(form.statusText(), kUploadWritingStatus);
    form.showProgress({.rangeMax = 9, .position = 9, .statusText = kUploadDoneStatus});
    form.finishUpload();
    EXPECT_EQ(form.progressPosition(), 0);
    EXPECT_EQ(form.progressMax(), 9);
    EXPECT_EQ(form.statusText(), kUploadDoneStatus);
}

} // namespace
} // namespace tevra

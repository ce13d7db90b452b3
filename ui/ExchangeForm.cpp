#include "ui/ExchangeForm.h"

#include "link/ControllerProfile.h"

namespace tevra {

namespace {

// What the edits hold until the profile says otherwise.
constexpr const char* kDefaultDayWaitText = "1";
constexpr const char* kDefaultSwitchOnDelayText = "1";
constexpr const char* kDefaultWorkTimeText = "10";

std::size_t slot(ExchangeForm::TimerControl control) {
    return static_cast<std::size_t>(control);
}

} // namespace

ExchangeForm::ExchangeForm(Profile& profile, int portCount) : m_profile(profile) {
    m_enabled.fill(true);
    m_settings.dayWaitText = kDefaultDayWaitText;
    m_settings.switchOnDelayText = kDefaultSwitchOnDelayText;
    m_settings.workTimeText = kDefaultWorkTimeText;

    const StoredSettings stored = readStoredSettings(m_profile);
    m_settings.slave = stored.slave;
    const TimerState timer = decodeTimerWord(stored.timerWord);
    if (timer.timerOn) {
        m_settings.timerOn = true;
        m_settings.allNight = timer.allNight;
        m_settings.inversion = timer.inversion;
        m_settings.dayWaitText = std::to_string(stored.dayWait);
        m_settings.switchOnDelayText = std::to_string(stored.switchOnDelay);
        m_settings.workTimeText = std::to_string(stored.workTime);
        setAllNightEditsEnabled(!timer.allNight);
    } else {
        m_settings.timerOn = false;
        setTimerControlsEnabled(false);
    }
    if (stored.portIndex >= 0 && stored.portIndex < portCount) {
        m_portIndex = stored.portIndex;
    }
}

bool ExchangeForm::isEnabled(TimerControl control) const {
    return m_enabled[slot(control)];
}

void ExchangeForm::onTimerCheck(const ControllerSettings& fromControls) {
    m_settings = fromControls;
    setTimerControlsEnabled(m_settings.timerOn);
}

void ExchangeForm::onAllNightCheck(const ControllerSettings& fromControls) {
    m_settings = fromControls;
    setAllNightEditsEnabled(!m_settings.allNight);
}

void ExchangeForm::onOptionCheck(const ControllerSettings& fromControls) {
    m_settings = fromControls;
}

ExchangeForm::WriteResult ExchangeForm::write(const ControllerSettings& fromControls,
                                              int selectedPortIndex) {
    storePortIndex(m_profile, selectedPortIndex);
    m_portIndex = selectedPortIndex;
    m_settings = fromControls;
    ConfigBlockResult built = buildConfigBlock(m_settings);
    if (!built.block) {
        return {.block = std::nullopt, .refusal = built.error};
    }
    storeSettings(m_profile, m_settings, built);
    return {.block = built.block, .refusal = {}};
}

void ExchangeForm::showProgress(const UploadProgress& progress) {
    m_progressMax = progress.rangeMax;
    m_progressPosition = progress.position;
    m_statusText = progress.statusText;
}

void ExchangeForm::finishUpload() {
    m_progressPosition = 0;
}

void ExchangeForm::setTimerControlsEnabled(bool enabled) {
    m_enabled.fill(enabled);
}

void ExchangeForm::setAllNightEditsEnabled(bool enabled) {
    m_enabled[slot(TimerControl::WorkTime)] = enabled;
    m_enabled[slot(TimerControl::DayWait)] = enabled;
}

} // namespace tevra

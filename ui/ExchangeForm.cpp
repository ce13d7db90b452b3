#include "ui/ExchangeForm.h"

#include "link/ControllerProfile.h"

namespace tevra {

namespace {

// What the window holds until the profile says otherwise. Built whole rather than assigned
// field by field: GCC 12 at -O3 reports a false overlap in short std::string assignments.
ControllerSettings defaultSettings() {
    return {.timerOn = false,
            .allNight = false,
            .inversion = false,
            .slave = false,
            .dayWaitText = "1",
            .switchOnDelayText = "1",
            .workTimeText = "10"};
}

std::size_t slot(ExchangeForm::TimerControl control) {
    return static_cast<std::size_t>(control);
}

} // namespace

ExchangeForm::ExchangeForm(Profile& profile, int portCount)
    : m_profile(profile), m_settings(defaultSettings()) {
    m_enabled.fill(true);

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

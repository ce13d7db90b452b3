#include "ui/exchange/ExchangeForm.h"

#include "link/ControllerProfile.h"

#include <algorithm>
#include <utility>

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

ExchangeForm::ExchangeForm(Profile& profile, std::vector<PortEntry> ports)
    : m_profile(profile), m_settings(defaultSettings()), m_ports(std::move(ports)) {
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
    if (stored.portIndex >= 0 && static_cast<std::size_t>(stored.portIndex) < m_ports.size()) {
        m_portIndex = stored.portIndex;
        m_portText = m_ports[static_cast<std::size_t>(m_portIndex)].shownName;
    } else if (stored.portIndex == kNoPort) {
        m_portText = stored.typedPort;
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
                                              const std::string& portText) {
    const auto entry = std::find_if(m_ports.begin(), m_ports.end(), [&](const PortEntry& port) {
        return portText == port.shownName || portText == port.deviceName;
    });
    std::string device = portText;
    if (entry != m_ports.end()) {
        m_portIndex = static_cast<int>(entry - m_ports.begin());
        m_portText = entry->shownName;
        device = entry->deviceName;
        storePortChoice(m_profile, m_portIndex, {});
    } else {
        m_portIndex = kNoPort;
        m_portText = portText;
        storePortChoice(m_profile, kNoPort, portText);
    }
    m_settings = fromControls;
    ConfigBlockResult built = buildConfigBlock(m_settings);
    if (!built.block) {
        return {.block = std::nullopt, .refusal = built.error, .device = {}};
    }
    storeSettings(m_profile, m_settings, built);
    return {.block = built.block, .refusal = {}, .device = device};
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

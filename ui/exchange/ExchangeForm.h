#pragma once

#include "link/ControllerSettings.h"
#include "link/PortTable.h"
#include "link/Profile.h"
#include "link/Upload.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tevra {

// The exchange window without widgets: its members, the enabled states of the timer
// controls, and the rules that tie them to the profile and to an upload.
class ExchangeForm {
public:
    // The controls the timer check box switches, in the order it switches them.
    enum class TimerControl { Inversion, AllNight, DayWait, SwitchOnDelay, WorkTime };
    static constexpr std::size_t kTimerControlCount = 5;
    static constexpr int kNoPort = -1;

    // Fills the members from the profile as the window opens. A stored port index outside the
    // list selects nothing.
    ExchangeForm(Profile& profile, std::vector<PortEntry> ports);

    const ControllerSettings& settings() const { return m_settings; }
    bool isEnabled(TimerControl control) const;
    // The list entry chosen, or kNoPort; then portText() is a device path typed in its place.
    int portIndex() const { return m_portIndex; }
    const std::string& portText() const { return m_portText; }
    const std::string& statusText() const { return m_statusText; }
    int progressMax() const { return m_progressMax; }
    int progressPosition() const { return m_progressPosition; }

    // Each handler first takes what the controls show.
    void onTimerCheck(const ControllerSettings& fromControls);
    void onAllNightCheck(const ControllerSettings& fromControls);
    void onOptionCheck(const ControllerSettings& fromControls);

    struct WriteResult {
        std::optional<ConfigBlock> block; // ready to upload
        std::string refusal;              // the first failing field's message otherwise
        std::string device;               // what to open
    };
    // "Записать" with the text the port box shows: a text equal to an entry's name or device
    // chooses that entry, anything else is a device path of its own. Stores that choice first,
    // then checks, stores the settings and builds the block. The caller opens `device` and
    // uploads; what is opened is always what is remembered.
    WriteResult write(const ControllerSettings& fromControls, const std::string& portText);

    void showProgress(const UploadProgress& progress);
    // After the outcome message has been shown.
    void finishUpload();

private:
    void setTimerControlsEnabled(bool enabled);
    void setAllNightEditsEnabled(bool enabled);

    Profile& m_profile;
    ControllerSettings m_settings;
    std::array<bool, kTimerControlCount> m_enabled{};
    std::vector<PortEntry> m_ports;
    int m_portIndex = kNoPort;
    std::string m_portText;
    std::string m_statusText;
    int m_progressMax = 0;
    int m_progressPosition = 0;
};

} // namespace tevra

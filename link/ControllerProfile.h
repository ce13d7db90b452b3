#pragma once

#include "link/ControllerSettings.h"
#include "link/Profile.h"

#include <string>

namespace tevra {

// The six keys as the exchange window reads them when it opens; every key defaults to 0.
struct StoredSettings {
    int portIndex = kProfileDefault;
    int timerWord = kProfileDefault;
    int dayWait = kProfileDefault;
    int switchOnDelay = kProfileDefault;
    int workTime = kProfileDefault;
    bool slave = false;
    std::string typedPort;
};

StoredSettings readStoredSettings(const Profile& profile);

// Stored on every "Записать", before any check, so even a refused one keeps the chosen port:
// a list index, or -1 with the device path typed in place of an entry.
void storePortChoice(Profile& profile, int index, const std::string& typedPort);

// Stores TimerWord, the three times and the role, in that order, once `built` holds a block.
void storeSettings(Profile& profile, const ControllerSettings& settings,
                   const ConfigBlockResult& built);

} // namespace tevra

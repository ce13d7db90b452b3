#pragma once

#include "link/ControllerSettings.h"
#include "link/Profile.h"

namespace tevra {

// The six keys as the exchange window reads them when it opens; every key defaults to 0.
struct StoredSettings {
    int portIndex = kProfileDefault;
    int timerWord = kProfileDefault;
    int dayWait = kProfileDefault;
    int switchOnDelay = kProfileDefault;
    int workTime = kProfileDefault;
    bool slave = false;
};

StoredSettings readStoredSettings(const Profile& profile);

// Stored on every "Записать", before any check, so even a refused one keeps the chosen port.
void storePortIndex(Profile& profile, int index);

// Stores TimerWord, the three times and the role, in that order, once `built` holds a block.
void storeSettings(Profile& profile, const ControllerSettings& settings,
                   const ConfigBlockResult& built);

} // namespace tevra

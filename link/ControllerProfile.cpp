#include "link/ControllerProfile.h"

namespace tevra {

namespace {

// With the timer off the times are neither checked nor sent. A field that still reads as a
// valid time is the user's entry and is kept; anything else leaves the stored value alone.
int timeToStore(const Profile& profile, const char* key, const std::string& text) {
    const std::optional<int> value = readDecimal(text);
    if (value && *value >= kMinTimerSeconds && *value <= kMaxTimerSeconds) {
        return *value;
    }
    return profile.readInt(key, kProfileDefault);
}

} // namespace

StoredSettings readStoredSettings(const Profile& profile) {
    StoredSettings stored;
    stored.portIndex = profile.readInt(kPortKey, kProfileDefault);
    stored.timerWord = profile.readInt(kTimerWordKey, kProfileDefault);
    stored.dayWait = profile.readInt(kDayWaitKey, kProfileDefault);
    stored.switchOnDelay = profile.readInt(kSwitchOnDelayKey, kProfileDefault);
    stored.workTime = profile.readInt(kWorkTimeKey, kProfileDefault);
    stored.slave = profile.readInt(kSlaveKey, kProfileDefault) != 0;
    stored.typedPort = profile.readText(kTypedPortKey);
    return stored;
}

void storePortChoice(Profile& profile, int index, const std::string& typedPort) {
    profile.writeInt(kPortKey, index);
    profile.writeText(kTypedPortKey, typedPort);
}

void storeSettings(Profile& profile, const ControllerSettings& settings,
                   const ConfigBlockResult& built) {
    profile.writeInt(kTimerWordKey, built.timerWord);
    if (settings.timerOn) {
        profile.writeInt(kDayWaitKey, built.dayWait);
        profile.writeInt(kSwitchOnDelayKey, built.switchOnDelay);
        profile.writeInt(kWorkTimeKey, built.workTime);
    } else {
        profile.writeInt(kDayWaitKey, timeToStore(profile, kDayWaitKey, settings.dayWaitText));
        profile.writeInt(kSwitchOnDelayKey,
                         timeToStore(profile, kSwitchOnDelayKey, settings.switchOnDelayText));
        profile.writeInt(kWorkTimeKey, timeToStore(profile, kWorkTimeKey, settings.workTimeText));
    }
    profile.writeInt(kSlaveKey, settings.slave ? kSlaveStored : 0);
}

} // namespace tevra

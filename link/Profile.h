#pragma once

#include <string>

namespace tevra {

// Keys in the application profile's "Settings" section: the exchange window's integers, and
// one text of our own.
class Profile {
public:
    virtual ~Profile() = default;
    virtual int readInt(const std::string& key, int defaultValue) const = 0;
    virtual void writeInt(const std::string& key, int value) = 0;
    // Empty when the key is missing.
    virtual std::string readText(const std::string& key) const = 0;
    virtual void writeText(const std::string& key, const std::string& value) = 0;
};

inline constexpr const char* kPortKey = "COMM_SET";
inline constexpr const char* kTimerWordKey = "TIMER_SET_DataReg";
inline constexpr const char* kDayWaitKey = "TIMER_SET_TimeDay";
inline constexpr const char* kSwitchOnDelayKey = "TIMER_SET_ReadyOn";
inline constexpr const char* kWorkTimeKey = "TIMER_SET_TimeWorc";
inline constexpr const char* kSlaveKey = "SLAVE_SET";
// A device path typed into the port list that is none of its entries; "COMM_SET" then holds -1.
// Empty while a list entry is chosen.
inline constexpr const char* kTypedPortKey = "COMM_DEVICE";

// Every key is read with this default.
inline constexpr int kProfileDefault = 0;
// Stored under "SLAVE_SET" for a slave controller; a master stores 0.
inline constexpr int kSlaveStored = -1;

} // namespace tevra

#pragma once

#include "model/EditorModel.h"

#include <cstdint>
#include <string>

namespace tevra {

inline constexpr const char* kTimeShiftRefusedCaption = "Время не может быть изменено";

// The editor's captions as its window words them, also used by the overview's tooltips.
// Time in units of 10 ms, channel from 0.
class EditorCaptions {
public:
    static std::string stepTime(int time);
    static std::string level(int channel, std::uint8_t cell);
    static std::string dimmer(int channel, std::uint8_t cell);
    // Shown with kTimeShiftRefusedCaption when "+50mS" or "-50mS" is refused.
    static std::string shiftRefusal(const ShiftRefusal& refusal);
};

} // namespace tevra

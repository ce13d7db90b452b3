#include "ui/editor/EditorCaptions.h"

#include "model/ChannelCell.h"

namespace tevra {

namespace {

std::string channelOrdinal(int channel) {
    return std::to_string(channel + 1);
}

} // namespace

std::string EditorCaptions::stepTime(int time) {
    return "Время шага " + std::to_string(time * kStepTimeUnit.count()) + " mS.";
}

std::string EditorCaptions::level(int channel, std::uint8_t cell) {
    return "Яркость " + channelOrdinal(channel) +
           "-го канала: " + std::to_string(levelFromCell(cell)) + " ";
}

std::string EditorCaptions::dimmer(int channel, std::uint8_t cell) {
    return "Скорость диммера " + channelOrdinal(channel) +
           " -го канала: " + std::to_string(dimmerMillis(cell)) + " mS.";
}

std::string EditorCaptions::shiftRefusal(const ShiftRefusal& refusal) {
    return "Время шага номер: " + std::to_string(refusal.step) +
           (refusal.longer ? "\nне может быть больше 25,6 секунды!"
                           : "\nне может быть меньше 0,05 секунды!");
}

} // namespace tevra

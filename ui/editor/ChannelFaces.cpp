#include "ui/editor/ChannelFaces.h"

#include <array>

namespace tevra {

namespace {

// Indexed by the cell's mode bits, 0..7.
constexpr std::array<ButtonFaces, 8> kButtonFaces{{
    {ButtonImage::Dark, ButtonState::Clear, false, ButtonImage::None, ButtonState::Clear, false},
    {ButtonImage::Lit, ButtonState::Checked, false, ButtonImage::None, ButtonState::Clear, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Dark, ButtonState::Clear,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Lit, ButtonState::Checked,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Lit, ButtonState::Checked,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, true},
}};

} // namespace

const ButtonFaces& ChannelFaces::of(std::uint8_t cell) {
    return kButtonFaces[static_cast<std::size_t>(modeOf(cell))];
}

ButtonState ChannelFaces::stateAfterClick(ButtonState before) {
    switch (before) {
    case ButtonState::Clear:
        return ButtonState::Checked;
    case ButtonState::Checked:
        return ButtonState::Indeterminate;
    case ButtonState::Indeterminate:
        break;
    }
    return ButtonState::Clear;
}

} // namespace tevra

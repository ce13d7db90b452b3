#pragma once

#include "model/ChannelCell.h"

#include <cstdint>

namespace tevra {

// Which bitmap a channel button carries. None: the template's blank face, before any image
// was set (a secondary button keeps its face until a dimmer or level mode first shows it).
enum class ButtonImage { None, Dark, Lit, Ramp };

// The rendering table: what a cell's mode shows on the channel's two buttons.
struct ButtonFaces {
    ButtonImage primaryImage;
    ButtonState primaryState;
    // Modes Off and On leave the secondary button as it was.
    bool setsSecondary;
    ButtonImage secondaryImage;
    ButtonState secondaryState;
    bool secondaryVisible;
};

// How a channel's cell looks on its buttons, shared by the editor, the overview and the
// buttons themselves, none of which needs the editor's state for it.
class ChannelFaces {
public:
    static const ButtonFaces& of(std::uint8_t cell);
    // The state a 3-state button advances to on a click: clear, checked, indeterminate.
    static ButtonState stateAfterClick(ButtonState before);
};

} // namespace tevra

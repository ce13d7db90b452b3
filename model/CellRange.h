#pragma once

#include <algorithm>

namespace tevra {

// A rectangle of the program's cells: steps 1-based, channels 0-based, both ends included.
struct CellRange {
    int firstStep = 1;
    int lastStep = 1;
    int firstChannel = 0;
    int lastChannel = 0;

    int stepCount() const { return lastStep - firstStep + 1; }
    int channelCount() const { return lastChannel - firstChannel + 1; }
    bool contains(int step, int channel) const {
        return step >= firstStep && step <= lastStep && channel >= firstChannel &&
               channel <= lastChannel;
    }

    // The rectangle spanned by two corners given in any order.
    static CellRange spanning(int stepA, int channelA, int stepB, int channelB) {
        return {std::min(stepA, stepB), std::max(stepA, stepB), std::min(channelA, channelB),
                std::max(channelA, channelB)};
    }

    bool operator==(const CellRange&) const = default;
};

} // namespace tevra

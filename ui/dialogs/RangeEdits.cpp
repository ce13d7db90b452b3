#include "ui/dialogs/RangeEdits.h"

#include <algorithm>

namespace tevra {

namespace {

// Only the first two characters are tried again when the end field is out of range.
constexpr std::size_t kRetryChars = 2;

} // namespace

std::optional<int> readRangeField(std::u16string_view text) {
    return readDecimal(text.substr(0, std::min(text.size(), kRangeFieldChars)));
}

int readRangeEndRetry(std::u16string_view text, int firstValue) {
    return readDecimal(text.substr(0, std::min(text.size(), kRetryChars))).value_or(firstValue);
}

bool isInStepRange(int value) {
    return value >= kRangeFirstStep && value <= kRangeLastStep;
}

} // namespace tevra

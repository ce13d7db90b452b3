#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// A C "%d" read: leading blanks, an optional sign, digits, the rest ignored. Empty when there
// are no digits or the number leaves the signed 32-bit range. UTF-16 text is read the same
// way; a character outside ASCII ends the read.
std::optional<int> readDecimal(std::string_view text);
std::optional<int> readDecimal(std::u16string_view text);

// The decimal digits of value, for edits that hold UTF-16 text.
std::u16string decimalText(int value);

} // namespace tevra

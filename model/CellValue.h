#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tevra {

// What a generation writes into a cell: a cell byte, or for unlit cells nothing at all.
struct CellValue {
    bool keep = false; // the cell stays as it is
    std::uint8_t byte = 0;

    bool operator==(const CellValue&) const = default;

    // `off`, `on`, `level:N` (N = 1..32), a byte 0..255 in decimal or 0x.., and with
    // keepAllowed `keep`. Anything else, or a number out of range, is empty.
    static std::optional<CellValue> parse(std::string_view text, bool keepAllowed);
};

inline constexpr CellValue kOnValue{false, 1};
inline constexpr CellValue kOffValue{false, 0};

} // namespace tevra

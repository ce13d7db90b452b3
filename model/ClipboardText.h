#pragma once

#include "model/CellBlock.h"

#include <optional>
#include <string>
#include <string_view>

// A cell block as clipboard text. Plain text is tab-separated: one line per channel from
// the top, one column per step, each cell its byte in decimal, as spreadsheets exchange it.
// The application's own format adds the steps' times.
namespace tevra {

inline constexpr const char* kCellBlockMimeType = "application/x-tevra-cells";

// Either a block or the reason it was refused, naming the line and column (from 1).
struct ParsedBlock {
    std::optional<CellBlock> block;
    std::string error;
};

std::string blockToText(const CellBlock& block);
ParsedBlock blockFromText(std::string_view text);

std::string blockToNativeText(const CellBlock& block);
ParsedBlock blockFromNativeText(std::string_view text);

} // namespace tevra

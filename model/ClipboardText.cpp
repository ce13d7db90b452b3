#include "model/ClipboardText.h"

#include <charconv>
#include <vector>

namespace tevra {

namespace {

constexpr std::string_view kNativeHeader = "tevra-cells 1";
constexpr std::string_view kTimesWord = "times";

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) {
            return parts;
        }
        from = at + 1;
    }
}

// Lines without their "\r"; the empty line a final line break leaves is not one of them.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines = split(text, '\n');
    for (std::string_view& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int> number(std::string_view text, int maximum) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::string placeText(std::size_t line, std::size_t column) {
    std::string text = "Строка ";
    text += std::to_string(line);
    text += ", столбец ";
    text += std::to_string(column);
    text += ": ";
    return text;
}

ParsedBlock refusal(std::string error) {
    return {std::nullopt, std::move(error)};
}

// Cell lines from firstLine on; line numbers in errors count the whole text.
ParsedBlock cellsFrom(const std::vector<std::string_view>& lines, std::size_t firstLine) {
    if (lines.size() <= firstLine) {
        return refusal("Нет ни одной ячейки");
    }
    const std::size_t width = split(lines[firstLine], '\t').size();
    CellBlock block(static_cast<int>(width), static_cast<int>(lines.size() - firstLine));
    for (std::size_t row = 0; row + firstLine < lines.size(); ++row) {
        const std::size_t lineNumber = firstLine + row + 1;
        const std::vector<std::string_view> cells = split(lines[firstLine + row], '\t');
        for (std::size_t column = 0; column < std::max(cells.size(), width); ++column) {
            if (column >= cells.size() || column >= width) {
                std::string error = placeText(lineNumber, std::min(cells.size(), width) + 1);
                error += column >= cells.size() ? "ячеек меньше, чем в первой строке"
                                                : "ячеек больше, чем в первой строке";
                return refusal(std::move(error));
            }
            const std::optional<int> cell = number(cells[column], 255);
            if (!cell) {
                std::string error = placeText(lineNumber, column + 1);
                error += "«";
                error += cells[column];
                error += "» не число от 0 до 255";
                return refusal(std::move(error));
            }
            block.setCell(static_cast<int>(column), static_cast<int>(row),
                          static_cast<std::uint8_t>(*cell));
        }
    }
    return {std::move(block), {}};
}

void appendCells(std::string& text, const CellBlock& block) {
    for (int channel = 0; channel < block.channels(); ++channel) {
        for (int step = 0; step < block.steps(); ++step) {
            if (step > 0) {
                text += '\t';
            }
            text += std::to_string(block.cell(step, channel));
        }
        text += '\n';
    }
}

} // namespace

std::string blockToText(const CellBlock& block) {
    std::string text;
    appendCells(text, block);
    return text;
}

ParsedBlock blockFromText(std::string_view text) {
    return cellsFrom(linesOf(text), 0);
}

std::string blockToNativeText(const CellBlock& block) {
    std::string text(kNativeHeader);
    text += '\n';
    text += kTimesWord;
    for (const std::uint16_t time : block.times()) {
        text += '\t';
        text += std::to_string(time);
    }
    text += '\n';
    appendCells(text, block);
    return text;
}

ParsedBlock blockFromNativeText(std::string_view text) {
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.size() < 2 || lines[0] != kNativeHeader) {
        return refusal("Строка 1: не блок ячеек этой программы");
    }
    const std::vector<std::string_view> timeWords = split(lines[1], '\t');
    if (timeWords[0] != kTimesWord) {
        return refusal("Строка 2: нет времён шагов");
    }
    ParsedBlock parsed = cellsFrom(lines, 2);
    if (!parsed.block) {
        return parsed;
    }
    std::vector<std::uint16_t> times;
    for (std::size_t k = 1; k < timeWords.size(); ++k) {
        // Any stored time: a program read from a file may hold times beyond the sliders'.
        const std::optional<int> time = number(timeWords[k], 0xFFFF);
        if (!time) {
            return refusal(placeText(2, k + 1) + "время шага не число от 0 до 65535");
        }
        times.push_back(static_cast<std::uint16_t>(*time));
    }
    if (!times.empty() && times.size() != static_cast<std::size_t>(parsed.block->steps())) {
        return refusal("Строка 2: времён не столько, сколько шагов");
    }
    parsed.block->setTimes(std::move(times));
    return parsed;
}

} // namespace tevra

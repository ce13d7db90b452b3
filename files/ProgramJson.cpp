#include "files/ProgramJson.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace tevra {

namespace {

using nlohmann::json;

constexpr const char* kStartBlockKey = "startBlock";
constexpr const char* kStepsKey = "steps";
constexpr const char* kTimeKey = "time";
constexpr const char* kCellsKey = "cells";

// Thrown inside the import only, so each check can name its place and stop.
struct ImportError {
    std::string message;
};

[[noreturn]] void refuse(const std::string& place, const std::string& what) {
    throw ImportError{place + ": " + what};
}

// Whole numbers only (5.0 is refused too), within 0..max.
std::optional<std::uint64_t> wholeNumberUpTo(const json& value, std::uint64_t max) {
    if (!value.is_number_unsigned()) {
        return std::nullopt; // negative integers, fractions, other types
    }
    const auto number = value.get<std::uint64_t>();
    if (number > max) {
        return std::nullopt;
    }
    return number;
}

const json& field(const json& object, const char* key, const std::string& place) {
    const auto found = object.find(key);
    if (found == object.end()) {
        refuse(place, std::string("нет поля \"") + key + "\"");
    }
    return *found;
}

void readStep(const json& step, int number, const std::string& place, ProgramImage& image) {
    if (!step.is_object()) {
        refuse(place, "ожидается объект с полями \"time\" и \"cells\"");
    }
    const std::string timePlace = place + "." + kTimeKey;
    const auto time =
        wholeNumberUpTo(field(step, kTimeKey, place), std::numeric_limits<std::uint16_t>::max());
    if (!time) {
        refuse(timePlace, "ожидается целое число от 0 до 65535");
    }
    const std::string cellsPlace = place + "." + kCellsKey;
    const json& cells = field(step, kCellsKey, place);
    if (!cells.is_array() || cells.size() != static_cast<std::size_t>(kChannelCount)) {
        refuse(cellsPlace, "ожидается массив из 16 чисел");
    }
    image.setStepTime(number, static_cast<std::uint16_t>(*time));
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const auto cell = wholeNumberUpTo(cells[static_cast<std::size_t>(channel)],
                                          std::numeric_limits<std::uint8_t>::max());
        if (!cell) {
            refuse(cellsPlace + "[" + std::to_string(channel) + "]",
                   "ожидается целое число от 0 до 255");
        }
        image.setCell(number, channel, static_cast<std::uint8_t>(*cell));
    }
}

ProgramImage readProgram(const json& root) {
    if (!root.is_object()) {
        refuse("JSON", "ожидается объект с полями \"startBlock\" и \"steps\"");
    }
    const json& startBlock = field(root, kStartBlockKey, "JSON");
    if (!startBlock.is_boolean()) {
        refuse(kStartBlockKey, "ожидается true или false");
    }
    const json& steps = field(root, kStepsKey, "JSON");
    if (!steps.is_array()) {
        refuse(kStepsKey, "ожидается массив шагов");
    }
    if (steps.size() > static_cast<std::size_t>(kMaxSteps)) {
        refuse(kStepsKey, "шагов " + std::to_string(steps.size()) + ", а можно не больше " +
                              std::to_string(kMaxSteps));
    }
    ProgramImage image = ProgramImage::startProgram();
    const int count = static_cast<int>(steps.size());
    for (int i = 0; i < count; ++i) {
        readStep(steps[static_cast<std::size_t>(i)], i + 1,
                 std::string(kStepsKey) + "[" + std::to_string(i) + "]", image);
    }
    image.setStepCount(count);
    image.setStartBlock(startBlock.get<bool>());
    return image;
}

} // namespace

std::string programToJson(const ProgramImage& image) {
    // One step per line keeps long programs readable and diffable.
    std::string text = "{\n  \"";
    text += kStartBlockKey;
    text += "\": ";
    text += image.startBlock() ? "true" : "false";
    text += ",\n  \"";
    text += kStepsKey;
    text += "\": [";
    const int count = image.stepCount();
    for (int step = 1; step <= count; ++step) {
        text += step == 1 ? "\n    {\"" : ",\n    {\"";
        text += kTimeKey;
        text += "\": " + std::to_string(image.stepTime(step)) + ", \"" + kCellsKey + "\": [";
        for (int channel = 0; channel < kChannelCount; ++channel) {
            text += channel == 0 ? "" : ", ";
            text += std::to_string(image.cell(step, channel));
        }
        text += "]}";
    }
    text += count == 0 ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

ProgramJsonImport programFromJson(std::string_view text) {
    ProgramJsonImport result{ProgramImage::startProgram(), {}};
    try {
        result.image = readProgram(json::parse(text));
    } catch (const json::parse_error& error) {
        result.error =
            "JSON: текст не читается как JSON (ошибка в байте " + std::to_string(error.byte) + ")";
    } catch (const json::exception&) {
        result.error = "JSON: текст не читается как JSON";
    } catch (const ImportError& error) {
        result.error = error.message;
    }
    return result;
}

} // namespace tevra

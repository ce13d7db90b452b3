#include "model/Generation.h"

#include "model/ChannelCell.h"

#include <algorithm>
#include <sstream>

namespace tevra {

namespace {

std::optional<std::string> refusal(const Generation& generation) {
    std::ostringstream text;
    const auto& channels = generation.channels;
    if (channels.empty()) {
        return "Не выбран ни один канал";
    }
    for (auto at = channels.begin(); at != channels.end(); ++at) {
        if (*at < 0 || *at >= kChannelCount) {
            text << "Канал " << *at + 1 << " вне 1-" << kChannelCount;
            return text.str();
        }
        if (std::find(channels.begin(), at, *at) != at) {
            text << "Канал " << *at + 1 << " указан дважды";
            return text.str();
        }
    }
    if (generation.firstStep < 1 || generation.firstStep > generation.lastStep) {
        text << "Неверный диапазон шагов " << generation.firstStep << '-' << generation.lastStep;
        return text.str();
    }
    if (generation.lastStep > kMaxSteps) {
        text << "Диапазон шагов " << generation.firstStep << '-' << generation.lastStep
             << " выходит за " << kMaxSteps << " шагов";
        return text.str();
    }
    const PatternShape& shape = generation.shape;
    const int n = static_cast<int>(channels.size());
    if (shape.width < 1 || shape.width > n) {
        text << "Ширина должна быть от 1 до " << n << " (числа каналов)";
        return text.str();
    }
    if (shape.gap.value_or(0) < 0) {
        return "Промежуток не может быть отрицательным";
    }
    if (shape.density < 0 || shape.density > kMaxDensity) {
        text << "Плотность должна быть от 0 до " << kMaxDensity;
        return text.str();
    }
    if (const auto* time = std::get_if<std::uint16_t>(&generation.timing);
        time != nullptr && (*time < kMinStepTime || *time > kMaxStepTime)) {
        const auto unitMillis = kStepTimeUnit.count();
        text << "Время шага должно быть от " << kMinStepTime * unitMillis << " до "
             << kMaxStepTime * unitMillis << " mS";
        return text.str();
    }
    if (const auto* tempo = std::get_if<StepTempo>(&generation.timing)) {
        return tempo->refusal(generation.lastStep - generation.firstStep + 1);
    }
    return std::nullopt;
}

// Steps up to lastStep join the program: Off, with the last existing step's time.
void addStepsUpTo(ProgramImage& image, int lastStep) {
    const int count = image.stepCount();
    if (lastStep <= count) {
        return;
    }
    const std::uint16_t time = count > 0 ? image.stepTime(count) : kDefaultStepTime;
    for (int step = count + 1; step <= lastStep; ++step) {
        image.clearCells(step);
        image.setStepTime(step, time);
    }
    image.setStepCount(lastStep);
}

void writeCells(ProgramImage& image, const Generation& generation) {
    const int m = generation.lastStep - generation.firstStep + 1;
    const int n = static_cast<int>(generation.channels.size());
    const PatternGrid grid = PatternGrid::generate(generation.shape, m, n);
    const auto levelCell = static_cast<std::uint8_t>(ChannelMode::Level);
    for (int k = 0; k < m; ++k) {
        const int step = generation.firstStep + k;
        const int level = grid.level(k);
        const std::uint8_t litCell =
            level > 0 ? cellWithLevel(levelCell, level) : generation.on.byte;
        for (int i = 0; i < n; ++i) {
            const int channel = generation.channels[static_cast<std::size_t>(i)];
            if (!grid.lit(k, i)) {
                if (!generation.background && !generation.off.keep) {
                    image.setCell(step, channel, generation.off.byte);
                }
            } else if (!generation.background ||
                       modeOf(image.cell(step, channel)) == static_cast<int>(ChannelMode::Off)) {
                image.setCell(step, channel, litCell);
            }
        }
    }
}

void writeTimes(ProgramImage& image, const Generation& generation) {
    if (const auto* time = std::get_if<std::uint16_t>(&generation.timing)) {
        for (int step = generation.firstStep; step <= generation.lastStep; ++step) {
            image.setStepTime(step, *time);
        }
    } else if (const auto* tempo = std::get_if<StepTempo>(&generation.timing)) {
        tempo->writeTimes(image, generation.firstStep, generation.lastStep);
    }
}

} // namespace

std::optional<std::string> applyGeneration(ProgramImage& image, const Generation& generation) {
    if (auto refused = refusal(generation)) {
        return refused;
    }
    addStepsUpTo(image, generation.lastStep);
    writeCells(image, generation);
    writeTimes(image, generation);
    return std::nullopt;
}

} // namespace tevra

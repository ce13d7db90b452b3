#include "model/PatternGrid.h"

#include "model/ChannelCell.h"
#include "model/SplitMix64.h"

#include <algorithm>

namespace tevra {

namespace {

// A ramp of one step is all at its top.
constexpr int kSingleStepRampLevel = kLevelSliderMax;

int nonNegativeMod(int value, int divisor) {
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

bool litByRule(const PatternShape& shape, int k, int i, int n) {
    const int w = shape.width;
    const int period = std::max(1, w + shape.gap.value_or(n - w));
    switch (shape.kind) {
    case PatternKind::Chase:
        return nonNegativeMod(i - k, period) < w;
    case PatternKind::ChaseBack:
        return nonNegativeMod((n - 1 - i) - k, period) < w;
    case PatternKind::Bounce: {
        const int travel = n - w;
        if (travel <= 0) {
            return true;
        }
        const int q = nonNegativeMod(k, 2 * travel);
        const int pos = q <= travel ? q : 2 * travel - q;
        return pos <= i && i < pos + w;
    }
    case PatternKind::Fill:
        return i <= nonNegativeMod(k, n);
    case PatternKind::Unfill:
        return i >= nonNegativeMod(k, n);
    case PatternKind::Alternate:
        return nonNegativeMod(i + k, 2) == 0;
    default:
        return true;
    }
}

int rampLevel(int k, int m) {
    if (m == 1) {
        return kSingleStepRampLevel;
    }
    const int span = kLevelSliderMax - kLevelSliderMin; // 31 level steps over m - 1 steps
    return kLevelSliderMin + (2 * span * k + (m - 1)) / (2 * (m - 1));
}

} // namespace

std::optional<PatternKind> patternByName(std::string_view name) {
    const auto found =
        std::find_if(kPatternNames.begin(), kPatternNames.end(),
                     [name](const PatternName& entry) { return entry.name == name; });
    if (found == kPatternNames.end()) {
        return std::nullopt;
    }
    return found->kind;
}

PatternGrid::PatternGrid(int steps, int channels)
    : m_steps(std::max(steps, 0)), m_channels(std::max(channels, 0)),
      m_lit(static_cast<std::size_t>(m_steps * m_channels)),
      m_levels(static_cast<std::size_t>(m_steps)) {}

PatternGrid PatternGrid::generate(const PatternShape& shape, int steps, int channels) {
    PatternGrid grid(steps, channels);
    const int m = grid.m_steps;
    const int n = grid.m_channels;
    if (m == 0 || n == 0) {
        return grid;
    }
    auto cell = grid.m_lit.begin();
    switch (shape.kind) {
    case PatternKind::Random: {
        SplitMix64 random(shape.seed);
        const auto density = static_cast<std::uint64_t>(std::max(shape.density, 0));
        for (; cell != grid.m_lit.end(); ++cell) {
            *cell = random.next() % 100 < density;
        }
        break;
    }
    case PatternKind::RandomSingle: {
        SplitMix64 random(shape.seed);
        for (int k = 0; k < m; ++k, cell += n) {
            cell[static_cast<std::ptrdiff_t>(random.next() % static_cast<std::uint64_t>(n))] = 1;
        }
        break;
    }
    case PatternKind::RampUp:
    case PatternKind::RampDown:
        std::fill(grid.m_lit.begin(), grid.m_lit.end(), std::uint8_t{1});
        for (int k = 0; k < m; ++k) {
            const int rampStep = shape.kind == PatternKind::RampUp ? k : m - 1 - k;
            grid.m_levels[static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(rampLevel(rampStep, m));
        }
        break;
    default:
        for (int k = 0; k < m; ++k) {
            for (int i = 0; i < n; ++i, ++cell) {
                *cell = litByRule(shape, k, i, n);
            }
        }
        break;
    }
    return grid;
}

bool PatternGrid::lit(int step, int channel) const {
    return m_lit[static_cast<std::size_t>(step * m_channels + channel)] != 0;
}

int PatternGrid::level(int step) const {
    return m_levels[static_cast<std::size_t>(step)];
}

} // namespace tevra

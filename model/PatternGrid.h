#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tevra {

enum class PatternKind {
    Chase,
    ChaseBack,
    Bounce,
    Fill,
    Unfill,
    Alternate,
    Random,
    RandomSingle,
    RampUp,
    RampDown,
};

struct PatternName {
    PatternKind kind;
    const char* name;        // as the tool takes it
    const char* description; // one line, as the tool lists it and the dialog offers it
};

inline constexpr std::array<PatternName, 10> kPatternNames = {{
    {PatternKind::Chase, "chase", "бегущий огонь: группа из ширины каналов, затем промежуток"},
    {PatternKind::ChaseBack, "chase-back", "бегущий огонь в обратную сторону"},
    {PatternKind::Bounce, "bounce", "маятник: группа идёт до края и обратно"},
    {PatternKind::Fill, "fill", "заполнение: каналы зажигаются один за другим"},
    {PatternKind::Unfill, "unfill", "опустошение: каналы гаснут один за другим"},
    {PatternKind::Alternate, "alternate", "чередование: чётные и нечётные каналы по очереди"},
    {PatternKind::Random, "random", "случайно: каждый канал горит с заданной плотностью"},
    {PatternKind::RandomSingle, "random-single", "случайно: в каждом шаге горит один канал"},
    {PatternKind::RampUp, "ramp-up", "нарастание яркости от 1 до 32 по шагам"},
    {PatternKind::RampDown, "ramp-down", "спад яркости от 32 до 1 по шагам"},
}};

std::optional<PatternKind> patternByName(std::string_view name);

inline constexpr int kDefaultPatternWidth = 1;
inline constexpr int kDefaultDensity = 50;
inline constexpr int kMaxDensity = 100;
inline constexpr std::uint64_t kDefaultSeed = 1;

struct PatternShape {
    PatternKind kind = PatternKind::Chase;
    int width = kDefaultPatternWidth;
    // Empty: the channels the width leaves, so one group runs through them all.
    std::optional<int> gap;
    int density = kDefaultDensity; // percent of lit cells for random
    std::uint64_t seed = kDefaultSeed;
};

// Which cells of a steps x channels block a pattern lights, or for the ramps the level of
// each step. A pure function of its inputs: the window, its preview and the tool all write
// from it. Width 1..channels, gap >= 0 and density 0..100 are the caller's to check.
class PatternGrid {
public:
    static PatternGrid generate(const PatternShape& shape, int steps, int channels);

    int steps() const { return m_steps; }
    int channels() const { return m_channels; }
    // step 0..steps-1, channel 0..channels-1 in the order the caller gave them.
    bool lit(int step, int channel) const;
    // 1..32 for a ramp, whose every cell is lit; 0 for the other patterns.
    int level(int step) const;

private:
    PatternGrid(int steps, int channels);

    int m_steps;
    int m_channels;
    std::vector<std::uint8_t> m_lit;
    std::vector<std::uint8_t> m_levels;
};

} // namespace tevra

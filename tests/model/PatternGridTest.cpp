#include "model/Generation.h"
#include "model/SplitMix64.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace tevra {
namespace {

using Rows = std::vector<std::string>;

// The program after a generation, one row per channel of the image and one column per step,
// '#' where the cell is On.
Rows generated(const PatternShape& shape, std::vector<int> channels, int steps) {
    ProgramImage image = ProgramImage::startProgram();
    Generation generation;
    generation.shape = shape;
    generation.channels = std::move(channels);
    generation.lastStep = steps;
    EXPECT_EQ(applyGeneration(image, generation), std::nullopt);
    Rows rows;
    for (const int channel : generation.channels) {
        rows.resize(std::max<std::size_t>(rows.size(), static_cast<std::size_t>(channel) + 1));
    }
    for (std::size_t channel = 0; channel < rows.size(); ++channel) {
        for (int step = 1; step <= steps; ++step) {
            rows[channel] += image.cell(step, static_cast<int>(channel)) == 1 ? '#' : '.';
        }
    }
    return rows;
}

PatternShape shapeOf(PatternKind kind, int width = kDefaultPatternWidth,
                     std::optional<int> gap = {}, int density = kDefaultDensity,
                     std::uint64_t seed = kDefaultSeed) {
    return {kind, width, gap, density, seed};
}

std::vector<int> firstChannels(int n) {
    std::vector<int> channels(static_cast<std::size_t>(n));
    std::iota(channels.begin(), channels.end(), 0);
    return channels;
}

TEST(SplitMix64Test, SeedZeroGivesThePublishedFirstOutputs) {
    SplitMix64 random(0);
    for (const std::uint64_t expected : {0xE220A8397B1DCDAFULL, 0x6E789E6AA1B965F4ULL,
                                         0x06C45D188009454FULL, 0xF88BB8A8724C81ECULL}) {
        EXPECT_EQ(random.next(), expected);
    }
}

struct GoldenRow {
    const char* what;
    PatternShape shape;
    std::vector<int> channels;
    int steps;
    Rows rows;
};

TEST(PatternGridTest, GoldenGrids) {
    using K = PatternKind;
    const std::vector<int> five = firstChannels(5);
    const GoldenRow table[] = {
        {"chase",
         shapeOf(K::Chase),
         five,
         7,
         {"#....#.", ".#....#", "..#....", "...#...", "....#.."}},
        {"chase w2 gap1",
         shapeOf(K::Chase, 2, 1),
         five,
         7,
         {"#.##.##", "##.##.#", ".##.##.", "#.##.##", "##.##.#"}},
        {"chase w=n", shapeOf(K::Chase, 5), five, 3, {"###", "###", "###", "###", "###"}},
        {"chase gap 0", shapeOf(K::Chase, 1, 0), five, 3, {"###", "###", "###", "###", "###"}},
        {"chase single step", shapeOf(K::Chase), five, 1, {"#", ".", ".", ".", "."}},
        {"chase reversed channels",
         shapeOf(K::Chase),
         {4, 3, 2, 1, 0},
         7,
         {"....#..", "...#...", "..#....", ".#....#", "#....#."}},
        {"chase on channels 1,3,5",
         shapeOf(K::Chase),
         {0, 2, 4},
         4,
         {"#..#", "....", ".#..", "....", "..#."}},
        {"chase-back",
         shapeOf(K::ChaseBack),
         five,
         7,
         {"....#..", "...#...", "..#....", ".#....#", "#....#."}},
        {"bounce",
         shapeOf(K::Bounce),
         five,
         7,
         {"#......", ".#.....", "..#...#", "...#.#.", "....#.."}},
        {"bounce w2",
         shapeOf(K::Bounce, 2),
         five,
         7,
         {"#.....#", "##...##", ".##.##.", "..###..", "...#..."}},
        {"bounce w=n", shapeOf(K::Bounce, 5), five, 2, {"##", "##", "##", "##", "##"}},
        {"fill",
         shapeOf(K::Fill),
         five,
         7,
         {"#######", ".####.#", "..###..", "...##..", "....#.."}},
        {"unfill",
         shapeOf(K::Unfill),
         five,
         7,
         {"#....#.", "##...##", "###..##", "####.##", "#######"}},
        {"alternate",
         shapeOf(K::Alternate),
         five,
         7,
         {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"}},
        {"random",
         shapeOf(K::Random),
         five,
         7,
         {".####.#", "##..###", ".#.#.#.", "####.#.", "..#.#.."}},
        {"random seed 7 density 20",
         shapeOf(K::Random, 1, std::nullopt, 20, 7),
         five,
         7,
         {".#...#.", "#.#..#.", "....#..", "#...#.#", "...#..#"}},
        {"random-single",
         shapeOf(K::RandomSingle),
         five,
         7,
         {"#.##..#", "....#..", ".......", ".....#.", ".#....."}},
    };
    for (const GoldenRow& row : table) {
        EXPECT_EQ(generated(row.shape, row.channels, row.steps), row.rows) << row.what;
    }
}

TEST(PatternGridTest, RampLevels) {
    const std::tuple<PatternKind, int, std::vector<int>> table[] = {
        {PatternKind::RampUp, 7, {1, 6, 11, 17, 22, 27, 32}},
        {PatternKind::RampDown, 7, {32, 27, 22, 17, 11, 6, 1}},
        {PatternKind::RampUp, 2, {1, 32}},
        {PatternKind::RampUp, 1, {32}},
    };
    for (const auto& [kind, steps, levels] : table) {
        const PatternGrid grid = PatternGrid::generate(shapeOf(kind), steps, 3);
        for (int k = 0; k < steps; ++k) {
            EXPECT_EQ(grid.level(k), levels[static_cast<std::size_t>(k)]) << k;
            EXPECT_TRUE(grid.lit(k, 2));
        }
    }
}

} // namespace
} // namespace tevra

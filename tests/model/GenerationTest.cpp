#include "model/Generation.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace tevra {
namespace {

TEST(CellValueTest, ReadsEachForm) {
    const std::tuple<const char*, bool, std::optional<CellValue>> table[] = {
        {"off", false, CellValue{false, 0}},
        {"on", false, CellValue{false, 1}},
        {"level:1", false, CellValue{false, 0x03}},
        {"level:32", false, CellValue{false, 0xFB}},
        {"0x7B", false, CellValue{false, 0x7B}},
        {"0xfe", false, CellValue{false, 0xFE}},
        {"255", false, CellValue{false, 255}},
        {"keep", true, CellValue{true, 0}},
        {"keep", false, std::nullopt},
        {"level:0", false, std::nullopt},
        {"level:33", false, std::nullopt},
        {"256", false, std::nullopt},
        {"-1", false, std::nullopt},
        {"0x", false, std::nullopt},
        {"12a", false, std::nullopt},
        {"", false, std::nullopt},
        {"On", false, std::nullopt}};
    for (const auto& [text, keepAllowed, expected] : table) {
        EXPECT_EQ(CellValue::parse(text, keepAllowed), expected) << text;
    }
}

class GenerationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_image.setStepCount(3);
        m_image.setStartBlock(true);
        m_image.setStepTime(3, 42);
        m_image.setCell(1, 0, 0x7B); // Level 16
        m_image.setCell(1, 1, 0x08); // Off with a parameter left in it
        m_image.setCell(2, 0, 0x01);
        m_generation.channels = {0, 1};
        m_generation.lastStep = 2;
    }

    ProgramImage m_image = ProgramImage::startProgram();
    Generation m_generation;
};

TEST_F(GenerationTest, BackgroundLightsOnlyOffCellsAndKeepLeavesUnlitOnes) {
    m_generation.shape.kind = PatternKind::Alternate;
    m_generation.on = CellValue{false, 0xFE};
    m_generation.background = true;
    ProgramImage background = m_image;
    ASSERT_EQ(applyGeneration(background, m_generation), std::nullopt);
    // Lit: (1,0) is Level and stays, (2,1) is Off and takes the value; unlit stay too.
    EXPECT_EQ(background.cell(1, 0), 0x7B);
    EXPECT_EQ(background.cell(1, 1), 0x08);
    EXPECT_EQ(background.cell(2, 0), 0x01);
    EXPECT_EQ(background.cell(2, 1), 0xFE);

    m_generation.background = false;
    m_generation.off.keep = true;
    ASSERT_EQ(applyGeneration(m_image, m_generation), std::nullopt);
    EXPECT_EQ(m_image.cell(1, 0), 0xFE);
    EXPECT_EQ(m_image.cell(1, 1), 0x08);
    EXPECT_EQ(m_image.cell(2, 0), 0x01);
}

TEST_F(GenerationTest, StepsPastTheEndTakeTheLastTimeAndStartOff) {
    m_image.setCell(5, 3, 0x01); // a record beyond the count holds leftovers
    m_generation.firstStep = 5;
    m_generation.lastStep = 6;
    ASSERT_EQ(applyGeneration(m_image, m_generation), std::nullopt);
    EXPECT_EQ(m_image.stepCount(), 6);
    EXPECT_TRUE(m_image.startBlock());
    for (int step = 4; step <= 6; ++step) {
        EXPECT_EQ(m_image.stepTime(step), 42);
        EXPECT_EQ(m_image.cell(step, 3), 0);
    }
    EXPECT_EQ(m_image.cell(4, 0), 0) << "a step skipped over is added Off";
    EXPECT_EQ(m_image.cell(5, 0), 1);
    EXPECT_EQ(m_image.cell(6, 1), 1);

    ProgramImage empty;
    ASSERT_EQ(applyGeneration(empty, m_generation), std::nullopt);
    EXPECT_EQ(empty.stepTime(6), kDefaultStepTime);
}

TEST_F(GenerationTest, TimesFixedOrFromTheTempoOnlyInTheRange) {
    m_generation.timing = std::uint16_t{250};
    ASSERT_EQ(applyGeneration(m_image, m_generation), std::nullopt);
    EXPECT_EQ(m_image.stepTime(2), 250);
    EXPECT_EQ(m_image.stepTime(3), 42);
    m_generation.timing = *StepTempo::parse("128", 2);
    ASSERT_EQ(applyGeneration(m_image, m_generation), std::nullopt);
    EXPECT_EQ(m_image.stepTime(1), 23);
    EXPECT_EQ(m_image.stepTime(2), 24);
}

TEST_F(GenerationTest, RefusalsLeaveTheProgramAsItWas) {
    const auto with = [this](auto change) {
        Generation generation = m_generation;
        change(generation);
        return generation;
    };
    const std::pair<Generation, std::string> table[] = {
        {with([](Generation& g) { g.channels.clear(); }), "Не выбран ни один канал"},
        {with([](Generation& g) {
             g.channels = {0, 16};
         }),
         "Канал 17 вне 1-16"},
        {with([](Generation& g) {
             g.channels = {3, 1, 3};
         }),
         "Канал 4 указан дважды"},
        {with([](Generation& g) { g.firstStep = 3; }), "Неверный диапазон шагов 3-2"},
        {with([](Generation& g) { g.lastStep = 501; }),
         "Диапазон шагов 1-501 выходит за 500 шагов"},
        {with([](Generation& g) { g.shape.width = 3; }),
         "Ширина должна быть от 1 до 2 (числа каналов)"},
        {with([](Generation& g) { g.shape.gap = -1; }), "Промежуток не может быть отрицательным"},
        {with([](Generation& g) { g.shape.density = 101; }), "Плотность должна быть от 0 до 100"},
        {with([](Generation& g) { g.timing = std::uint16_t{4}; }),
         "Время шага должно быть от 50 до 25600 mS"},
        {with([](Generation& g) { g.timing = *StepTempo::parse("1300", 1); }),
         "Темп 1300 BPM даёт время шага 40 mS"},
        {with([](Generation& g) { g.timing = *StepTempo::parse("1300,5", 1); }),
         "Темп 1300,5 BPM даёт время шага 40 mS, а оно должно быть от 50 до 25600 mS"},
        {with([](Generation& g) { g.timing = *StepTempo::parse("0,234", 1); }),
         "Темп 0,234 BPM даёт время шага 256410 mS"},
    };
    for (const auto& [generation, reason] : table) {
        ProgramImage image = m_image;
        const auto refused = applyGeneration(image, generation);
        EXPECT_EQ(refused.value_or("").substr(0, reason.size()), reason);
        EXPECT_EQ(image, m_image) << reason;
    }
    // The limits themselves are taken.
    for (const Generation& edge : {with([](Generation& g) { g.shape.gap = 0; }),
                                   with([](Generation& g) { g.shape.density = 100; })}) {
        ProgramImage image = m_image;
        EXPECT_EQ(applyGeneration(image, edge), std::nullopt);
    }
}

} // namespace
} // namespace tevra

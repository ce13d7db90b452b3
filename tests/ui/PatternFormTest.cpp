#include "ui/dialogs/PatternForm.h"

#include <gtest/gtest.h>

namespace tevra {
namespace {

// Steps 2..4 of channels 3..5 (0-based), inside a program of 4 steps.
class PatternFormTest : public ::testing::Test {
protected:
    void SetUp() override { m_program.setStepCount(4); }

    ProgramImage m_program = ProgramImage::startProgram();
    PatternForm m_form{m_program, CellRange{2, 4, 3, 5}};
};

TEST_F(PatternFormTest, DefaultsPreviewAChaseOfTheSelectionAsSelectedOrReversed) {
    for (const bool reversed : {false, true}) {
        PatternChoices choices;
        choices.reversed = reversed;
        m_form.choose(choices);
        ASSERT_EQ(m_form.refusal(), std::nullopt);
        for (int k = 0; k < 3; ++k) {
            const int lit = reversed ? 5 - k : 3 + k;
            for (int channel = 2; channel <= 6; ++channel) {
                EXPECT_EQ(m_form.preview().cell(2 + k, channel), channel == lit ? 1 : 0);
            }
        }
        EXPECT_EQ(m_form.preview().cell(1, 3), 0);
    }
    EXPECT_EQ(m_form.editName(), "узор chase 3 × 3");
    EXPECT_EQ(m_program.cell(2, 3), 0) << "the preview is a copy";
}

TEST_F(PatternFormTest, RefusalsKeepThePreviewAsTheProgramIs) {
    PatternChoices choices;
    choices.pattern = PatternKind::Fill;
    choices.useTempo = true;
    m_form.tempo().setBpmText("12x");
    m_form.choose(choices);
    EXPECT_EQ(m_form.refusal(), kBadTempoText);
    m_form.tempo().setBpmText("60");
    m_form.refreshed();
    EXPECT_EQ(m_form.refusal(), std::nullopt);
    EXPECT_EQ(m_form.preview().stepTime(3), 100);
    EXPECT_EQ(m_form.preview().cell(4, 4), 1);
    choices.width = 4;
    m_form.choose(choices);
    EXPECT_EQ(m_form.refusal(), "Ширина должна быть от 1 до 3 (числа каналов)");
    EXPECT_EQ(m_form.preview(), m_program);
}

TEST(PatternValueTest, ModesByNameWithLevelOrSpeed) {
    const std::tuple<ValueChoice, CellValue> table[] = {
        {{ValueKind::Keep}, {true, 0}},
        {{ValueKind::Level, 16}, {false, 0x7B}},
        {{ValueKind::DimmerLit, 1, 11}, {false, 0x0E}},
        {{ValueKind::DimmerRamp, 1, 20}, {false, 0xB7}},
    };
    for (const auto& [choice, value] : table) {
        EXPECT_EQ(PatternForm::cellValue(choice), value);
    }
    EXPECT_EQ(PatternForm::speedText(kDefaultDimmerPosition), "2560 mS");
    EXPECT_EQ(PatternForm::speedText(20), "25600 mS");
}

TEST(TempoFormTest, TapsReplaceTheTextWithTheirFit) {
    TempoForm form;
    for (const int at : {1000, 1500, 2000}) {
        form.tap(std::chrono::milliseconds(at));
    }
    EXPECT_EQ(form.bpmText(), TempoForm::kStartBpmText);
    EXPECT_EQ(form.tapText(), "Тапов: 3");
    form.tap(std::chrono::milliseconds(2520));
    EXPECT_EQ(form.bpmText(), "118,6");
    form.setBpmText("128");
    EXPECT_EQ(form.timesText(64), "Время шагов: 460…470 mS");
    form.setStepsPerBeat(10);
    EXPECT_TRUE(form.refusal(3).value_or("").starts_with("Темп 128 BPM даёт время шага 40 mS"));
}

} // namespace
} // namespace tevra

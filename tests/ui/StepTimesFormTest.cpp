#include "ui/StepTimesForm.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace tevra {
namespace {

using Field = StepTimesForm::Field;

std::string narrow(const std::u16string& text) {
    return {text.begin(), text.end()};
}

class StepTimesFormTest : public ::testing::Test {
protected:
    StepTimesFormTest() {
        m_form.setRange({1, 2, 3});
        m_form.start();
        m_form.sliderDrawn(StepTimesForm::kSliderStart);
    }

    // Replaces the whole edit, then types keys one by one at the caret.
    void retype(Field field, const std::u16string& keys) {
        m_form.setSelection(field, 0, static_cast<int>(m_form.edit(field).text.size()));
        for (const char16_t key : keys) {
            const EditText& edit = m_form.edit(field);
            std::u16string now = edit.text;
            const auto from = static_cast<std::size_t>(edit.selStart);
            now.replace(from, static_cast<std::size_t>(edit.selEnd - edit.selStart), 1, key);
            const int caret = edit.selStart + 1;
            m_form.editChanged(field, now, caret, caret);
        }
    }
    // The whole text at once, as a paste over a full selection.
    void paste(Field field, const std::u16string& text) {
        const int caret = static_cast<int>(text.size());
        m_form.editChanged(field, text, caret, caret);
    }
    void clear(Field field) { m_form.editChanged(field, u"", 0, 0); }
    std::pair<std::string, std::string> texts() const {
        return {narrow(m_form.edit(Field::StepFrom).text), narrow(m_form.edit(Field::StepTo).text)};
    }

    StepTimesForm m_form;
};

TEST_F(StepTimesFormTest, OpensWithTheCallersStepsAndTheSliderTime) {
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"1", "2"}));
    EXPECT_EQ(m_form.range().timeValue, 100);
    EXPECT_EQ(m_form.timeCaption(), u"1000");
}

TEST_F(StepTimesFormTest, TheSliderIsTheTimeAndTheCaptionCountsMilliseconds) {
    StepTimesForm form;
    form.setRange({1, 2, 3});
    // The caller's time is only a placeholder until the slider draws.
    EXPECT_EQ(form.range().timeValue, 3);
    for (const auto& [position, caption] :
         {std::pair{5, u"50"}, std::pair{101, u"1010"}, std::pair{2560, u"25600"}}) {
        form.sliderDrawn(position);
        EXPECT_EQ(form.range().timeValue, position);
        EXPECT_EQ(form.timeCaption(), caption);
    }
}

TEST_F(StepTimesFormTest, StartAboveTheEndPullsTheEndAlong) {
    clear(Field::StepFrom);
    retype(Field::StepFrom, u"7");
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"7", "7"}));
    EXPECT_EQ(m_form.range().stepFrom, 7);
    EXPECT_EQ(m_form.range().stepTo, 7);
}

TEST_F(StepTimesFormTest, ThirdDigitAboveTheLastStepIsRefusedWithTheCaretAtTheStart) {
    clear(Field::StepTo);
    retype(Field::StepTo, u"6");
    EXPECT_EQ(m_form.range().stepTo, 6);
    m_form.editChanged(Field::StepTo, u"60", 2, 2);
    EXPECT_EQ(m_form.range().stepTo, 60);
    EXPECT_EQ(m_form.edit(Field::StepTo).selStart, 2);
    m_form.editChanged(Field::StepTo, u"600", 3, 3);
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"1", "60"}));
    EXPECT_EQ(m_form.range().stepTo, 60);
    EXPECT_EQ(m_form.edit(Field::StepTo).selStart, 0);
    EXPECT_EQ(m_form.edit(Field::StepTo).selEnd, 0);
}

TEST_F(StepTimesFormTest, EndOutOfRangeFallsBackToTheStart) {
    struct Row {
        std::u16string typed;
        int from;
        std::string shown;
    };
    for (const Row& row : {Row{u"-5", 4, "4"}, Row{u"0", 4, "4"}, Row{u"000", 9, "9"},
                           Row{u"999", 4, "99"}, Row{u"510", 60, "60"}, Row{u"-", 4, "-"}}) {
        m_form.setRange({row.from, row.from, 100});
        m_form.editChanged(Field::StepFrom, u"", 0, 0);
        m_form.editChanged(Field::StepTo, u"", 0, 0);
        m_form.start();
        paste(Field::StepTo, row.typed);
        EXPECT_EQ(narrow(m_form.edit(Field::StepTo).text), row.shown) << narrow(row.typed);
        EXPECT_LE(m_form.range().stepFrom, m_form.range().stepTo);
    }
}

TEST_F(StepTimesFormTest, LettersStayInTheEditAndTheNumbersKeepTheirValues) {
    retype(Field::StepFrom, u"5");
    retype(Field::StepFrom, u"ab");
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"ab", "5"}));
    EXPECT_EQ(m_form.range().stepFrom, 5);
    EXPECT_EQ(m_form.range().stepTo, 5);
}

TEST_F(StepTimesFormTest, StartOutOfRangeIsPutBack) {
    for (const std::u16string text : {u"-3", u"0", u"501", u"5012"}) {
        paste(Field::StepFrom, text);
        EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"1", "2"}));
        EXPECT_EQ(m_form.edit(Field::StepFrom).selStart, 0);
    }
    // Typed key by key, the third digit is refused and a fourth lands before the rest.
    retype(Field::StepFrom, u"501");
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"50", "50"}));
    retype(Field::StepFrom, u"5012");
    EXPECT_EQ(texts(), (std::pair<std::string, std::string>{"250", "250"}));
}

} // namespace
} // namespace tevra

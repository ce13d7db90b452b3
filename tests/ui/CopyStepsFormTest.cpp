#include "ui/CopyStepsForm.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tevra {
namespace {

using Field = CopyStepsForm::Field;

std::u16string u16(const std::string& text) {
    return {text.begin(), text.end()};
}

// Key presses as an edit control applies them: each replaces the selection and reports one
// change.
class Typist {
public:
    explicit Typist(CopyStepsForm& form) : m_form(form) {}

    void selectAll(Field field) {
        m_form.setSelection(field, 0, static_cast<int>(m_form.edit(field).text.size()));
    }
    void caretToEnd(Field field) {
        const int end = static_cast<int>(m_form.edit(field).text.size());
        m_form.setSelection(field, end, end);
    }
    // Every character of keys is one key press (a paste when keys is inserted whole).
    void type(Field field, const std::string& keys) {
        for (const char key : keys) {
            insert(field, std::string(1, key));
        }
    }
    void paste(Field field, const std::string& text) { insert(field, text); }
    void clear(Field field) {
        selectAll(field);
        insert(field, {});
    }

private:
    void insert(Field field, const std::string& text) {
        const EditText& edit = m_form.edit(field);
        std::u16string now = edit.text;
        const auto from = static_cast<std::size_t>(std::min(edit.selStart, edit.selEnd));
        const auto to = static_cast<std::size_t>(std::max(edit.selStart, edit.selEnd));
        now.replace(from, to - from, u16(text));
        const int caret = static_cast<int>(from + text.size());
        m_form.editChanged(field, now, caret, caret);
    }

    CopyStepsForm& m_form;
};

std::array<std::string, 4> texts(const CopyStepsForm& form) {
    std::array<std::string, 4> result;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::u16string& text = form.edit(static_cast<Field>(i)).text;
        result[i] = std::string(text.begin(), text.end());
    }
    return result;
}

void expectRange(const CopyStepsForm& form, int sourceFrom, int sourceTo, int destFrom,
                 int destTo) {
    EXPECT_EQ(form.range().sourceFrom, sourceFrom);
    EXPECT_EQ(form.range().sourceTo, sourceTo);
    EXPECT_EQ(form.range().destFrom, destFrom);
    EXPECT_EQ(form.range().destTo, destTo);
}

class CopyStepsFormTest : public ::testing::Test {
protected:
    CopyStepsFormTest() {
        m_form.setRange({1, 2, 3, 4});
        m_form.start();
    }

    CopyStepsForm m_form;
    Typist m_typist{m_form};
};

TEST_F(CopyStepsFormTest, OpensWithTheCallersNumbers) {
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "2", "3", "4"}));
    expectRange(m_form, 1, 2, 3, 4);
}

TEST_F(CopyStepsFormTest, SourceStartBeyondEndPullsEndAlong) {
    m_typist.selectAll(Field::SourceFrom);
    m_typist.type(Field::SourceFrom, "5");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"5", "5", "3", "3"}));
    expectRange(m_form, 5, 5, 3, 3);
    // Not rewritten, so the caret stays behind the typed digit.
    EXPECT_EQ(m_form.edit(Field::SourceFrom).selStart, 1);
}

TEST_F(CopyStepsFormTest, DestinationEndIsClampedToTheLastStep) {
    m_typist.selectAll(Field::SourceTo);
    m_typist.type(Field::SourceTo, "10");
    expectRange(m_form, 1, 10, 3, 12);
    m_typist.selectAll(Field::DestFrom);
    m_typist.type(Field::DestFrom, "495");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "10", "495", "500"}));
    expectRange(m_form, 1, 10, 495, 500);
}

TEST_F(CopyStepsFormTest, ZeroPutsThePreviousNumberBackWithTheCaretAtTheStart) {
    for (const Field field : {Field::SourceFrom, Field::DestFrom}) {
        m_typist.selectAll(field);
        m_typist.type(field, "0");
        EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "2", "3", "4"}));
        EXPECT_EQ(m_form.edit(field).selStart, 0);
        EXPECT_EQ(m_form.edit(field).selEnd, 0);
    }
    expectRange(m_form, 1, 2, 3, 4);
}

TEST_F(CopyStepsFormTest, ZeroInTheSourceEndGivesTheSourceStart) {
    m_typist.selectAll(Field::SourceTo);
    m_typist.type(Field::SourceTo, "0");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "1", "3", "3"}));
    expectRange(m_form, 1, 1, 3, 3);
}

TEST_F(CopyStepsFormTest, ThirdDigitAboveTheLastStepIsRefusedAndTheCaretStaysAtTheEnd) {
    m_typist.clear(Field::SourceTo);
    EXPECT_EQ(m_form.edit(Field::SourceTo).text, u"");
    expectRange(m_form, 1, 2, 3, 4);

    m_typist.type(Field::SourceTo, "7");
    expectRange(m_form, 1, 7, 3, 9);
    m_typist.type(Field::SourceTo, "0");
    expectRange(m_form, 1, 70, 3, 72);
    m_typist.type(Field::SourceTo, "0");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "70", "3", "72"}));
    expectRange(m_form, 1, 70, 3, 72);
    EXPECT_EQ(m_form.edit(Field::SourceTo).selStart, 2);
    EXPECT_EQ(m_form.edit(Field::SourceTo).selEnd, 2);
}

TEST_F(CopyStepsFormTest, OutOfRangeEndBelowTheStartGivesTheStart) {
    m_typist.selectAll(Field::SourceFrom);
    m_typist.type(Field::SourceFrom, "99");
    expectRange(m_form, 99, 99, 3, 3);
    m_typist.selectAll(Field::SourceTo);
    m_typist.paste(Field::SourceTo, "505");
    // The retry reads 50, below the start 99.
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"99", "99", "3", "3"}));
    expectRange(m_form, 99, 99, 3, 3);
}

TEST_F(CopyStepsFormTest, EmptiedEditKeepsTheLastNumbers) {
    m_typist.selectAll(Field::SourceTo);
    m_typist.type(Field::SourceTo, "8");
    m_typist.clear(Field::SourceTo);
    m_typist.clear(Field::DestFrom);
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "", "", "10"}));
    expectRange(m_form, 1, 8, 3, 10);
}

TEST_F(CopyStepsFormTest, PastedFourDigitsAreReadFromTheFirstThree) {
    m_typist.selectAll(Field::SourceFrom);
    m_typist.paste(Field::SourceFrom, "1234");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"123", "123", "3", "3"}));
    expectRange(m_form, 123, 123, 3, 3);
    EXPECT_EQ(m_form.edit(Field::SourceFrom).selStart, 0);
}

TEST_F(CopyStepsFormTest, FourthDigitIntoTheSourceEndIsDropped) {
    m_typist.selectAll(Field::SourceTo);
    m_typist.type(Field::SourceTo, "1234");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"1", "123", "3", "125"}));
    // The source-end edit gets its caret back, clamped to the shorter text.
    EXPECT_EQ(m_form.edit(Field::SourceTo).selStart, 3);
}

TEST_F(CopyStepsFormTest, SourceEndSelectionSurvivesARewriteFromAnotherEdit) {
    m_form.setSelection(Field::SourceTo, 0, 1);
    m_typist.selectAll(Field::SourceFrom);
    m_typist.type(Field::SourceFrom, "9");
    EXPECT_EQ(texts(m_form), (std::array<std::string, 4>{"9", "9", "3", "3"}));
    EXPECT_EQ(m_form.edit(Field::SourceTo).selStart, 0);
    EXPECT_EQ(m_form.edit(Field::SourceTo).selEnd, 1);
}

struct InvariantCase {
    const char* name;
    std::vector<std::pair<Field, std::string>> typing; // each replaces the whole edit
};

class CopyStepsFormInvariants : public ::testing::TestWithParam<InvariantCase> {};

TEST_P(CopyStepsFormInvariants, SettledNumbersStayConsistent) {
    CopyStepsForm form;
    form.setRange({1, 2, 3, 4});
    form.start();
    Typist typist(form);
    for (const auto& [field, keys] : GetParam().typing) {
        typist.selectAll(field);
        typist.type(field, keys);
        const CopyRange& r = form.range();
        EXPECT_LE(1, r.sourceFrom);
        EXPECT_LE(r.sourceFrom, r.sourceTo);
        EXPECT_LE(r.sourceTo, kMaxSteps);
        EXPECT_LE(1, r.destFrom);
        EXPECT_LE(r.destFrom, r.destTo);
        EXPECT_EQ(r.destTo, std::min(kMaxSteps, r.destFrom + r.sourceTo - r.sourceFrom));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CopyStepsFormInvariants,
    ::testing::Values(
        InvariantCase{"LongSourceThenLateDestination",
                      {{Field::SourceTo, "400"}, {Field::DestFrom, "450"}, {Field::SourceTo, "9"}}},
        InvariantCase{"StartAboveEnd", {{Field::SourceTo, "20"}, {Field::SourceFrom, "300"}}},
        InvariantCase{"EndOutOfRangeTwice", {{Field::SourceTo, "999"}, {Field::SourceTo, "000"}}},
        InvariantCase{
            "LastSteps",
            {{Field::SourceFrom, "500"}, {Field::DestFrom, "500"}, {Field::SourceTo, "1"}}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace tevra

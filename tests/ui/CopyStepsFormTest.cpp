#include "ui/CopyStepsForm.h"

#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tevra {
namespace {

using Field = CopyStepsForm::Field;
using Texts = std::array<std::string, CopyStepsForm::kFieldCount>;

enum class Op {
    Retype,     // select all, then one key press per character
    Paste,      // select all, then the whole text in one change
    TypeAtEnd,  // key presses behind the text
    Clear,      // select all, then delete
    SelectFirst // select the first character, no text change
};

struct Step {
    Field field;
    Op op;
    std::string text;
};

// Edits as an edit control applies them: each change replaces the selection and is reported
// once.
void insert(CopyStepsForm& form, Field field, const std::string& text) {
    const EditText& edit = form.edit(field);
    std::u16string now = edit.text;
    const auto from = static_cast<std::size_t>(std::min(edit.selStart, edit.selEnd));
    const auto to = static_cast<std::size_t>(std::max(edit.selStart, edit.selEnd));
    now.replace(from, to - from, std::u16string(text.begin(), text.end()));
    const int caret = static_cast<int>(from + text.size());
    form.editChanged(field, now, caret, caret);
}

void apply(CopyStepsForm& form, const Step& step) {
    const int length = static_cast<int>(form.edit(step.field).text.size());
    switch (step.op) {
    case Op::SelectFirst:
        form.setSelection(step.field, 0, 1);
        return;
    case Op::TypeAtEnd:
        form.setSelection(step.field, length, length);
        break;
    case Op::Retype:
    case Op::Paste:
    case Op::Clear:
        form.setSelection(step.field, 0, length);
        break;
    }
    if (step.op == Op::Paste || step.op == Op::Clear) {
        insert(form, step.field, step.text);
        return;
    }
    for (const char key : step.text) {
        insert(form, step.field, std::string(1, key));
    }
}

Texts texts(const CopyStepsForm& form) {
    Texts result;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::u16string& text = form.edit(static_cast<Field>(i)).text;
        result[i] = std::string(text.begin(), text.end());
    }
    return result;
}

struct Selection {
    Field field;
    int start;
    int end;
};

struct TypingCase {
    const char* name;
    std::vector<Step> steps;
    Texts texts;
    CopyRange range;
    std::optional<Selection> selection;
};

class CopyStepsFormTyping : public ::testing::TestWithParam<TypingCase> {};

// Every case opens on 1-2 copied to 3-4.
TEST_P(CopyStepsFormTyping, EditsShowAndKeepTheSettledNumbers) {
    const TypingCase& c = GetParam();
    CopyStepsForm form;
    form.setRange({1, 2, 3, 4});
    form.start();
    for (const Step& step : c.steps) {
        apply(form, step);
    }
    EXPECT_EQ(texts(form), c.texts);
    EXPECT_EQ(form.range().sourceFrom, c.range.sourceFrom);
    EXPECT_EQ(form.range().sourceTo, c.range.sourceTo);
    EXPECT_EQ(form.range().destFrom, c.range.destFrom);
    EXPECT_EQ(form.range().destTo, c.range.destTo);
    if (c.selection) {
        EXPECT_EQ(form.edit(c.selection->field).selStart, c.selection->start);
        EXPECT_EQ(form.edit(c.selection->field).selEnd, c.selection->end);
    }
}

constexpr Field kSF = Field::SourceFrom;
constexpr Field kST = Field::SourceTo;
constexpr Field kDF = Field::DestFrom;

INSTANTIATE_TEST_SUITE_P(
    Sequences, CopyStepsFormTyping,
    ::testing::Values(TypingCase{"Opens", {}, {"1", "2", "3", "4"}, {1, 2, 3, 4}, std::nullopt},
                      // Not rewritten, so the caret stays behind the typed digit.
                      TypingCase{"StartBeyondEndPullsEndAlong",
                                 {{kSF, Op::Retype, "5"}},
                                 {"5", "5", "3", "3"},
                                 {5, 5, 3, 3},
                                 Selection{kSF, 1, 1}},
                      TypingCase{"LongerSource",
                                 {{kST, Op::Retype, "10"}},
                                 {"1", "10", "3", "12"},
                                 {1, 10, 3, 12},
                                 std::nullopt},
                      TypingCase{"DestinationEndClampedToTheLastStep",
                                 {{kST, Op::Retype, "10"}, {kDF, Op::Retype, "495"}},
                                 {"1", "10", "495", "500"},
                                 {1, 10, 495, 500},
                                 std::nullopt},
                      TypingCase{"ZeroInStartIsPutBackCaretAtStart",
                                 {{kSF, Op::Retype, "0"}},
                                 {"1", "2", "3", "4"},
                                 {1, 2, 3, 4},
                                 Selection{kSF, 0, 0}},
                      TypingCase{"ZeroInDestinationIsPutBackCaretAtStart",
                                 {{kDF, Op::Retype, "0"}},
                                 {"1", "2", "3", "4"},
                                 {1, 2, 3, 4},
                                 Selection{kDF, 0, 0}},
                      TypingCase{"ZeroInEndGivesTheStart",
                                 {{kST, Op::Retype, "0"}},
                                 {"1", "1", "3", "3"},
                                 {1, 1, 3, 3},
                                 std::nullopt},
                      TypingCase{"ClearedEndKeepsTheNumbers",
                                 {{kST, Op::Clear, ""}},
                                 {"1", "", "3", "4"},
                                 {1, 2, 3, 4},
                                 std::nullopt},
                      TypingCase{"FirstDigitIntoClearedEnd",
                                 {{kST, Op::Clear, ""}, {kST, Op::TypeAtEnd, "7"}},
                                 {"1", "7", "3", "9"},
                                 {1, 7, 3, 9},
                                 std::nullopt},
                      // The third digit reads above the last step: refused, caret stays at the end.
                      TypingCase{"ThirdDigitAboveTheLastStepIsRefused",
                                 {{kST, Op::Clear, ""}, {kST, Op::TypeAtEnd, "700"}},
                                 {"1", "70", "3", "72"},
                                 {1, 70, 3, 72},
                                 Selection{kST, 2, 2}},
                      // The retry reads 50, below the start 99.
                      TypingCase{"OutOfRangeEndBelowTheStartGivesTheStart",
                                 {{kSF, Op::Retype, "99"}, {kST, Op::Paste, "505"}},
                                 {"99", "99", "3", "3"},
                                 {99, 99, 3, 3},
                                 std::nullopt},
                      TypingCase{
                          "EmptiedEditsKeepTheLastNumbers",
                          {{kST, Op::Retype, "8"}, {kST, Op::Clear, ""}, {kDF, Op::Clear, ""}},
                          {"1", "", "", "10"},
                          {1, 8, 3, 10},
                          std::nullopt},
                      TypingCase{"PastedFourDigitsAreReadFromTheFirstThree",
                                 {{kSF, Op::Paste, "1234"}},
                                 {"123", "123", "3", "3"},
                                 {123, 123, 3, 3},
                                 Selection{kSF, 0, 0}},
                      // The source-end edit gets its caret back, clamped to the shorter text.
                      TypingCase{"FourthDigitIntoTheEndIsDropped",
                                 {{kST, Op::Retype, "1234"}},
                                 {"1", "123", "3", "125"},
                                 {1, 123, 3, 125},
                                 Selection{kST, 3, 3}},
                      TypingCase{"EndSelectionSurvivesARewriteFromAnotherEdit",
                                 {{kST, Op::SelectFirst, ""}, {kSF, Op::Retype, "9"}},
                                 {"9", "9", "3", "3"},
                                 {9, 9, 3, 3},
                                 Selection{kST, 0, 1}}),
    [](const auto& row) { return std::string(row.param.name); });

class CopyStepsFormInvariants : public ::testing::TestWithParam<std::vector<Step>> {};

TEST_P(CopyStepsFormInvariants, SettledNumbersStayConsistent) {
    CopyStepsForm form;
    form.setRange({1, 2, 3, 4});
    form.start();
    for (const Step& step : GetParam()) {
        apply(form, step);
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
    ::testing::Values(std::vector<Step>{{kST, Op::Retype, "400"},
                                        {kDF, Op::Retype, "450"},
                                        {kST, Op::Retype, "9"}},
                      std::vector<Step>{{kST, Op::Retype, "20"}, {kSF, Op::Retype, "300"}},
                      std::vector<Step>{{kST, Op::Retype, "999"}, {kST, Op::Retype, "000"}},
                      std::vector<Step>{{kSF, Op::Retype, "500"},
                                        {kDF, Op::Retype, "500"},
                                        {kST, Op::Retype, "1"}}));

} // namespace
} // namespace tevra

#include "ui/CopyStepsForm.h"
#include "ui/StepTimesForm.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tevra {
namespace {

// Replaces the edit's selection with text as an edit control does, and reports the change.
template <typename Form>
void insert(Form& form, typename Form::Field field, const std::string& text) {
    const EditText& edit = form.edit(field);
    std::u16string now = edit.text;
    const auto from = static_cast<std::size_t>(std::min(edit.selStart, edit.selEnd));
    const auto to = static_cast<std::size_t>(std::max(edit.selStart, edit.selEnd));
    now.replace(from, to - from, std::u16string(text.begin(), text.end()));
    const int caret = static_cast<int>(from + text.size());
    form.editChanged(field, now, caret, caret);
}

// One edit per word: the field's letter (a: the first edit), then "=" to select all and type
// the keys one by one, ":" to paste over all, "+" to type behind the text, or "^" to select
// the first character.
template <typename Form> void type(Form& form, const std::string& word) {
    const auto field = static_cast<typename Form::Field>(word[0] - 'a');
    const std::string keys = word.substr(2);
    const int length = static_cast<int>(form.edit(field).text.size());
    switch (word[1]) {
    case '^':
        form.setSelection(field, 0, 1);
        return;
    case ':':
        form.setSelection(field, 0, length);
        insert(form, field, keys);
        return;
    case '+':
        form.setSelection(field, length, length);
        break;
    default:
        form.setSelection(field, 0, length);
    }
    for (const char key : keys) {
        insert(form, field, std::string(1, key));
    }
}

// Every edit's text with its selection as "[" and "]", edits separated by "|".
template <typename Form> std::string shown(const Form& form) {
    std::string all;
    for (std::size_t i = 0; i < Form::kFieldCount; ++i) {
        const EditText& e = form.edit(static_cast<typename Form::Field>(i));
        std::string text(e.text.begin(), e.text.end());
        text.insert(static_cast<std::size_t>(e.selEnd), "]");
        text.insert(static_cast<std::size_t>(e.selStart), "[");
        all += (i == 0 ? "" : "|") + text;
    }
    return all;
}

std::vector<std::string> words(const std::string& script) {
    std::istringstream in(script);
    std::vector<std::string> result;
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

// The dialog opens on steps 1-2 copied to 3-4.
TEST(CopyStepsForm, EditsShowAndKeepTheSettledNumbers) {
    const struct {
        const char* script;
        const char* shown;
        CopyRange range;
    } rows[] = {
        {"", "[]1|[]2|[]3|[]4", {1, 2, 3, 4}},
        // Not rewritten, so the caret stays behind the typed digit.
        {"a=5", "5[]|[]5|[]3|[]3", {5, 5, 3, 3}},
        {"b=10", "[]1|10[]|[]3|[]12", {1, 10, 3, 12}},
        {"b=10 c=495", "[]1|10[]|495[]|[]500", {1, 10, 495, 500}},
        // Zero is out of range: put back, caret at the start; in the end field it gives the start.
        {"a=0", "[]1|[]2|[]3|[]4", {1, 2, 3, 4}},
        {"c=0", "[]1|[]2|[]3|[]4", {1, 2, 3, 4}},
        {"b=0", "[]1|1[]|[]3|[]3", {1, 1, 3, 3}},
        {"b:", "[]1|[]|[]3|[]4", {1, 2, 3, 4}},
        {"b: b+7", "[]1|7[]|[]3|[]9", {1, 7, 3, 9}},
        // The third digit reads above the last step: refused, the caret stays at the end.
        {"b: b+700", "[]1|70[]|[]3|[]72", {1, 70, 3, 72}},
        // The retry reads 50, below the start 99.
        {"a=99 b:505", "99[]|99[]|[]3|[]3", {99, 99, 3, 3}},
        {"b=8 b: c:", "[]1|[]|[]|[]10", {1, 8, 3, 10}},
        {"a:1234", "[]123|[]123|[]3|[]3", {123, 123, 3, 3}},
        // The source-end edit gets its caret back, clamped to the shorter text.
        {"b=1234", "[]1|123[]|[]3|[]125", {1, 123, 3, 125}},
        {"b^ a=9", "9[]|[9]|[]3|[]3", {9, 9, 3, 3}},
        {"b=400 c=450 b=9", "[]1|9[]|450[]|[]458", {1, 9, 450, 458}},
        {"b=20 a=300", "300[]|30[]0|[]3|[]3", {300, 300, 3, 3}},
        {"b=999 b=000", "[]1|100[]|[]3|[]102", {1, 100, 3, 102}},
        {"a=500 c=500 b=1", "500[]|5[]00|500[]|[]500", {500, 500, 500, 500}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.script);
        CopyStepsForm form;
        form.setRange({1, 2, 3, 4});
        form.start();
        for (const std::string& word : words(r.script)) {
            type(form, word);
            const CopyRange& n = form.range();
            EXPECT_TRUE(1 <= n.sourceFrom && n.sourceFrom <= n.sourceTo && n.sourceTo <= kMaxSteps);
            EXPECT_EQ(n.destTo, std::min(kMaxSteps, n.destFrom + n.sourceTo - n.sourceFrom));
        }
        EXPECT_EQ(shown(form), r.shown);
        const CopyRange& n = form.range();
        EXPECT_EQ(
            (std::vector{n.sourceFrom, n.sourceTo, n.destFrom, n.destTo}),
            (std::vector{r.range.sourceFrom, r.range.sourceTo, r.range.destFrom, r.range.destTo}));
    }
}

// The dialog opens on steps 1-2; letters stay in an edit, the numbers keep their values.
TEST(StepTimesForm, EditsShowAndKeepTheSettledNumbers) {
    const struct {
        const char* script;
        const char* shown;
        int from;
        int to;
    } rows[] = {
        {"", "[]1|[]2", 1, 2},
        {"a: a=7", "7[]|[]7", 7, 7},
        {"b: b+6 b+0", "[]1|60[]", 1, 60},
        {"b: b+6 b+0 b+0", "[]1|[]60", 1, 60},
        // An end out of range is read again from its first two characters, at least the start.
        {"a=4 b:-5", "4[]|[]4", 4, 4},
        {"a=4 b:0", "4[]|[]4", 4, 4},
        {"a=9 b:000", "9[]|[]9", 9, 9},
        {"a=4 b:999", "4[]|[]99", 4, 99},
        {"a=60 b:510", "60[]|[]60", 60, 60},
        {"a=4 b:-", "4[]|-[]", 4, 4},
        {"a=5 a=ab", "ab[]|[]5", 5, 5},
        // A start out of range is put back; typed key by key, its third digit is refused and a
        // fourth lands before the rest.
        {"a:-3", "[]1|[]2", 1, 2},
        {"a:0", "[]1|[]2", 1, 2},
        {"a:501", "[]1|[]2", 1, 2},
        {"a:5012", "[]1|[]2", 1, 2},
        {"a=501", "[]50|[]50", 50, 50},
        {"a=5012", "2[]50|[]250", 250, 250},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.script);
        StepTimesForm form;
        form.setRange({1, 2, 3});
        form.start();
        for (const std::string& word : words(r.script)) {
            type(form, word);
        }
        EXPECT_EQ(shown(form), r.shown);
        EXPECT_EQ(form.range().stepFrom, r.from);
        EXPECT_EQ(form.range().stepTo, r.to);
    }
}

TEST(StepTimesForm, TheSliderIsTheTimeAndTheCaptionCountsMilliseconds) {
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

} // namespace
} // namespace tevra

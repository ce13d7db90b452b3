#pragma once

#include "model/DecimalText.h"
#include "model/EditorModel.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// The range edits read at most this many characters of their text.
constexpr std::size_t kRangeFieldChars = 3;
constexpr int kRangeFirstStep = 1;
constexpr int kRangeLastStep = kMaxSteps;

// The number a range edit holds: readDecimal over its first kRangeFieldChars characters.
std::optional<int> readRangeField(std::u16string_view text);
// The out-of-range end field is read again from its first two characters; firstValue stands
// when those hold no number.
int readRangeEndRetry(std::u16string_view text, int firstValue);
bool isInStepRange(int value);

// Text and selection of one line edit, positions in UTF-16 units as the edit counts them.
struct EditText {
    std::u16string text;
    int selStart = 0;
    int selEnd = 0;
};

// The mirror of a range dialog's edits, indexed by the dialog's Field enum. Rewriting an edit
// re-runs that edit's rule at once, as the native edit control reports its own replacements,
// so results can depend on that re-entry.
template <typename Field, std::size_t N> class RangeEdits {
public:
    static constexpr std::size_t kCount = N;

    const EditText& operator[](Field field) const { return m_edits[index(field)]; }

    void setText(Field field, std::u16string_view text, int selStart, int selEnd) {
        EditText& edit = m_edits[index(field)];
        edit.text = text;
        setSelection(field, selStart, selEnd);
    }
    void setSelection(Field field, int selStart, int selEnd) {
        EditText& edit = m_edits[index(field)];
        edit.selStart = selStart;
        edit.selEnd = selEnd;
    }
    // Writes numberOf(field) into each edit in field order. An edit whose text changes gets
    // its caret at the start and rerun(field) before the next edit's number is asked for.
    template <typename NumberOf, typename Rerun> void show(NumberOf numberOf, Rerun rerun) {
        for (std::size_t i = 0; i < N; ++i) {
            const auto field = static_cast<Field>(i);
            const std::u16string text = decimalText(numberOf(field));
            if (m_edits[i].text == text) {
                continue;
            }
            setText(field, text, 0, 0);
            rerun(field);
        }
    }

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }

    std::array<EditText, N> m_edits;
};

} // namespace tevra

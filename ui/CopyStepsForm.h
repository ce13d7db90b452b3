#pragma once

#include "model/EditorModel.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// The range edits read at most this many characters of their text.
constexpr std::size_t kRangeFieldChars = 3;
constexpr int kRangeFirstStep = 1;
constexpr int kRangeLastStep = kMaxSteps;

// One decimal integer at the start of text as "%d" reads it: leading blanks, an optional
// sign, then digits up to the first non-digit. Empty when there is no digit.
std::optional<int> parseLeadingInt(std::u16string_view text);
// The number a range edit holds: parseLeadingInt over its first kRangeFieldChars characters.
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

// The copy-steps dialog without widgets: four step numbers and the mirror of its four edits.
// Every text change is handled key by key; rewriting an edit re-runs that edit's rule at
// once, as the native edit control reports its own replacements, so results can depend on
// that re-entry.
class CopyStepsForm {
public:
    enum class Field { SourceFrom, SourceTo, DestFrom, DestTo };
    static constexpr std::size_t kFieldCount = 4;

    // Numbers only; the edits stay as they are until start().
    void setRange(const CopyRange& range);
    const CopyRange& range() const { return m_range; }

    // The dialog opens: the numbers go into the (empty) edits.
    void start();
    // The user changed an edit's text; selStart/selEnd is its selection afterwards.
    void editChanged(Field field, std::u16string_view text, int selStart, int selEnd);
    // Selection moves that change no text, so the saved source-end selection is current.
    void setSelection(Field field, int selStart, int selEnd);

    const EditText& edit(Field field) const;

private:
    void onChange(Field field);
    void onSourceFromChanged();
    void onSourceToChanged();
    void onDestFromChanged();
    void showRange();
    EditText& editRef(Field field);

    CopyRange m_range;
    std::array<EditText, kFieldCount> m_edits;
};

} // namespace tevra

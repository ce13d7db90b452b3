#pragma once

#include "model/EditorModel.h"
#include "ui/dialogs/RangeEdits.h"

#include <string_view>

namespace tevra {

// The copy-steps dialog without widgets: four step numbers and the mirror of its four edits.
// Every text change is handled key by key.
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

    const EditText& edit(Field field) const { return m_edits[field]; }

private:
    void onChange(Field field);
    void onSourceFromChanged();
    void onSourceToChanged();
    void onDestFromChanged();
    void showRange();
    int number(Field field) const;

    CopyRange m_range;
    RangeEdits<Field, kFieldCount> m_edits;
};

} // namespace tevra

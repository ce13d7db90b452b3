#pragma once

#include "model/EditorModel.h"
#include "ui/dialogs/RangeEdits.h"

#include <string>
#include <string_view>

namespace tevra {

// The step-times dialog without widgets: the step range with the mirror of its two edits,
// and the time the slider last drew.
class StepTimesForm {
public:
    enum class Field { StepFrom, StepTo };
    static constexpr std::size_t kFieldCount = 2;
    // Slider limits and start position, in units of 10 ms.
    static constexpr int kSliderMin = kMinStepTime;
    static constexpr int kSliderMax = kMaxStepTime;
    static constexpr int kSliderStart = kDefaultStepTime;
    static constexpr int kSliderPageStep = 1;

    // Numbers only; the edits stay as they are until start().
    void setRange(const StepTimesRange& range);
    const StepTimesRange& range() const { return m_range; }

    // The dialog opens: the step numbers go into the (empty) edits.
    void start();
    void editChanged(Field field, std::u16string_view text, int selStart, int selEnd);
    void setSelection(Field field, int selStart, int selEnd);
    // The slider drew itself at this position: it becomes the chosen time.
    void sliderDrawn(int position);

    const EditText& edit(Field field) const { return m_edits[field]; }
    // Caption of the slider's frame: the time in ms as a bare number.
    std::u16string timeCaption() const;

private:
    void onChange(Field field);
    void onStepFromChanged();
    void onStepToChanged();
    void showRange();

    StepTimesRange m_range;
    RangeEdits<Field, kFieldCount> m_edits;
};

} // namespace tevra

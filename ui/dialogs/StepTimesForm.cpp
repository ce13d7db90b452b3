#include "ui/dialogs/StepTimesForm.h"

#include <algorithm>

namespace tevra {

namespace {} // namespace

void StepTimesForm::setRange(const StepTimesRange& range) {
    m_range = range;
}

void StepTimesForm::start() {
    showRange();
}

void StepTimesForm::editChanged(Field field, std::u16string_view text, int selStart, int selEnd) {
    m_edits.setText(field, text, selStart, selEnd);
    onChange(field);
}

void StepTimesForm::setSelection(Field field, int selStart, int selEnd) {
    m_edits.setSelection(field, selStart, selEnd);
}

void StepTimesForm::sliderDrawn(int position) {
    m_range.timeValue = position;
}

std::u16string StepTimesForm::timeCaption() const {
    return decimalText(static_cast<int>((kStepTimeUnit * m_range.timeValue).count()));
}

void StepTimesForm::onChange(Field field) {
    if (field == Field::StepFrom) {
        onStepFromChanged();
    } else {
        onStepToChanged();
    }
}

void StepTimesForm::onStepFromChanged() {
    const std::optional<int> value = readRangeField(edit(Field::StepFrom).text);
    if (!value) {
        return;
    }
    if (isInStepRange(*value)) {
        m_range.stepFrom = *value;
        m_range.stepTo = std::max(m_range.stepTo, *value);
    }
    showRange();
}

void StepTimesForm::onStepToChanged() {
    const std::u16string& text = edit(Field::StepTo).text;
    const std::optional<int> value = readRangeField(text);
    if (!value) {
        return;
    }
    const int read = isInStepRange(*value) ? *value : readRangeEndRetry(text, *value);
    m_range.stepTo = std::max(read, m_range.stepFrom);
    showRange();
}

void StepTimesForm::showRange() {
    m_edits.show(
        [this](Field field) {
            return field == Field::StepFrom ? m_range.stepFrom : m_range.stepTo;
        },
        [this](Field field) { onChange(field); });
}

} // namespace tevra

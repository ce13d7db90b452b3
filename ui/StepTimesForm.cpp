#include "ui/StepTimesForm.h"

#include <algorithm>
#include <string>

namespace tevra {

namespace {

// The time caption is in ms; the slider counts units of 10 ms.
constexpr int kMillisPerTimeUnit = 10;

std::u16string decimal(int value) {
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

} // namespace

void StepTimesForm::setRange(const StepTimesRange& range) {
    m_range = range;
}

void StepTimesForm::start() {
    showRange();
}

void StepTimesForm::editChanged(Field field, std::u16string_view text, int selStart, int selEnd) {
    EditText& edit = editRef(field);
    edit.text = text;
    edit.selStart = selStart;
    edit.selEnd = selEnd;
    onChange(field);
}

void StepTimesForm::setSelection(Field field, int selStart, int selEnd) {
    EditText& edit = editRef(field);
    edit.selStart = selStart;
    edit.selEnd = selEnd;
}

void StepTimesForm::sliderDrawn(int position) {
    m_range.timeValue = position;
}

const EditText& StepTimesForm::edit(Field field) const {
    return m_edits[static_cast<std::size_t>(field)];
}

std::u16string StepTimesForm::timeCaption() const {
    return decimal(m_range.timeValue * kMillisPerTimeUnit);
}

EditText& StepTimesForm::editRef(Field field) {
    return m_edits[static_cast<std::size_t>(field)];
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
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const std::u16string text =
            decimal(field == Field::StepFrom ? m_range.stepFrom : m_range.stepTo);
        EditText& target = editRef(field);
        if (target.text == text) {
            continue;
        }
        target.text = text;
        target.selStart = 0;
        target.selEnd = 0;
        onChange(field);
    }
}

} // namespace tevra

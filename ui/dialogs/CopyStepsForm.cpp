#include "ui/dialogs/CopyStepsForm.h"

#include <algorithm>

namespace tevra {

void CopyStepsForm::setRange(const CopyRange& range) {
    m_range = range;
}

void CopyStepsForm::start() {
    showRange();
}

void CopyStepsForm::editChanged(Field field, std::u16string_view text, int selStart, int selEnd) {
    m_edits.setText(field, text, selStart, selEnd);
    onChange(field);
}

void CopyStepsForm::setSelection(Field field, int selStart, int selEnd) {
    m_edits.setSelection(field, selStart, selEnd);
}

void CopyStepsForm::onChange(Field field) {
    switch (field) {
    case Field::SourceFrom:
        onSourceFromChanged();
        break;
    case Field::SourceTo:
        onSourceToChanged();
        break;
    case Field::DestFrom:
        onDestFromChanged();
        break;
    case Field::DestTo:
        break;
    }
}

void CopyStepsForm::onSourceFromChanged() {
    const std::optional<int> value = readRangeField(edit(Field::SourceFrom).text);
    if (!value) {
        return;
    }
    const int v = *value;
    if (isInStepRange(v)) {
        m_range.sourceFrom = v;
        if (v > m_range.sourceTo) {
            m_range.sourceTo = v;
            m_range.destTo = m_range.destFrom;
        } else {
            m_range.destTo = std::min(kRangeLastStep, m_range.destFrom + (m_range.sourceTo - v));
        }
    }
    showRange();
}

void CopyStepsForm::onSourceToChanged() {
    const std::u16string& text = edit(Field::SourceTo).text;
    const std::optional<int> value = readRangeField(text);
    if (!value) {
        return;
    }
    if (isInStepRange(*value)) {
        m_range.sourceTo = std::max(*value, m_range.sourceFrom);
        m_range.destTo =
            std::min(kRangeLastStep, m_range.destFrom + (m_range.sourceTo - m_range.sourceFrom));
    } else {
        // destTo follows on the pass that the rewrite of this edit starts.
        m_range.sourceTo = std::max(readRangeEndRetry(text, *value), m_range.sourceFrom);
    }
    showRange();
}

void CopyStepsForm::onDestFromChanged() {
    const std::optional<int> value = readRangeField(edit(Field::DestFrom).text);
    if (!value) {
        return;
    }
    if (isInStepRange(*value)) {
        m_range.destFrom = *value;
        m_range.destTo = std::min(kRangeLastStep, *value + (m_range.sourceTo - m_range.sourceFrom));
    }
    showRange();
}

void CopyStepsForm::showRange() {
    const EditText saved = edit(Field::SourceTo);
    m_edits.show([this](Field field) { return number(field); },
                 [this](Field field) { onChange(field); });
    // The source-end edit gets its selection back, clamped to its text as the control does.
    const int length = static_cast<int>(edit(Field::SourceTo).text.size());
    m_edits.setSelection(Field::SourceTo, std::min(saved.selStart, length),
                         std::min(saved.selEnd, length));
}

int CopyStepsForm::number(Field field) const {
    switch (field) {
    case Field::SourceFrom:
        return m_range.sourceFrom;
    case Field::SourceTo:
        return m_range.sourceTo;
    case Field::DestFrom:
        return m_range.destFrom;
    case Field::DestTo:
        break;
    }
    return m_range.destTo;
}

} // namespace tevra

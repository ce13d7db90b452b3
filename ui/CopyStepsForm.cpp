#include "ui/CopyStepsForm.h"

#include <algorithm>
#include <string>

namespace tevra {

namespace {

// What "%d" skips before a number.
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Only the first two characters are tried again when the end field is out of range.
constexpr std::size_t kRetryChars = 2;

std::u16string decimal(int value) {
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

} // namespace

std::optional<int> parseLeadingInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size() || !isDigit(text[i])) {
        return std::nullopt;
    }
    // Callers pass a few characters only, so the value cannot overflow.
    int value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - u'0');
    }
    return negative ? -value : value;
}

std::optional<int> readRangeField(std::u16string_view text) {
    return parseLeadingInt(text.substr(0, std::min(text.size(), kRangeFieldChars)));
}

int readRangeEndRetry(std::u16string_view text, int firstValue) {
    const std::u16string_view read = text.substr(0, std::min(text.size(), kRangeFieldChars));
    return parseLeadingInt(read.substr(0, std::min(read.size(), kRetryChars))).value_or(firstValue);
}

bool isInStepRange(int value) {
    return value >= kRangeFirstStep && value <= kRangeLastStep;
}

void CopyStepsForm::setRange(const CopyRange& range) {
    m_range = range;
}

void CopyStepsForm::start() {
    showRange();
}

void CopyStepsForm::editChanged(Field field, std::u16string_view text, int selStart, int selEnd) {
    EditText& edit = editRef(field);
    edit.text = text;
    edit.selStart = selStart;
    edit.selEnd = selEnd;
    onChange(field);
}

void CopyStepsForm::setSelection(Field field, int selStart, int selEnd) {
    EditText& edit = editRef(field);
    edit.selStart = selStart;
    edit.selEnd = selEnd;
}

const EditText& CopyStepsForm::edit(Field field) const {
    return m_edits[static_cast<std::size_t>(field)];
}

EditText& CopyStepsForm::editRef(Field field) {
    return m_edits[static_cast<std::size_t>(field)];
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
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const int number = field == Field::SourceFrom ? m_range.sourceFrom
                           : field == Field::SourceTo ? m_range.sourceTo
                           : field == Field::DestFrom ? m_range.destFrom
                                                      : m_range.destTo;
        const std::u16string text = decimal(number);
        EditText& target = editRef(field);
        if (target.text == text) {
            continue;
        }
        target.text = text;
        target.selStart = 0;
        target.selEnd = 0;
        onChange(field);
    }
    // The source-end edit gets its selection back, clamped to its text as the control does.
    EditText& sourceTo = editRef(Field::SourceTo);
    const int length = static_cast<int>(sourceTo.text.size());
    sourceTo.selStart = std::min(saved.selStart, length);
    sourceTo.selEnd = std::min(saved.selEnd, length);
}

} // namespace tevra

#include "ui/dialogs/PatternForm.h"

#include <sstream>

namespace tevra {

namespace {} // namespace

PatternForm::PatternForm(const ProgramImage& program, const CellRange& range)
    : m_program(program), m_range(range) {
    refreshed();
}

void PatternForm::choose(const PatternChoices& choices) {
    m_choices = choices;
    refreshed();
}

void PatternForm::refreshed() {
    m_preview = m_program;
    m_refusal.reset();
    if (m_choices.useTempo) {
        m_refusal = m_tempo.refusal(m_range.stepCount());
    }
    if (!m_refusal) {
        m_refusal = applyGeneration(m_preview, generation());
    }
    if (m_refusal) {
        m_preview = m_program;
    }
}

Generation PatternForm::generation() const {
    Generation generation;
    generation.shape = {m_choices.pattern, m_choices.width, m_choices.gap, m_choices.density,
                        m_choices.seed};
    generation.on = cellValue(m_choices.on);
    generation.off = cellValue(m_choices.off);
    generation.background = m_choices.background;
    for (int i = 0; i < m_range.channelCount(); ++i) {
        generation.channels.push_back(m_choices.reversed ? m_range.lastChannel - i
                                                         : m_range.firstChannel + i);
    }
    generation.firstStep = m_range.firstStep;
    generation.lastStep = m_range.lastStep;
    if (const std::optional<StepTempo> tempo = m_tempo.tempo(); m_choices.useTempo && tempo) {
        generation.timing = *tempo;
    }
    return generation;
}

std::string PatternForm::editName() const {
    std::ostringstream name;
    name << "узор " << kPatternNames[static_cast<std::size_t>(m_choices.pattern)].name << ' '
         << m_range.channelCount() << " × " << m_range.stepCount();
    return name.str();
}

CellValue PatternForm::cellValue(const ValueChoice& choice) {
    switch (choice.kind) {
    case ValueKind::Keep:
        return {true, 0};
    case ValueKind::Off:
        return kOffValue;
    case ValueKind::On:
        return kOnValue;
    case ValueKind::Level:
        return {false, cellWithLevel(static_cast<std::uint8_t>(ChannelMode::Level), choice.level)};
    case ValueKind::DimmerDark:
        return {false, dimmerCell(ChannelMode::DimmerDark, choice.dimmerPosition)};
    case ValueKind::DimmerLit:
        return {false, dimmerCell(ChannelMode::DimmerLit, choice.dimmerPosition)};
    case ValueKind::DimmerRamp:
        return {false, dimmerCell(ChannelMode::DimmerRamp, choice.dimmerPosition)};
    }
    return kOffValue;
}

std::string PatternForm::speedText(int dimmerPosition) {
    std::ostringstream text;
    text << dimmerMillis(dimmerCell(ChannelMode::DimmerDark, dimmerPosition)) << " mS";
    return text.str();
}

} // namespace tevra

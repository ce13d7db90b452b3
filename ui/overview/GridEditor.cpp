#include "ui/overview/GridEditor.h"

#include "model/ClipboardText.h"

#include <algorithm>

namespace tevra {

namespace {

constexpr const char* kTooManySteps = "Больше 500 шагов в программе быть не может";
constexpr const char* kTooFewSteps = "Меньше 2 шагов в программе оставить нельзя";

// "16 × 8": channels by steps, as the grid shows them.
std::string sizeText(int channels, int steps) {
    std::string text = std::to_string(channels);
    text += " × ";
    text += std::to_string(steps);
    return text;
}

std::string named(std::string_view verb, const CellRange& range) {
    std::string name(verb);
    name += ' ';
    name += sizeText(range.channelCount(), range.stepCount());
    return name;
}

// Both counts in cells, so a block clipped at both edges reads as one measure.
std::string droppedText(const PasteOutcome& dropped) {
    if (dropped.cellsPastLastStep == 0 && dropped.cellsPastLastChannel == 0) {
        return {};
    }
    std::string text = "Не поместилось ячеек:";
    if (dropped.cellsPastLastStep > 0) {
        text += " после 500-го шага — ";
        text += std::to_string(dropped.cellsPastLastStep);
    }
    if (dropped.cellsPastLastChannel > 0) {
        text += dropped.cellsPastLastStep > 0 ? "," : "";
        text += " после 16-го канала — ";
        text += std::to_string(dropped.cellsPastLastChannel);
    }
    return text;
}

} // namespace

GridEditor::GridEditor(EditorPresenter& editor, GridSelection& selection)
    : m_editor(editor), m_selection(selection) {}

std::uint8_t GridEditor::levelCell(int level) {
    return cellWithLevel(static_cast<std::uint8_t>(ChannelMode::Level), level);
}

GridOutcome GridEditor::edit(std::string_view name,
                             const std::function<bool(ProgramImage&)>& change,
                             std::string refusal) {
    bool refused = false;
    const bool changed = m_editor.applyEdit(name, [&](ProgramImage& image) {
        refused = !change(image);
        return !refused;
    });
    return {changed, refused ? std::move(refusal) : std::string()};
}

bool GridEditor::hasSteps() const {
    return m_editor.model().working().stepCount() > 0;
}

GridOutcome GridEditor::editSelection(std::string_view name,
                                      const std::function<bool(ProgramImage&)>& change,
                                      std::string refusal) {
    if (!hasSteps()) {
        return {false, kNoStepsText};
    }
    return edit(name, change, std::move(refusal));
}

GridOutcome GridEditor::fill(std::uint8_t cell) {
    const CellRange range = m_selection.target();
    return editSelection(named("заполнение", range), [&](ProgramImage& image) {
        fillCells(image, range, cell);
        return true;
    });
}

GridOutcome GridEditor::clear() {
    const CellRange range = m_selection.target();
    return editSelection(named("очистка", range), [&](ProgramImage& image) {
        fillCells(image, range, static_cast<std::uint8_t>(ChannelMode::Off));
        return true;
    });
}

CellBlock GridEditor::copy() const {
    if (!hasSteps()) {
        return {};
    }
    return CellBlock::copiedFrom(m_editor.model().working(), m_selection.target());
}

GridOutcome GridEditor::cut() {
    const CellRange range = m_selection.target();
    return editSelection(named("вырезание", range), [&](ProgramImage& image) {
        fillCells(image, range, static_cast<std::uint8_t>(ChannelMode::Off));
        return true;
    });
}

GridOutcome GridEditor::paste(const CellBlock& block, int times) {
    std::string name = "вставка ";
    name += sizeText(block.channels(), block.steps());
    if (times > 1) {
        name += ", раз: ";
        name += std::to_string(times);
    }
    if (!hasSteps()) {
        return {false, kNoStepsText};
    }
    PasteOutcome dropped;
    GridOutcome outcome = edit(name, [&](ProgramImage& image) {
        dropped =
            pasteBlock(image, block, m_selection.cursorStep(), m_selection.cursorChannel(), times);
        return true;
    });
    outcome.message = droppedText(dropped);
    return outcome;
}

GridOutcome GridEditor::pasteAsSteps(const CellBlock& block) {
    std::string name = "вставка шагов: ";
    name += std::to_string(block.steps());
    // Whole columns go back to whole columns; a part of them to the cursor's channel.
    const int channel = block.times().empty() ? m_selection.cursorChannel() : 0;
    return edit(
        name,
        [&](ProgramImage& image) {
            // A program without steps has none to insert after: the cursor stands on step 1
            // only to be seen.
            const int step = std::min(m_selection.cursorStep(), image.stepCount());
            const auto time = step > 0 ? image.stepTime(step) : kDefaultStepTime;
            return insertBlockSteps(image, block, step, channel, 1, time);
        },
        kTooManySteps);
}

GridOutcome GridEditor::pasteText(std::string_view nativeText, std::string_view plainText,
                                  bool asSteps, int times) {
    const ParsedBlock parsed =
        nativeText.empty() ? blockFromText(plainText) : blockFromNativeText(nativeText);
    if (!parsed.block) {
        return {false, parsed.error};
    }
    return asSteps ? pasteAsSteps(*parsed.block) : paste(*parsed.block, times);
}

GridOutcome GridEditor::shift(ShiftDirection direction) {
    constexpr const char* kNames[] = {"сдвиг вверх", "сдвиг вниз", "сдвиг влево", "сдвиг вправо"};
    const CellRange range = m_selection.target();
    return editSelection(kNames[static_cast<int>(direction)], [&](ProgramImage& image) {
        shiftCells(image, range, direction);
        return true;
    });
}

GridOutcome GridEditor::duplicateSteps() {
    const CellRange range = m_selection.target();
    return editSelection(
        "повтор шагов",
        [&](ProgramImage& image) {
            return tevra::duplicateSteps(image, range.firstStep, range.lastStep);
        },
        kTooManySteps);
}

GridOutcome GridEditor::deleteSteps() {
    const CellRange range = m_selection.target();
    GridOutcome outcome = editSelection(
        "удаление шагов",
        [&](ProgramImage& image) {
            return tevra::deleteSteps(image, range.firstStep, range.lastStep);
        },
        kTooFewSteps);
    if (outcome.changed) {
        m_selection.clear();
    }
    return outcome;
}

GridOutcome GridEditor::reverseSteps() {
    const CellRange range = m_selection.target();
    return editSelection("обращение шагов", [&](ProgramImage& image) {
        tevra::reverseSteps(image, range.firstStep, range.lastStep);
        return true;
    });
}

GridOutcome GridEditor::setStepTimes(int time) {
    const CellRange range = m_selection.target();
    return editSelection("время шагов", [&](ProgramImage& image) {
        return tevra::setStepTimes(image, range.firstStep, range.lastStep, time);
    });
}

GridOutcome GridEditor::generate(const Generation& generation, std::string_view name) {
    std::optional<std::string> refusal;
    GridOutcome outcome = edit(name, [&](ProgramImage& image) {
        refusal = applyGeneration(image, generation);
        return !refusal;
    });
    outcome.message = refusal.value_or(std::string());
    return outcome;
}

GridOutcome GridEditor::setTimesFromTempo(const StepTempo& tempo, std::string_view name) {
    const CellRange range = m_selection.target();
    if (auto refusal = tempo.refusal(range.stepCount())) {
        return {false, std::move(*refusal)};
    }
    return edit(name, [&](ProgramImage& image) {
        tempo.writeTimes(image, range.firstStep, range.lastStep);
        return true;
    });
}

GridOutcome GridEditor::undo() {
    return {m_editor.undoChange(), {}};
}

GridOutcome GridEditor::redo() {
    return {m_editor.redoChange(), {}};
}

GridOutcome GridEditor::selectAll() {
    m_selection.selectAll(m_editor.model().working().stepCount());
    return {};
}

std::string GridEditor::undoToolTip() const {
    return historyToolTip(kUndoText, m_editor.model().nextUndoName());
}

std::string GridEditor::redoToolTip() const {
    return historyToolTip(kRedoText, m_editor.model().nextRedoName());
}

std::string GridEditor::historyToolTip(const char* command, const std::string& entry) {
    std::string text = command;
    if (!entry.empty()) {
        text += ": ";
        text += entry;
    }
    return text;
}

} // namespace tevra

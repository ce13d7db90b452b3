#include "model/EditorModel.h"

#include "model/ChannelCell.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tevra {

namespace {

bool withinSteps(int step) {
    return step >= 1 && step <= kMaxSteps;
}

} // namespace

EditorModel::EditorModel(UndoLimits undoLimits)
    : m_working(ProgramImage::startProgram()), m_undo(m_working), m_import(m_working),
      m_savedImage(m_working), m_history(undoLimits), m_recorded(m_working) {}

void EditorModel::setCurrentStep(int step) {
    moveTo(std::clamp(step, 1, kMaxSteps), m_selectedChannel);
}

void EditorModel::selectChannel(int channel) {
    moveTo(m_currentStep, std::clamp(channel, 0, kChannelCount - 1));
}

void EditorModel::moveTo(int step, int channel) {
    // A run of keys or drags elsewhere is a gesture of its own.
    if (step != m_currentStep || channel != m_selectedChannel) {
        m_history.endGesture();
    }
    m_currentStep = step;
    m_selectedChannel = channel;
}

void EditorModel::resetPosition() {
    m_currentStep = 1;
    m_selectedChannel = 0;
    notifyStepCount();
}

void EditorModel::setStepCountListener(std::function<void(int stepCount)> listener) {
    m_stepCountListener = std::move(listener);
}

void EditorModel::notifyStepCount() {
    if (m_stepCountListener) {
        m_stepCountListener(m_working.stepCount());
    }
}

int EditorModel::currentRecord() const {
    return std::clamp(m_currentStep, 1, kMaxSteps);
}

bool EditorModel::applyEdit(std::string_view name, const std::function<bool(ProgramImage&)>& edit) {
    const ProgramImage before = m_working;
    const ProgramImage snapshot = m_undo;
    const int snapshotStep = m_undoStep;
    bool changed = false;
    recordChange(name, [&] {
        // As the editor's own edits, so "Отменить действие" takes back no more than this one.
        takeSnapshot();
        changed = edit(m_working) && m_working != before;
        if (!changed) {
            m_working = before;
            m_undo = snapshot;
            m_undoStep = snapshotStep;
            return;
        }
        notifyStepCount();
    });
    return changed;
}

void EditorModel::recordChange(std::string_view name, const std::function<void()>& change,
                               std::string_view mergeKey) {
    if (m_changeDepth > 0) {
        change();
        return;
    }
    const EditPlace before = place();
    ++m_changeDepth;
    try {
        change();
    } catch (...) {
        --m_changeDepth;
        throw;
    }
    --m_changeDepth;
    // Measured from the recorded state, so a slider's write-back since then joins this entry.
    m_history.record(name, m_recorded, m_working, before, place(), mergeKey);
    m_recorded = m_working;
}

bool EditorModel::undo() {
    return stepThroughHistory(false);
}

bool EditorModel::redo() {
    return stepThroughHistory(true);
}

bool EditorModel::stepThroughHistory(bool forward) {
    // From the recorded state, so redo gives the very bytes the change left.
    ProgramImage image = m_recorded;
    const std::optional<EditPlace> place = forward ? m_history.redo(image) : m_history.undo(image);
    if (!place) {
        return false;
    }
    m_working = image;
    m_recorded = image;
    setCurrentStep(place->step);
    selectChannel(place->channel);
    notifyStepCount();
    return true;
}

void EditorModel::takeSnapshot() {
    m_undoStep = m_currentStep;
    m_undo = m_working;
}

void EditorModel::restoreSnapshot() {
    recordChange("отмена действия", [this] {
        m_currentStep = m_undoStep;
        m_working = m_undo;
        notifyStepCount();
    });
}

bool EditorModel::adjustStepCount(int delta) {
    const int count = m_working.stepCount() + delta;
    if (delta == 0 || (delta > 0 && count > kMaxSteps) ||
        (delta < 0 && count < kMinEditedStepCount)) {
        return false;
    }
    recordChange("число шагов", [&] {
        m_working.setStepCount(count);
        notifyStepCount();
    });
    return true;
}

bool EditorModel::insertStep() {
    if (m_working.stepCount() + 1 > kMaxSteps) {
        return false;
    }
    recordChange("вставка шага", [this] {
        takeSnapshot();
        m_working.setStepCount(m_working.stepCount() + 1);
        // Up to record 500 whatever the count: records beyond it shift too and the old 500 is
        // lost.
        const int from = currentRecord();
        for (int step = kMaxSteps; step > from; --step) {
            m_working.copyRecord(step, m_working, step - 1);
        }
        nextStep();
        notifyStepCount();
    });
    return true;
}

bool EditorModel::deleteStep() {
    if (m_working.stepCount() <= kMinEditedStepCount) {
        return false;
    }
    recordChange("удаление шага", [this] {
        takeSnapshot();
        for (int step = currentRecord(); step < kMaxSteps; ++step) {
            m_working.copyRecord(step, m_working, step + 1);
        }
        // Record 500 keeps its time: only its cells are cleared.
        m_working.clearCells(kMaxSteps);
        m_working.setStepCount(m_working.stepCount() - 1);
        notifyStepCount();
    });
    return true;
}

bool EditorModel::nextStep() {
    if (m_currentStep >= m_working.stepCount()) {
        return false;
    }
    moveTo(m_currentStep + 1, m_selectedChannel);
    return true;
}

bool EditorModel::previousStep() {
    if (m_currentStep <= 1) {
        return false;
    }
    moveTo(m_currentStep - 1, m_selectedChannel);
    return true;
}

bool EditorModel::nudgeStepTime(int direction) {
    // int arithmetic: a time loaded from a file may lie anywhere in 0..65535.
    const int time = m_working.stepTime(currentRecord());
    int next = time;
    if (direction > 0 && time < kMaxStepTime) {
        next = time + 1;
    } else if (direction < 0 && time > kMinStepTime) {
        next = time - 1;
    }
    if (next == time) {
        return false;
    }
    // A run of presses on one step is one entry, as a slider's run of keys is.
    recordChange(
        "время шага",
        [&] { m_working.setStepTime(currentRecord(), static_cast<std::uint16_t>(next)); },
        "время шага " + std::to_string(currentRecord()));
    return true;
}

std::optional<ShiftRefusal> EditorModel::shiftAllTimes(int delta) {
    std::optional<ShiftRefusal> refusal;
    recordChange("время всех шагов", [&] {
        takeSnapshot();
        const int count = m_working.stepCount();
        for (int step = 1; step <= count; ++step) {
            // int arithmetic, so a stored time of 0..4 fails "-50mS" instead of wrapping
            // around. Each direction checks only the limit it moves towards: a time from a file
            // may lie beyond the other one and still be shifted back into range.
            const int shifted = m_working.stepTime(step) + delta;
            if (delta > 0 ? shifted > kMaxStepTime : shifted < kMinStepTime) {
                m_working = m_undo;
                notifyStepCount();
                m_currentStep = step;
                refusal = ShiftRefusal{step, delta > 0};
                return;
            }
            m_working.setStepTime(step, static_cast<std::uint16_t>(shifted));
        }
    });
    return refusal;
}

void EditorModel::setStepTimes(const StepTimesRange& range) {
    if (!withinSteps(range.stepFrom) || !withinSteps(range.stepTo) ||
        range.stepFrom > range.stepTo || range.timeValue < kMinStepTime ||
        range.timeValue > kMaxStepTime) {
        return;
    }
    recordChange("время шагов", [&] {
        takeSnapshot();
        for (int step = range.stepFrom; step <= range.stepTo; ++step) {
            m_working.setStepTime(step, static_cast<std::uint16_t>(range.timeValue));
        }
        if (m_working.stepCount() < range.stepTo) {
            m_working.setStepCount(range.stepTo);
        }
        notifyStepCount();
    });
}

void EditorModel::copySteps(const ProgramImage& source, const CopyRange& range) {
    const int length = range.destTo - range.destFrom + 1;
    if (!withinSteps(range.destFrom) || !withinSteps(range.destTo) || length < 1 ||
        !withinSteps(range.sourceFrom) || !withinSteps(range.sourceFrom + length - 1)) {
        return;
    }
    recordChange("копирование шагов", [&] {
        takeSnapshot();
        // One record at a time in rising order: within one image an overlapping destination
        // reads records already written, which repeats the head of the source range.
        for (int k = 0; k < length; ++k) {
            m_working.copyRecord(range.destFrom + k, source, range.sourceFrom + k);
        }
        if (m_working.stepCount() < range.destTo) {
            m_working.setStepCount(range.destTo);
        }
        notifyStepCount();
    });
}

void EditorModel::beginInsertFromFile() {
    takeSnapshot();
}

void EditorModel::finishInsertFromFile(const CopyRange& range) {
    recordChange("вставка из файла", [&] { copySteps(m_import, range); });
}

void EditorModel::setTimeFromDimmer(int dimmerSliderPosition) {
    recordChange("время шага как диммер", [&] {
        takeSnapshot();
        m_working.setStepTime(currentRecord(), stepTimeForDimmerSlider(dimmerSliderPosition));
    });
}

void EditorModel::setStartBlock(bool on) {
    recordChange("старт блок", [&] { m_working.setStartBlock(on); });
}

std::uint8_t EditorModel::currentCell() const {
    return m_working.cell(currentRecord(), m_selectedChannel);
}

void EditorModel::setCurrentCell(std::uint8_t cell) {
    m_working.setCell(currentRecord(), m_selectedChannel, cell);
}

std::uint16_t EditorModel::currentStepTime() const {
    return m_working.stepTime(currentRecord());
}

void EditorModel::setCurrentStepTime(std::uint16_t time) {
    m_working.setStepTime(currentRecord(), std::clamp(time, kMinStepTime, kMaxStepTime));
}

void EditorModel::applyChannelButton(int channel, ChannelButton which, int stateAfterClick) {
    selectChannel(channel);
    recordChange("канал " + std::to_string(channel + 1), [&] {
        takeSnapshot();
        const std::uint8_t cell = currentCell();
        setCurrentCell(which == ChannelButton::Primary
                           ? modeFromPrimaryState(cell, stateAfterClick)
                           : modeFromSecondaryState(cell, stateAfterClick));
    });
}

bool EditorModel::isModified() const {
    if (m_working.headerWord() != m_savedImage.headerWord()) {
        return true;
    }
    const std::size_t used =
        kHeaderSize +
        kStepRecordSize * static_cast<std::size_t>(std::min(m_working.stepCount(), kMaxSteps));
    return std::memcmp(m_working.bytes().data(), m_savedImage.bytes().data(), used) != 0;
}

void EditorModel::markUnmodified() {
    m_savedImage = m_working;
}

} // namespace tevra

#pragma once

#include "model/ProgramImage.h"
#include "model/UndoHistory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// Numbers chosen in the copy-steps dialog. sourceTo only shaped destTo; the copy ignores it.
struct CopyRange {
    int sourceFrom = 1;
    int sourceTo = 2;
    int destFrom = 3;
    int destTo = 4;
};

// Numbers chosen in the step-times dialog; timeValue in units of 10 ms.
struct StepTimesRange {
    int stepFrom = 1;
    int stepTo = 2;
    int timeValue = kDefaultStepTime;
};

enum class ChannelButton { Primary, Secondary };

// Why "+50mS" / "-50mS" was refused: the first step whose time would leave 5..2560.
struct ShiftRefusal {
    int step = 0;
    bool longer = false; // true for +50 ms (too long), false for -50 ms (too short)
};

// The editor's whole program state: the working, undo and import images, the editing
// position and the undo history. Every editing operation with its snapshot rule and refusals
// lives here, and each change it makes to the program is one history entry; dialogs are run
// by the window, which hands their numbers in.
class EditorModel {
public:
    explicit EditorModel(UndoLimits undoLimits = {});

    const ProgramImage& working() const { return m_working; }
    const ProgramImage& undoImage() const { return m_undo; }
    const ProgramImage& importImage() const { return m_import; }
    // File reads fill these directly; a read takes no snapshot.
    ProgramImage& workingForRead() { return m_working; }
    ProgramImage& importForRead() { return m_import; }

    int currentStep() const { return m_currentStep; }
    int undoStep() const { return m_undoStep; }
    int selectedChannel() const { return m_selectedChannel; }
    // Clamped to 1..kMaxSteps.
    void setCurrentStep(int step);
    // Clamped to 0..kChannelCount-1.
    void selectChannel(int channel);
    // After "Прочитать": step 1, channel 0, selector range follows the count.
    void resetPosition();

    // Called whenever stepCount may have changed, so the step selector's range can follow.
    void setStepCountListener(std::function<void(int stepCount)> listener);

    EditPlace place() const { return {m_currentStep, m_selectedChannel}; }

    // Runs edit on the working image as one history entry, with a snapshot before it as the
    // editor's edits take. When it returns false the image is put back as it was; true when
    // the program changed.
    bool applyEdit(std::string_view name, const std::function<bool(ProgramImage&)>& edit);
    // Whatever change does to the program becomes one history entry; changes it makes through
    // this model's own operations join it. Consecutive changes with the same non-empty
    // mergeKey make one entry until endGesture.
    void recordChange(std::string_view name, const std::function<void()>& change,
                      std::string_view mergeKey = {});
    void endGesture() { m_history.endGesture(); }

    const UndoHistory& undoHistory() const { return m_history; }
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    std::string nextUndoName() const { return m_history.nextUndoName(); }
    std::string nextRedoName() const { return m_history.nextRedoName(); }
    // Back or forward one entry: the program and the place it was made at (redo: left at).
    // False when there is none.
    bool undo();
    bool redo();

    void takeSnapshot();
    // "Отменить действие": back to the one snapshot, however often it is pressed.
    void restoreSnapshot();
    // Each returns false when refused (the model is then untouched).
    bool adjustStepCount(int delta);
    bool insertStep();
    bool deleteStep();
    bool nextStep();
    bool previousStep();
    bool nudgeStepTime(int direction);
    // delta +5 or -5 units; on refusal the image is back as before and currentStep is the
    // failing step.
    std::optional<ShiftRefusal> shiftAllTimes(int delta);
    void setStepTimes(const StepTimesRange& range);
    // Reads each record of source as it stands at that moment, so source may be working().
    void copySteps(const ProgramImage& source, const CopyRange& range);
    // insertFromFile after the file was read (or its dialog cancelled): the snapshot taken
    // before the copy dialog, then on confirm the copy from the import image.
    void beginInsertFromFile();
    void finishInsertFromFile(const CopyRange& range);
    void setTimeFromDimmer(int dimmerSliderPosition);
    void setStartBlock(bool on);

    // The cell (currentStep, selectedChannel) and the current record's time. Not snapshotted.
    std::uint8_t currentCell() const;
    void setCurrentCell(std::uint8_t cell);
    std::uint16_t currentStepTime() const;
    void setCurrentStepTime(std::uint16_t time);
    // A channel button click: snapshot, then the mode from the button's new state.
    void applyChannelButton(int channel, ChannelButton which, int stateAfterClick);

    // Whether the used part of the program differs from the last start, save or load.
    bool isModified() const;
    void markUnmodified();

private:
    void notifyStepCount();
    bool stepThroughHistory(bool forward);
    void moveTo(int step, int channel);
    // currentStep as a record index that is always valid, even beyond a lowered count.
    int currentRecord() const;

    ProgramImage m_working;
    ProgramImage m_undo;
    ProgramImage m_import;
    ProgramImage m_savedImage;
    int m_currentStep = 1;
    int m_undoStep = 1;
    int m_selectedChannel = 0;
    std::function<void(int)> m_stepCountListener;
    UndoHistory m_history;
    // The program as the history's position holds it; changes are measured against it.
    ProgramImage m_recorded;
    int m_changeDepth = 0;
};

} // namespace tevra

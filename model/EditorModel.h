#pragma once

#include "model/ProgramImage.h"

#include <cstdint>
#include <functional>
#include <optional>

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

// The editor's whole program state: the working, undo and import images and the editing
// position. Every editing operation with its snapshot rule and refusals lives here; dialogs
// are run by the window, which hands their numbers in.
class EditorModel {
public:
    EditorModel();

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

    void takeSnapshot();
    void undo();
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
};

} // namespace tevra

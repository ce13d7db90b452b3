#pragma once

#include "model/CellBlock.h"
#include "model/ChannelCell.h"
#include "model/Generation.h"
#include "model/GridEdits.h"
#include "ui/editor/EditorPresenter.h"
#include "ui/overview/GridSelection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tevra {

inline constexpr const char* kUndoText = "Отменить";
inline constexpr const char* kRedoText = "Повторить";
inline constexpr const char* kNoStepsText = "В программе нет шагов";

// How an operation went: whether the program changed, and what the status line should say
// (a refusal, what a paste dropped); empty when there is nothing to say.
struct GridOutcome {
    bool changed = false;
    std::string message;

    bool operator==(const GridOutcome&) const = default;
};

// The overview's edits on its selection, without any toolkit. Each goes through the editor
// as one history entry, so the editor follows and Ctrl+Z in either window takes it back.
class GridEditor {
public:
    GridEditor(EditorPresenter& editor, GridSelection& selection);

    // The cell the editor makes for a brightness level 1..32.
    static std::uint8_t levelCell(int level);

    GridOutcome fill(std::uint8_t cell);
    // Delete: every selected cell Off.
    GridOutcome clear();
    // Empty in a program without steps.
    CellBlock copy() const;
    GridOutcome cut();
    // From the cursor on, times copies along the steps; what passes step 500 or the last
    // channel is dropped and told.
    GridOutcome paste(const CellBlock& block, int times = 1);
    // As new steps after the cursor's step.
    GridOutcome pasteAsSteps(const CellBlock& block);
    // Clipboard contents: the application's own text when there is one, else plain text.
    GridOutcome pasteText(std::string_view nativeText, std::string_view plainText, bool asSteps,
                          int times = 1);

    GridOutcome shift(ShiftDirection direction);
    GridOutcome duplicateSteps();
    GridOutcome deleteSteps();
    GridOutcome reverseSteps();
    // time in units of 10 ms.
    GridOutcome setStepTimes(int time);
    // The pattern and tempo dialogs' results, each one entry under the dialog's name; a
    // refusal changes nothing and is told.
    GridOutcome generate(const Generation& generation, std::string_view name);
    GridOutcome setTimesFromTempo(const StepTempo& tempo, std::string_view name);
    // What those dialogs open on.
    const ProgramImage& program() const { return m_editor.model().working(); }
    CellRange target() const { return m_selection.target(); }

    GridOutcome undo();
    GridOutcome redo();
    bool canUndo() const { return m_editor.model().canUndo(); }
    bool canRedo() const { return m_editor.model().canRedo(); }
    // Ctrl+A: every step there is, every channel.
    GridOutcome selectAll();
    // "Отменить: вставка 16 × 8", or the bare command when there is nothing to undo.
    std::string undoToolTip() const;
    std::string redoToolTip() const;
    static std::string historyToolTip(const char* command, const std::string& entry);

private:
    GridOutcome edit(std::string_view verb, const std::function<bool(ProgramImage&)>& change,
                     std::string refusal = {});
    // Refused in a program without steps, whose cursor cell is a hidden record.
    GridOutcome editSelection(std::string_view name,
                              const std::function<bool(ProgramImage&)>& change,
                              std::string refusal = {});
    bool hasSteps() const;

    EditorPresenter& m_editor;
    GridSelection& m_selection;
};

} // namespace tevra

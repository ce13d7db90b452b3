#include "ui/overview/GridSelection.h"

#include "ui/overview/GridEditor.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace tevra {
namespace {

constexpr int kSteps = 20;
const GridHit kNowhere{};

TEST(GridSelectionTest, KeysClicksAndDragsSelectRectanglesWithinTheSteps) {
    struct Case {
        std::string name;
        std::function<void(GridSelection&)> input;
        std::string status;
        int cursorStep;
        int cursorChannel;
    };
    const std::vector<Case> cases{
        {"shift arrows",
         [](auto& s) {
             s.moveBy(1, 0, true, kSteps);
             s.moveBy(1, 0, true, kSteps);
             s.moveBy(0, 2, true, kSteps);
         },
         "Выделено: шаги 5–7, каналы 2–4", 7, 3},
        {"plain arrow clears",
         [](auto& s) {
             s.moveBy(1, 0, true, kSteps);
             s.moveBy(0, -5, false, kSteps);
         },
         "", 6, 0},
        {"end stays within the count", [](auto& s) { s.moveTo(kMaxSteps, 1, true, kSteps); },
         "Выделено: шаги 5–20, канал 2", kSteps, 1},
        {"header drag",
         [](auto& s) {
             s.press({12, std::nullopt}, false, kSteps);
             s.dragTo({5, std::nullopt}, kSteps);
             s.dragTo(kNowhere, kSteps);
         },
         "Выделено: шаги 5–12, каналы 1–16", 5, 1},
        {"row click",
         [](auto& s) {
             s.press({std::nullopt, 15}, false, kSteps);
         },
         "Выделено: шаги 1–20, канал 16", 5, 15},
        {"cell drag",
         [](auto& s) {
             s.press({3, 0}, false, kSteps);
             s.dragTo({2, 2}, kSteps);
         },
         "Выделено: шаги 2–3, каналы 1–3", 2, 2},
        {"all then escape",
         [](auto& s) {
             s.selectAll(kSteps);
             s.clear();
         },
         "", 5, 1},
        {"steps deleted under it",
         [](auto& s) {
             s.selectAll(kSteps);
             s.follow(3, 4, 8);
         },
         "Выделено: шаги 1–8, каналы 1–16", 3, 4},
        {"rows follow added steps",
         [](auto& s) {
             s.press({std::nullopt, 2}, false, kSteps);
             s.follow(5, 2, 30);
         },
         "Выделено: шаги 1–30, канал 3", 5, 2},
        {"anchor past the steps left",
         [](auto& s) {
             s.moveTo(2, 1, true, kSteps);
             s.follow(2, 1, 3);
             s.moveBy(1, 0, true, 3);
         },
         "Выделено: шаг 3, канал 2", 3, 1},
    };
    for (const Case& c : cases) {
        GridSelection selection;
        selection.follow(5, 1, kSteps);
        c.input(selection);
        EXPECT_EQ(selection.statusText(), c.status) << c.name;
        EXPECT_EQ(selection.cursorStep(), c.cursorStep) << c.name;
        EXPECT_EQ(selection.cursorChannel(), c.cursorChannel) << c.name;
    }
}

TEST(GridSelectionTest, MarksTheHeadersOfTheSelectedStepsAndChannelsOnly) {
    GridSelection selection;
    selection.follow(5, 1, kSteps);
    selection.moveTo(7, 3, true, kSteps);
    // A number, whether it is a marked step, whether it is a marked channel.
    const std::tuple<int, bool, bool> marks[] = {
        {0, false, false}, {1, false, true}, {3, false, true}, {4, false, false},
        {5, true, false},  {7, true, false}, {8, false, false}};
    for (const auto& [number, step, channel] : marks) {
        EXPECT_EQ(selection.coversStep(number), step) << number;
        EXPECT_EQ(selection.coversChannel(number), channel) << number;
    }
    selection.clear();
    EXPECT_FALSE(selection.coversStep(5) || selection.coversChannel(1));
}

TEST(GridEditorTest, EditsGoThroughTheEditorAsNamedEntriesAndTellRefusals) {
    EditorPresenter editor;
    GridSelection selection;
    GridEditor grid(editor, selection);
    selection.follow(1, 0, kSteps);
    selection.moveTo(8, kChannelCount - 1, true, kSteps);
    EXPECT_TRUE(grid.fill(GridEditor::levelCell(20)).changed);
    const CellBlock chase = grid.copy();
    EXPECT_EQ(grid.undoToolTip(), "Отменить: заполнение 16 × 8");

    selection.follow(495, 2, kMaxSteps);
    EXPECT_TRUE(editor.applyEdit("число", [](ProgramImage& image) {
        image.setStepCount(kMaxSteps);
        return true;
    }));
    EXPECT_EQ(grid.paste(chase), (GridOutcome{true, "Не поместилось ячеек: после 500-го шага — "
                                                    "32, после 16-го канала — 12"}));
    EXPECT_EQ(grid.pasteAsSteps(chase),
              (GridOutcome{false, "Больше 500 шагов в программе быть не может"}));
    EXPECT_EQ(grid.pasteText({}, "1\tx\n", false),
              (GridOutcome{false, "Строка 1, столбец 2: «x» не число от 0 до 255"}));
    EXPECT_EQ(grid.undoToolTip(), "Отменить: вставка 16 × 8");

    EXPECT_TRUE(grid.undo().changed);
    EXPECT_TRUE(grid.undo().changed);
    EXPECT_EQ(grid.redoToolTip(), "Повторить: число");
    EXPECT_EQ(editor.view().channels[0].primaryImage, ButtonImage::Ramp);
    EXPECT_EQ(editor.model().currentStep(), 1);
    EXPECT_TRUE(grid.undo().changed);
    EXPECT_FALSE(grid.undo().changed);
    EXPECT_EQ(grid.undoToolTip(), "Отменить");
    EXPECT_FALSE(editor.isModified());

    CellBlock pair(1, 2);
    pair.setCell(0, 0, 1);
    pair.setCell(0, 1, 1);
    selection.follow(1, kChannelCount - 1, kSteps);
    EXPECT_EQ(grid.paste(pair),
              (GridOutcome{true, "Не поместилось ячеек: после 16-го канала — 1"}));
}

// A program read without steps: pasted steps are its only ones, with the default time.
TEST(GridEditorTest, StepsPastedIntoAnEmptyProgramAreAllItHas) {
    EditorPresenter editor;
    GridSelection selection;
    GridEditor grid(editor, selection);
    EXPECT_TRUE(editor.applyEdit("пусто", [](ProgramImage& image) {
        image.setStepCount(0);
        return true;
    }));
    selection.follow(1, 0, 0);
    // Its records are hidden: nothing else touches them, and nothing is selected.
    for (const auto& refused : std::vector<std::function<GridOutcome()>>{
             [&] { return grid.fill(GridEditor::levelCell(20)); },
             [&] { return grid.pasteText({}, "1\t3\n", false); },
             [&] { return grid.duplicateSteps(); }}) {
        EXPECT_EQ(refused(), (GridOutcome{false, "В программе нет шагов"}));
    }
    EXPECT_EQ(grid.undoToolTip(), "Отменить: пусто");
    EXPECT_TRUE(grid.copy().empty());
    grid.selectAll();
    EXPECT_EQ(selection.statusText(), "");
    EXPECT_TRUE(grid.pasteText({}, "1\t3\n", true).changed);
    const ProgramImage& program = editor.model().working();
    EXPECT_EQ(program.stepCount(), 2);
    EXPECT_EQ(program.cell(1, 0), 1);
    EXPECT_EQ(program.cell(2, 0), 3);
    EXPECT_EQ(program.stepTime(2), kDefaultStepTime);
}

} // namespace
} // namespace tevra

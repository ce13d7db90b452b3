#include "ui/overview/GridSelection.h"

#include "ui/overview/GridEditor.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
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
    EXPECT_EQ(grid.paste(chase), (GridOutcome{true, "Не поместилось: шагов после 500-го: 2, "
                                                    "каналов после 16-го: 2"}));
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
}

} // namespace
} // namespace tevra

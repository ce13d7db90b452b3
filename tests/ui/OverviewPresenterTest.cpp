#include "ui/overview/OverviewPresenter.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace tevra {
namespace {

using BI = ButtonImage;

class OverviewPresenterTest : public testing::Test {
protected:
    ProgramImage& program() { return m_editor.model().workingForRead(); }

    EditorPresenter m_editor;
    std::chrono::microseconds m_now{0};
    OverviewPresenter m_overview{m_editor, [this] { return m_now; }};
};

// Channel 9 of step 3 in each mode, with speed code 6 (420 ms) or level 7: the editor's button
// faces (the secondary only where the editor shows it), its words and its captions.
TEST_F(OverviewPresenterTest, EachModeShowsTheEditorsFacesAndWords) {
    const std::string dimmer = "\nСкорость диммера 9 -го канала: 420 mS.";
    const std::tuple<CellFace, const char*, std::string> rows[] = {
        {{BI::Dark, BI::None, 0}, "выключен", ""},
        {{BI::Lit, BI::None, 0}, "включен", ""},
        {{BI::Ramp, BI::Dark, 0}, "диммер тёмный", dimmer},
        {{BI::Ramp, BI::None, 7}, "уровень", "\nЯркость 9-го канала: 7 "},
        {{BI::Ramp, BI::None, 0}, "диммер (режим 4)", dimmer},
        {{BI::Ramp, BI::Lit, 0}, "диммер (режим 5)", dimmer},
        {{BI::Ramp, BI::Lit, 0}, "диммер светлый", dimmer},
        {{BI::Ramp, BI::Ramp, 0}, "диммер нарастание", dimmer}};
    m_editor.stepAndChannelChosen(3, 0);
    for (int mode = 0; mode < 8; ++mode) {
        SCOPED_TRACE(mode);
        const auto& [face, words, detail] = rows[mode];
        program().setCell(3, 8, static_cast<std::uint8_t>(6 << 3 | mode));
        EXPECT_EQ(m_overview.toolTip({3, 8}),
                  "Шаг 3, Канал 9\nВремя шага 1000 mS.\n" + std::string(words) + detail);
        EXPECT_EQ(m_overview.lamps()[8], (LampView{face, detail == dimmer ? "420 mS" : ""}));
        EXPECT_EQ(m_overview.lamps()[7], LampView{});
    }
    program().setStepTime(4, 2560);
    EXPECT_EQ(m_overview.headerTime(4), "25600");
    EXPECT_EQ(m_overview.toolTip({4, {}}), "Шаг 4\nВремя шага 25600 mS.");
    EXPECT_EQ(m_overview.toolTip({{}, 15}), "Канал 16");
    EXPECT_EQ(m_overview.toolTip({}), "");
}

// A click moves the editor as its step selector and a click on a channel's number would, with
// no snapshot.
TEST_F(OverviewPresenterTest, ClicksMoveTheEditorsStepAndChannel) {
    const std::tuple<GridHit, bool, int, int> rows[] = {
        {{7, 11}, true, 7, 11}, {{9, {}}, true, 9, 2}, // a step's header keeps the channel
        {{{}, 5}, true, 3, 5},                         // a channel's number keeps the step
        {{25, 0}, true, 20, 0}, {{}, false, 3, 2},     {{{}, 16}, false, 3, 2},
    };
    m_editor.channelButtonClicked(4, ChannelButton::Secondary, ButtonState::Checked);
    const ProgramImage working = m_editor.model().working();
    const ProgramImage undo = m_editor.model().undoImage();
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        const auto& [hit, refreshed, step, channel] = row;
        m_editor.stepAndChannelChosen(3, 2);
        EXPECT_EQ(m_overview.clicked(hit), refreshed);
        EXPECT_EQ(m_overview.currentStep(), step);
        EXPECT_EQ(m_overview.selectedChannel(), channel);
        EXPECT_EQ(m_editor.model().working(), working);
        EXPECT_EQ(m_editor.model().undoImage(), undo);
    }
}

// A play from step 2 at 2x: the status counts program time; the lamps show the playing step's
// cells as they were when it began, and stopped, the current step's as they are.
TEST_F(OverviewPresenterTest, PlaybackDrivesTheStatusLampsAndButtons) {
    program().setStepTime(1, 6000); // 60 s, longer than the editor sets: from a file
    program().setCell(2, 0, 1);
    m_editor.stepAndChannelChosen(2, 0);
    m_overview.speedChosen(PlaybackSpeed::Double);
    using P = OverviewPresenter;
    // What is pressed at which ms; then the buttons, the status and channel 1's lamp.
    const std::tuple<void (P::*)(), int, PlaybackControls, const char*, BI> rows[] = {
        {&P::playPressed, 0, {false, true, true}, "Шаг 2 из 20, время 1:00,0", BI::Lit},
        {nullptr, 250, {false, true, true}, "Шаг 2 из 20, время 1:00,5", BI::Lit},
        {&P::playPausePressed, 499, {true, false, true}, "Шаг 2 из 20, время 1:00,9", BI::Lit},
        {&P::playPausePressed, 9000, {false, true, true}, "Шаг 2 из 20, время 1:00,9", BI::Lit},
        {nullptr, 9001, {false, true, true}, "Шаг 3 из 20, время 1:01,0", BI::Dark},
        {&P::stopPressed, 9500, {true, false, false}, "Шаг 2 из 20, время 1:00,0", BI::Dark},
    };
    for (const auto& [press, atMs, controls, status, lamp] : rows) {
        SCOPED_TRACE(atMs);
        m_now = std::chrono::milliseconds{atMs};
        if (press != nullptr) {
            (m_overview.*press)();
        }
        m_overview.tick();
        EXPECT_EQ(m_overview.controls(), controls);
        EXPECT_EQ(m_overview.statusText(), status + std::string(" из 1:19,0"));
        EXPECT_EQ(m_overview.lamps()[0].face.primary, lamp);
        if (press == &P::playPressed) {
            program().setCell(2, 0, 0); // while step 2 plays: its lamp shows this once stopped
        }
    }
}

// The columns follow the step count and times, by time when chosen, and the grid brings the
// editor's step into view only when it moved; the status counts hours. A program without
// steps cannot play.
TEST_F(OverviewPresenterTest, TheGridAndTheStatusFollowTheProgram) {
    m_editor.countButtonClicked(10);
    program().setStepTime(2, 250);
    EXPECT_EQ(m_overview.refresh(), std::nullopt);
    EXPECT_EQ(m_overview.layout().width(), 30 * 40);
    m_editor.stepAndChannelChosen(25, {});
    EXPECT_EQ(m_overview.refresh(), 25);
    EXPECT_EQ(m_overview.refresh(), std::nullopt);
    m_editor.stepAndChannelChosen(1, {});
    EXPECT_EQ(m_overview.refresh(), 1);
    m_overview.setColumnsByTime(true);
    EXPECT_EQ(m_overview.layout().width(), 29 * 40 + 100);

    program().setStepCount(kMaxSteps);
    for (int step = 1; step <= kMaxSteps; ++step) {
        program().setStepTime(step, 720);
    }
    EXPECT_EQ(m_overview.statusText(), "Шаг 1 из 500, время 0:00,0 из 1:00:00,0");
    program().setStepCount(0);
    m_overview.playPressed();
    EXPECT_EQ(m_overview.controls(), (PlaybackControls{false, false, false}));
    EXPECT_EQ(m_overview.statusText(), "Шаг 1 из 0, время 0:00,0 из 0:00,0");
}

// Levels draw clear of Off and On. A first open's frame (918 x 600, at least 818 wide) goes
// right of the editor, else left, else narrowed; on the editor's screen, level with it.
TEST(OverviewPresenterRules, LevelShadesAndTheFirstPlace) {
    EXPECT_EQ(OverviewPresenter::levelShade(1), 64);
    EXPECT_EQ(OverviewPresenter::levelShade(32), 192);
    const ScreenRect wide{0, 0, 1600, 900};
    const std::tuple<ScreenRect, ScreenRect, ScreenRect> rows[] = {
        {{100, 50, 300, 500}, wide, {408, 50, 918, 600}},
        {{400, 50, 300, 500}, wide, {708, 50, 892, 600}},
        {{700, 400, 300, 500}, wide, {0, 300, 818, 600}},
        {{1700, 10, 300, 500}, {1600, 0, 1366, 768}, {2008, 10, 918, 600}},
        {{10, 10, 300, 500}, {0, 0, 800, 500}, {0, 0, 800, 500}}};
    for (const auto& [editor, screen, place] : rows) {
        EXPECT_EQ(OverviewPresenter::firstPlace(editor, 918, 818, 600, screen), place);
    }
}

} // namespace
} // namespace tevra

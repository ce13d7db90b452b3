#pragma once

#include "ui/editor/EditorPresenter.h"
#include "ui/overview/GridLayout.h"
#include "ui/overview/PlaybackSchedule.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tevra {

inline constexpr const char* kOverviewTitle = "Обзор программы";
// Between the overview and the editor, and between groups of the overview's controls.
inline constexpr int kWindowGapPx = 8;
inline constexpr std::array<const char*, 4> kPlaybackSpeedTexts = {"0,5×", "1×", "2×", "4×"};

// A cell as the grid and the lamps draw it: the editor's button faces in small, except that
// a level is lit in proportion.
struct CellFace {
    ButtonImage primary = ButtonImage::Dark;
    // None where the editor hides the secondary button.
    ButtonImage secondary = ButtonImage::None;
    // 1..32 for Level, which draws no button face but a grey (levelShade); 0 for every other
    // mode.
    int level = 0;

    bool operator==(const CellFace&) const = default;
};

struct LampView {
    CellFace face;
    // The dimmer time, "2560 mS", under a dimmer channel's lamp; empty for the others.
    std::string dimmerText;

    bool operator==(const LampView&) const = default;
};

// A window's or a screen's rectangle in screen pixels; right and bottom edges are exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect&) const = default;
};

struct PlaybackControls {
    bool playEnabled = true;
    bool pauseEnabled = false;
    bool stopEnabled = false;

    bool operator==(const PlaybackControls&) const = default;
};

// What the overview window shows and how its inputs act, without any toolkit. It reads the
// editor's program through the editor's presenter, never a copy, and drives the editor
// through it; after any of its inputs that refreshed the editor, the window lets the editor
// apply its view.
class OverviewPresenter {
public:
    OverviewPresenter(EditorPresenter& editor, PlaybackClock clock);

    static CellFace cellFace(std::uint8_t cell);
    // The window's frame on first open: level with the editor's frame, right of it or else
    // left of it, narrowed down to minimumWidth where that lets it stand beside the editor,
    // and wholly on the editor's screen as far as its size lets it be.
    static ScreenRect firstPlace(const ScreenRect& editorFrame, int width, int minimumWidth,
                                 int height, const ScreenRect& screen);
    // The grey (0..255) a level is drawn in: clear of Off's black and On's white at both ends,
    // so a level never passes for either.
    static constexpr int kDimmestLevelShade = 64;
    static constexpr int kBrightestLevelShade = 192;
    static int levelShade(int level);

    // Call after the editor refreshed: the columns follow the step count and times. Gives the
    // editor's step when it moved since the last call, for the grid to bring into view.
    std::optional<int> refresh();
    // The editor's step, for the grid to bring into view whether it moved or not.
    int reveal();
    void setColumnsByTime(bool byTime);
    const GridLayout& layout() const { return m_layout; }

    const ProgramImage& program() const { return m_editor.model().working(); }
    int currentStep() const { return m_editor.model().currentStep(); }
    int selectedChannel() const { return m_editor.model().selectedChannel(); }
    std::optional<int> playingStep() const { return m_playback.playingStep(); }

    // The header's two lines: the step's number and its time in mS.
    static std::string headerNumber(int step);
    std::string headerTime(int step) const;
    std::string toolTip(const GridHit& hit) const;

    // A click on a cell, a step's header or a channel's number; true when the editor
    // refreshed.
    bool clicked(const GridHit& hit);

    void playPressed();
    void pausePressed();
    void stopPressed();
    // Space: pause while playing, play otherwise.
    void playPausePressed();
    void speedChosen(PlaybackSpeed speed);
    PlaybackSpeed speed() const { return m_playback.speed(); }
    // Call each frame while playing; true when another step began.
    bool tick();
    PlaybackState playbackState() const { return m_playback.state(); }
    PlaybackControls controls() const;

    // The playing step's channels; when stopped, the current step's.
    std::array<LampView, kChannelCount> lamps() const;
    // "Шаг N из M" with the elapsed and the total program time.
    std::string statusText() const;

private:
    std::string cellText(int step, int channel) const;

    EditorPresenter& m_editor;
    PlaybackSchedule m_playback;
    GridLayout m_layout;
    bool m_columnsByTime = false;
    int m_revealedStep = 0;
};

} // namespace tevra

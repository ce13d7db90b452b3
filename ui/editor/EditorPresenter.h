#pragma once

#include "model/ChannelCell.h"
#include "model/EditorModel.h"
#include "model/ProgramImage.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// Which bitmap a channel button carries. None: the template's blank face, before any image
// was set (a secondary button keeps its face until a dimmer or level mode first shows it).
enum class ButtonImage { None, Dark, Lit, Ramp };

enum class EditorSlider { StepSelector, StepTime, DimmerSpeed, Brightness };

enum class ArrowKey { Left, Right, Up, Down };

inline constexpr int kStepTimeSliderMin = kMinStepTime;
inline constexpr int kStepTimeSliderMax = kMaxStepTime;
// "+50mS" / "-50mS" shift every step by this many units of 10 ms.
inline constexpr int kTimeShiftUnits = 5;
// A click on a channel's number counts as a click on its marker: the marker's rectangle
// is widened to the right by this many pixels, over most of the number label.
inline constexpr int kMarkerHitExtensionPx = 15;

inline constexpr const char* kTimeShiftRefusedCaption = "Время не может быть изменено";

// The rendering table: what a cell's mode shows on the channel's two buttons.
struct ButtonFaces {
    ButtonImage primaryImage;
    ButtonState primaryState;
    // Modes Off and On leave the secondary button as it was.
    bool setsSecondary;
    ButtonImage secondaryImage;
    ButtonState secondaryState;
    bool secondaryVisible;
};

// One channel row of the window.
struct ChannelView {
    bool markerVisible = false;
    ButtonImage primaryImage = ButtonImage::None;
    ButtonState primaryState = ButtonState::Clear;
    // In modes Off and On the secondary button is hidden and keeps its last image and state.
    ButtonImage secondaryImage = ButtonImage::None;
    ButtonState secondaryState = ButtonState::Clear;
    bool secondaryVisible = false;
    // What the channel does in the step, for a screen reader: "уровень 16".
    std::string description;

    bool operator==(const ChannelView&) const = default;
};

// Everything the editor window shows, as plain values. Texts are UTF-8.
struct EditorView {
    // Range 1..stepCount; 1..1 for an empty program, so the position stays a valid step.
    int stepSelectorMin = 1;
    int stepSelectorMax = kDefaultStepCount;
    int stepSelectorPosition = 1;
    std::string stepText;
    std::string countText;

    // The caption shows the stored time (x 10 ms); the slider shows it clamped to 5..2560.
    std::string stepTimeCaption;
    int stepTimeSliderPosition = kDefaultStepTime;

    std::array<ChannelView, kChannelCount> channels{};
    bool startBlockChecked = false;

    // The detail area for the selected channel. A hidden control keeps its last caption or
    // position.
    bool detailVisible = false;
    std::string detailCaption = "Скорость диммера выбранного канала";
    bool dimmerSliderVisible = false;
    int dimmerSliderPosition = kDimmerSliderMin;
    bool levelSliderVisible = false;
    int levelSliderPosition = kLevelSliderMin;
    bool stopDimmerVisible = false;
    bool stopDimmerChecked = false;
    bool timeFromDimmerVisible = false;

    bool operator==(const EditorView&) const = default;
};

// The control that has keyboard focus when Tab is pressed.
struct FocusedControl {
    enum class Kind { PrimaryButton, SecondaryButton, Other };
    Kind kind = Kind::Other;
    int channel = 0; // for the channel buttons
};

// A marker's rectangle in any one coordinate system; right and bottom edges are exclusive.
struct MarkerRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct PointPx {
    int x = 0;
    int y = 0;
};

// What the editor window shows and how its inputs act, without any toolkit. Owns the model.
// Every action changes the model, then refreshes: the selection follows the focused primary
// button, the view is re-derived, and every visible slider writes its (clamped) position
// back into the model, as a slider does each time it draws, until nothing changes.
//
// Channels are indexed 0..kChannelCount-1; the window shows them numbered from 1.
// Focus: the presenter tracks whether a channel's primary button has keyboard focus. The
// window reports focus changes with setFocus; actions that move focus themselves (channel
// buttons, Tab, clicks on a channel's number or marker, push buttons) update it, and the
// window applies focusedPrimaryChannel() afterwards.
class EditorPresenter {
public:
    // The state the window opens in: step 1 of 20, channel 1 selected and its primary button
    // focused.
    EditorPresenter();
    EditorPresenter(const EditorPresenter&) = delete;
    EditorPresenter& operator=(const EditorPresenter&) = delete;

    const EditorView& view() const { return m_view; }
    // Refreshes (each a full re-derivation of the view) that the last action needed until the
    // sliders agreed with the model; 0 for actions that do not refresh.
    int lastRefreshPasses() const { return m_lastRefreshPasses; }

    // Files are read into model().workingForRead() / importForRead(); saves and uploads read
    // model().working().
    EditorModel& model() { return m_model; }
    const EditorModel& model() const { return m_model; }
    bool isModified() const { return m_model.isModified(); }
    void markUnmodified() { m_model.markUnmodified(); }

    std::optional<int> focusedPrimaryChannel() const { return m_focusedPrimaryChannel; }
    // Records focus without refreshing; the next refresh selects that channel.
    void setFocus(std::optional<int> primaryChannel);
    void refresh(std::optional<int> focusedPrimaryChannel);
    void refresh();

    // A slider drew at this position (after a user move, a repaint or a refresh). Ignored for
    // a hidden slider, which does not draw. A move that changes the program joins the history
    // entry of the slider's gesture.
    void sliderMoved(EditorSlider which, int position);
    // A drag begins: its moves make an entry of their own.
    void sliderPressed();

    // The button's 3-state value as the click left it. Selects the channel, then applies the
    // click with an undo snapshot. A primary button takes focus; a secondary one takes it
    // away from the primary buttons.
    void channelButtonClicked(int channel, ChannelButton which, ButtonState stateAfterClick);
    // The state a 3-state button advances to on a click: clear, checked, indeterminate.
    static ButtonState stateAfterClick(ButtonState before);
    static const ButtonFaces& buttonFaces(std::uint8_t cell);

    // Captions as the window words them; time in units of 10 ms, channel from 0.
    static std::string stepTimeCaption(int stepTime);
    static std::string levelCaption(int channel, std::uint8_t cell);
    static std::string dimmerCaption(int channel, std::uint8_t cell);

    // "Стоп диммер" with its new check state.
    void stopDimmerClicked(bool checked);
    // "Старт блок" with its new check state: sets the flag only, no refresh and no snapshot.
    void startBlockClicked(bool checked);

    // "+1", "+10", "-1", "-10".
    void countButtonClicked(int delta);
    void insertStepClicked();
    void deleteStepClicked();
    void undoClicked();

    // A change from another view: edit runs on the program as one history entry, then the
    // window refreshes. True when the program changed.
    bool applyEdit(std::string_view name, const std::function<bool(ProgramImage&)>& edit);
    // Ctrl+Z / Ctrl+Y: one history entry back or forward, with the step and channel it
    // returns to; false (and no refresh) when there is none.
    bool undoChange();
    bool redoChange();
    // "+50mS" (longer) or "-50mS". On refusal nothing is shifted, the failing step becomes
    // current, and the window shows shiftRefusalText with kTimeShiftRefusedCaption.
    std::optional<ShiftRefusal> shiftTimesClicked(bool longer);
    static std::string shiftRefusalText(const ShiftRefusal& refusal);
    // "Время шага как диммер": the step takes the dimmer time the detail area shows.
    void timeFromDimmerClicked();

    // The range dialogs run in the window; these take their confirmed results. A cancelled
    // dialog needs no call.
    void copyConfirmed(const CopyRange& range);
    void stepTimesConfirmed(const StepTimesRange& range);
    // "Вставить из файла": call after the file was read into model().importForRead() or its
    // dialog was cancelled (not after a refused file), before opening the copy dialog.
    void importReady();
    void importCopyConfirmed(const CopyRange& range);

    // "Прочитать": call after a successful read into model().workingForRead() or a cancelled
    // file dialog; back to step 1 and channel 1. A refused file needs no call.
    void programRead();

    // Tab / Shift+Tab move focus to the next or previous tab stop in template order, then
    // refresh. Only the 16 primary buttons are tab stops, so from a primary button Tab rings
    // through 1..16 and from any control outside the channel rows it reaches channel 1 (Shift:
    // 16). Returns the channel whose primary button gets focus.
    int tabPressed(FocusedControl from, bool backwards);
    // The arrows act on the step whatever control has focus; the window must not pass them
    // on to the focused control.
    void arrowPressed(ArrowKey key);
    // A click on a channel's number or marker (see channelAtPoint): its primary button takes
    // focus and the window refreshes; no cell changes.
    void channelLabelClicked(int channel);
    // Another view chose a step, and maybe a channel: the step as the step selector sets it,
    // the channel as a click on its number selects it. No snapshot; one refresh.
    void stepAndChannelChosen(int step, std::optional<int> channel);

    // The first channel whose marker rectangle, widened by kMarkerHitExtensionPx to the right,
    // contains the point. Markers count whether visible or not.
    static std::optional<int> channelAtPoint(const std::array<MarkerRect, kChannelCount>& markers,
                                             PointPx point);

private:
    void settle();
    void writeSlider(EditorSlider which, int position);
    bool stepThroughHistory(bool stepped);
    // Refused operations change nothing and, like the window, skip the refresh.
    void settleIf(bool modelChanged);
    void deriveView();
    bool writeBackSliders();
    void onStepCountChanged(int stepCount);
    // A clicked push button or check box takes focus away from the primary buttons.
    void pushButtonAction();

    EditorModel m_model;
    EditorView m_view;
    std::optional<int> m_focusedPrimaryChannel;
    int m_lastRefreshPasses = 0;
};

} // namespace tevra

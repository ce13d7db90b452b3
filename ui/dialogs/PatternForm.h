#pragma once

#include "model/CellRange.h"
#include "model/ChannelCell.h"
#include "model/Generation.h"
#include "ui/dialogs/TempoForm.h"

#include <array>
#include <optional>
#include <string>

namespace tevra {

inline constexpr const char* kPatternDialogTitle = "Узор";
inline constexpr const char* kApplyButtonText = "Применить";

// A cell value as the dialog offers it: the editor's modes by name, with a level or a dimmer
// speed where the mode has one.
enum class ValueKind { Keep, Off, On, Level, DimmerDark, DimmerLit, DimmerRamp };
inline constexpr std::array<const char*, 7> kValueKindTexts = {
    "Не менять",      "Выключен",        "Включен",      "Яркость",
    "Диммер: тёмный", "Диммер: светлый", "Диммер: волна"};

inline constexpr int kDefaultDimmerPosition = 11; // 2560 mS

struct ValueChoice {
    ValueKind kind = ValueKind::On;
    int level = kLevelSliderMax;
    int dimmerPosition = kDefaultDimmerPosition;

    bool operator==(const ValueChoice&) const = default;
};

// Everything the dialog's controls hold besides the tempo, which has a form of its own.
struct PatternChoices {
    PatternKind pattern = PatternKind::Chase;
    int width = kDefaultPatternWidth;
    std::optional<int> gap;
    int density = kDefaultDensity;
    std::uint64_t seed = kDefaultSeed;
    ValueChoice on{ValueKind::On};
    ValueChoice off{ValueKind::Off};
    bool background = false;
    bool reversed = false; // channel order bottom to top
    bool useTempo = false;
};

// The pattern dialog without widgets: the choices over a selection of the program, and the
// selection as it will look, recomputed on each change through the same generator the tool
// uses. The default choices make a chase of width 1, so "Применить" alone writes one.
class PatternForm {
public:
    PatternForm(const ProgramImage& program, const CellRange& range);

    const CellRange& range() const { return m_range; }
    const PatternChoices& choices() const { return m_choices; }
    // The tempo's own changes count once choose() or refreshed() is called.
    TempoForm& tempo() { return m_tempo; }
    void choose(const PatternChoices& choices);
    void refreshed();

    // The program with the generation written, or as it is when refused.
    const ProgramImage& preview() const { return m_preview; }
    const std::optional<std::string>& refusal() const { return m_refusal; }
    Generation generation() const;
    // The undo entry's name: "узор chase 16 × 64".
    std::string editName() const;

    static CellValue cellValue(const ValueChoice& choice);
    // The dimmer time at a slider position as the editor words it: "2560 mS".
    static std::string speedText(int dimmerPosition);

private:
    const ProgramImage& m_program;
    CellRange m_range;
    PatternChoices m_choices;
    TempoForm m_tempo;
    ProgramImage m_preview;
    std::optional<std::string> m_refusal;
};

} // namespace tevra

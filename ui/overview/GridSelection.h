#pragma once

#include "model/CellRange.h"
#include "ui/overview/GridLayout.h"

#include <optional>
#include <string>

namespace tevra {

// The overview's cell cursor and selected rectangle, without any toolkit. The cursor is the
// editor's current step and selected channel; the window hands both in after each refresh
// and passes the cursor on to the editor after each move. Steps run 1..stepCount.
class GridSelection {
public:
    int cursorStep() const { return m_cursorStep; }
    int cursorChannel() const { return m_cursorChannel; }
    const std::optional<CellRange>& selection() const { return m_selection; }

    // The editor moved: the cursor goes along, the selection stays within the steps there are.
    void follow(int step, int channel, int stepCount);

    // Arrows and Home/End; with extend (Shift) the selection stretches from where the cursor
    // stood, without it the selection goes.
    void moveBy(int steps, int channels, bool extend, int stepCount);
    void moveTo(int step, int channel, bool extend, int stepCount);

    // A press on a cell, a step's header (whole column) or a channel's number (whole row),
    // then the drag from it.
    void press(const GridHit& hit, bool extend, int stepCount);
    void dragTo(const GridHit& hit, int stepCount);

    void selectAll(int stepCount);
    void clear();

    // What an operation works on: the selection, or the cursor's cell without one.
    CellRange target() const;
    // "Выделено: шаги 5–12, каналы 1–16"; empty without a selection.
    std::string statusText() const;

private:
    enum class DragKind { None, Cells, Columns, Rows };

    void stretchTo(int step, int channel);

    int m_cursorStep = 1;
    int m_cursorChannel = 0;
    int m_anchorStep = 1;
    int m_anchorChannel = 0;
    std::optional<CellRange> m_selection;
    DragKind m_drag = DragKind::None;
};

} // namespace tevra

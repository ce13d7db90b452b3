#include "ui/overview/GridSelection.h"

#include <algorithm>

namespace tevra {

namespace {

constexpr int kLastChannel = kChannelCount - 1;

int clampStep(int step, int stepCount) {
    return std::clamp(step, 1, std::max(stepCount, 1));
}

// "шаг 5" or "шаги 5–12"; channels shown from 1.
std::string spanText(const char* one, const char* many, int first, int last) {
    std::string text = first == last ? one : many;
    text += ' ';
    text += std::to_string(first);
    if (first != last) {
        text += "–";
        text += std::to_string(last);
    }
    return text;
}

} // namespace

void GridSelection::follow(int step, int channel, int stepCount) {
    m_cursorStep = clampStep(step, stepCount);
    m_cursorChannel = std::clamp(channel, 0, kLastChannel);
    if (!m_selection) {
        return;
    }
    if (m_selection->firstStep > stepCount) {
        clear();
        return;
    }
    m_selection->lastStep = std::min(m_selection->lastStep, stepCount);
}

void GridSelection::moveBy(int steps, int channels, bool extend, int stepCount) {
    moveTo(m_cursorStep + steps, m_cursorChannel + channels, extend, stepCount);
}

void GridSelection::moveTo(int step, int channel, bool extend, int stepCount) {
    if (extend && !m_selection) {
        m_anchorStep = m_cursorStep;
        m_anchorChannel = m_cursorChannel;
    }
    m_cursorStep = clampStep(step, stepCount);
    m_cursorChannel = std::clamp(channel, 0, kLastChannel);
    if (extend) {
        stretchTo(m_cursorStep, m_cursorChannel);
    } else {
        clear();
    }
}

void GridSelection::stretchTo(int step, int channel) {
    m_selection = CellRange::spanning(m_anchorStep, m_anchorChannel, step, channel);
}

void GridSelection::press(const GridHit& hit, bool extend, int stepCount) {
    if (hit.step && hit.channel) {
        m_drag = DragKind::Cells;
        moveTo(*hit.step, *hit.channel, extend, stepCount);
        return;
    }
    if (hit.step) {
        m_drag = DragKind::Columns;
        const int step = clampStep(*hit.step, stepCount);
        if (!extend || !m_selection) {
            m_anchorStep = step;
        }
        m_cursorStep = step;
        m_selection =
            CellRange{std::min(m_anchorStep, step), std::max(m_anchorStep, step), 0, kLastChannel};
        return;
    }
    if (hit.channel) {
        m_drag = DragKind::Rows;
        if (!extend || !m_selection) {
            m_anchorChannel = *hit.channel;
        }
        m_cursorChannel = *hit.channel;
        m_selection = CellRange{1, std::max(stepCount, 1), std::min(m_anchorChannel, *hit.channel),
                                std::max(m_anchorChannel, *hit.channel)};
        return;
    }
    m_drag = DragKind::None;
}

void GridSelection::dragTo(const GridHit& hit, int stepCount) {
    switch (m_drag) {
    case DragKind::Cells:
        if (hit.step || hit.channel) {
            moveTo(hit.step.value_or(m_cursorStep), hit.channel.value_or(m_cursorChannel), true,
                   stepCount);
        }
        return;
    case DragKind::Columns:
        if (hit.step) {
            press({hit.step, std::nullopt}, true, stepCount);
        }
        return;
    case DragKind::Rows:
        if (hit.channel) {
            press({std::nullopt, hit.channel}, true, stepCount);
        }
        return;
    case DragKind::None:
        return;
    }
}

void GridSelection::selectAll(int stepCount) {
    m_anchorStep = 1;
    m_anchorChannel = 0;
    m_selection = CellRange{1, std::max(stepCount, 1), 0, kLastChannel};
}

void GridSelection::clear() {
    m_selection.reset();
}

CellRange GridSelection::target() const {
    return m_selection.value_or(
        CellRange{m_cursorStep, m_cursorStep, m_cursorChannel, m_cursorChannel});
}

std::string GridSelection::statusText() const {
    if (!m_selection) {
        return {};
    }
    std::string text = "Выделено: ";
    text += spanText("шаг", "шаги", m_selection->firstStep, m_selection->lastStep);
    text += ", ";
    text +=
        spanText("канал", "каналы", m_selection->firstChannel + 1, m_selection->lastChannel + 1);
    return text;
}

} // namespace tevra

#include "model/UndoHistory.h"

namespace tevra {

UndoHistory::UndoHistory(UndoLimits limits) : m_limits(limits) {}

std::size_t UndoHistory::Entry::memoryBytes() const {
    return sizeof(Entry) + name.capacity() + mergeKey.capacity() + delta.memoryBytes();
}

void UndoHistory::record(std::string_view name, const ProgramImage& before,
                         const ProgramImage& after, EditPlace placeBefore, EditPlace placeAfter,
                         std::string_view mergeKey) {
    const bool merges = m_gestureOpen && !mergeKey.empty() && canUndo() && !canRedo() &&
                        m_entries.back().mergeKey == mergeKey;
    if (merges) {
        // The gesture's first state is before with the earlier step of it taken back.
        Entry& last = m_entries.back();
        ProgramImage start = before;
        last.delta.applyTo(start);
        m_memoryBytes -= last.memoryBytes();
        last.delta = ImageDelta::between(start, after);
        last.placeAfter = placeAfter;
        if (last.delta.empty()) {
            // Moved back to where it began: no change is left to undo.
            m_entries.pop_back();
            m_position = m_entries.size();
            m_gestureOpen = false;
            return;
        }
        m_memoryBytes += last.memoryBytes();
        return;
    }
    ImageDelta delta = ImageDelta::between(before, after);
    if (delta.empty()) {
        return;
    }
    dropRedo();
    m_entries.push_back(
        {std::string(name), std::string(mergeKey), std::move(delta), placeBefore, placeAfter});
    m_memoryBytes += m_entries.back().memoryBytes();
    m_position = m_entries.size();
    m_gestureOpen = !mergeKey.empty();
    dropOldest();
}

std::string UndoHistory::nextUndoName() const {
    return canUndo() ? m_entries[m_position - 1].name : std::string();
}

std::string UndoHistory::nextRedoName() const {
    return canRedo() ? m_entries[m_position].name : std::string();
}

std::optional<EditPlace> UndoHistory::undo(ProgramImage& image) {
    if (!canUndo()) {
        return std::nullopt;
    }
    m_gestureOpen = false;
    const Entry& entry = m_entries[--m_position];
    entry.delta.applyTo(image);
    return entry.placeBefore;
}

std::optional<EditPlace> UndoHistory::redo(ProgramImage& image) {
    if (!canRedo()) {
        return std::nullopt;
    }
    m_gestureOpen = false;
    const Entry& entry = m_entries[m_position++];
    entry.delta.applyTo(image);
    return entry.placeAfter;
}

void UndoHistory::dropRedo() {
    while (m_entries.size() > m_position) {
        m_memoryBytes -= m_entries.back().memoryBytes();
        m_entries.pop_back();
    }
}

void UndoHistory::dropOldest() {
    while (m_entries.size() > m_limits.minLevels && m_memoryBytes > m_limits.memoryBytes) {
        m_memoryBytes -= m_entries.front().memoryBytes();
        m_entries.pop_front();
        --m_position;
    }
}

} // namespace tevra

#pragma once

#include "model/ImageDelta.h"
#include "model/ProgramImage.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// Where the editor stood: its current step and selected channel.
struct EditPlace {
    int step = 1;
    int channel = 0;

    bool operator==(const EditPlace&) const = default;
};

// How much the history keeps: the oldest entries go only while more than minLevels remain
// and together they hold more than memoryBytes.
struct UndoLimits {
    std::size_t minLevels = 1000;
    std::size_t memoryBytes = std::size_t{16} * 1024 * 1024;
};

// The program's changes, each kept as what it replaced. The caller holds the image at the
// history's position and hands it in; undo and redo turn it into the neighbouring state.
class UndoHistory {
public:
    explicit UndoHistory(UndoLimits limits = {});

    // One change from before to after. A change equal to nothing is not kept. With a
    // non-empty mergeKey equal to the last entry's, while its gesture is open, the two become
    // one entry. Entries that could be redone are dropped.
    void record(std::string_view name, const ProgramImage& before, const ProgramImage& after,
                EditPlace placeBefore, EditPlace placeAfter, std::string_view mergeKey = {});
    // The next change starts an entry of its own even under the same merge key.
    void endGesture() { m_gestureOpen = false; }

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_entries.size(); }
    // Empty when there is none.
    std::string nextUndoName() const;
    std::string nextRedoName() const;
    // image must be the state at the history's position; gives the place to return to.
    std::optional<EditPlace> undo(ProgramImage& image);
    std::optional<EditPlace> redo(ProgramImage& image);

    std::size_t size() const { return m_entries.size(); }
    std::size_t memoryBytes() const { return m_memoryBytes; }

private:
    struct Entry {
        std::string name;
        std::string mergeKey;
        ImageDelta delta;
        EditPlace placeBefore;
        EditPlace placeAfter;

        std::size_t memoryBytes() const;
    };

    void dropRedo();
    void dropOldest();

    UndoLimits m_limits;
    std::deque<Entry> m_entries;
    std::size_t m_position = 0;
    std::size_t m_memoryBytes = 0;
    bool m_gestureOpen = false;
};

} // namespace tevra

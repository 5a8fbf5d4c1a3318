// The macro table and the appending of recorded strokes.
#include "panel/Macros.h"

#include <cstring>

#include "panel/MyPanel.h"

std::array<MacroEntry, kMacroCount> MacroTable;

void RecordKeyStroke(CMyPanel& panel, const KeySeqRecord& record) {
    if (panel.recordSlot < 0 || panel.recordSlot >= kMacroCount || panel.recordCount < 0)
        return;
    MacroEntry& target = MacroTable[panel.recordSlot];
    if (!target.data || panel.recordCount >= kRecordCapacity)
        return;
    std::memcpy(target.data.get() + panel.recordCount * sizeof(KeySeqRecord), &record,
                sizeof(KeySeqRecord));
    ++panel.recordCount;
}

// Playing a recorded key sequence: each record becomes the key or character event it was
// recorded from, sent through the host's callback and not recorded again.
#include <cstring>

#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

constexpr UINT kCharPressFlags = KeyStateDownFlag;
constexpr UINT kCharReleaseFlags = KeyShiftNoCharacterFlag | KeyStatePrevDownFlag;

void play(IIMCallback& callback, const KeySeqRecord& record) {
    if (record.flags & KSR_VKEY) {
        if (record.flags & KSR_PRESS)
            callback.SendVirtualKey(record.vk, 0);
        else if (record.flags & KSR_RELEASE)
            callback.SendVirtualKey(record.vk, KEYEVENTF_KEYUP);
        return;
    }
    UINT shift = 0;
    if (record.flags & KSR_SHIFT)
        shift |= KeyShiftAnyShiftFlag;
    if (record.flags & KSR_CONTROL)
        shift |= KeyShiftAnyCtrlFlag;
    UINT keyFlags = 0;
    if (record.flags & KSR_PRESS)
        keyFlags = shift | kCharPressFlags;
    else if (record.flags & KSR_RELEASE)
        keyFlags = kCharReleaseFlags;
    else
        return;
    UINT ch = record.ch;
    callback.SendCharEvents(record.vk, keyFlags, 1, &shift, &ch);
}

}  // namespace

void PlayKeySequence(CMyPanel& panel, int n) {
    if (panel.callback == nullptr || n < 0 || n >= kMacroCount)
        return;
    const MacroEntry& entry = MacroTable[n];
    if (!entry.data || entry.dataSize <= 0)
        return;
    const size_t count = static_cast<size_t>(entry.dataSize) / sizeof(KeySeqRecord);
    for (size_t i = 0; i < count; ++i) {
        KeySeqRecord record{};
        std::memcpy(&record, entry.data.get() + i * sizeof(KeySeqRecord), sizeof(record));
        play(*panel.callback, record);
    }
}

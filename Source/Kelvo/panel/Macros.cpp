// The macro table and the macro keys' actions: playing a macro, the recording cycle around the
// record key, and the long press that takes the clipboard's text into a macro.
#include "panel/Macros.h"

#include <algorithm>
#include <cstring>

#include "panel/ClipboardText.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroStore.h"
#include "panel/MyPanel.h"

std::array<MacroEntry, kMacroCount> MacroTable;

namespace {

void repaint(CMyPanel& panel) {
    if (panel.GetSafeHwnd() != nullptr)
        panel.Invalidate(FALSE);
}

// The record key ends the recording: what was recorded becomes the target's key sequence and
// is saved; a target that got nothing loses its data.
void endRecording(CMyPanel& panel) {
    if (panel.recordSlot >= 0 && panel.recordSlot < kMacroCount) {
        MacroEntry& target = MacroTable[panel.recordSlot];
        const int records = std::clamp(panel.recordCount, 0, kRecordCapacity);
        if (records > 0 && target.data) {
            target.dataSize = static_cast<SHORT>(records * sizeof(KeySeqRecord));
            WCHAR name[32];
            swprintf(name, std::size(name), u"Key Seq. %d", panel.recordSlot + 1);
            target.name = name;
            target.kind = MacroKeySequence;
            SaveMacros();
        } else {
            target.data.reset();
            target.dataSize = 0;
        }
    }
    panel.recordCount = -1;
    panel.recordSlot = -1;
}

}  // namespace

const WCHAR* macroPlaceholder(int kind) {
    static constexpr const WCHAR* kPlaceholders[] = {
        u"@@DT0@@", u"@@DT1@@", u"@@DT2@@", u"@@MN@@", u"@@MA@@", u"@@MC@@", u"@@MP@@",
    };
    if (kind < MacroDate || kind > MacroMyPhone)
        return nullptr;
    return kPlaceholders[kind - MacroDate];
}

std::u16string macroText(const MacroEntry& entry) {
    if (!entry.data || entry.dataSize <= 0)
        return {};
    const size_t units = static_cast<size_t>(entry.dataSize) / sizeof(WCHAR);
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), entry.data.get(), units * sizeof(WCHAR));
    text.resize(std::min(text.find(u'\0'), units));
    return text;
}

void setMacroText(MacroEntry& entry, std::u16string_view text) {
    const size_t units = std::min(text.size(), kMacroTextBytes / sizeof(WCHAR));
    const size_t bytes = units * sizeof(WCHAR);
    entry.data = std::make_unique<BYTE[]>(bytes + sizeof(WCHAR));
    std::memcpy(entry.data.get(), text.data(), bytes);
    entry.dataSize = static_cast<SHORT>(bytes);
}

void setMacroBytes(MacroEntry& entry, const BYTE* bytes, size_t size) {
    size = std::min<size_t>(size, kMacroTextBytes);
    entry.data = std::make_unique<BYTE[]>(std::max<size_t>(size, 1));
    if (size > 0)
        std::memcpy(entry.data.get(), bytes, size);
    entry.dataSize = static_cast<SHORT>(size);
}

void RecordKeyStroke(CMyPanel& panel, const KeySeqRecord& record) {
    if (panel.recordSlot < 0 || panel.recordSlot >= kMacroCount || panel.recordCount < 0)
        return;
    MacroEntry& target = MacroTable[panel.recordSlot];
    // A full buffer takes no more records: the recording goes on and keeps its first 75.
    if (!target.data || panel.recordCount >= kRecordCapacity)
        return;
    std::memcpy(target.data.get() + panel.recordCount * sizeof(KeySeqRecord), &record,
                sizeof(KeySeqRecord));
    ++panel.recordCount;
}

void OnMacroKey(CMyPanel& panel) {
    const KeyRecord* key = panel.pressedKey;
    if (key == nullptr)
        return;
    if (key->vk == kRecordKeyVk) {
        panel.recordKeyPos[0] = static_cast<signed char>(key->row);
        panel.recordKeyPos[1] = static_cast<signed char>(key->col);
        if (panel.recordCount < 0) {
            panel.recordCount = 0;
            panel.recordSlot = -1;
        } else {
            endRecording(panel);
        }
        repaint(panel);
        return;
    }
    const int n = key->param;
    if (n >= kMacroCount)
        return;
    if (panel.recordSlot < 0 && panel.recordCount == 0) {
        // The armed recording's target: a zeroed buffer of 75 records, none of them written
        // yet, so saving, playing or painting it before any record reads nothing of it.
        MacroEntry& target = MacroTable[n];
        target.data = std::make_unique<BYTE[]>(kRecordBufferBytes);
        target.dataSize = 0;
        panel.recordSlot = n;
        panel.SwitchLayout(-1);
        return;
    }
    const MacroEntry& entry = MacroTable[n];
    if (entry.kind == MacroKeySequence) {
        PlayKeySequence(panel, n);
        return;
    }
    const WORD flags = key->flags;
    const std::u16string text = ExpandMacro(entry);
    if (text.empty()) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    SendMacroText(panel, text);
    if (!(flags & KF_STAY))
        panel.SwitchLayout(-1);
}

void ReloadMacros(CMyPanel& panel) {
    if (panel.recordSlot != -1) {
        panel.recordCount = -1;
        panel.recordSlot = -1;
    }
    LoadMacros();
}

void AssignClipboardToMacro(CMyPanel& panel) {
    const KeyRecord* key = panel.pressedKey;
    // The record key names no macro to fill: its long press is an ordinary press.
    if (key == nullptr || key->vk == kRecordKeyVk)
        return;
    std::optional<std::u16string> text = ReadClipboardText(panel.GetSafeHwnd());
    // An empty text would only wipe the macro.
    if (!text || text->empty())
        return;
    MessageBeep(MB_ICONASTERISK);
    if (key->param < kMacroCount) {
        const std::u16string_view taken =
            std::u16string_view(*text).substr(0, kClipboardMacroChars);
        // The text replaces the buffer a recording into this macro is writing: it ends.
        if (panel.recordSlot == key->param) {
            panel.recordCount = -1;
            panel.recordSlot = -1;
        }
        MacroEntry& entry = MacroTable[key->param];
        entry.name = taken;
        setMacroText(entry, taken);
        entry.kind = MacroString;
    }
    SaveMacros();
    panel.longPressDone = 1;
    repaint(panel);
}

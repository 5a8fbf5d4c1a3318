// The process-wide macro table, the records of a recorded key sequence, and the macro keys'
// actions: playing a macro, the recording cycle around the record key (every stroke the panel
// sends while a recording has its target is appended, never past 75 records), the long press
// that takes the clipboard's text, and the text a macro's content holds.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

class CMyPanel;

enum MacroKind : SHORT {
    MacroString = 1,
    MacroKeySequence = 2,
    MacroDate = 3,
    MacroDateTime = 4,
    MacroTime = 5,
    MacroMyName = 6,
    MacroMyAddress = 7,
    MacroMyCompany = 8,
    MacroMyPhone = 9,
};

inline constexpr int kMacroKindCount = 9;
// Each kind's label, the kind being its position + 1: the options sheet's list of kinds, and
// the name that a computed kind's macro gets.
inline constexpr const WCHAR* kMacroKindLabels[kMacroKindCount] = {
    u"String",  u"Key Sequence", u"Date",       u"Date & Time",  u"Time",
    u"My Name", u"My Address",   u"My Company", u"My Phone No.",
};
// The text a macro of a computed kind (Date to My Phone No.) stores in place of its value;
// null for String and Key Sequence.
const WCHAR* macroPlaceholder(int kind);

// One recorded stroke, 4 bytes.
struct KeySeqRecord {
    BYTE flags;
    BYTE vk;
    WORD ch;
};
static_assert(sizeof(KeySeqRecord) == 4);

// Record flags.
inline constexpr BYTE KSR_PRESS = 0x01;
inline constexpr BYTE KSR_RELEASE = 0x02;
inline constexpr BYTE KSR_SHIFT = 0x04;
inline constexpr BYTE KSR_CONTROL = 0x08;
inline constexpr BYTE KSR_CHAR = 0x10;
inline constexpr BYTE KSR_VKEY = 0x20;

struct MacroEntry {
    std::u16string name;
    std::unique_ptr<BYTE[]> data;
    SHORT dataSize = 0;
    SHORT kind = MacroString;
};

inline constexpr int kMacroCount = 20;
// The buffer a recording target gets: 300 bytes, 75 records.
inline constexpr int kRecordBufferBytes = 300;
inline constexpr int kRecordCapacity = kRecordBufferBytes / static_cast<int>(sizeof(KeySeqRecord));

extern std::array<MacroEntry, kMacroCount> MacroTable;

// Text kinds hold at most this many bytes of text (the terminator comes after them): what a
// registry value can give into the 512-byte buffer that also holds the terminator.
inline constexpr int kMacroTextBytes = 510;
// A text taken from the clipboard keeps at most this many characters.
inline constexpr size_t kClipboardMacroChars = 100;
// A macro key's vk: 0 on a key that plays the macro its param names, this on the record key.
inline constexpr BYTE kRecordKeyVk = 1;

// The text a text-kind entry holds: its dataSize / 2 characters, up to the first terminator.
// Empty when it has no data.
std::u16string macroText(const MacroEntry& entry);
// Gives the entry `text` (cut to kMacroTextBytes) as new data with its terminator.
void setMacroText(MacroEntry& entry, std::u16string_view text);
// Gives the entry a copy of `size` bytes as new data (no terminator: key sequences).
void setMacroBytes(MacroEntry& entry, const BYTE* bytes, size_t size);

// The action of the panel's pressedKey when it is a macro key: the record key starts or ends
// a recording; a macro key chooses the recording's target, or plays the macro.
void OnMacroKey(CMyPanel& panel);
// The long press on a macro key: the clipboard's text (its first 100 characters) becomes the
// macro's name and String content, and the table is saved. Without a text, and on the record
// key, nothing is taken and the pen's lift acts as an ordinary press.
void AssignClipboardToMacro(CMyPanel& panel);
// The table read again on the panel's reload message. A recording that has its target ends
// first, unsaved: the target's data is replaced, and with it the buffer being written.
void ReloadMacros(CMyPanel& panel);
// Sends the records of macro n through the panel's callback, in order.
void PlayKeySequence(CMyPanel& panel, int n);

// Appends one record to the macro being recorded (the panel's recordSlot) at recordCount and
// counts it. Nothing happens while no target is chosen, and a full buffer takes no more.
void RecordKeyStroke(CMyPanel& panel, const KeySeqRecord& record);

// Types `text` through the panel's callback: each run of characters other than a space in one
// SendString call, each space as a character-event pair (press, then release). Not recorded.
void SendMacroText(CMyPanel& panel, std::u16string_view text);

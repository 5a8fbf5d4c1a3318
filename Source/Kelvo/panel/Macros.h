// The process-wide macro table and the records of a recorded key sequence, as far as the key
// actions use them: every stroke the panel sends while a recording has its target is appended
// to that macro's buffer, never past its 75 records.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

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

// Appends one record to the macro being recorded (the panel's recordSlot) at recordCount and
// counts it. Nothing happens while no target is chosen, and a full buffer takes no more.
void RecordKeyStroke(CMyPanel& panel, const KeySeqRecord& record);

// Types `text` through the panel's callback: each run of characters other than a space in one
// SendString call, each space as a character-event pair (press, then release). Not recorded.
void SendMacroText(CMyPanel& panel, std::u16string_view text);

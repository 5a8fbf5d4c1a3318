// The in-memory skin: one loaded layout (SkinLayout) with its picture and its table of keys
// (KeyRecord), the key and layout flags, the hit test, the alternate and gesture keys, and the
// built-in message face.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// Key kinds (bits 0 to 11 of KeyRecord::flags); bits 12 to 15 hold the modifier slot.
inline constexpr WORD KF_OUTPUT = 0x0001;
inline constexpr WORD KF_GOTO = 0x0002;
inline constexpr WORD KF_STAY = 0x0004;
inline constexpr WORD KF_ONESHOT = 0x0010;
inline constexpr WORD KF_BACK = 0x0020;
inline constexpr WORD KF_CALC = 0x0040;
inline constexpr WORD KF_TASKS = 0x0080;
inline constexpr WORD KF_MACRO = 0x0100;
inline constexpr WORD KF_LAUNCH = 0x0200;
inline constexpr WORD KF_KIND_MASK = 0x0FFF;
// Keys with any of these are not "ordinary" for the one-shot release.
inline constexpr WORD KF_NOT_ORDINARY = KF_GOTO | KF_STAY | KF_BACK;

// Layout flags (SkinLayout::flags).
inline constexpr WORD LF_MESSAGE = 0x0001;
inline constexpr WORD LF_LAUNCHER = 0x0004;
inline constexpr WORD LF_TASKS = 0x0008;
inline constexpr WORD LF_CALC = 0x0010;
inline constexpr WORD LF_RELEASE_ON_ENTER = 0x0020;
inline constexpr WORD LF_RELEASE_ON_LEAVE = 0x0040;
inline constexpr WORD LF_MACROS = 0x0080;
// Keys never repeat on a layout with any of these faces.
inline constexpr WORD LF_NO_REPEAT = LF_MESSAGE | LF_LAUNCHER | LF_TASKS | LF_CALC | LF_MACROS;

inline constexpr int kMaxRows = 6;
inline constexpr int kMaxKeysPerRow = 30;
inline constexpr DWORD kImageCapacity = 50000;
inline constexpr DWORD kLayoutDataCapacity = 4320;
// Modifier slots are 1..10; a key's slot is its flags shifted right by 12.
inline constexpr int kModifierSlots = 10;

struct KeyRecord {
    BYTE row = 0;
    BYTE col = 0;
    WORD flags = 0;
    WORD param = 0;
    BYTE vk = 0;
    RECT rect{};

    // The modifier slot bits (0 to 15); only 1 to 10 name a slot.
    int slot() const { return flags >> 12; }
    bool hasModifierSlot() const { return slot() >= 1 && slot() <= kModifierSlots; }
};

struct SkinLayout {
    SkinLayout() = default;
    ~SkinLayout();
    SkinLayout(const SkinLayout&) = delete;
    SkinLayout& operator=(const SkinLayout&) = delete;

    // The key under a panel point, or null.
    KeyRecord* keyAt(int x, int y);
    // keys[row][col] when the layout has that key, else null (negative numbers included).
    KeyRecord* keyAtRowCol(int row, int col);
    // Empties the key table: no rows, zeroed records, no gesture keys.
    void clearKeys();
    // Replaces the bitmap (deleting the one held); null leaves none.
    void setBitmap(HBITMAP newBitmap);
    // The layout has a size and at least one active key: the panel can show it and the user
    // can leave it again.
    bool canBeShown() const;

    signed char index = -1;
    signed char altIndex = -1;
    WORD flags = 0;
    std::array<BYTE, kImageCapacity> image{};
    int32_t rowCount = 0;
    std::array<BYTE, kMaxRows> rowKeyCount{};
    KeyRecord keys[kMaxRows][kMaxKeysPerRow]{};
    KeyRecord* downKey = nullptr;
    KeyRecord* rightKey = nullptr;
    KeyRecord* leftKey = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    HBITMAP bitmap = nullptr;
};

// The key of `alt` at the position of `key` (a key of the primary layout), or null when the
// primary layout has no alternate or `alt` has no key there.
KeyRecord* alternateKey(const SkinLayout& primary, SkinLayout* alt, const KeyRecord& key);

// The key a stroke selects: 1 up (the alternate of the pressed key), 2 right, 3 down, 4 left.
KeyRecord* gestureKey(SkinLayout& primary, SkinLayout* alt, const KeyRecord& pressed,
                      int direction);

// Turns `layout` into the message face showing `text`, drawn into the memory device context
// `dc`; with TryAgain::Yes it has one key that loads layout 0 again, in the lower right corner,
// never smaller than a stylus needs and wide enough for its label. `screenWidth` chooses the
// scale of the key (more than 400 pixels: twice as large).
enum class TryAgain { No, Yes };
void makeMessageLayout(SkinLayout& layout, HDC dc, const std::u16string& text,
                       TryAgain withTryAgain, int screenWidth);

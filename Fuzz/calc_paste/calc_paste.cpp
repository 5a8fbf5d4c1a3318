// The calculator's paste from arbitrary clipboard text, as another program may leave it: any
// length, terminated or not. Byte 0 sets the display switches, byte 1 counts the calculator
// keys that follow (any code); the rest is the clipboard block. The display text must stay
// within what the display holds.
#include <winbase_memory.h>
#include <winuser.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "calculator/Calculator.h"
#include "panel/MyPanel.h"

namespace {

// Typed text is 13 characters at most and formatted results are shorter than this.
constexpr size_t kLongestText = 16;

void check(bool condition) {
    if (!condition)
        std::abort();
}

void pressKey(CMyPanel& panel, KeyRecord& key, WORD code) {
    key.param = code;
    panel.pressedKey = &key;
    CalcKey(panel);
    check(panel.calcText.size() <= kLongestText);
    const std::u16string shown = CalcDisplayText(panel);
    check(shown.size() <= 2 * kLongestText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    CMyPanel panel;
    panel.calcGrouping = data[0] & 1;
    panel.calcNativeDigits = (data[0] >> 1) & 1;
    const size_t keys = std::min<size_t>(data[1], size - 2);
    const uint8_t* block = data + 2 + keys;
    const size_t blockSize = size - 2 - keys;

    HLOCAL text = LocalAlloc(LMEM_MOVEABLE, blockSize);
    check(text != nullptr);
    if (blockSize > 0) {
        std::memcpy(LocalLock(text), block, blockSize);
        LocalUnlock(text);
    }
    check(OpenClipboard(nullptr));
    check(EmptyClipboard());
    check(SetClipboardData(CF_UNICODETEXT, text) == text);
    check(CloseClipboard());

    KeyRecord key{};
    key.flags = KF_CALC;
    pressKey(panel, key, CalcPaste);
    for (size_t i = 0; i < keys; ++i)
        pressKey(panel, key, data[2 + i]);
    // Copy takes the number back out through a block of its own.
    pressKey(panel, key, CalcCopy);
    check(OpenClipboard(nullptr));
    check(EmptyClipboard());
    check(CloseClipboard());
    return 0;
}

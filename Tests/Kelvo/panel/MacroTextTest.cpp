// Typing a text through the host (spaces as key events, everything else as strings) and reading
// the clipboard's text without trusting it to be terminated.
#include "TypingLayouts.h"
#include "panel/ClipboardText.h"
#include "panel/Macros.h"

using namespace skintest;
using Call = CallbackCall;
using MacroText = PanelTest;

namespace {

std::vector<Call> spacePair() {
    return {Call::charEvent(0x20, 0x80, 0, u' '), Call::charEvent(0x20, 0x10040, 0, u' ')};
}

// Puts `units` on the clipboard as a block of exactly that many characters.
void putOnClipboard(HWND owner, const std::u16string& units) {
    HLOCAL block = LocalAlloc(LMEM_ZEROINIT, units.size() * sizeof(WCHAR));
    ASSERT_NE(block, nullptr);
    std::copy(units.begin(), units.end(), static_cast<WCHAR*>(LocalLock(block)));
    LocalUnlock(block);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

}  // namespace

TEST_F(MacroText, SpacesAreKeyPairsAndRunsAreSingleStrings) {
    writePortraitSkin({typingLayout()});
    createPanel();
    SendMacroText(*panel, u"  ab cd  e\tf ");
    const std::vector<Call> expected =
        spacePair() + spacePair() + std::vector<Call>{Call::string(u"ab")} + spacePair() +
        std::vector<Call>{Call::string(u"cd")} + spacePair() + spacePair() +
        std::vector<Call>{Call::string(u"e\tf")} + spacePair();
    EXPECT_EQ(calls(), expected);
    calls().clear();
    SendMacroText(*panel, u"");
    EXPECT_TRUE(calls().empty());
}

TEST_F(MacroText, ClipboardTextStopsAtTheTerminatorOrTheBlockEnd) {
    writePortraitSkin({typingLayout()});
    createPanel();
    EXPECT_FALSE(ReadClipboardText(panelWindow()).has_value());
    putOnClipboard(panelWindow(), std::u16string(u"12.5\0tail", 9));
    EXPECT_EQ(ReadClipboardText(panelWindow()), u"12.5");
    // A block that ends without a terminator gives all of its characters and nothing after.
    putOnClipboard(panelWindow(), u"unterminated");
    EXPECT_EQ(ReadClipboardText(panelWindow()), u"unterminated");
}

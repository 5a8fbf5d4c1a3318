// Typing a text through the host (spaces as key events, everything else as strings) and reading
// the clipboard's text without trusting it to be terminated.
#include "ClipboardText.h"
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
    ASSERT_TRUE(testsupport::putTextOnClipboard(std::u16string(u"12.5\0tail", 9), panelWindow(),
                                                testsupport::Terminator::Without));
    EXPECT_EQ(ReadClipboardText(panelWindow()), u"12.5");
    // A block that ends without a terminator gives all of its characters and nothing after.
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"unterminated", panelWindow(),
                                                testsupport::Terminator::Without));
    EXPECT_EQ(ReadClipboardText(panelWindow()), u"unterminated");
}

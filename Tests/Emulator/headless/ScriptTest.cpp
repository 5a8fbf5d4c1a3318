// Script lines as the headless runner reads them: every command with its arguments, and the
// reasons bad lines are refused.
#include <gtest/gtest.h>
#include <winuser.h>

#include "headless/Script.h"
#include "headless/TextEscapes.h"

namespace {

Command parsed(std::string_view line) {
    auto result = parseScriptLine(line);
    EXPECT_TRUE(std::holds_alternative<Command>(result)) << line;
    return std::holds_alternative<Command>(result) ? std::get<Command>(result) : Command{};
}

std::string refusal(std::string_view line) {
    auto result = parseScriptLine(line);
    EXPECT_TRUE(std::holds_alternative<ScriptError>(result)) << line;
    return std::holds_alternative<ScriptError>(result) ? std::get<ScriptError>(result).message
                                                       : std::string();
}

using Kind = Command::Kind;

TEST(ScriptLines, StylusCommandsTakeTwoScreenPoints) {
    Command tap = parsed("tap 12 300");
    EXPECT_EQ(tap.kind, Kind::Tap);
    EXPECT_EQ(tap.a, 12);
    EXPECT_EQ(tap.b, 300);
    EXPECT_EQ(parsed("  down 0 0  ").kind, Kind::Down);
    EXPECT_EQ(parsed("move\t5\t6").kind, Kind::Move);
    EXPECT_EQ(parsed("up 5 6\r").kind, Kind::Up);

    EXPECT_NE(refusal("tap 12").find("X Y"), std::string::npos);
    EXPECT_NE(refusal("tap 12 -3").find("'-3'"), std::string::npos);
    EXPECT_FALSE(refusal("tap 1x 2").empty());
    EXPECT_FALSE(refusal("tap 1 2 3").empty());
    EXPECT_FALSE(refusal("tap 99999999999999999999 2").empty());
}

TEST(ScriptLines, CommentsAndEmptyLinesDoNothing) {
    EXPECT_EQ(parsed("").kind, Kind::Nothing);
    EXPECT_EQ(parsed("   \t").kind, Kind::Nothing);
    EXPECT_EQ(parsed("# tap 1 2").kind, Kind::Nothing);
    EXPECT_EQ(parsed("   # indented").kind, Kind::Nothing);
}

TEST(ScriptLines, KeysAreVirtualKeyNamesOrOneCharacter) {
    Command back = parsed("key VK_BACK");
    EXPECT_EQ(back.kind, Kind::Key);
    EXPECT_EQ(back.vk, static_cast<unsigned>(VK_BACK));
    EXPECT_EQ(parsed("key VK_F5").vk, static_cast<unsigned>(VK_F5));
    EXPECT_EQ(parsed("key VK_Q").vk, static_cast<unsigned>('Q'));
    Command letter = parsed("key a");
    EXPECT_EQ(letter.vk, 0u);
    EXPECT_EQ(letter.text16, u"a");
    EXPECT_EQ(parsed("key \xD8\xB4").text16, u"\u0634");  // Farsi sheen
    EXPECT_EQ(parsed("key \\\\").text16, u"\\");
    EXPECT_EQ(parsed("key #").text16, u"#");

    EXPECT_FALSE(refusal("key VK_NOSUCH").empty());
    EXPECT_FALSE(refusal("key ab").empty());
    EXPECT_FALSE(refusal("key").empty());
    EXPECT_FALSE(refusal("key \xFF").empty());

    // A key held down and let go takes a name only.
    Command shift = parsed("keydown VK_SHIFT");
    EXPECT_EQ(shift.kind, Kind::KeyDown);
    EXPECT_EQ(shift.vk, static_cast<unsigned>(VK_SHIFT));
    EXPECT_EQ(parsed("keyup VK_SHIFT").kind, Kind::KeyUp);
    EXPECT_FALSE(refusal("keydown a").empty());
    EXPECT_FALSE(refusal("keyup").empty());
    EXPECT_FALSE(refusal("keydown VK_SHIFT VK_A").empty());
}

TEST(ScriptLines, DataChannelPanelAndProgramCommands) {
    Command press = parsed("presskey 2 7");
    EXPECT_EQ(press.kind, Kind::PressKey);
    EXPECT_EQ(press.a, 2);
    EXPECT_EQ(press.b, 7);
    EXPECT_EQ(parsed("layout 3").a, 3);
    EXPECT_FALSE(refusal("layout 65536").empty());
    EXPECT_EQ(parsed("sip on").a, 1);
    EXPECT_EQ(parsed("sip off").a, 0);
    EXPECT_FALSE(refusal("sip maybe").empty());
    EXPECT_EQ(parsed("rotate").kind, Kind::Rotate);
    EXPECT_FALSE(refusal("rotate now").empty());

    Command run = parsed("run notes.exe  \\My Documents\\a.txt");
    EXPECT_EQ(run.kind, Kind::Run);
    EXPECT_EQ(run.text, "notes.exe  \\My Documents\\a.txt");
    EXPECT_FALSE(refusal("run").empty());
    EXPECT_EQ(parsed("wait 1000").a, 1000);
    EXPECT_FALSE(refusal("wait -1").empty());
    EXPECT_EQ(parsed("tap-control -5").a, -5);
}

TEST(ScriptLines, ShotsArePngFilesAndExpectedTextsUseEscapes) {
    EXPECT_EQ(parsed("shot out/a.png").text, "out/a.png");
    EXPECT_FALSE(refusal("shot a.bmp").empty());
    EXPECT_FALSE(refusal("shot .png").empty());
    EXPECT_FALSE(refusal("shot a.png b.png").empty());

    EXPECT_EQ(parsed("expect-text a\\r\\nb\\\\c").text16, u"a\r\nb\\c");
    EXPECT_EQ(parsed("expect-text").text16, u"");
    EXPECT_EQ(parsed("expect-text #not a comment").text16, u"#not a comment");
    EXPECT_NE(refusal("expect-text a\\tb").find("escape"), std::string::npos);
    EXPECT_FALSE(refusal("expect-text trailing\\").empty());
}

TEST(ScriptLines, UnknownCommandsLongLinesAndZeroBytesAreRefused) {
    EXPECT_NE(refusal("bogus 1 2").find("'bogus'"), std::string::npos);
    EXPECT_FALSE(refusal("print-text please").empty());
    EXPECT_FALSE(refusal(std::string(kMaxScriptLine + 1, 'a')).empty());
    EXPECT_FALSE(refusal(std::string("tap 1 2\0", 8)).empty());
    for (auto line :
         {"print-text", "print-sip", "print-front", "print-windows", "print-controls", "print-log"})
        EXPECT_NE(parsed(line).kind, Kind::Nothing) << line;
}

TEST(TextEscapes, RoundTripTheThreeEscapesAndRefuseBrokenUtf8) {
    EXPECT_EQ(escapeText(u"a\r\nb\\c\u0633"), "a\\r\\nb\\\\c\xD8\xB3");
    EXPECT_EQ(unescapeText("a\\r\\nb\\\\c\xD8\xB3"), std::u16string(u"a\r\nb\\c\u0633"));
    EXPECT_EQ(unescapeText("\xEF\xBF\xBD"), std::u16string(u"\uFFFD"));
    EXPECT_FALSE(unescapeText("\xC3").has_value());
    EXPECT_FALSE(unescapeText("\\x").has_value());
}

}  // namespace

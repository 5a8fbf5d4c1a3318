// kvtext run as a program: shaped glyphs in visual order, the level, map and base listings,
// wrapping, and its answers to bad input and bad command lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
};

// Runs kvtext with `args`, feeding it `input`; stderr is dropped.
ToolRun kvtext(const std::string& args, const std::string& input) {
    const std::filesystem::path in = std::filesystem::temp_directory_path() /
                                     ("kvtext-input-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream file(in, std::ios::binary);
        file << input;
    }
    const std::string command =
        std::string(KVTEXT_PATH) + " " + args + " < " + in.string() + " 2>/dev/null";
    ToolRun run{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::filesystem::remove(in);
    return run;
}

}  // namespace

TEST(KvText, HexPrintsAFarsiWordsShapedFormsInVisualOrder) {
    // "سلام": seen initial, lam-alef final, meem isolated; shown right to left.
    const ToolRun run = kvtext("--hex", "\u0633\u0644\u0627\u0645\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "U+FEE1 U+FEFC U+FEB3\n");
    // Without --hex the same glyphs come as UTF-8.
    EXPECT_EQ(kvtext("", "\u0628\u0628\u0628\n").out, "\uFE90\uFE92\uFE91\n");
}

TEST(KvText, ListsBaseLevelsAndMapsPerParagraph) {
    const ToolRun run = kvtext("--base --levels --maps", "ab \u0644\u0627\n\nxy");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "base 0\n"
              "levels 0 0 0 1 1\n"
              "logToVis 0 1 2 3 3\n"
              "visToLog 0 1 2 3\n"
              "ab \uFEFB\n"
              "base 0\n"
              "levels\n"
              "logToVis\n"
              "visToLog\n"
              "\n"
              "base 0\n"
              "levels 0 0\n"
              "logToVis 0 1\n"
              "visToLog 0 1\n"
              "xy\n");
    // Glyph-less characters show as '-' in logToVis.
    EXPECT_EQ(kvtext("--maps", "a\u200Cb\n").out, "logToVis 0 - 1\nvisToLog 0 2\nab\n");
}

TEST(KvText, WidthWrapsEachParagraphIntoLines) {
    const ToolRun run = kvtext("--width 1", "abc\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "a\nb\nc\n");
    EXPECT_EQ(kvtext("--width 100000 --font-height 20", "abc def\r\n").out, "abc def\n");
}

TEST(KvText, RefusesInputThatIsNotUtf8AndBadCommandLines) {
    EXPECT_EQ(kvtext("", "ab\n\xC3\x28\n").exitCode, 1);
    EXPECT_EQ(kvtext("", "\xED\xA0\x80\n").exitCode, 1);  // a surrogate
    EXPECT_EQ(kvtext("", "\xC0\xAF").exitCode, 1);        // overlong
    EXPECT_EQ(kvtext("--bogus", "").exitCode, 2);
    EXPECT_EQ(kvtext("--width", "").exitCode, 2);
    EXPECT_EQ(kvtext("--width 0", "").exitCode, 2);
    EXPECT_EQ(kvtext("--font-height x", "").exitCode, 2);
    const ToolRun help = kvtext("--help", "");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: kvtext"), std::string::npos);
}

// kvemu's command line: defaults, every option, and the errors that make it exit with 2.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Options.h"

namespace {

Options accepted(std::vector<std::string> arguments) {
    OptionsResult result = parseOptions(arguments);
    EXPECT_TRUE(result.options.has_value()) << result.error;
    return result.options.value_or(Options{});
}

std::string refused(std::vector<std::string> arguments) {
    OptionsResult result = parseOptions(arguments);
    EXPECT_FALSE(result.options.has_value());
    return result.error;
}

TEST(CommandLine, DefaultsAreAWindowedPortraitDeviceInTheHomeFolder) {
    setenv("HOME", "/home/someone", 1);
    Options options = accepted({});
    EXPECT_EQ(options.screenWidth, 240);
    EXPECT_EQ(options.screenHeight, 320);
    EXPECT_EQ(options.frontEnd, FrontEnd::Window);
    EXPECT_EQ(options.clock, ClockKind::Real);
    EXPECT_EQ(options.scale, 2);
    EXPECT_EQ(options.deviceFolder, "/home/someone/.local/share/kelvo-emulator");
    EXPECT_FALSE(options.reset);
}

TEST(CommandLine, HeadlessRunsUseTheVirtualClockUnlessRealTimeIsAsked) {
    Options options = accepted({"--headless", "--script", "-", "--device", "/tmp/d"});
    EXPECT_EQ(options.frontEnd, FrontEnd::Headless);
    EXPECT_EQ(options.clock, ClockKind::Virtual);
    EXPECT_EQ(options.script, "-");
    EXPECT_EQ(options.deviceFolder, "/tmp/d");
    EXPECT_EQ(accepted({"--headless", "--real-time"}).clock, ClockKind::Real);
}

TEST(CommandLine, ScreenScaleResetAndLogAreRead) {
    Options options =
        accepted({"--screen", "480x640", "--reset", "--log", "events.txt", "--device", "d"});
    EXPECT_EQ(options.screenWidth, 480);
    EXPECT_EQ(options.screenHeight, 640);
    EXPECT_EQ(options.scale, 1);
    EXPECT_TRUE(options.reset);
    EXPECT_EQ(options.logFile, "events.txt");
    EXPECT_EQ(accepted({"--scale", "3", "--device", "d"}).scale, 3);
}

TEST(CommandLine, BadArgumentsAreNamed) {
    EXPECT_NE(refused({"--screen", "240"}).find("WxH"), std::string::npos);
    EXPECT_FALSE(refused({"--screen", "0x320"}).empty());
    EXPECT_FALSE(refused({"--screen", "5000x320"}).empty());
    EXPECT_FALSE(refused({"--screen", "240x320x2"}).empty());
    EXPECT_FALSE(refused({"--screen"}).empty());
    EXPECT_FALSE(refused({"--scale", "0"}).empty());
    EXPECT_FALSE(refused({"--device"}).empty());
    EXPECT_NE(refused({"--script", "a.txt"}).find("--headless"), std::string::npos);
    EXPECT_NE(refused({"--frobnicate"}).find("--frobnicate"), std::string::npos);
}

}  // namespace

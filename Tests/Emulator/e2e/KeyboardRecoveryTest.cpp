// The keyboard on kvemu's device when something goes wrong: a press cut short by hiding the
// panel, skins whose first or shifted face cannot be used, a skin file that is no file, and the
// panel's size after Try Again and after a rotation with the skin missing.
#include <device/FileSystem.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <wchar16.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "ScreenPicture.h"
#include "SkinKeys.h"
#include "TestSkinRun.h"

namespace {

using ::testing::HasSubstr;

// A print-sip line: the SIP window's rectangle and the layout shown.
struct SipLine {
    int left = -1, top = -1, right = -1, bottom = -1, layout = -2;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

SipLine sipLine(const std::string& line) {
    SipLine sip;
    int visible = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "sip %d %d %d %d layout %d visible %d", &sip.left, &sip.top,
                          &sip.right, &sip.bottom, &sip.layout, &visible),
              6)
        << line;
    return sip;
}

std::string point(int x, int y) {
    return std::to_string(x) + " " + std::to_string(y);
}

// The share of white pixels where the SIP window lies on the screen: the message face is white.
double whiteShare(const std::filesystem::path& shot, const SipLine& sip) {
    Picture picture;
    EXPECT_TRUE(readPng(shot, picture)) << shot;
    int white = 0, all = 0;
    for (int y = sip.top; y < std::min(sip.bottom, picture.height); ++y) {
        for (int x = sip.left; x < std::min(sip.right, picture.width); ++x) {
            ++all;
            white += picture.at(x, y) == 0xFFFFFF;
        }
    }
    return all == 0 ? 0 : static_cast<double>(white) / all;
}

// A face of one row: 'a' on the left, a key to layout 1 on the right.
skintest::Layout letterFace() {
    skintest::Layout layout;
    layout.picture = skintest::bmpPicture(240, 80, 0xC0C0C0);
    layout.rows = {{skintest::charKey(u'a', 0x41, RECT{0, 0, 120, 80}),
                    skintest::Key{0x0002, 1, 0, RECT{120, 0, 240, 80}}}};
    return layout;
}

skintest::Layout sevenRows() {
    skintest::Layout layout = letterFace();
    layout.rows.resize(7, {skintest::charKey(u'x', 0x58, RECT{0, 0, 10, 10})});
    return layout;
}

class KeyboardRecovery : public TestSkinKvemuTest {
protected:
    std::filesystem::path screenshot(const std::string& name) { return shot(name); }
};

TEST_F(KeyboardRecovery, HidingThePanelMidPressTypesNothingMore) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    const TableKey* key = farsi.at(0, 0);
    ASSERT_NE(key, nullptr);
    const SipLine sip = sipLine(run("print-sip\n").out);
    const std::string at = point(sip.left + key->centreX(), sip.top + key->centreY());
    // The panel goes away under the held stylus, which comes up on Notes; the panel comes back.
    KvemuResult result = run("down " + at + "\nsip off\nwait 2000\nup " + at +
                             "\nsip on\nwait 2000\nprint-text\ntap " + at + "\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string one = platform::toUtf8(std::u16string(1, static_cast<char16_t>(key->param)));
    EXPECT_EQ(result.lines(), (std::vector<std::string>{"", one}));
}

TEST_F(KeyboardRecovery, FirstFacesThatCannotBeShownGiveTheMessageFace) {
    useTestSkin();
    skintest::Layout empty;
    empty.withData = false;
    skintest::Layout noData = letterFace();
    noData.withData = false;
    skintest::Layout noSize = letterFace();
    noSize.width = 0;
    noSize.height = 0;
    skintest::Layout noKeys = letterFace();
    noKeys.rows.clear();
    const std::vector<std::pair<const char*, skintest::Layout>> broken = {
        {"empty", empty}, {"no-data", noData}, {"no-size", noSize}, {"no-keys", noKeys}};
    for (const auto& [name, layout] : broken) {
        SCOPED_TRACE(name);
        writeTestSkin({layout, letterFace()});
        const auto shot = screenshot(std::string("broken-") + name + ".png");
        // The face at the SIP window's size, with its Try Again key at the lower right.
        KvemuResult result = run("print-sip\nshot " + shot.string() +
                                 "\ntap 200 285\nprint-sip\ntap 60 255\n" + "print-text\n");
        ASSERT_EQ(result.status, 0) << result.errors;
        const auto lines = result.lines();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "sip 0 215 242 296 layout 0 visible 1");
        EXPECT_EQ(lines[1], lines[0]);
        EXPECT_EQ(lines[2], "");
        EXPECT_GT(whiteShare(shot, sipLine(lines[0])), 0.7);
    }
}

TEST_F(KeyboardRecovery, ABadShiftedFaceIsRefusedAndTheOthersStayUsable) {
    useTestSkin();
    // The face that the right-hand key switches to has seven rows.
    writeTestSkin({letterFace(), sevenRows()});
    KvemuResult result =
        run("tap 180 255\nlayout 1\nprint-sip\ntap 60 255\nprint-text\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "sip 0 215 242 296 layout 0 visible 1");
    EXPECT_EQ(lines[1], "a");
    // A beep for each refused switch.
    size_t beeps = 0;
    for (size_t at = result.out.find(" beep 0x40\n"); at != std::string::npos;
         at = result.out.find(" beep 0x40\n", at + 1))
        ++beeps;
    EXPECT_EQ(beeps, 2u) << result.out;

    // As the alternate face of the upward stroke, it leaves the first face working.
    skintest::Layout withAlternate = letterFace();
    withAlternate.alt = 1;
    writeTestSkin({withAlternate, sevenRows()});
    result = run("print-sip\ndown 60 255\nup 60 200\ntap 60 255\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines(),
              (std::vector<std::string>{"sip 0 215 242 296 layout 0 visible 1", "a"}));
}

TEST_F(KeyboardRecovery, ASkinFileThatIsAFifoCountsAsMissing) {
    useTestSkin();
    ASSERT_EQ(::mkfifo(testSkinFile().c_str(), 0600), 0);
    const auto shot = screenshot("fifo-skin.png");
    KvemuResult result = run("print-sip\nshot " + shot.string() + "\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    ASSERT_EQ(result.lines().size(), 1u);
    EXPECT_EQ(result.lines()[0], "sip 0 215 242 296 layout 0 visible 1");
    EXPECT_GT(whiteShare(shot, sipLine(result.lines()[0])), 0.7);
}

TEST_F(KeyboardRecovery, TryAgainBringsTheWholeKeyboardBack) {
    struct Screen {
        const char* size;
        int width, height;
    };
    for (const Screen screen : {Screen{"480x640", 480, 640}, Screen{"240x320", 240, 320}}) {
        SCOPED_TRACE(screen.size);
        const std::string size = screen.size;
        const KeyTable keys = kvskinKeys(size, 0);
        std::filesystem::remove(testSkinFile());
        useTestSkin("--screen " + size);
        // kvemu reads its script from a pipe, so that the skin can come back between lines.
        const std::filesystem::path out = file("live-out-" + size), errors = file("live-err");
        KvemuProcess kvemu(device(), out, errors, "--screen " + size);
        const auto missing = screenshot("message-face-" + size + ".png");
        std::filesystem::remove(missing);  // its coming tells that the face is up
        kvemu.send("print-sip\nshot " + missing.string() + "\n");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!std::filesystem::exists(missing) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::filesystem::copy_file(DEFAULT_SKIN, testSkinFile());
        // Try Again, at the lower right of the 80-pixel face that spans the screen.
        const int scale = screen.width > 400 ? 2 : 1;
        const int faceTop = screen.height - 26 - 80 + 1;
        const auto back = screenshot("try-again-" + size + ".png");
        kvemu.send("tap " + point(screen.width - 5 * scale - 40, faceTop + 80 - 5 * scale - 5) +
                   "\nprint-sip\nshot " + back.string() + "\n");
        ASSERT_EQ(kvemu.finish(), 0) << slurp(errors);

        std::istringstream lines(slurp(out));
        std::string first, second;
        std::getline(lines, first);
        std::getline(lines, second);
        const SipLine face = sipLine(first);
        EXPECT_EQ(face.width(), screen.width + 2);
        EXPECT_EQ(face.height(), 81);
        EXPECT_EQ(face.bottom, screen.height - 26 + 2);
        EXPECT_GT(whiteShare(missing, face), 0.7);
        // The whole keyboard, docked as at any start.
        const SipLine sip = sipLine(second);
        EXPECT_EQ(sip.width(), keys.width + 2);
        EXPECT_EQ(sip.height(), keys.height + 1);
        EXPECT_EQ(sip.bottom, face.bottom);
        EXPECT_EQ(sip.layout, 0);
        EXPECT_LT(whiteShare(back, sip), 0.7);
    }
}

TEST_F(KeyboardRecovery, MessageFaceSpansTheScreenAfterARotation) {
    useTestSkin();
    const auto turned = screenshot("message-face-rotated-320x240.png");
    KvemuResult result =
        run("print-sip\nrotate\nwait 1000\nprint-sip\nshot " + turned.string() + "\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "sip 0 215 242 296 layout 0 visible 1");
    EXPECT_EQ(lines[1], "sip 0 135 322 216 layout 0 visible 1");
    EXPECT_GT(whiteShare(turned, sipLine(lines[1])), 0.7);
}

}  // namespace

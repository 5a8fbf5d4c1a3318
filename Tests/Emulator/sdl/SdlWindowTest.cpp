// The emulator's SDL window on a private Xvfb display, with front-end controls that record
// what reaches them: the window shows the device screen scaled and takes only what changed,
// the mouse is the stylus at screen pixels, keys and text reach the controls, F5/F6/F9 run
// their commands, a rotation reshapes the window, and a beep flashes it with or without sound.
#include <device/Screen.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DeviceTest.h"
#include "VirtualDisplay.h"
#include "frontend/SdlWindow.h"

namespace {

using namespace std::chrono_literals;

class RecordingControls : public FrontEndControls {
public:
    void hardwareKey(UINT vk, KeyTransition transition, KeyCharacter character) override {
        EXPECT_EQ(character, KeyCharacter::AsText);
        char line[32];
        std::snprintf(line, sizeof line, "key %02X %s", vk,
                      transition == KeyTransition::Down ? "down" : "up");
        add(std::u16string(line, line + std::strlen(line)));
    }
    void hardwareText(std::u16string_view text) override { add(u"text " + std::u16string(text)); }
    void rotate() override {
        add(u"rotate");
        device::setScreenSize(device::screenHeight(), device::screenWidth());
    }
    void toggleInputPanel() override { add(u"panel"); }
    std::filesystem::path saveScreenshot() override {
        add(u"screenshot");
        return {};
    }
    std::vector<std::u16string> calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    void add(std::u16string call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    std::mutex m_mutex;
    std::vector<std::u16string> m_calls;
};

// What the window showed: its frames with their pixels, its beeps.
class Watcher : public SdlWindowObserver {
public:
    struct Shown {
        SdlFrame frame;
        int width = 0;
        int height = 0;
        SDL_Point centre{};  // of the window on the desktop
        std::vector<uint32_t> pixels;
        uint32_t at(int x, int y) const {
            return pixels[static_cast<size_t>(y * width + x)] & 0x00FFFFFFu;
        }
    };

    void opened(SDL_Window* window) override {
        // As a window manager may do: the window made another size than the picture's.
        if (resizeTo.x > 0)
            SDL_SetWindowSize(window, resizeTo.x, resizeTo.y);
        std::lock_guard lock(m_mutex);
        m_windowId = SDL_GetWindowID(window);
        m_open = true;
        m_changed.notify_all();
    }
    void frameDrawn(SDL_Renderer* renderer, const SdlFrame& frame) override {
        Shown shown;
        shown.frame = frame;
        SDL_GetRendererOutputSize(renderer, &shown.width, &shown.height);
        SDL_GetWindowPosition(SDL_RenderGetWindow(renderer), &shown.centre.x, &shown.centre.y);
        shown.centre.x += shown.width / 2;
        shown.centre.y += shown.height / 2;
        shown.pixels.resize(static_cast<size_t>(shown.width * shown.height));
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, shown.pixels.data(),
                             shown.width * 4);
        std::lock_guard lock(m_mutex);
        m_frames.push_back(std::move(shown));
        m_changed.notify_all();
    }
    void beeped(bool sounded) override {
        std::lock_guard lock(m_mutex);
        m_beeps.push_back(sounded);
        m_changed.notify_all();
    }

    // Waits (at most 10 s of real time) until `done` holds for what was seen.
    template <typename Done>
    bool waitFor(Done done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [&] { return done(*this); });
    }

    // Waits (at most 10 s of real time) for a frame, among those drawn after the first
    // `since`, for which `wanted` holds, and gives a copy of the first one. Frames drawn after
    // it (the host's redraws) do not hide it.
    template <typename Wanted>
    std::optional<Shown> waitForFrame(size_t since, Wanted wanted) {
        std::optional<Shown> found;
        waitFor([&](Watcher& w) {
            for (size_t i = since; i < w.m_frames.size() && !found; ++i) {
                if (wanted(w.m_frames[i]))
                    found = w.m_frames[i];
            }
            return found.has_value();
        });
        return found;
    }

    SDL_Point resizeTo{0, 0};  // set before the window opens

    bool open() const { return m_open; }
    Uint32 windowId() const { return m_windowId; }
    const std::vector<Shown>& frames() const { return m_frames; }
    const std::vector<bool>& beeps() const { return m_beeps; }
    size_t frameCount() {
        std::lock_guard lock(m_mutex);
        return m_frames.size();
    }
    Shown lastFrame() {
        std::lock_guard lock(m_mutex);
        return m_frames.back();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    Uint32 m_windowId = 0;
    std::vector<Shown> m_frames;
    std::vector<bool> m_beeps;
};

void fillScreen(RECT r, COLORREF color) {
    HDC dc = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(nullptr, dc);
}

// A device window over the whole screen that keeps the stylus messages it gets.
std::vector<MSG> g_stylus;
LRESULT CALLBACK stylusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP)
        g_stylus.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND makeStylusTarget() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = stylusProc;
    wc.lpszClassName = u"StylusTarget";
    EXPECT_NE(RegisterClassW(&wc), 0);
    HWND target = CreateWindowExW(0, u"StylusTarget", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                  nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(target, nullptr);
    return target;
}

// Dispatches the test thread's messages until the stylus target has `count` of them (at most
// 10 s of real time).
void takeStylus(size_t count) {
    for (auto until = std::chrono::steady_clock::now() + 10s;
         g_stylus.size() < count && std::chrono::steady_clock::now() < until;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::sleep_for(1ms);
    }
}

class SdlWindowTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        g_stylus.clear();
        m_display = std::make_unique<VirtualDisplay>();
        if (!m_display->running())
            GTEST_SKIP() << "no X display for the window: " << m_display->problem();
        // No sound output unless a test asks for one: the beep is then a flash alone.
        ::setenv("SDL_AUDIODRIVER", "none-here", 1);
    }
    void TearDown() override {
        if (m_thread.joinable())
            close();
        m_display.reset();
        DeviceTest::TearDown();
    }

    void open(int scale = 2) {
        m_thread =
            std::thread([this, scale] { m_result = runSdlWindow(m_controls, scale, &m_watcher); });
        ASSERT_TRUE(m_watcher.waitFor([](Watcher& w) { return w.open(); }));
    }
    void close() {
        push(SDL_QUIT);
        m_thread.join();
        EXPECT_EQ(m_result, 0);
    }
    void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    void push(Uint32 type) {
        SDL_Event e{};
        e.type = type;
        push(e);
    }
    void mouse(Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.windowID = m_watcher.windowId();
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.windowID = m_watcher.windowId();
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = x;
            e.button.y = y;
        }
        push(e);
    }
    void key(Uint32 type, SDL_Keycode sym, bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = m_watcher.windowId();
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = sym;
        push(e);
    }
    void text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = m_watcher.windowId();
        std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        push(e);
    }
    // Waits until the controls have seen `count` calls.
    bool callsReach(size_t count) {
        for (auto until = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(1ms)) {
            if (m_controls.calls().size() >= count)
                return true;
        }
        return false;
    }

    std::unique_ptr<VirtualDisplay> m_display;
    RecordingControls m_controls;
    Watcher m_watcher;
    std::thread m_thread;
    int m_result = -1;
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

TEST_F(SdlWindowTest, ShowsTheScreenScaledAndTakesOnlyTheChangedRectangle) {
    fillScreen(RECT{10, 20, 30, 40}, kRed);
    open(2);
    Watcher::Shown first = m_watcher.lastFrame();
    ASSERT_EQ(first.width, 480);
    ASSERT_EQ(first.height, 640);
    EXPECT_EQ(first.at(2 * 10, 2 * 20), 0xFF0000u);
    EXPECT_EQ(first.at(2 * 30 - 1, 2 * 40 - 1), 0xFF0000u);
    EXPECT_EQ(first.at(2 * 30, 2 * 40), 0x000000u);
    EXPECT_EQ(first.at(0, 0), 0x000000u);

    const size_t before = m_watcher.frameCount();
    fillScreen(RECT{100, 200, 110, 205}, kBlue);
    // (The host may have the window redraw meanwhile, uncovering it: such frames take nothing.)
    const auto next = m_watcher.waitForFrame(
        before, [](const Watcher::Shown& shown) { return shown.frame.updated.has_value(); });
    ASSERT_TRUE(next);
    const size_t taken = m_watcher.frameCount();
    EXPECT_EQ(*next->frame.updated, (ScreenRect{100, 200, 10, 5}));
    EXPECT_EQ(next->at(2 * 100, 2 * 200), 0x0000FFu);
    EXPECT_EQ(next->at(2 * 15, 2 * 25), 0xFF0000u);  // what did not change is still shown

    // Drawing the same pixels again changes nothing on the picture: no frame takes anything.
    fillScreen(RECT{100, 200, 110, 205}, kBlue);
    std::this_thread::sleep_for(100ms);
    for (size_t i = taken; i < m_watcher.frameCount(); ++i)
        EXPECT_FALSE(m_watcher.frames()[i].frame.updated.has_value());
}

TEST_F(SdlWindowTest, TheMouseIsTheStylusAtScreenPixels) {
    HWND target = makeStylusTarget();
    open(2);
    mouse(SDL_MOUSEMOTION, 300, 300);  // no pen down: nothing
    mouse(SDL_MOUSEBUTTONDOWN, 41, 61);
    mouse(SDL_MOUSEMOTION, 100, 81);
    mouse(SDL_MOUSEMOTION, -30, 900);  // dragged outside: held at the screen's edge
    mouse(SDL_MOUSEBUTTONUP, -30, 900);
    takeStylus(4);
    ASSERT_EQ(g_stylus.size(), 4u);
    EXPECT_EQ(g_stylus[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(g_stylus[0].lParam, MAKELPARAM(20, 30));
    EXPECT_EQ(g_stylus[1].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(g_stylus[1].lParam, MAKELPARAM(50, 40));
    EXPECT_EQ(g_stylus[2].lParam, MAKELPARAM(0, 319));
    EXPECT_EQ(g_stylus[3].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(g_stylus[3].lParam, MAKELPARAM(0, 319));
    DestroyWindow(target);
}

TEST_F(SdlWindowTest, AWindowOfAnotherSizeStillMapsTheMouseOntoTheWholeScreen) {
    HWND target = makeStylusTarget();
    m_watcher.resizeTo = SDL_Point{720, 960};  // three times the screen, the scale being two
    open(2);
    mouse(SDL_MOUSEBUTTONDOWN, 300, 450);
    mouse(SDL_MOUSEBUTTONUP, 719, 959);
    takeStylus(2);
    ASSERT_EQ(g_stylus.size(), 2u);
    EXPECT_EQ(g_stylus[0].lParam, MAKELPARAM(100, 150));
    EXPECT_EQ(g_stylus[1].lParam, MAKELPARAM(239, 319));
    DestroyWindow(target);
}

TEST_F(SdlWindowTest, KeysAndTextReachTheControlsAndFunctionKeysRunCommands) {
    open(1);
    key(SDL_KEYDOWN, SDLK_a);
    text("a");
    key(SDL_KEYUP, SDLK_a);
    key(SDL_KEYDOWN, SDLK_BACKSPACE);
    key(SDL_KEYDOWN, SDLK_BACKSPACE, true);  // held: the device sees it repeat
    key(SDL_KEYUP, SDLK_BACKSPACE);
    text("\xd8\xb3\xd9\x84");  // Farsi typed on the host: sin, lam
    key(SDL_KEYDOWN, SDLK_F5);
    key(SDL_KEYDOWN, SDLK_F5, true);  // a held F5 turns the device once
    key(SDL_KEYUP, SDLK_F5);
    key(SDL_KEYDOWN, SDLK_F9);
    key(SDL_KEYDOWN, SDLK_F6);
    key(SDL_KEYDOWN, SDLK_LSHIFT);
    key(SDL_KEYDOWN, SDLK_PRINTSCREEN);  // no device key: nothing
    key(SDL_KEYDOWN, SDLK_LEFT);
    ASSERT_TRUE(callsReach(12));
    std::this_thread::sleep_for(50ms);
    const std::vector<std::u16string> expected = {
        u"key 41 down", u"text a",     u"key 41 up",         u"key 08 down",
        u"key 08 down", u"key 08 up",  u"text \u0633\u0644", u"rotate",
        u"panel",       u"screenshot", u"key 10 down",       u"key 25 down",
    };
    EXPECT_EQ(m_controls.calls(), expected);
}

TEST_F(SdlWindowTest, ARotationReshapesTheWindowAboutItsCentreAndShowsTheWholeNewScreen) {
    open(2);
    const SDL_Point centre = m_watcher.lastFrame().centre;
    const size_t before = m_watcher.frameCount();
    key(SDL_KEYDOWN, SDLK_F5);
    const auto turned = m_watcher.waitForFrame(before, [](const Watcher::Shown& shown) {
        return shown.frame.updated && shown.frame.updated->width == 320;
    });
    ASSERT_TRUE(turned);
    EXPECT_EQ(*turned->frame.updated, (ScreenRect{0, 0, 320, 240}));
    // The window follows once the host has resized it.
    fillScreen(RECT{300, 220, 320, 240}, kRed);
    ASSERT_TRUE(m_watcher.waitFor([](Watcher& w) {
        const auto& f = w.frames().back();
        return f.width == 640 && f.height == 480 && f.at(639, 479) == 0xFF0000u;
    }));
    EXPECT_EQ(m_watcher.lastFrame().centre.x, centre.x);
    EXPECT_EQ(m_watcher.lastFrame().centre.y, centre.y);
}

TEST_F(SdlWindowTest, ABeepFlashesTheWindowAndItsEndShowsTheScreenAgain) {
    open(1);
    MessageBeep(MB_ICONASTERISK);
    ASSERT_TRUE(m_watcher.waitFor([](Watcher& w) { return !w.beeps().empty(); }));
    EXPECT_FALSE(m_watcher.beeps()[0]);  // no sound output here: no error, just the flash
    const auto flashed =
        m_watcher.waitForFrame(0, [](const Watcher::Shown& shown) { return shown.frame.flashing; });
    ASSERT_TRUE(flashed);
    EXPECT_GT(flashed->at(5, 5) & 0xFF, 0x40u);  // the black screen shows light
    ASSERT_TRUE(m_watcher.waitFor([](Watcher& w) { return !w.frames().back().frame.flashing; }));
    EXPECT_EQ(m_watcher.lastFrame().at(5, 5), 0x000000u);
}

TEST_F(SdlWindowTest, ABeepSoundsWhereThereIsASoundOutput) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    open(1);
    MessageBeep(MB_OK);
    ASSERT_TRUE(m_watcher.waitFor([](Watcher& w) { return !w.beeps().empty(); }));
    EXPECT_TRUE(m_watcher.beeps()[0]);
}

TEST_F(SdlWindowTest, ClosingWithThePenDownLiftsIt) {
    HWND target = makeStylusTarget();
    open(1);
    mouse(SDL_MOUSEBUTTONDOWN, 7, 9);
    close();
    takeStylus(2);
    ASSERT_EQ(g_stylus.size(), 2u);
    EXPECT_EQ(g_stylus[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(g_stylus[1].lParam, MAKELPARAM(7, 9));
    DestroyWindow(target);
}

TEST(SdlWindow, ABadScaleOrNoDisplayIsAnErrorNotACrash) {
    RecordingControls controls;
    EXPECT_EQ(runSdlWindow(controls, 0), 2);
    EXPECT_EQ(runSdlWindow(controls, kMaxSdlWindowScale + 1), 2);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(runSdlWindow(controls, 2), 1);
    EXPECT_TRUE(controls.calls().empty());
}

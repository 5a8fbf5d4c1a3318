// The SDL2 window's loop: host events become stylus and key input for the device; the device
// screen is watched through its version and only the changed rectangle of the window's
// texture is updated; beeps in the device's event log flash the picture and sound a tone.
#include "frontend/SdlWindow.h"

#include <device/EventLog.h>
#include <device/Input.h>
#include <device/Screen.h>
#include <winnls.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/BeepSound.h"
#include "frontend/HostLibraryStartup.h"
#include "frontend/SdlKeys.h"

namespace {

// How long the loop waits for host events before it looks at the screen again: well within
// one frame of the host's display, so that a tap's result shows in the next frame.
constexpr int kPollMs = 4;
constexpr Uint64 kFlashMs = 120;

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

// SDL's video for the window's lifetime.
class SdlVideo {
public:
    SdlVideo() : m_ok(start()) {}
    ~SdlVideo() {
        if (m_ok)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    explicit operator bool() const { return m_ok; }

private:
    static bool start() {
        [[maybe_unused]] HostLibraryStartup hostLibraries;
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    bool m_ok;
};

// Notices beeps that the device logged since it last looked.
class BeepWatch {
public:
    BeepWatch() { look(); }
    bool newBeep() {
        const size_t count = m_count;
        const uint64_t last = m_lastTime;
        look();
        // A cleared log that has had beeps since shows as a different last beep.
        return m_count > count || (m_count > 0 && m_lastTime != last);
    }

private:
    void look() {
        const std::vector<device::Event> beeps = device::eventsOfKind(u"beep");
        m_count = beeps.size();
        m_lastTime = beeps.empty() ? 0 : beeps.back().timeMs;
    }
    size_t m_count = 0;
    uint64_t m_lastTime = 0;
};

// SDL falls back to drawing off the screen when the host has no display; a window nobody can
// see is no window, unless SDL_VIDEODRIVER asked for exactly that.
bool onADisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        return false;
    const std::string_view current(driver);
    if (current != "offscreen" && current != "dummy")
        return true;
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    return wanted && current == wanted;
}

class Window {
public:
    Window(FrontEndControls& controls, int scale, SdlWindowObserver* observer)
        : m_controls(controls), m_scale(scale), m_observer(observer) {}

    int run();

private:
    bool open();
    bool makeTexture(int width, int height);
    // Handles one host event; false when the window is to close.
    bool handle(const SDL_Event& event);
    void stylus(Uint32 type, int windowX, int windowY);
    void command(WindowCommand command);
    // Takes what changed on the device screen into the texture; the rectangle taken.
    std::optional<ScreenRect> takeScreen();
    void draw(const SdlFrame& frame);

    FrontEndControls& m_controls;
    const int m_scale;
    SdlWindowObserver* m_observer;
    WindowPtr m_window;
    RendererPtr m_renderer;
    TexturePtr m_texture;
    device::ScreenImage m_shown;
    uint64_t m_version = 0;
    bool m_penDown = false;
    int m_penX = 0;
    int m_penY = 0;
    bool m_exposed = false;
};

bool Window::makeTexture(int width, int height) {
    m_texture.reset(SDL_CreateTexture(m_renderer.get(), SDL_PIXELFORMAT_RGB888,
                                      SDL_TEXTUREACCESS_STREAMING, width, height));
    return m_texture != nullptr;
}

bool Window::open() {
    m_version = device::screenVersion();
    m_shown = device::copyScreen();
    const int width = m_shown.width * m_scale;
    const int height = m_shown.height * m_scale;
    // SDL's own software renderer and a plain shared-memory window picture: one this small
    // needs no graphics card, and every host then shows the same pixels.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    m_window.reset(SDL_CreateWindow("Kelvo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                    height, SDL_WINDOW_SHOWN));
    if (!m_window)
        return false;
    // Scaled up pixel for pixel: the device's pixels stay sharp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    m_renderer.reset(SDL_CreateRenderer(m_window.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!m_renderer || !makeTexture(m_shown.width, m_shown.height))
        return false;
    SDL_UpdateTexture(m_texture.get(), nullptr, m_shown.pixels.data(),
                      m_shown.width * static_cast<int>(sizeof(uint32_t)));
    return true;
}

std::optional<ScreenRect> Window::takeScreen() {
    const uint64_t version = device::screenVersion();
    if (version == m_version)
        return std::nullopt;
    // The version is read first: whatever is drawn during the copy shows on the next look.
    m_version = version;
    device::ScreenImage now = device::copyScreen();
    if (now.width <= 0 || now.height <= 0)
        return std::nullopt;
    if (now.width != m_shown.width || now.height != m_shown.height) {
        // A rotation: the window takes the screen's new shape, turning about its centre.
        int x = 0;
        int y = 0;
        int oldWidth = 0;
        int oldHeight = 0;
        SDL_GetWindowPosition(m_window.get(), &x, &y);
        SDL_GetWindowSize(m_window.get(), &oldWidth, &oldHeight);
        const int width = now.width * m_scale;
        const int height = now.height * m_scale;
        SDL_SetWindowSize(m_window.get(), width, height);
        SDL_SetWindowPosition(m_window.get(), std::max(0, x + (oldWidth - width) / 2),
                              std::max(0, y + (oldHeight - height) / 2));
        if (!makeTexture(now.width, now.height))
            return std::nullopt;
    }
    const std::optional<ScreenRect> changed = changedRect(m_shown, now);
    if (changed) {
        const SDL_Rect r{changed->x, changed->y, changed->width, changed->height};
        const size_t first =
            static_cast<size_t>(r.y) * static_cast<size_t>(now.width) + static_cast<size_t>(r.x);
        SDL_UpdateTexture(m_texture.get(), &r, now.pixels.data() + first,
                          now.width * static_cast<int>(sizeof(uint32_t)));
    }
    m_shown = std::move(now);
    return changed;
}

void Window::draw(const SdlFrame& frame) {
    SDL_Renderer* r = m_renderer.get();
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, m_texture.get(), nullptr, nullptr);
    if (frame.flashing) {
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(r, 255, 255, 255, 144);
        SDL_RenderFillRect(r, nullptr);
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    }
    if (m_observer)
        m_observer->frameDrawn(r, frame);
    SDL_RenderPresent(r);
}

void Window::stylus(Uint32 type, int windowX, int windowY) {
    // Window pixels to screen pixels, held on the screen while the pen is dragged outside. The
    // picture fills the window, so the window's own size counts, should a window manager have
    // made it other than the screen times the scale.
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(m_window.get(), &windowWidth, &windowHeight);
    auto toScreen = [](int at, int window, int screen, int scale) {
        const int64_t scaled = window > 0 ? int64_t{at} * screen / window : at / scale;
        return static_cast<int>(std::clamp<int64_t>(scaled, 0, std::max(0, screen - 1)));
    };
    const int x = toScreen(windowX, windowWidth, m_shown.width, m_scale);
    const int y = toScreen(windowY, windowHeight, m_shown.height, m_scale);
    m_penX = x;
    m_penY = y;
    switch (type) {
        case SDL_MOUSEBUTTONDOWN:
            m_penDown = true;
            device::stylusDown(x, y);
            break;
        case SDL_MOUSEMOTION:
            device::stylusMove(x, y);
            break;
        default:
            m_penDown = false;
            device::stylusUp(x, y);
            break;
    }
}

void Window::command(WindowCommand command) {
    switch (command) {
        case WindowCommand::Rotate:
            m_controls.rotate();
            break;
        case WindowCommand::Screenshot: {
            const std::filesystem::path saved = m_controls.saveScreenshot();
            if (saved.empty())
                std::fprintf(stderr, "kvemu: the screenshot could not be saved\n");
            else
                std::printf("kvemu: screenshot saved as %s\n", saved.string().c_str());
            std::fflush(stdout);
            break;
        }
        case WindowCommand::ToggleInputPanel:
            m_controls.toggleInputPanel();
            break;
        case WindowCommand::None:
            break;
    }
}

bool Window::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return false;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                return false;
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                m_exposed = true;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT)
                stylus(event.type, event.button.x, event.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && m_penDown)
                stylus(event.type, event.button.x, event.button.y);
            break;
        case SDL_MOUSEMOTION:
            if (m_penDown)
                stylus(event.type, event.motion.x, event.motion.y);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const SDL_Keycode key = event.key.keysym.sym;
            const WindowCommand c = windowCommandOf(key);
            if (c != WindowCommand::None) {
                if (event.type == SDL_KEYDOWN && !event.key.repeat)
                    command(c);
                break;
            }
            if (const UINT vk = virtualKeyOf(key)) {
                // The character comes as SDL's text input, in the host keyboard's layout.
                m_controls.hardwareKey(
                    vk, event.type == SDL_KEYDOWN ? KeyTransition::Down : KeyTransition::Up,
                    KeyCharacter::AsText);
            }
            break;
        }
        case SDL_TEXTINPUT: {
            // SDL's text is UTF-8 of at most 32 bytes: never more UTF-16 units than bytes.
            WCHAR text[SDL_TEXTINPUTEVENT_TEXT_SIZE];
            const int n = MultiByteToWideChar(CP_UTF8, 0, event.text.text, -1, text,
                                              SDL_TEXTINPUTEVENT_TEXT_SIZE);
            if (n > 1)
                m_controls.hardwareText(std::u16string_view(text, static_cast<size_t>(n - 1)));
            break;
        }
        default:
            break;
    }
    return true;
}

int Window::run() {
    if (!open()) {
        std::fprintf(stderr, "kvemu: cannot open the window: %s\n", SDL_GetError());
        return 1;
    }
    BeepSound sound;
    BeepWatch beeps;
    draw(SdlFrame{ScreenRect{0, 0, m_shown.width, m_shown.height}, false});
    if (m_observer)
        m_observer->opened(m_window.get());
    Uint64 flashUntil = 0;
    bool wasFlashing = false;
    while (true) {
        SDL_Event event;
        bool more = SDL_WaitEventTimeout(&event, kPollMs) != 0;
        while (more) {
            if (!handle(event)) {
                // A pen still down on the screen is lifted where it is.
                if (m_penDown)
                    device::stylusUp(m_penX, m_penY);
                return 0;
            }
            more = SDL_PollEvent(&event) != 0;
        }
        SdlFrame frame;
        frame.updated = takeScreen();
        if (beeps.newBeep()) {
            flashUntil = SDL_GetTicks64() + kFlashMs;
            const bool sounded = sound.play();
            if (m_observer)
                m_observer->beeped(sounded);
        }
        frame.flashing = SDL_GetTicks64() < flashUntil;
        if (frame.updated || frame.flashing != wasFlashing || m_exposed)
            draw(frame);
        wasFlashing = frame.flashing;
        m_exposed = false;
    }
}

}  // namespace

int runSdlWindow(FrontEndControls& controls, int scale) {
    return runSdlWindow(controls, scale, nullptr);
}

int runSdlWindow(FrontEndControls& controls, int scale, SdlWindowObserver* observer) {
    if (scale < 1 || scale > kMaxSdlWindowScale) {
        std::fprintf(stderr, "kvemu: the scale must be 1 to %d, not %d\n", kMaxSdlWindowScale,
                     scale);
        return 2;
    }
    SdlVideo video;
    if (!video) {
        std::fprintf(stderr, "kvemu: no display for the window: %s\n", SDL_GetError());
        return 1;
    }
    if (!onADisplay()) {
        std::fprintf(stderr, "kvemu: no display for the window\n");
        return 1;
    }
    Window window(controls, scale, observer);
    return window.run();
}

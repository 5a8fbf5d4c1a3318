// The window manager's shared state: window classes, windows and their tree, the per-thread
// message queues with their timers, focus and active windows, and the device-wide foreground,
// capture and input state. Everything here is guarded by device::deviceMutex(), the lock that
// blocking waits test; window procedures are always called with that lock released.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "device/Scheduler.h"
#include "gdi/Region.h"
#include "winbase.h"
#include "winuser.h"

namespace platform::user {

using Lock = std::unique_lock<std::mutex>;

struct WindowClass {
    ATOM atom = 0;
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuNameId = nullptr;  // an integer resource id, or nullptr when menuName is used
    std::u16string menuName;
    DWORD process = 0;
    int windowCount = 0;
    std::vector<BYTE> extra;
};

enum class Life { Creating, Alive, Destroying };

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    DWORD thread = 0;
    DWORD process = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, top first
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // in the parent's client coordinates (screen coordinates for top-level windows)
    std::u16string text;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    std::vector<BYTE> extra;
    // What a system control keeps about itself; it goes with the window however the window goes.
    std::shared_ptr<void> controlState;
    platform::Region invalid;  // client coordinates
    bool erasePending = false;
    Life life = Life::Creating;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
    uint64_t order = 0;
};

// A message sent to a window of another thread, delivered by that thread while the sender waits.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
};

struct InputMessage {
    MSG msg{};
    bool activate = false;  // a stylus down that should activate the window's top-level window
};

using PreTranslateHook = std::function<bool(MSG&)>;

struct ThreadQueue {
    DWORD thread = 0;
    std::deque<MSG> posted;
    std::deque<InputMessage> input;
    std::deque<std::shared_ptr<SentMessage>> inbox;
    std::vector<Timer> timers;
    bool quitPosted = false;
    int quitCode = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    DWORD lastMessageTime = 0;
    POINT lastMessagePos{};
    int sendDepth = 0;  // > 0 while a message sent by another thread is being handled
    PreTranslateHook preTranslate;
    // The key state as of the last key message this thread retrieved (GetKeyState).
    BYTE keyDown[256] = {};
    BYTE keyToggled[256] = {};
};

struct Caret {
    HWND hwnd = nullptr;
    DWORD thread = 0;
    int width = 0;
    int height = 0;
    POINT pos{};
    int hideCount = 1;  // a new caret is hidden until ShowCaret
    bool blinkOn = false;
    bool drawn = false;  // inverted on the screen now
    uint64_t nextBlink = 0;
};

struct LastTap {
    HWND hwnd = nullptr;
    uint64_t time = 0;
    POINT pt{};
    bool valid = false;
};

inline constexpr UINT kDefaultCaretBlinkTime = 500;

struct UserState {
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = 0x10010;
    std::vector<HWND> topLevels;  // z-order, top first; topmost windows lead
    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::unordered_map<DWORD, std::unique_ptr<ThreadQueue>> queues;
    uint64_t nextTimerOrder = 1;
    UINT_PTR nextThreadTimerId = 0x7E00;
    HWND foreground = nullptr;
    HWND capture = nullptr;
    bool stylusDown = false;  // between an injected stylus down and up
    LastTap lastTap;
    BYTE keyDown[256] = {};  // as last injected (GetAsyncKeyState)
    BYTE keyToggled[256] = {};
    Caret caret;
    UINT caretBlinkTime = kDefaultCaretBlinkTime;
};

// Window positions and sizes are kept within this many pixels of the origin, and screen
// coordinates computed from them within kMaxScreenCoordinate, so no sum of them overflows.
inline constexpr LONG kMaxCoordinate = 1 << 24;
inline constexpr LONG kMaxScreenCoordinate = 1 << 28;
inline LONG clampCoordinate(int64_t v) {
    return static_cast<LONG>(v < -kMaxCoordinate  ? -kMaxCoordinate
                             : v > kMaxCoordinate ? kMaxCoordinate
                                                  : v);
}
inline LONG clampScreen(int64_t v) {
    return static_cast<LONG>(v < -kMaxScreenCoordinate  ? -kMaxScreenCoordinate
                             : v > kMaxScreenCoordinate ? kMaxScreenCoordinate
                                                        : v);
}

// The state; the caller holds device::deviceMutex().
UserState& state();
Lock lockState();

// Lock held for all of these.
Window* findWindow(HWND hwnd);        // nullptr for stale or garbage handles
Window* findWindowOrFail(HWND hwnd);  // also sets ERROR_INVALID_WINDOW_HANDLE
ThreadQueue& currentQueue();          // created on first use
ThreadQueue* queueOf(DWORD thread);   // nullptr when that thread has no queue
DWORD currentThread();
std::vector<HWND>& siblingsOf(Window& w);  // the z-ordered list that holds w
HWND rootOf(HWND hwnd);                    // the top-level ancestor
bool isVisibleChain(const Window& w);      // visible with all its parents
POINT screenOrigin(const Window& w);       // the window's top-left on the screen
RECT screenRect(const Window& w);
bool isInSubtree(HWND root, HWND hwnd);                  // hwnd is root or one of its descendants
void collectSubtree(HWND root, std::vector<HWND>& out);  // pre-order

// Calls the window's procedure with the lock released; 0 when the window is gone.
LRESULT callWindow(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Same, taking the lock itself (the caller holds none).
LRESULT callWindowUnlocked(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sends within the device: a direct call in the owning thread, a waited cross-thread send
// otherwise. With Delivery::Notify the cross-thread case does not wait.
enum class Delivery { Wait, Notify };
LRESULT sendMessage(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                    Delivery delivery = Delivery::Wait);
bool postMessage(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void postInput(Lock& lock, DWORD thread, const InputMessage& input);

// Handles one message sent by another thread to the calling thread, if any is waiting.
bool deliverOneSentMessage(Lock& lock, ThreadQueue& q);

// The earliest due time of the calling thread's timers (and caret blink), or kNoDeadline.
uint64_t nextTimerDue(const ThreadQueue& q, HWND filter, UINT minMsg, UINT maxMsg);

// Painting and visible regions (screen coordinates).
enum class ChildClip { ByStyle, Always, Never };
Region visibleArea(const Window& w, ChildClip clip = ChildClip::ByStyle);
void invalidateWindow(Window& w, const Region* clientArea, bool erase, bool children);
// Records every window's visible area, so that what a change uncovers can be invalidated.
class ExposureTracker {
public:
    ExposureTracker();
    void finish(HWND repaintWhole = nullptr);

private:
    std::vector<std::pair<HWND, Region>> before_;
};

// Timers and windows going away.
void removeWindowTimers(ThreadQueue& q, HWND hwnd);
void releaseCaretOf(HWND hwnd);

// Activation (with messages to the windows of the calling thread, notifications to others).
void activateWindow(Lock& lock, HWND hwnd, int how);
void activateNextAfter(Lock& lock, HWND leaving);
HWND setFocusTo(Lock& lock, HWND hwnd);
void setCaptureTo(Lock& lock, HWND hwnd);

// Clipboard: forget an opener or owner that is being destroyed.
void clipboardWindowGone(HWND hwnd);

// Caret drawing on the screen (lock held).
void caretHideForPaint(HWND hwnd);
void caretRestoreAfterPaint(HWND hwnd);
void caretBlinkDue(uint64_t now);

uint64_t now();
void setError(DWORD code);

}  // namespace platform::user

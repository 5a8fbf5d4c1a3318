// Message queues: sending, posting, and retrieval in the order the device's programs expect:
// messages sent by other threads are handled first, then posted messages, WM_QUIT, input,
// WM_PAINT for invalid visible windows, and last WM_TIMER for due timers. Blocking retrieval
// waits on the device scheduler with the next timer's due time as its deadline.
#include <algorithm>

#include "device/Clock.h"
#include "device/Input.h"
#include "user/InputWait.h"
#include "user/Internal.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {
namespace {

enum class Removal { Remove, Keep };

bool hwndMatches(HWND filter, HWND h) {
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(-1))
        return h == nullptr;
    return h != nullptr && isInSubtree(filter, h);
}

bool rangeMatches(UINT lo, UINT hi, UINT msg) {
    if (lo == 0 && hi == 0)
        return true;
    return msg >= lo && msg <= hi;
}

// The first window of this thread, in z-order with parents before their children, that is
// visible and has something to paint.
HWND findPaintWindow(const std::vector<HWND>& list, DWORD thread, HWND filter) {
    for (HWND h : list) {
        Window* w = findWindow(h);
        if (!w || !(w->style & WS_VISIBLE))
            continue;
        if (w->thread == thread && !w->invalid.isEmpty() && hwndMatches(filter, h))
            return h;
        if (HWND c = findPaintWindow(w->children, thread, filter))
            return c;
    }
    return nullptr;
}

bool timerMatches(const Timer& t, HWND filter, UINT lo, UINT hi) {
    if (!rangeMatches(lo, hi, WM_TIMER))
        return false;
    if (!filter)
        return true;
    return hwndMatches(filter, t.hwnd);
}

Timer* dueTimer(ThreadQueue& q, HWND filter, UINT lo, UINT hi, uint64_t at) {
    Timer* best = nullptr;
    for (Timer& t : q.timers) {
        if (t.due > at || !timerMatches(t, filter, lo, hi))
            continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order))
            best = &t;
    }
    return best;
}

// Finds the next message without timers (lock held); with Removal::Remove it leaves the queue.
bool takeQueued(ThreadQueue& q, HWND filter, UINT lo, UINT hi, Removal removal, MSG& out,
                bool& activate) {
    activate = false;
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (hwndMatches(filter, it->hwnd) && rangeMatches(lo, hi, it->message)) {
            out = *it;
            if (removal == Removal::Remove)
                q.posted.erase(it);
            return true;
        }
    }
    if (q.quitPosted && rangeMatches(lo, hi, WM_QUIT)) {
        out = MSG{};
        out.message = WM_QUIT;
        out.wParam = static_cast<WPARAM>(q.quitCode);
        out.time = static_cast<DWORD>(now());
        out.pt = q.lastMessagePos;
        if (removal == Removal::Remove)
            q.quitPosted = false;
        return true;
    }
    for (auto it = q.input.begin(); it != q.input.end(); ++it) {
        if (hwndMatches(filter, it->msg.hwnd) && rangeMatches(lo, hi, it->msg.message)) {
            out = it->msg;
            activate = it->activate;
            if (removal == Removal::Remove)
                q.input.erase(it);
            return true;
        }
    }
    if (rangeMatches(lo, hi, WM_PAINT)) {
        if (HWND h = findPaintWindow(state().topLevels, q.thread, filter)) {
            out = MSG{};
            out.hwnd = h;
            out.message = WM_PAINT;
            out.time = static_cast<DWORD>(now());
            out.pt = q.lastMessagePos;
            return true;
        }
    }
    return false;
}

bool takeMessage(ThreadQueue& q, HWND filter, UINT lo, UINT hi, Removal removal, MSG& out,
                 bool& activate) {
    if (takeQueued(q, filter, lo, hi, removal, out, activate))
        return true;
    uint64_t t = now();
    Timer* timer = dueTimer(q, filter, lo, hi, t);
    if (!timer)
        return false;
    out = MSG{};
    out.hwnd = timer->hwnd;
    out.message = WM_TIMER;
    out.wParam = timer->id;
    out.lParam = reinterpret_cast<LPARAM>(timer->proc);
    out.time = static_cast<DWORD>(t);
    out.pt = q.lastMessagePos;
    // Re-armed from the time it is delivered, so a late thread gets one WM_TIMER, not a burst.
    if (removal == Removal::Remove)
        timer->due = t + timer->period;
    return true;
}

bool anyQueued(ThreadQueue& q, HWND filter, UINT lo, UINT hi) {
    MSG m;
    bool activate = false;
    return takeQueued(q, filter, lo, hi, Removal::Keep, m, activate);
}

// A stylus down on an inactive top-level window activates it, unless it declines.
// Returns false when the window's answer to WM_MOUSEACTIVATE eats the message.
bool clickActivate(Lock& lock, const MSG& m) {
    HWND root = rootOf(m.hwnd);
    Window* r = findWindow(root);
    Window* w = findWindow(m.hwnd);
    if (!r || !w || root == state().foreground)
        return true;
    if ((r->exStyle & WS_EX_NOACTIVATE) || (w->exStyle & WS_EX_NOACTIVATE))
        return true;
    LRESULT answer = sendMessage(lock, m.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                 MAKELPARAM(1, m.message));
    if (answer == MA_NOACTIVATE || answer == MA_NOACTIVATEANDEAT)
        return answer == MA_NOACTIVATE;
    if (findWindow(root))
        activateWindow(lock, root, WA_CLICKACTIVE);
    return answer != MA_ACTIVATEANDEAT;
}

// The retrieval loop shared by GetMessage and PeekMessage. Returns false only when `wait` is
// Wait::No and nothing matches.
enum class Wait { Yes, No };
bool retrieve(Lock& lock, MSG& out, HWND filter, UINT lo, UINT hi, Removal removal, Wait wait) {
    ThreadQueue& q = currentQueue();
    for (;;) {
        while (deliverOneSentMessage(lock, q)) {
        }
        caretBlinkDue(now());
        bool activate = false;
        if (takeMessage(q, filter, lo, hi, removal, out, activate)) {
            if (removal == Removal::Remove) {
                if (out.message == WM_KEYDOWN || out.message == WM_KEYUP) {
                    auto vk = static_cast<size_t>(out.wParam & 0xFF);
                    bool down = out.message == WM_KEYDOWN;
                    if (down && !q.keyDown[vk])
                        q.keyToggled[vk] ^= 1;
                    q.keyDown[vk] = down ? 1 : 0;
                }
                q.lastMessageTime = out.time;
                q.lastMessagePos = out.pt;
                if (activate && !clickActivate(lock, out))
                    continue;
            }
            return true;
        }
        if (wait == Wait::No)
            return false;
        device::waitUntil(
            lock, [&] { return !q.inbox.empty() || anyQueued(q, filter, lo, hi); },
            [&] { return nextTimerDue(q, filter, lo, hi); }, device::WaitKind::FollowsClock);
    }
}

bool filterWindowValid(HWND filter) {
    if (!filter || filter == reinterpret_cast<HWND>(-1))
        return true;
    return findWindowOrFail(filter) != nullptr;
}

char16_t shiftedDigit(int digit) {
    return u")!@#$%^&*("[digit];
}

// The character a key makes with the shift and control state, or 0.
char16_t characterOfKey(UINT vk, bool shift, bool control, bool caps) {
    switch (vk) {
        case VK_BACK:
            return 0x08;
        case VK_TAB:
            return 0x09;
        case VK_RETURN:
            return control ? 0x0A : 0x0D;
        case VK_ESCAPE:
            return 0x1B;
        case VK_SPACE:
            return 0x20;
        default:
            break;
    }
    if (vk >= 'A' && vk <= 'Z') {
        if (control)
            return static_cast<char16_t>(vk - 'A' + 1);
        bool upper = shift != caps;
        return static_cast<char16_t>(upper ? vk : vk + 32);
    }
    if (control)
        return 0;
    if (vk >= '0' && vk <= '9')
        return shift ? shiftedDigit(static_cast<int>(vk - '0')) : static_cast<char16_t>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<char16_t>(u'0' + (vk - VK_NUMPAD0));
    struct Punct {
        UINT vk;
        char16_t plain;
        char16_t shifted;
    };
    static constexpr Punct kPunct[] = {
        {VK_MULTIPLY, u'*', u'*'},   {VK_ADD, u'+', u'+'},       {VK_SUBTRACT, u'-', u'-'},
        {VK_DECIMAL, u'.', u'.'},    {VK_DIVIDE, u'/', u'/'},    {VK_OEM_1, u';', u':'},
        {VK_OEM_PLUS, u'=', u'+'},   {VK_OEM_COMMA, u',', u'<'}, {VK_OEM_MINUS, u'-', u'_'},
        {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},     {VK_OEM_3, u'`', u'~'},
        {VK_OEM_4, u'[', u'{'},      {VK_OEM_5, u'\\', u'|'},    {VK_OEM_6, u']', u'}'},
        {VK_OEM_7, u'\'', u'"'},
    };
    for (const Punct& p : kPunct) {
        if (p.vk == vk)
            return shift ? p.shifted : p.plain;
    }
    return 0;
}

}  // namespace

uint64_t nextTimerDue(const ThreadQueue& q, HWND filter, UINT lo, UINT hi) {
    uint64_t due = device::kNoDeadline;
    for (const Timer& t : q.timers) {
        if (timerMatches(t, filter, lo, hi))
            due = std::min(due, t.due);
    }
    const Caret& c = state().caret;
    if (c.hwnd && c.thread == q.thread && c.hideCount == 0)
        due = std::min(due, c.nextBlink);
    return due;
}

bool preTranslate(MSG& msg) {
    std::vector<PreTranslateHook> hooks;
    {
        Lock lock = lockState();
        ThreadQueue& q = currentQueue();
        if (q.preTranslate)
            hooks.push_back(q.preTranslate);
        for (auto it = q.addedPreTranslate.rbegin(); it != q.addedPreTranslate.rend(); ++it)
            hooks.push_back(it->second);
    }
    for (PreTranslateHook& hook : hooks) {
        if (hook(msg))
            return true;
    }
    return false;
}

bool waitForQueuedMessage(HWND hwnd, UINT lo, UINT hi, uint64_t deadline) {
    Lock lock = lockState();
    ThreadQueue& q = currentQueue();
    for (;;) {
        while (deliverOneSentMessage(lock, q)) {
        }
        if (anyQueued(q, hwnd, lo, hi))
            return true;
        if (now() >= deadline)
            return false;
        device::waitUntil(
            lock, [&] { return !q.inbox.empty() || anyQueued(q, hwnd, lo, hi); },
            [&] { return deadline; }, device::WaitKind::AdvancesClock);
    }
}

}  // namespace platform::user

using namespace platform::user;

void platform::setPreTranslateHook(DWORD thread, std::function<bool(MSG&)> hook) {
    Lock lock = lockState();
    ThreadQueue* q = thread == currentThread() ? &currentQueue() : queueOf(thread);
    if (q)
        q->preTranslate = std::move(hook);
}

void platform::addPreTranslateHook(const void* owner, std::function<bool(MSG&)> hook) {
    Lock lock = lockState();
    auto& hooks = currentQueue().addedPreTranslate;
    const bool present = std::any_of(hooks.begin(), hooks.end(),
                                     [&](const auto& entry) { return entry.first == owner; });
    if (!present)
        hooks.emplace_back(owner, std::move(hook));
}

void platform::removePreTranslateHook(const void* owner) {
    Lock lock = lockState();
    auto& hooks = currentQueue().addedPreTranslate;
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [&](const auto& entry) { return entry.first == owner; }),
                hooks.end());
}

bool platform::preTranslateMessage(MSG& msg) {
    return preTranslate(msg);
}

void platform::handleMessage(MSG& msg) {
    if (preTranslate(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> all = state().topLevels;
        for (HWND h : all) {
            if (findWindow(h))
                sendMessage(lock, h, msg, wParam, lParam);
        }
        return 0;
    }
    return sendMessage(lock, hwnd, msg, wParam, lParam);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeout, DWORD_PTR* result) {
    (void)flags;  // no hung-window detection on the device: every flag waits the same way
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    if (w->thread == currentThread()) {
        LRESULT r = sendMessage(lock, hwnd, msg, wParam, lParam);
        if (result)
            *result = static_cast<DWORD_PTR>(r);
        return 1;
    }
    ThreadQueue* target = queueOf(w->thread);
    if (!target)
        return 0;
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = msg;
    sent->wParam = wParam;
    sent->lParam = lParam;
    target->inbox.push_back(sent);
    device::notifyWaiters();
    uint64_t deadline = now() + timeout;
    ThreadQueue& mine = currentQueue();
    while (!sent->done) {
        if (deliverOneSentMessage(lock, mine))
            continue;
        if (now() >= deadline)
            break;
        device::waitUntil(
            lock, [&] { return sent->done || !mine.inbox.empty(); }, [&] { return deadline; },
            device::WaitKind::AdvancesClock);
    }
    if (!sent->done) {
        // Not handled in time: it is withdrawn if it has not started, and its answer ignored.
        if (ThreadQueue* t = queueOf(w->thread)) {
            auto& inbox = t->inbox;
            inbox.erase(std::remove(inbox.begin(), inbox.end(), sent), inbox.end());
        }
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }
    if (result)
        *result = static_cast<DWORD_PTR>(sent->result);
    return 1;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> all = state().topLevels;
        for (HWND h : all) {
            if (findWindow(h))
                sendMessage(lock, h, msg, wParam, lParam, Delivery::Notify);
        }
        return TRUE;
    }
    if (!findWindowOrFail(hwnd))
        return FALSE;
    sendMessage(lock, hwnd, msg, wParam, lParam, Delivery::Notify);
    return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> all = state().topLevels;
        for (HWND h : all)
            postMessage(lock, h, msg, wParam, lParam);
        return TRUE;
    }
    return postMessage(lock, hwnd, msg, wParam, lParam) ? TRUE : FALSE;
}

BOOL PostThreadMessageW(DWORD thread, UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    ThreadQueue* q = thread == currentThread() ? &currentQueue() : queueOf(thread);
    if (!q) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    MSG m{};
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(now());
    q->posted.push_back(m);
    device::notifyWaiters();
    return TRUE;
}

VOID PostQuitMessage(int code) {
    Lock lock = lockState();
    ThreadQueue& q = currentQueue();
    q.quitPosted = true;
    q.quitCode = code;
    device::notifyWaiters();
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT lo, UINT hi) {
    Lock lock = lockState();
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!filterWindowValid(hwnd))
        return -1;
    retrieve(lock, *msg, hwnd, lo, hi, Removal::Remove, Wait::Yes);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT lo, UINT hi, UINT flags) {
    Lock lock = lockState();
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!filterWindowValid(hwnd))
        return FALSE;
    Removal removal = (flags & PM_REMOVE) ? Removal::Remove : Removal::Keep;
    return retrieve(lock, *msg, hwnd, lo, hi, removal, Wait::No) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    Lock lock = lockState();
    ThreadQueue& q = currentQueue();
    for (;;) {
        while (deliverOneSentMessage(lock, q)) {
        }
        if (anyQueued(q, nullptr, 0, 0))
            return TRUE;
        uint64_t t = now();
        for (const Timer& timer : q.timers) {
            if (timer.due <= t)
                return TRUE;
        }
        device::waitUntil(
            lock, [&] { return !q.inbox.empty() || anyQueued(q, nullptr, 0, 0); },
            [&] { return nextTimerDue(q, nullptr, 0, 0); }, device::WaitKind::FollowsClock);
        caretBlinkDue(now());
    }
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || (msg->lParam & device::kKeyNoCharacter))
        return FALSE;
    Lock lock = lockState();
    ThreadQueue& s = currentQueue();
    UINT vk = static_cast<UINT>(msg->wParam) & 0xFF;
    bool shift = s.keyDown[VK_SHIFT] || s.keyDown[VK_LSHIFT] || s.keyDown[VK_RSHIFT];
    bool control = s.keyDown[VK_CONTROL] || s.keyDown[VK_LCONTROL] || s.keyDown[VK_RCONTROL];
    bool alt = s.keyDown[VK_MENU] || s.keyDown[VK_LMENU] || s.keyDown[VK_RMENU];
    bool caps = s.keyToggled[VK_CAPITAL] != 0;
    char16_t ch = alt ? 0 : characterOfKey(vk, shift, control, caps);
    if (ch == 0)
        return FALSE;
    ThreadQueue& q = s;
    MSG c = *msg;
    c.message = WM_CHAR;
    c.wParam = ch;
    // The character is the next message the thread gets.
    q.posted.push_front(c);
    device::notifyWaiters();
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg)
        return 0;
    Lock lock = lockState();
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a callback of a live timer of this thread is ever called.
        ThreadQueue& q = currentQueue();
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        bool live = std::any_of(q.timers.begin(), q.timers.end(), [&](const Timer& t) {
            return t.hwnd == msg->hwnd && t.id == msg->wParam && t.proc == proc;
        });
        if (!live)
            return 0;
        lock.unlock();
        proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(now()));
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    Window* w = findWindowOrFail(msg->hwnd);
    if (!w)
        return 0;
    if (w->thread != currentThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return callWindow(lock, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessagePos() {
    Lock lock = lockState();
    POINT p = currentQueue().lastMessagePos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

LONG GetMessageTime() {
    Lock lock = lockState();
    return static_cast<LONG>(currentQueue().lastMessageTime);
}

BOOL InSendMessage() {
    Lock lock = lockState();
    return currentQueue().sendDepth > 0 ? TRUE : FALSE;
}

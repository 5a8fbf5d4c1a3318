// The window manager's state, handle table and per-thread queues, and the message delivery
// that everything else builds on: direct calls in the owning thread, waited sends across
// threads (the waiting sender keeps handling what is sent to it), and posts.
#include "user/UserState.h"

#include <algorithm>

#include "device/Clock.h"
#include "kernel/DeviceReset.h"
#include "kernel/Process.h"
#include "user/Internal.h"
#include "winbase.h"

namespace platform::user {

namespace {

void destroyThreadWindows(DWORD thread);

// Tears down the queue of a thread that ends: its windows go (without messages, as the thread
// can no longer handle them) and every sender waiting on it is released.
struct QueueGuard {
    DWORD thread = 0;
    ~QueueGuard() {
        if (thread == 0)
            return;
        Lock lock = lockState();
        destroyThreadWindows(thread);
        UserState& s = state();
        auto it = s.queues.find(thread);
        if (it != s.queues.end()) {
            for (auto& sent : it->second->inbox)
                sent->done = true;
            s.queues.erase(it);
        }
        device::notifyWaiters();
    }
};

thread_local QueueGuard queueGuard;

// A device process that ends destroys its windows first, with their messages, on its thread.
const bool exitHookInstalled = [] {
    platform::addProcessExitHook([](DWORD) {
        std::vector<HWND> mine;
        {
            Lock lock = lockState();
            for (HWND h : state().topLevels) {
                Window* w = findWindow(h);
                if (w && w->thread == currentThread())
                    mine.push_back(h);
            }
        }
        for (HWND h : mine)
            DestroyWindow(h);
    });
    return true;
}();

// A fresh device has no windows, no classes and nothing queued; nothing is in front, focused,
// captured or pressed, and there is no caret. Windows go without messages, as when the device
// is switched off: no program is left to handle them. Queues stay with their threads.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    UserState& s = state();
    std::vector<HWND> all;
    for (HWND h : std::vector<HWND>(s.topLevels))
        collectSubtree(h, all);
    for (auto h = all.rbegin(); h != all.rend(); ++h)
        forgetWindow(*h);
    while (!s.windows.empty())
        forgetWindow(s.windows.begin()->second->handle);
    s.topLevels.clear();
    s.classes.clear();
    for (auto& [thread, q] : s.queues) {
        for (auto& sent : q->inbox)
            sent->done = true;
        ThreadQueue fresh;
        fresh.thread = q->thread;
        fresh.sendDepth = q->sendDepth;
        *q = std::move(fresh);
    }
    s.foreground = nullptr;
    s.capture = nullptr;
    s.stylusDown = false;
    s.lastTap = LastTap{};
    std::fill(std::begin(s.keyDown), std::end(s.keyDown), BYTE{0});
    std::fill(std::begin(s.keyToggled), std::end(s.keyToggled), BYTE{0});
    s.caret = Caret{};
    s.caretBlinkTime = kDefaultCaretBlinkTime;
    device::notifyWaiters();
});

void destroyThreadWindows(DWORD thread) {
    UserState& s = state();
    std::vector<HWND> doomed;
    for (auto& [value, w] : s.windows) {
        // Windows of other threads inside this thread's windows go with them.
        if (w->thread == thread)
            collectSubtree(w->handle, doomed);
    }
    if (doomed.empty())
        return;
    ExposureTracker exposure;
    for (HWND h : doomed)
        forgetWindow(h);
    exposure.finish();
}

}  // namespace

UserState& state() {
    // Never destroyed: threads that end after main() returns may still reach it.
    static UserState* s = new UserState;
    return *s;
}

Lock lockState() {
    return Lock(device::deviceMutex());
}

uint64_t now() {
    return device::nowMs();
}

void setError(DWORD code) {
    SetLastError(code);
}

DWORD currentThread() {
    return GetCurrentThreadId();
}

Window* findWindow(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    UserState& s = state();
    auto it = s.windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == s.windows.end() ? nullptr : it->second.get();
}

Window* findWindowOrFail(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (!w)
        setError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

ThreadQueue& currentQueue() {
    UserState& s = state();
    DWORD thread = currentThread();
    auto& slot = s.queues[thread];
    if (!slot) {
        slot = std::make_unique<ThreadQueue>();
        slot->thread = thread;
        queueGuard.thread = thread;
    }
    return *slot;
}

ThreadQueue* queueOf(DWORD thread) {
    UserState& s = state();
    auto it = s.queues.find(thread);
    return it == s.queues.end() ? nullptr : it->second.get();
}

std::vector<HWND>& siblingsOf(Window& w) {
    if (Window* p = findWindow(w.parent))
        return p->children;
    return state().topLevels;
}

HWND rootOf(HWND hwnd) {
    Window* w = findWindow(hwnd);
    while (w && w->parent) {
        Window* p = findWindow(w->parent);
        if (!p)
            break;
        w = p;
    }
    return w ? w->handle : nullptr;
}

bool isVisibleChain(const Window& w) {
    const Window* cur = &w;
    while (cur) {
        if (!(cur->style & WS_VISIBLE))
            return false;
        if (!cur->parent)
            return true;
        cur = findWindow(cur->parent);
    }
    return false;
}

POINT screenOrigin(const Window& w) {
    int64_t x = w.rect.left;
    int64_t y = w.rect.top;
    const Window* cur = findWindow(w.parent);
    for (int depth = 0; cur && depth < 4096; ++depth) {
        x += cur->rect.left;
        y += cur->rect.top;
        cur = findWindow(cur->parent);
    }
    return POINT{clampScreen(x), clampScreen(y)};
}

RECT screenRect(const Window& w) {
    POINT o = screenOrigin(w);
    return RECT{o.x, o.y, clampScreen(int64_t{o.x} + (w.rect.right - w.rect.left)),
                clampScreen(int64_t{o.y} + (w.rect.bottom - w.rect.top))};
}

bool isInSubtree(HWND root, HWND hwnd) {
    Window* w = findWindow(hwnd);
    while (w) {
        if (w->handle == root)
            return true;
        w = findWindow(w->parent);
    }
    return false;
}

void collectSubtree(HWND root, std::vector<HWND>& out) {
    Window* w = findWindow(root);
    if (!w)
        return;
    out.push_back(root);
    std::vector<HWND> children = w->children;
    for (HWND c : children)
        collectSubtree(c, out);
}

LRESULT callWindow(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (!w || !w->proc)
        return 0;
    WNDPROC proc = w->proc;
    lock.unlock();
    LRESULT r = proc(hwnd, message, wParam, lParam);
    lock.lock();
    return r;
}

LRESULT callWindowUnlocked(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    return callWindow(lock, hwnd, message, wParam, lParam);
}

bool deliverOneSentMessage(Lock& lock, ThreadQueue& q) {
    if (q.inbox.empty())
        return false;
    std::shared_ptr<SentMessage> sent = q.inbox.front();
    q.inbox.pop_front();
    q.sendDepth++;
    LRESULT r = callWindow(lock, sent->hwnd, sent->message, sent->wParam, sent->lParam);
    q.sendDepth--;
    sent->result = r;
    sent->done = true;
    device::notifyWaiters();
    return true;
}

LRESULT sendMessage(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                    Delivery delivery) {
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    DWORD me = currentThread();
    if (w->thread == me) {
        ThreadQueue& mine = currentQueue();
        // A direct call is not a message from another thread, even inside one.
        int depth = mine.sendDepth;
        mine.sendDepth = 0;
        LRESULT r = callWindow(lock, hwnd, message, wParam, lParam);
        if (ThreadQueue* q = queueOf(me))
            q->sendDepth = depth;
        return r;
    }
    ThreadQueue* target = queueOf(w->thread);
    if (!target)
        return 0;
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    target->inbox.push_back(sent);
    device::notifyWaiters();
    if (delivery == Delivery::Notify)
        return 0;
    ThreadQueue& mine = currentQueue();
    while (!sent->done) {
        if (deliverOneSentMessage(lock, mine))
            continue;
        // The sender handles no timers while it waits, so its wait has no deadline of its own.
        device::waitUntil(
            lock, [&] { return sent->done || !mine.inbox.empty(); },
            [] { return device::kNoDeadline; }, device::WaitKind::FollowsClock);
    }
    return sent->result;
}

bool postMessage(Lock& lock, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lock;
    ThreadQueue* q = nullptr;
    if (!hwnd) {
        q = &currentQueue();
    } else {
        Window* w = findWindowOrFail(hwnd);
        if (!w)
            return false;
        q = queueOf(w->thread);
    }
    if (!q)
        return false;
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(now());
    m.pt = q->lastMessagePos;
    q->posted.push_back(m);
    device::notifyWaiters();
    return true;
}

void postInput(Lock& lock, DWORD thread, const InputMessage& input) {
    (void)lock;
    ThreadQueue* q = queueOf(thread);
    if (!q)
        return;
    q->input.push_back(input);
    device::notifyWaiters();
}

}  // namespace platform::user

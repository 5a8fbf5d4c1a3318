// Message maps: a class's static, compile-time table from window message (and, for commands,
// control id) to member handler. Handlers take the message's parameters already unpacked; a
// handler whose signature does not fit its message does not compile, and a table that names
// one message twice fails a static check.
//
//     class CMyPanel : public WithMessageMap<CMyPanel, CWnd> {
//         int OnCreate(LPCREATESTRUCTW create);
//         void OnLButtonDown(UINT flags, CPoint point);
//     public:
//         static constexpr MessageMapEntry<CMyPanel> messageMap[] = {
//             on<WM_CREATE, &CMyPanel::OnCreate>(),
//             on<WM_LBUTTONDOWN, &CMyPanel::OnLButtonDown>(),
//         };
//     };
#pragma once

#include <cstddef>

#include <windows.h>

#include "Types.h"

template <class T>
struct MessageMapEntry {
    static constexpr UINT kAnyId = 0xFFFFFFFFu;

    UINT message;
    UINT id;  // WM_COMMAND only: the control or command id; kAnyId for every other message
    LRESULT (*handler)(T& window, WPARAM wParam, LPARAM lParam);
    UINT code = kAnyId;  // WM_COMMAND only: the control's notification code; kAnyId for any

    constexpr bool matches(UINT msg, WPARAM wParam) const {
        return message == msg && (id == kAnyId || id == LOWORD(wParam)) &&
               (code == kAnyId || code == HIWORD(wParam));
    }
};

namespace afx {

template <class>
struct MemberClass;
template <class C, class F>
struct MemberClass<F C::*> {
    using type = C;
};
template <auto Handler>
using ClassOf = typename MemberClass<decltype(Handler)>::type;

// How each message's parameters reach its handler. A message without a cracker here is
// mapped with onMessage and a handler taking (WPARAM, LPARAM).
template <UINT Message>
struct Cracker;

template <>
struct Cracker<WM_CREATE> {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM, LPARAM l) {
        return (w.*F)(reinterpret_cast<LPCREATESTRUCTW>(l));
    }
};

template <UINT Message>
struct NoArgumentCracker {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM, LPARAM) {
        (w.*F)();
        return 0;
    }
};
template <>
struct Cracker<WM_DESTROY> : NoArgumentCracker<WM_DESTROY> {};
template <>
struct Cracker<WM_PAINT> : NoArgumentCracker<WM_PAINT> {};
template <>
struct Cracker<WM_CLOSE> : NoArgumentCracker<WM_CLOSE> {};

template <>
struct Cracker<WM_ERASEBKGND> {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM) {
        return (w.*F)(reinterpret_cast<HDC>(wParam));
    }
};

template <UINT Message>
struct StylusCracker {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM lParam) {
        (w.*F)(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    }
};
template <>
struct Cracker<WM_LBUTTONDOWN> : StylusCracker<WM_LBUTTONDOWN> {};
template <>
struct Cracker<WM_LBUTTONUP> : StylusCracker<WM_LBUTTONUP> {};
template <>
struct Cracker<WM_LBUTTONDBLCLK> : StylusCracker<WM_LBUTTONDBLCLK> {};
template <>
struct Cracker<WM_MOUSEMOVE> : StylusCracker<WM_MOUSEMOVE> {};

template <>
struct Cracker<WM_TIMER> {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM) {
        (w.*F)(static_cast<UINT_PTR>(wParam));
        return 0;
    }
};

template <>
struct Cracker<WM_SIZE> {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM lParam) {
        (w.*F)(static_cast<UINT>(wParam), static_cast<int>(LOWORD(lParam)),
               static_cast<int>(HIWORD(lParam)));
        return 0;
    }
};

template <>
struct Cracker<WM_SETTINGCHANGE> {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM lParam) {
        (w.*F)(static_cast<UINT>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        return 0;
    }
};

template <UINT Message>
struct FocusCracker {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM) {
        (w.*F)(reinterpret_cast<HWND>(wParam));
        return 0;
    }
};
template <>
struct Cracker<WM_SETFOCUS> : FocusCracker<WM_SETFOCUS> {};
template <>
struct Cracker<WM_KILLFOCUS> : FocusCracker<WM_KILLFOCUS> {};

template <UINT Message>
struct KeyCracker {
    template <class T, auto F>
    static LRESULT call(T& w, WPARAM wParam, LPARAM lParam) {
        (w.*F)(static_cast<UINT>(wParam), static_cast<UINT>(LOWORD(lParam)),
               static_cast<UINT>(HIWORD(lParam)));
        return 0;
    }
};
template <>
struct Cracker<WM_KEYDOWN> : KeyCracker<WM_KEYDOWN> {};
template <>
struct Cracker<WM_KEYUP> : KeyCracker<WM_KEYUP> {};
template <>
struct Cracker<WM_CHAR> : KeyCracker<WM_CHAR> {};

template <class T, auto F>
LRESULT callRaw(T& w, WPARAM wParam, LPARAM lParam) {
    return (w.*F)(wParam, lParam);
}

template <class T, auto F>
LRESULT callCommand(T& w, WPARAM, LPARAM) {
    (w.*F)();
    return 0;
}

template <class T, size_t N>
consteval bool entriesAreUnique(const MessageMapEntry<T> (&entries)[N]) {
    for (size_t i = 0; i < N; ++i) {
        for (size_t j = i + 1; j < N; ++j) {
            if (entries[i].message == entries[j].message && entries[i].id == entries[j].id &&
                entries[i].code == entries[j].code) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace afx

// A message with its parameters unpacked for the handler.
template <UINT Message, auto Handler>
constexpr MessageMapEntry<afx::ClassOf<Handler>> on() {
    using T = afx::ClassOf<Handler>;
    return {Message, MessageMapEntry<T>::kAnyId, &afx::Cracker<Message>::template call<T, Handler>};
}

// Any message, for a handler `LRESULT (WPARAM, LPARAM)` (the private messages, for instance).
template <UINT Message, auto Handler>
constexpr MessageMapEntry<afx::ClassOf<Handler>> onMessage() {
    using T = afx::ClassOf<Handler>;
    return {Message, MessageMapEntry<T>::kAnyId, &afx::callRaw<T, Handler>};
}

// WM_COMMAND from the control or menu item `Id`, for a handler `void ()`.
template <UINT Id, auto Handler>
constexpr MessageMapEntry<afx::ClassOf<Handler>> onCommand() {
    using T = afx::ClassOf<Handler>;
    return {WM_COMMAND, Id, &afx::callCommand<T, Handler>};
}

// WM_COMMAND carrying notification `Code` from control `Id` (CBN_SELCHANGE from a combo box,
// BN_CLICKED from a button), for a handler `void ()`.
template <UINT Code, UINT Id, auto Handler>
constexpr MessageMapEntry<afx::ClassOf<Handler>> onControl() {
    using T = afx::ClassOf<Handler>;
    return {WM_COMMAND, Id, &afx::callCommand<T, Handler>, Code};
}

// Adds `Derived::messageMap` to the routing of `Base`: a message the table names goes to its
// handler; any other goes on to the base class's table, and finally to default processing.
template <class Derived, class Base>
class WithMessageMap : public Base {
public:
    using Base::Base;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static_assert(afx::entriesAreUnique(Derived::messageMap),
                      "a message map names the same message twice");
        for (const auto& entry : Derived::messageMap) {
            if (entry.matches(message, wParam)) {
                *result = entry.handler(static_cast<Derived&>(*this), wParam, lParam);
                return TRUE;
            }
        }
        return Base::OnWndMsg(message, wParam, lParam, result);
    }
};

// Finding window classes, and the capacities the window manager checks its inputs against.
#pragma once

#include <memory>
#include <string>

#include "user/UserState.h"

namespace platform::user {

inline constexpr int kMaxExtraBytes = 4096;      // cbClsExtra / cbWndExtra
inline constexpr size_t kMaxClassName = 256;     // characters kept of a class or menu name
inline constexpr size_t kMaxWindowText = 65535;  // characters kept of a window title

// The class a window of `instance` would be created with (lock held): that instance's class in
// this process, else another instance's class of this process, else a CS_GLOBALCLASS class.
std::shared_ptr<WindowClass> findClass(LPCWSTR name, HINSTANCE instance);

// The class has this name (case-insensitive) or, for an integer atom, this atom.
bool classMatches(const WindowClass& c, LPCWSTR name);

// At most `limit` characters of a zero-terminated string; empty for nullptr.
std::u16string copyText(LPCWSTR text, size_t limit);

}  // namespace platform::user

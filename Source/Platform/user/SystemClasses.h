// The system's window classes: the dialog class and the controls, which every process finds by
// name (case-insensitive) without registering them, after any class it registered itself.
// Each class's window procedure lives in the file of its control.
#pragma once

#include <memory>

#include "user/UserState.h"

namespace platform::user {

// The system class of that name or atom, or null (lock held or not: the table is fixed).
std::shared_ptr<WindowClass> findSystemClass(LPCWSTR name);

LRESULT CALLBACK buttonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK staticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK comboBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK comboListWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::user

namespace platform::commctrl {

LRESULT CALLBACK trackbarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK tabControlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK toolbarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::commctrl

// The table of system classes. A class is made on first use and kept for the life of the
// device, outside the table of registered classes, so no process can unregister it.
#include "user/SystemClasses.h"

#include "commctrl.h"
#include "user/ClassTable.h"

namespace platform::user {

namespace {

// The system's atoms, below those RegisterClassW hands out.
constexpr ATOM kFirstSystemAtom = 0xB000;

struct SystemClass {
    LPCWSTR name;
    WNDPROC proc;
    UINT style;
    int windowExtra;
    int background;  // system colour index + 1, or 0 for none
};

constexpr SystemClass kSystemClasses[] = {
    {WC_DIALOG, DefDlgProcW, 0, DLGWINDOWEXTRA, COLOR_BTNFACE + 1},
    {WC_BUTTON, buttonWindowProc, CS_DBLCLKS, sizeof(void*), 0},
    {WC_STATIC, staticWindowProc, 0, sizeof(void*), 0},
    {WC_COMBOBOX, comboBoxWindowProc, CS_DBLCLKS, sizeof(void*), 0},
    {u"ComboLBox", comboListWindowProc, 0, sizeof(void*), COLOR_WINDOW + 1},
    {TRACKBAR_CLASSW, commctrl::trackbarWindowProc, 0, sizeof(void*), 0},
    {WC_TABCONTROLW, commctrl::tabControlWindowProc, 0, sizeof(void*), 0},
    {TOOLBARCLASSNAMEW, commctrl::toolbarWindowProc, 0, 0, COLOR_BTNFACE + 1},
};

std::shared_ptr<WindowClass> makeClass(const SystemClass& entry, ATOM atom) {
    auto c = std::make_shared<WindowClass>();
    c->atom = atom;
    c->name = entry.name;
    c->style = entry.style | CS_GLOBALCLASS;
    c->proc = entry.proc;
    c->windowExtra = entry.windowExtra;
    c->background = entry.background
                        ? reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(entry.background))
                        : nullptr;
    return c;
}

}  // namespace

std::shared_ptr<WindowClass> findSystemClass(LPCWSTR name) {
    static const auto* classes = [] {
        auto* made = new std::vector<std::shared_ptr<WindowClass>>;
        ATOM atom = kFirstSystemAtom;
        for (const SystemClass& entry : kSystemClasses)
            made->push_back(makeClass(entry, atom++));
        return made;
    }();
    if (name == nullptr)
        return nullptr;
    for (const auto& c : *classes) {
        if (classMatches(*c, name))
            return c;
    }
    return nullptr;
}

}  // namespace platform::user

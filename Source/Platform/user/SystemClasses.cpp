// The window classes every program finds without registering them: the platform's own
// controls. They are found after the classes a process registered itself, by name or atom.
#include <memory>
#include <vector>

#include "user/ClassTable.h"
#include "user/ScrollBarControl.h"

namespace platform::user {
namespace {

struct SystemClassEntry {
    LPCWSTR name;
    WNDPROC proc;
    UINT style;
    int windowExtra;
};

constexpr SystemClassEntry kSystemClasses[] = {
    {u"ScrollBar", scrollBarProc, CS_DBLCLKS, 0},
};

// Atoms below the range RegisterClassW hands out.
constexpr ATOM kFirstSystemAtom = 0xBF00;

std::vector<std::shared_ptr<WindowClass>> makeSystemClasses() {
    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM atom = kFirstSystemAtom;
    for (const SystemClassEntry& entry : kSystemClasses) {
        auto c = std::make_shared<WindowClass>();
        c->atom = atom++;
        c->name = entry.name;
        c->style = entry.style | CS_GLOBALCLASS;
        c->proc = entry.proc;
        c->windowExtra = entry.windowExtra;
        c->cursor = LoadCursorW(nullptr, IDC_ARROW);
        classes.push_back(std::move(c));
    }
    return classes;
}

}  // namespace

std::shared_ptr<WindowClass> systemClass(LPCWSTR name) {
    static const std::vector<std::shared_ptr<WindowClass>> classes = makeSystemClasses();
    if (!name)
        return nullptr;
    for (const auto& c : classes) {
        if (classMatches(*c, name))
            return c;
    }
    return nullptr;
}

}  // namespace platform::user

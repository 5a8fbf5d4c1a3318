// The headless runner's reports.
#include "headless/Reports.h"

#include <device/Programs.h>
#include <wchar16.h>

#include <cstdio>

#include "headless/TextEscapes.h"

namespace {

constexpr const char16_t* kTabControlClass = WC_TABCONTROLW;
constexpr int kMaxTabs = 64;
constexpr int kMaxClassName = 256;

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}

std::string handleText(HWND window) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

std::u16string className(HWND window) {
    WCHAR name[kMaxClassName] = {};
    int length = GetClassNameW(window, name, kMaxClassName);
    return std::u16string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

// The file name of a device path.
std::u16string fileNameOf(const std::u16string& path) {
    size_t slash = path.find_last_of(u'\\');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// Tabs and line breaks inside a field would break the report's columns.
std::string field(std::u16string_view text) {
    std::string escaped = escapeText(text);
    for (char& c : escaped) {
        if (c == '\t')
            c = ' ';
    }
    return escaped;
}

BOOL CALLBACK collect(HWND window, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

std::vector<HWND> descendantsOfForeground() {
    std::vector<HWND> found;
    HWND front = GetForegroundWindow();
    if (front != nullptr)
        EnumChildWindows(front, collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

std::u16string windowText(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return u"";
    const int capacity = static_cast<int>(std::min<LRESULT>(length, kMaxReportedText)) + 1;
    std::u16string text(static_cast<size_t>(capacity), u'\0');
    LRESULT copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, capacity - 1)));
    return text;
}

std::string sipLine(const RECT& r, std::optional<int> layout, bool visible) {
    return "sip " + rectText(r) + " layout " + std::to_string(layout.value_or(-1)) + " visible " +
           (visible ? "1" : "0");
}

std::string frontLine() {
    HWND front = GetForegroundWindow();
    if (front == nullptr)
        return "front none";
    RECT r{};
    GetWindowRect(front, &r);
    return "front " + field(className(front)) + " " + rectText(r);
}

std::string windowsReport() {
    std::vector<HWND> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    std::string out;
    for (HWND window : windows) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        out += handleText(window) + "\t" + std::to_string(process) + "\t" +
               field(fileNameOf(device::processImagePath(process))) + "\t" +
               field(className(window)) + "\t" + (IsWindowVisible(window) ? "1" : "0") + "\t" +
               field(windowText(window)) + "\n";
    }
    return out;
}

std::string controlsReport() {
    std::string out;
    for (HWND control : descendantsOfForeground()) {
        RECT r{};
        GetWindowRect(control, &r);
        const std::u16string name = className(control);
        const std::string visible = IsWindowVisible(control) ? "1" : "0";
        const std::string id = std::to_string(GetDlgCtrlID(control));
        out += id + "\t" + field(name) + "\t" + visible + "\t" + rectText(r) + "\t" +
               field(windowText(control)) + "\n";
        if (name != kTabControlClass)
            continue;
        const LRESULT tabs =
            std::min<LRESULT>(SendMessageW(control, TCM_GETITEMCOUNT, 0, 0), kMaxTabs);
        for (LRESULT i = 0; i < tabs; ++i) {
            RECT tab{};
            if (!SendMessageW(control, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(&tab)))
                continue;
            // The tab's rectangle comes in the control's client coordinates.
            OffsetRect(&tab, r.left, r.top);
            out +=
                id + "\ttab " + std::to_string(i) + "\t" + visible + "\t" + rectText(tab) + "\t\n";
        }
    }
    return out;
}

HWND controlWithId(int id) {
    for (HWND control : descendantsOfForeground()) {
        if (GetDlgCtrlID(control) == id)
            return control;
    }
    return nullptr;
}

std::string eventsReport(const std::vector<device::Event>& events) {
    std::string out;
    for (const auto& event : events)
        out +=
            std::to_string(event.timeMs) + " " + field(event.kind) + " " + field(event.text) + "\n";
    return out;
}

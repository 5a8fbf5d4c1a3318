// The foreground dialog's controls as print-controls reports them, and taps at their places:
// what the options sheet's end-to-end tests need to find a page's tabs, buttons and fields.
#pragma once

#include <map>
#include <regex>
#include <sstream>
#include <string>

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// The last print-controls report's rectangles, by the first field of each line ("2008",
// "12320" for the tab control, "tab 1" for its second tab, ...).
inline std::map<std::string, Box> controls(const std::string& out) {
    std::map<std::string, Box> found;
    std::istringstream lines(out);
    static const std::regex line(R"(^(\d+)\t([^\t]*)\t[01]\t(-?\d+) (-?\d+) (-?\d+) (-?\d+)\t)");
    for (std::string text; std::getline(lines, text);) {
        std::smatch m;
        if (!std::regex_search(text, m, line))
            continue;
        const std::string key = m[2].str().rfind("tab ", 0) == 0 ? m[2].str() : m[1].str();
        found[key] = Box{std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])};
    }
    return found;
}

inline std::string tapAt(int x, int y) {
    return "tap " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

inline std::string tapAt(const Box& box) {
    return tapAt(box.centreX(), box.centreY());
}

// A layout's key table as `kvskin keys` prints it for the built default skin, so that tests tap
// keys where the keyboard draws them.
#pragma once

#include <gtest/gtest.h>
#include <wchar16.h>

#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

struct TableKey {
    int row = 0, col = 0;
    unsigned flags = 0, param = 0, vk = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

struct KeyTable {
    int width = 0, height = 0;
    std::vector<TableKey> keys;
    const TableKey* withParam(unsigned param) const {
        for (const auto& key : keys) {
            if ((key.flags & 1) && key.param == param)
                return &key;
        }
        return nullptr;
    }
    // The first key with any of the `flags` and the given vk and param (a function key).
    const TableKey* function(unsigned flags, unsigned vk, unsigned param) const {
        for (const auto& key : keys) {
            if ((key.flags & flags) && key.vk == vk && key.param == param)
                return &key;
        }
        return nullptr;
    }
    const TableKey* at(int row, int col) const {
        for (const auto& key : keys) {
            if (key.row == row && key.col == col)
                return &key;
        }
        return nullptr;
    }
};

// The character a key types, `times` over, as print-text writes it.
inline std::string typedText(const TableKey& key, int times = 1) {
    std::string one = platform::toUtf8(std::u16string(1, static_cast<char16_t>(key.param)));
    std::string text;
    for (int i = 0; i < times; ++i)
        text += one;
    return text;
}

// Runs kvskin keys; an empty table (and a test failure) when it cannot.
inline KeyTable kvskinKeys(const std::string& screen, int layout) {
    KeyTable table;
    const std::string command = std::string("'") + KVSKIN_PATH + "' keys '" + DEFAULT_SKIN +
                                "' --screen " + screen + " --layout " + std::to_string(layout);
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return table;
    }
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
        text.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("# class ", 0) == 0) {
            std::sscanf(line.c_str(), "# class %*s layout %*d size %d %d", &table.width,
                        &table.height);
            continue;
        }
        if (line.empty() || line[0] == '#' || line.rfind("row", 0) == 0)
            continue;
        // row col "flags 0xflags" "param 0xparam" vk left top right bottom, tab-separated.
        TableKey key;
        if (std::sscanf(line.c_str(), "%d\t%d\t%u %*s\t%u %*s\t%u\t%d\t%d\t%d\t%d", &key.row,
                        &key.col, &key.flags, &key.param, &key.vk, &key.left, &key.top, &key.right,
                        &key.bottom) == 9)
            table.keys.push_back(key);
    }
    EXPECT_FALSE(table.keys.empty()) << command;
    return table;
}

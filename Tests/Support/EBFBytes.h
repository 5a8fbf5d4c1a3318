// Builds container bytes by hand, so that tests can state exact layouts, well formed or not:
// an item is a length byte, the name, a 4-byte count and a 4-byte size, then the payload.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline std::string ebfLittleEndian32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

// An item with whatever count and size it is given, followed by the payload as given.
inline std::string ebfItem(std::string_view name, uint32_t count, uint32_t size,
                           std::string_view payload) {
    std::string bytes(1, static_cast<char>(name.size()));
    bytes += name;
    bytes += ebfLittleEndian32(count);
    bytes += ebfLittleEndian32(size);
    bytes += payload;
    return bytes;
}

inline std::string ebfValue(std::string_view name, std::string_view payload) {
    return ebfItem(name, 0, static_cast<uint32_t>(payload.size()), payload);
}

// A well-formed class: its count and size are those of the children given.
inline std::string ebfClass(std::string_view name, const std::vector<std::string>& children) {
    std::string payload;
    for (const auto& child : children)
        payload += child;
    return ebfItem(name, static_cast<uint32_t>(children.size()),
                   static_cast<uint32_t>(payload.size()), payload);
}

// The container most tests start from: "MainClass" holding A = 1 (4 bytes) and B = "xy".
inline std::string ebfWorkedLayout() {
    return ebfClass("MainClass", {ebfValue("A", std::string("\x01\0\0\0", 4)),
                                  ebfValue("B", std::string("x\0y\0", 4))});
}

// Reading a fuzz input as the values a target draws from it (bytes, UTF-16 units; zeros once
// it is used up), and stopping the run when an invariant the target checks is broken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // Two bytes, low first.
    char16_t unit() {
        const uint8_t low = byte();
        return static_cast<char16_t>(low | (byte() << 8));
    }
    // Up to `count` units, fewer when the input ends first.
    std::vector<char16_t> units(size_t count) {
        std::vector<char16_t> out;
        for (size_t i = 0; i < count && !empty(); ++i)
            out.push_back(unit());
        return out;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Aborts, which the fuzzer reports with the input, when `condition` does not hold.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

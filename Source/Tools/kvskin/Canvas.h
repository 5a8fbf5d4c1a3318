// A memory device context drawing into a 32-bit top-down DIB section, so that what the
// platform's GDI draws can be read back as pixels (0x00RRGGBB, top row first).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // False when the device context or the bitmap could not be made.
    bool valid() const { return m_bits != nullptr; }
    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    std::vector<uint32_t> pixels() const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

// A GDI object deleted when it goes out of scope, selected into a DC for that time.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object) {
        m_previous = object != nullptr ? SelectObject(dc, object) : nullptr;
    }
    ~SelectedObject() {
        if (m_object != nullptr) {
            SelectObject(m_dc, m_previous);
            DeleteObject(m_object);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_previous = nullptr;
};

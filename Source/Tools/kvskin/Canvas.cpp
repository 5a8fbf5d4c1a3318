// The canvas's DIB section and memory device context.
#include "Canvas.h"

Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
    if (width < 1 || height < 1)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    if (m_dc == nullptr)
        return;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_bitmap == nullptr)
        return;
    m_previous = SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<uint32_t*>(bits);
}

Canvas::~Canvas() {
    if (m_dc != nullptr && m_previous != nullptr)
        SelectObject(m_dc, m_previous);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    if (m_dc != nullptr)
        DeleteDC(m_dc);
}

std::vector<uint32_t> Canvas::pixels() const {
    std::vector<uint32_t> out;
    if (m_bits == nullptr)
        return out;
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    out.assign(m_bits, m_bits + count);
    for (uint32_t& pixel : out)
        pixel &= 0x00FFFFFF;
    return out;
}

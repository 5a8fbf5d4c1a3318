// Reading the layout data block: a checking pass over the row structure, then the fill.
#include "skin/LayoutData.h"

#include <cstring>

namespace {

class Reader {
public:
    Reader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool has(size_t bytes) const { return m_at <= m_size && bytes <= m_size - m_at; }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint32_t u32() {
        uint32_t v = static_cast<uint32_t>(m_data[m_at]) |
                     (static_cast<uint32_t>(m_data[m_at + 1]) << 8) |
                     (static_cast<uint32_t>(m_data[m_at + 2]) << 16) |
                     (static_cast<uint32_t>(m_data[m_at + 3]) << 24);
        m_at += 4;
        return v;
    }
    WORD u16() {
        WORD v = static_cast<WORD>(m_data[m_at] | (m_data[m_at + 1] << 8));
        m_at += 2;
        return v;
    }
    BYTE u8() { return m_data[m_at++]; }
    void skip(size_t bytes) { m_at += bytes; }
    size_t at() const { return m_at; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_at = 0;
};

struct GesturePos {
    int32_t row = -1;
    int32_t col = -1;
};

}  // namespace

LayoutDataResult parseLayoutData(const BYTE* data, size_t size, SkinLayout& layout,
                                 KeyRecord** modSlot) {
    if (size > kLayoutDataCapacity)
        return LayoutDataResult::TooLarge;
    if (data == nullptr || size < kLayoutHeaderBytes + kLayoutTrailerBytes)
        return LayoutDataResult::Truncated;

    // Checking pass: the rows must fit before the trailer, which holds the last 8 bytes.
    const size_t rowsEnd = size - kLayoutTrailerBytes;
    Reader check(data, rowsEnd);
    check.skip(27);
    int32_t rows = check.i32();
    if (rows < 0 || rows > kMaxRows)
        return LayoutDataResult::TooManyRows;
    for (int32_t r = 0; r < rows; ++r) {
        if (!check.has(4))
            return LayoutDataResult::Truncated;
        int32_t count = check.i32();
        if (count < 0 || count > kMaxKeysPerRow)
            return LayoutDataResult::TooManyKeys;
        size_t bytes = static_cast<size_t>(count) * kKeyEntryBytes;
        if (!check.has(bytes))
            return LayoutDataResult::Truncated;
        check.skip(bytes);
    }
    Reader trailer(data + rowsEnd, kLayoutTrailerBytes);
    int32_t width = trailer.i32();
    int32_t height = trailer.i32();
    if (width < 0 || height < 0 || width > kMaxLayoutSide || height > kMaxLayoutSide)
        return LayoutDataResult::BadSize;

    // Fill.
    Reader in(data, rowsEnd);
    layout.flags = in.u16();
    layout.altIndex = static_cast<signed char>(in.u8());
    GesturePos down{in.i32(), in.i32()};
    GesturePos right{in.i32(), in.i32()};
    GesturePos left{in.i32(), in.i32()};
    in.skip(4);
    layout.clearKeys();
    for (int32_t r = 0; r < rows; ++r) {
        int32_t count = in.i32();
        layout.rowKeyCount[r] = static_cast<BYTE>(count);
        for (int32_t k = 0; k < count; ++k) {
            KeyRecord& key = layout.keys[r][k];
            key.flags = in.u16();
            key.param = in.u16();
            key.vk = in.u8();
            key.rect.left = in.i32();
            key.rect.top = in.i32();
            key.rect.right = in.i32();
            key.rect.bottom = in.i32();
            key.row = static_cast<BYTE>(r);
            key.col = static_cast<BYTE>(k);
            if (r == down.row && k == down.col)
                layout.downKey = &key;
            if (r == right.row && k == right.col)
                layout.rightKey = &key;
            if (r == left.row && k == left.col)
                layout.leftKey = &key;
            if (modSlot != nullptr && key.hasModifierSlot())
                modSlot[key.slot() - 1] = &key;
        }
    }
    layout.rowCount = rows;
    layout.width = width;
    layout.height = height;
    return LayoutDataResult::Ok;
}

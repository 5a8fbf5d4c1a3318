// The skin model's operations: hit test, alternate and gesture keys, the message face.
#include "skin/SkinLayout.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr WCHAR kTryAgainLabel[] = u"Try Again";

}  // namespace

SkinLayout::~SkinLayout() {
    setBitmap(nullptr);
}

void SkinLayout::setBitmap(HBITMAP newBitmap) {
    if (bitmap != nullptr && bitmap != newBitmap)
        DeleteObject(bitmap);
    bitmap = newBitmap;
}

void SkinLayout::clearKeys() {
    rowCount = 0;
    rowKeyCount.fill(0);
    for (auto& row : keys)
        for (auto& key : row)
            key = KeyRecord{};
    downKey = rightKey = leftKey = nullptr;
}

bool SkinLayout::canBeShown() const {
    if (width <= 0 || height <= 0)
        return false;
    const int rows = std::clamp(rowCount, 0, kMaxRows);
    for (int r = 0; r < rows; ++r) {
        const int count = std::min<int>(rowKeyCount[r], kMaxKeysPerRow);
        for (int k = 0; k < count; ++k)
            if (keys[r][k].flags != 0)
                return true;
    }
    return false;
}

KeyRecord* SkinLayout::keyAt(int x, int y) {
    int rows = rowCount < 0 ? 0 : (rowCount > kMaxRows ? kMaxRows : rowCount);
    for (int r = 0; r < rows; ++r) {
        int count = rowKeyCount[r] > kMaxKeysPerRow ? kMaxKeysPerRow : rowKeyCount[r];
        // Only the bottom of a row's first key bounds the row.
        if (count == 0 || y >= keys[r][0].rect.bottom)
            continue;
        for (int k = 0; k < count; ++k) {
            if (x < keys[r][k].rect.right)
                return &keys[r][k];
        }
    }
    return nullptr;
}

KeyRecord* SkinLayout::keyAtRowCol(int row, int col) {
    if (row < 0 || col < 0 || row >= rowCount || row >= kMaxRows)
        return nullptr;
    if (col >= rowKeyCount[row] || col >= kMaxKeysPerRow)
        return nullptr;
    return &keys[row][col];
}

KeyRecord* alternateKey(const SkinLayout& primary, SkinLayout* alt, const KeyRecord& key) {
    if (primary.altIndex < 0 || alt == nullptr)
        return nullptr;
    return alt->keyAtRowCol(key.row, key.col);
}

KeyRecord* gestureKey(SkinLayout& primary, SkinLayout* alt, const KeyRecord& pressed,
                      int direction) {
    switch (direction) {
        case 1:
            return alternateKey(primary, alt, pressed);
        case 2:
            return primary.rightKey;
        case 3:
            return primary.downKey;
        case 4:
            return primary.leftKey;
        default:
            return nullptr;
    }
}

void makeMessageLayout(SkinLayout& layout, HDC dc, const std::u16string& text,
                       TryAgain withTryAgain, int screenWidth) {
    layout.clearKeys();
    layout.index = 0;
    layout.altIndex = -1;
    layout.flags = LF_MESSAGE;
    const int s = screenWidth <= 400 ? 1 : 2;
    const int width = layout.width;
    const int height = layout.height;

    // The face is drawn over a picture of its own size; one of another size (a layout of the
    // previous screen) is replaced.
    BITMAP held{};
    if (layout.bitmap == nullptr || GetObjectW(layout.bitmap, sizeof(held), &held) == 0 ||
        held.bmWidth != width || held.bmHeight != height) {
        layout.setBitmap(CreateCompatibleBitmap(dc, width, height));
    }
    HGDIOBJ oldBitmap = SelectObject(dc, layout.bitmap);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, -1, 0, width + 2, height);

    LOGFONTW font{};
    font.lfHeight = -(height / 8);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(font.lfFaceName, u"Tahoma", sizeof(u"Tahoma"));
    HFONT labelFont = CreateFontIndirectW(&font);
    HGDIOBJ oldFont = SelectObject(dc, labelFont);

    RECT textRect{5, 5, width - 5, height - 5};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_WORDBREAK);

    if (withTryAgain == TryAgain::Yes) {
        layout.rowCount = 1;
        layout.rowKeyCount[0] = 1;
        KeyRecord& key = layout.keys[0][0];
        key.flags = KF_GOTO;
        key.param = 0;
        // The lower quarter of the face, 95 by 15 pixels at the least (twice that on wide
        // screens), grown to hold its label in the face's font.
        SIZE label{};
        GetTextExtentPoint32W(dc, kTryAgainLabel, static_cast<int>(std::size(kTryAgainLabel)) - 1,
                              &label);
        const int right = width - 5 * s;
        const int bottom = height - 5 * s;
        const int keyWidth = std::max(95 * s, static_cast<int>(label.cx) + 8 * s);
        const int keyHeight =
            std::max({bottom - height * 3 / 4, 15 * s, static_cast<int>(label.cy) + 2 * s});
        key.rect = {right - keyWidth, bottom - keyHeight, right, bottom};
        Rectangle(dc, key.rect.left, key.rect.top, key.rect.right, key.rect.bottom);
        InflateRect(&key.rect, 1, 1);
        RECT labelRect = key.rect;
        DrawTextW(dc, kTryAgainLabel, -1, &labelRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(labelFont);
}

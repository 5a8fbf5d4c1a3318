// The drop-down list combo box's state and the operations its field and its drop list share:
// the field ("COMBOBOX", ComboBox.cpp) keeps the items and the selection; the drop list
// ("ComboLBox", ComboList.cpp) is a topmost popup shown below the field while the user
// chooses, holding the stylus until it closes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform::user {

struct ComboItem {
    std::u16string text;
    LPARAM data = 0;
};

struct ComboState {
    std::vector<ComboItem> items;
    int selection = -1;
    HFONT font = nullptr;
    int listHeight = 0;   // the height the drop list may take below the field
    HWND list = nullptr;  // the drop list while it is shown
    bool focused = false;
    bool closing = false;  // the list is being closed (capture changes are expected)
};

// The most items a combo box holds; adding more fails with CB_ERRSPACE.
inline constexpr size_t kMaxComboItems = 32767;

ComboState* comboState(HWND combo);
int comboItemHeight(const ComboState& s);

// Shows the drop list below (or, without room, above) the field; the list takes the stylus.
// `penDown`: the stylus is down now, and lifting it on an item chooses that item.
void openComboList(HWND combo, bool penDown);
// Closes the drop list. With `chosen` >= 0 that item becomes the selection (the parent is
// told CBN_SELENDOK, CBN_CLOSEUP and, when it changed, CBN_SELCHANGE); -1 cancels.
void closeComboList(HWND combo, int chosen);

// The drop list's rows: the first one shown and the one highlighted, moved by the keys the
// field receives while the list is open.
int comboListHighlight(HWND list);
void setComboListHighlight(HWND list, int item);

}  // namespace platform::user

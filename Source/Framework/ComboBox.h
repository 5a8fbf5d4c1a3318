// CComboBox: a drop-down list combo box window ("COMBOBOX"). Positions are 0-based; CB_ERR
// (-1) answers a position that does not exist or a search that finds nothing.
#pragma once

#include <windows.h>

#include <string>

#include "Wnd.h"

class CComboBox : public CWnd {
public:
    int AddString(LPCWSTR text) const;
    int InsertString(int index, LPCWSTR text) const;
    int DeleteString(UINT index) const;
    void ResetContent() const;
    int GetCount() const;
    int GetCurSel() const;
    // Selects item `index`; -1 (or a position past the end) leaves nothing selected.
    int SetCurSel(int index) const;
    // The first item after `startAfter` (-1: from the first) that begins with `text`, letter
    // case aside; SelectString also selects it.
    int FindString(int startAfter, LPCWSTR text) const;
    int SelectString(int startAfter, LPCWSTR text) const;
    // The first item after `startAfter` that is `text`, letter case aside.
    int FindStringExact(int startAfter, LPCWSTR text) const;
    int GetLBTextLen(int index) const;
    // Item `index`'s text into `text`; its length, or CB_ERR.
    int GetLBText(int index, std::u16string& text) const;
    void ShowDropDown(BOOL show = TRUE) const;
    BOOL GetDroppedState() const;
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data) const;
};

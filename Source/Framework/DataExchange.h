// Dialog data exchange: DoDataExchange calls these for each control it binds. Each moves one
// value between a control and a member, toward the member when the exchange saves
// (m_bSaveAndValidate) and toward the control otherwise; DDX_Control attaches a control object
// to its window the first time.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches `control` to the dialog's control `id` (subclassing it), once.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// The control's text.
void DDX_Text(CDataExchange* pDX, int id, std::u16string& value);
// A check box's state (BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE).
void DDX_Check(CDataExchange* pDX, int id, int& value);
// A combo box's selected position (-1 for none).
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// A trackbar's position.
void DDX_Slider(CDataExchange* pDX, int id, int& value);

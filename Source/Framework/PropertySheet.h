// CPropertySheet: a modal sheet of CPropertyPage pages in the order they were added, with the
// tabs along the bottom and OK and Cancel, run by the platform's PropertySheetW. The object is
// attached to the sheet's window from its first message, so OnInitDialog (which a derived
// sheet may extend, calling the base) sees the sheet before its first page is made.
#pragma once

#include <commctrl.h>

#include <string>
#include <vector>

#include "PropertyPage.h"
#include "Wnd.h"

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(LPCWSTR caption = nullptr, CWnd* parent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    // The page shown now (while the sheet runs), or -1.
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);

    // IDOK when the sheet was confirmed, IDCANCEL when it was cancelled, -1 on failure.
    virtual INT_PTR DoModal();
    // Shows the first page; a derived sheet calls it from its own.
    virtual BOOL OnInitDialog();

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    std::u16string m_caption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_startPage = 0;
    std::vector<CPropertyPage*> m_pages;
};

// COptionsDlg: building the sheet of pages and applying a confirmed sheet.
#include "options/OptionsDlg.h"

#include <sip.h>

#include <cstring>

#include "inputmethod/ClassFactory.h"
#include "inputmethod/InputMethod.h"
#include "inputmethod/Settings.h"
#include "panel/MacroStore.h"
#include "panel/MyPanel.h"

COptionsDlg::COptionsDlg(LPCWSTR caption, CWnd* parent, UINT selectPage)
    : CPropertySheet(caption, parent, selectPage) {
    generalPage.sheet = this;
    macrosPage.sheet = this;
    skinsPage.sheet = this;
    AddPage(&generalPage);
    AddPage(&macrosPage);
    AddPage(&skinsPage);
    AddPage(&aboutPage);
}

COptionsDlg::~COptionsDlg() {
    if (commandBar)
        commandBar->DestroyWindow();
}

INT_PTR COptionsDlg::DoModal() {
    const INT_PTR result = CPropertySheet::DoModal();
    if (result == IDOK)
        ApplyChangedGroups(changedGroups);
    return result;
}

BOOL COptionsDlg::OnInitDialog() {
    commandBar = std::make_unique<CCommandBar>();
    commandBar->CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                         CRect(0, 0, 0, 0), IDC_OPTIONS_COMMANDBAR);
    return CPropertySheet::OnInitDialog();
}

void ApplyChangedGroups(WORD changedGroups) {
    if (changedGroups & kReloadSettings)
        SaveSettings();
    if (changedGroups & kReloadSkin)
        SaveCurrentSkin();
    if (changedGroups & kReloadMacros)
        SaveMacros();
    CLSID current{};
    if (!SipGetCurrentIM(&current) ||
        std::memcmp(&current, &CLSID_KelvoInputMethod, sizeof(CLSID)) != 0) {
        return;
    }
    SIPINFO info{};
    info.cbSize = sizeof(SIPINFO);
    SipGetInfo(&info);
    WORD block[2] = {kImDataReload, changedGroups};
    info.dwImDataSize = sizeof(block);
    info.pvImData = block;
    SipSetInfo(&info);
}

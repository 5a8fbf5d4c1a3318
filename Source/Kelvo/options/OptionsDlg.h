// COptionsDlg: the options sheet, run by UserOptionsDlg. Its pages, in order: General, Macros,
// Skins and About. Confirmed pages mark the groups of settings
// they changed; when the sheet is confirmed those groups are saved and a running keyboard is
// told to reload them.
#pragma once

#include <afxwin.h>

#include <memory>

#include "options/AboutPage.h"
#include "options/GeneralPage.h"
#include "options/MacrosPage.h"
#include "options/SkinsPage.h"

// The id of the sheet's command bar.
inline constexpr UINT IDC_OPTIONS_COMMANDBAR = 0xE800;

class COptionsDlg : public CPropertySheet {
public:
    COptionsDlg(LPCWSTR caption, CWnd* parent, UINT selectPage = 0);
    ~COptionsDlg() override;

    // The sheet's result; a confirmed sheet (IDOK) applies its changed groups first.
    INT_PTR DoModal() override;
    // Lays the command bar along the sheet's top, then shows the first page.
    BOOL OnInitDialog() override;

    std::unique_ptr<CCommandBar> commandBar;
    CGeneralPage generalPage;
    CAboutPage aboutPage;
    CMacrosPage macrosPage;
    CSkinsPage skinsPage;
    WORD changedGroups = 0;  // the panel's reload bits: macros, skin, general settings
};

// Saves the groups named, in the order general settings, current skin, macros; then, when the
// system's current input method is Kelvo, sends its panel the data block {3, changedGroups}
// through the input panel host, so that it reloads them (in whatever process it runs).
void ApplyChangedGroups(WORD changedGroups);

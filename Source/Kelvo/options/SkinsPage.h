// CSkinsPage: the options sheet's page for choosing the current skin among the skin files of
// the skins folder. The chosen file is checked as the panel would load it; its first layout's
// picture is shown as a preview, or the reason it cannot be used in the picture's place.
#pragma once

#include <afxwin.h>

#include <string>

class COptionsDlg;

inline constexpr UINT IDD_SKINS_PAGE = 106;
inline constexpr int IDC_SKIN_LIST = 2014;
inline constexpr int IDC_SKIN_PREVIEW = 2015;
inline constexpr int IDC_SKIN_ERROR = 2016;

class CSkinsPage : public WithMessageMap<CSkinsPage, CPropertyPage> {
public:
    CSkinsPage();

    // Checks the skin chosen in the list and shows its preview or why it cannot be used.
    void CheckSelectedSkin();

    CBitmap preview;
    std::u16string selectedSkin;  // empty when the chosen file cannot be used
    COptionsDlg* sheet = nullptr;
    CComboBox skinCombo;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

public:
    static constexpr MessageMapEntry<CSkinsPage> messageMap[] = {
        onControl<CBN_SELCHANGE, IDC_SKIN_LIST, &CSkinsPage::CheckSelectedSkin>(),
    };
};

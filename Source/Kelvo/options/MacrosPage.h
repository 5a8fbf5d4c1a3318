// CMacrosPage: the options sheet's page for macros 1 to 12 of the macro table: a macro chosen
// by number, its kind, and its name and text typed into two Farsi edit controls. What the
// controls show is read from the table; Apply (and OK, for the macro shown) writes it back.
#pragma once

#include <afxwin.h>

#include "farsiedit/CFarsiEdit.h"
#include "panel/Macros.h"

class COptionsDlg;

inline constexpr UINT IDD_MACROS_PAGE = 105;
inline constexpr int IDC_MACRO_NUMBER = 2009;
inline constexpr int IDC_MACRO_APPLY = 2010;
inline constexpr int IDC_MACRO_KIND = 2011;
inline constexpr int IDC_MACRO_NAME = 2012;
inline constexpr int IDC_MACRO_DATA = 2013;

class CMacrosPage : public WithMessageMap<CMacrosPage, CPropertyPage> {
public:
    CMacrosPage();

    // The kind list shows the chosen macro's kind; then the fields for that kind.
    void ShowMacro();
    // The edits for the kind chosen in the list, filled from the chosen macro; the kind itself
    // is stored only by ApplyMacro.
    void ShowMacroFields();
    // The chosen kind, name and text into the chosen macro of the table (in memory only).
    void ApplyMacro();

    COptionsDlg* sheet = nullptr;
    CFarsiEdit nameEdit;
    CFarsiEdit dataEdit;

protected:
    // The macro chosen in the number list (null when none), and the kind chosen in the kind
    // list (0 when none).
    MacroEntry* selectedMacro() const;
    int selectedKind() const;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

public:
    static constexpr MessageMapEntry<CMacrosPage> messageMap[] = {
        onControl<BN_CLICKED, IDC_MACRO_APPLY, &CMacrosPage::ApplyMacro>(),
        onControl<CBN_SELCHANGE, IDC_MACRO_KIND, &CMacrosPage::ShowMacroFields>(),
        onControl<CBN_SELCHANGE, IDC_MACRO_NUMBER, &CMacrosPage::ShowMacro>(),
    };
};

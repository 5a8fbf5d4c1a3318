// CMacrosPage: the number and kind lists and the two edits over the macro table. The table is
// read again from the registry when the page opens; the edits take no more than the registry
// read of the macros gives back, so that nothing typed is cut off at the next load.
#include "options/MacrosPage.h"

#include <sip.h>

#include <string>

#include "options/OptionsDlg.h"
#include "panel/MacroStore.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

// The characters of a name or a text that a load of the macros keeps.
constexpr int kMacroTextChars = kMacroTextBytes / static_cast<int>(sizeof(WCHAR));

std::u16string windowText(const CWnd& window) {
    std::u16string text;
    window.GetWindowText(text);
    return text;
}

}  // namespace

CMacrosPage::CMacrosPage() : WithMessageMap(IDD_MACROS_PAGE) {}

void CMacrosPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MACRO_NAME, nameEdit);
    DDX_Control(pDX, IDC_MACRO_DATA, dataEdit);
}

BOOL CMacrosPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    nameEdit.SetLimitText(kMacroTextChars);
    dataEdit.SetLimitText(kMacroTextChars);
    LoadMacros();
    for (const WCHAR* label : kMacroKindLabels)
        SendDlgItemMessage(IDC_MACRO_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    SendDlgItemMessage(IDC_MACRO_NUMBER, CB_SETCURSEL, 0);
    ShowMacro();
    SipShowIM(SIPF_OFF);
    return TRUE;
}

MacroEntry* CMacrosPage::selectedMacro() const {
    const auto number = SendDlgItemMessage(IDC_MACRO_NUMBER, CB_GETCURSEL);
    if (number < 0 || number >= kMacroCount)
        return nullptr;
    return &MacroTable[static_cast<size_t>(number)];
}

int CMacrosPage::selectedKind() const {
    const auto position = SendDlgItemMessage(IDC_MACRO_KIND, CB_GETCURSEL);
    if (position < 0 || position >= kMacroKindCount)
        return 0;
    return static_cast<int>(position) + 1;
}

void CMacrosPage::ShowMacro() {
    const MacroEntry* macro = selectedMacro();
    if (macro == nullptr)
        return;
    SendDlgItemMessage(IDC_MACRO_KIND, CB_SETCURSEL, static_cast<WPARAM>(macro->kind - 1));
    ShowMacroFields();
}

void CMacrosPage::ShowMacroFields() {
    const MacroEntry* macro = selectedMacro();
    const int kind = selectedKind();
    if (macro == nullptr || kind == 0)
        return;
    if (kind == MacroString) {
        SetDlgItemText(IDC_MACRO_NAME, macro->name.c_str());
        // The content as text within its dataSize: a key sequence's bytes have no terminator.
        SetDlgItemText(IDC_MACRO_DATA, macroText(*macro).c_str());
    } else {
        SetDlgItemText(IDC_MACRO_NAME,
                       kind == MacroKeySequence ? macro->name.c_str() : kMacroKindLabels[kind - 1]);
        SetDlgItemText(IDC_MACRO_DATA, u"");
    }
    nameEdit.ShowWindow(SW_SHOW);
    dataEdit.ShowWindow(kind == MacroKeySequence ? SW_HIDE : SW_SHOW);
}

void CMacrosPage::ApplyMacro() {
    MacroEntry* macro = selectedMacro();
    const int kind = selectedKind();
    if (macro == nullptr || kind == 0)
        return;
    macro->kind = static_cast<SHORT>(kind);
    if (kind == MacroKeySequence) {
        // The records stay: a sequence is recorded on the keyboard.
        macro->name = windowText(nameEdit);
        return;
    }
    if (kind == MacroString) {
        macro->name = windowText(nameEdit);
        setMacroText(*macro, windowText(dataEdit));
    } else {
        macro->name = kMacroKindLabels[kind - 1];
        setMacroText(*macro, macroPlaceholder(kind));
    }
}

void CMacrosPage::OnOK() {
    ApplyMacro();
    if (sheet != nullptr)
        sheet->changedGroups |= kReloadMacros;
    CPropertyPage::OnOK();
}

// CSkinsPage: the skins folder's files in the list, the current skin selected (by its exact
// name, letter case aside: a name that merely begins another selects nothing of it), each
// choice checked, and OK making the chosen skin current when it is another one.
#include "options/SkinsPage.h"

#include <wchar16.h>

#include <memory>

#include "inputmethod/Settings.h"
#include "options/OptionsDlg.h"
#include "panel/MyPanel.h"
#include "skin/EBFFile.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

namespace {

constexpr WCHAR kSkinExtension[] = u".ksk";
constexpr size_t kSkinExtensionLength = 4;

std::u16string notASkinText(const std::u16string& path) {
    return u"The skin file\n    " + path + u"\nis not a valid Skin file.";
}

constexpr WCHAR kNoDimensionText[] =
    u"This file does not have skin info for current screen dimension.";

// The file name without its ".ksk" extension.
std::u16string skinName(const WCHAR* fileName) {
    std::u16string name(fileName);
    if (name.size() >= kSkinExtensionLength &&
        lstrcmpiW(name.c_str() + name.size() - kSkinExtensionLength, kSkinExtension) == 0)
        name.resize(name.size() - kSkinExtensionLength);
    return name;
}

}  // namespace

CSkinsPage::CSkinsPage() : WithMessageMap(IDD_SKINS_PAGE) {}

void CSkinsPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SKIN_LIST, skinCombo);
}

BOOL CSkinsPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    WIN32_FIND_DATAW found{};
    const std::u16string pattern = skinsFolder + u"*" + kSkinExtension;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            skinCombo.AddString(skinName(found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    readCurrentSkin();
    selectedSkin = currentSkin;
    // The current skin by its whole name: a prefix search would pick "KelvoDark" for "Kelvo"
    // when it comes first, and OK would then switch to a skin the user never chose.
    skinCombo.SetCurSel(skinCombo.FindStringExact(-1, currentSkin.c_str()));
    CheckSelectedSkin();
    return TRUE;
}

void CSkinsPage::CheckSelectedSkin() {
    skinCombo.GetWindowText(selectedSkin);

    HWND picture = ::GetDlgItem(m_hWnd, IDC_SKIN_PREVIEW);
    HWND message = ::GetDlgItem(m_hWnd, IDC_SKIN_ERROR);
    auto refuse = [&](const std::u16string& text) {
        ::ShowWindow(picture, SW_HIDE);
        SetDlgItemText(IDC_SKIN_ERROR, text.c_str());
        ::ShowWindow(message, SW_SHOW);
        selectedSkin.clear();
    };
    const std::u16string path = skinsFolder + selectedSkin + kSkinExtension;
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(path)) {
        refuse(notASkinText(path));
        return;
    }
    if (!file.BeginClass(dimensionClass(g_screenWidth, g_screenHeight))) {
        file.Close();
        refuse(kNoDimensionText);
        return;
    }
    ::ShowWindow(picture, SW_SHOW);
    ::ShowWindow(message, SW_HIDE);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    preview.DeleteObject();
    if (file.BeginClass(u"0")) {
        auto bytes = std::make_unique<BYTE[]>(kImageCapacity);
        // Only a picture that was read is decoded: a missing or oversized "P" leaves none.
        const DWORD read = file.RawValue(u"P", bytes.get(), kImageCapacity);
        if (read > 0)
            decodeImage(bytes.get(), read, memory.GetSafeHdc(), preview);
        file.EndClass();
    }
    ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(preview.GetSafeHandle()));
    ::UpdateWindow(picture);
    file.EndClass();
    file.Close();
}

void CSkinsPage::OnOK() {
    if (!selectedSkin.empty() && lstrcmpiW(selectedSkin.c_str(), currentSkin.c_str()) != 0) {
        currentSkin = selectedSkin;
        if (sheet != nullptr)
            sheet->changedGroups |= kReloadSkin;
    }
    CPropertyPage::OnOK();
}

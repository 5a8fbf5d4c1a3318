// CAboutPage: the text is completed with the version the build gives (KELVO_VERSION).
#include "options/AboutPage.h"

namespace {

std::u16string widen(const char* text) {
    std::u16string wide;
    for (const char* c = text; *c != 0; ++c)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
    return wide;
}

}  // namespace

CAboutPage::CAboutPage() : CPropertyPage(IDD_ABOUT_PAGE) {}

std::u16string CAboutPage::aboutText() {
    return u"Kelvo Soft Keyboard\nVersion " + widen(KELVO_VERSION) +
           u"\n\u00A9 Tirvan. All rights reserved.";
}

BOOL CAboutPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_TEXT, aboutText().c_str());
    return TRUE;
}

// CAboutPage: the text is completed with the version the build gives (KELVO_VERSION).
#include "options/AboutPage.h"

#include <wchar16.h>

namespace {

// The page's three lines: the name, the version and the notice.
std::u16string aboutText() {
    return u"Kelvo Soft Keyboard\nVersion " + platform::fromUtf8(KELVO_VERSION) +
           u"\n\u00A9 Tirvan. All rights reserved.";
}

}  // namespace

CAboutPage::CAboutPage() : CPropertyPage(IDD_ABOUT_PAGE) {}

BOOL CAboutPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_TEXT, aboutText().c_str());
    return TRUE;
}

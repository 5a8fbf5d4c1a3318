// CAboutPage: the options sheet's last page, the keyboard's icon with its name, the version of
// this build and a notice.
#pragma once

#include <afxwin.h>

inline constexpr UINT IDD_ABOUT_PAGE = 103;
inline constexpr int IDC_ABOUT_TEXT = 2000;

class CAboutPage : public CPropertyPage {
public:
    CAboutPage();

protected:
    BOOL OnInitDialog() override;
};

// The module state and the device-context wrappers' ownership.
#include <afxwin.h>

#include "DeviceTest.h"

namespace {

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(u"Test") {}
};

using ModuleState = DeviceTest;

TEST_F(ModuleState, ScopesEnterAStateAndRestoreThePreviousOne) {
    CTestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    AFX_MODULE_STATE other;
    other.m_hCurrentResourceHandle = reinterpret_cast<HINSTANCE>(0x1234);
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetModuleState(), &other);
        EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x1234));
        EXPECT_EQ(AfxGetApp(), nullptr);
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(AfxGetApp(), &app);
        }
        EXPECT_EQ(AfxGetModuleState(), &other);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
    // A program's module state falls back to its process's program module.
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleW(nullptr));
}

TEST_F(ModuleState, DeviceContextPutsBackWhatItReplacedBeforeItGoes) {
    CBitmap bitmap;
    HDC screen = ::GetDC(nullptr);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 8, 8));
    ::ReleaseDC(nullptr, screen);
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_NE(dc.SelectObject(&bitmap), nullptr);
        // While selected, the bitmap cannot be deleted.
        EXPECT_FALSE(::DeleteObject(bitmap.m_hObject));
        const CRect fill(0, 0, 8, 8);
        dc.FillSolidRect(&fill, RGB(10, 20, 30));
        EXPECT_EQ(::GetPixel(dc, 3, 3), RGB(10, 20, 30));
    }
    // The DC is gone and gave the bitmap back, so its owner can delete it.
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(bitmap.m_hObject, nullptr);
}

}  // namespace

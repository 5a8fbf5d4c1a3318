// Property sheets, run on a device thread of their own and driven with the stylus: pages made
// when first shown, OK applying only the pages that were made, Cancel resetting them, pages
// refusing to be left or applied, and the sheet's layout in the work area (OK and Cancel along
// the top, the pages, the tabs along the bottom).
#include <commctrl.h>
#include <device/Screen.h>

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "DeviceTest.h"
#include "DeviceThread.h"

namespace {

constexpr WCHAR kCaption[] = u"Test Sheet";

struct Event {
    int page;
    UINT what;  // a PSN_* code, or kMade for WM_INITDIALOG
    bool operator==(const Event&) const = default;
};
constexpr UINT kMade = 1;

std::mutex g_mutex;
std::vector<Event> g_events;
std::atomic<int> g_refuseLeaving{-1};   // the page that refuses PSN_KILLACTIVE
std::atomic<int> g_refuseApplying{-1};  // the page that answers PSN_APPLY with PSNRET_INVALID

void record(int page, UINT what) {
    std::lock_guard lock(g_mutex);
    g_events.push_back({page, what});
}

std::vector<Event> events() {
    std::lock_guard lock(g_mutex);
    return g_events;
}

void forget() {
    std::lock_guard lock(g_mutex);
    g_events.clear();
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        SetWindowLongPtrW(page, DWLP_USER, sheetPage->lParam);
        record(static_cast<int>(sheetPage->lParam), kMade);
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    const int index = static_cast<int>(GetWindowLongPtrW(page, DWLP_USER));
    const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
    record(index, code);
    LONG_PTR answer = 0;
    if (code == PSN_KILLACTIVE && index == g_refuseLeaving)
        answer = TRUE;
    if (code == PSN_APPLY && index == g_refuseApplying)
        answer = PSNRET_INVALID;
    SetWindowLongPtrW(page, DWLP_MSGRESULT, answer);
    return TRUE;
}

// Gives the screen its size and whole area back when a test ends.
struct ScreenGuard {
    int width = device::screenWidth();
    int height = device::screenHeight();
    ~ScreenGuard() {
        device::setScreenSize(width, height);
        SystemParametersInfoW(SPI_SETWORKAREA, 0, nullptr, 0);
    }
};

class PropertySheets : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        forget();
        g_refuseLeaving = -1;
        g_refuseApplying = -1;
        for (int i = 0; i < 3; ++i) {
            PROPSHEETPAGEW& page = pages[static_cast<size_t>(i)];
            page.dwSize = sizeof(page);
            page.hInstance = GetModuleHandleW(nullptr);
            page.pszTemplate = MAKEINTRESOURCEW(200 + i);
            page.pfnDlgProc = pageProc;
            page.lParam = i;
        }
    }

    // Starts the sheet on a device thread; the owner window is that thread's too.
    void start(UINT startPage = 0) {
        runner = std::make_unique<DeviceThread>([this, startPage] {
            HWND made = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                        nullptr, nullptr, nullptr, nullptr);
            owner = made;
            PROPSHEETHEADERW header{};
            header.dwSize = sizeof(header);
            header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
            header.hwndParent = made;
            header.hInstance = GetModuleHandleW(nullptr);
            header.pszCaption = kCaption;
            header.nPages = 3;
            header.nStartPage = startPage;
            header.ppsp = pages.data();
            result = PropertySheetW(&header);
            DestroyWindow(made);
        });
        settleDevice();
        sheet = FindWindowW(WC_DIALOG, kCaption);
        tabs = sheet ? GetDlgItem(sheet, IDC_PROPSHEET_TABCONTROL) : nullptr;
    }
    INT_PTR finish() {
        runner->join();
        return result;
    }

    void tapTab(int i) const {
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        tapWindow(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HWND shownPage() const {
        return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    std::u16string tabText(int i) const {
        WCHAR text[32] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    std::array<PROPSHEETPAGEW, 3> pages{};
    std::unique_ptr<DeviceThread> runner;
    std::atomic<HWND> owner{nullptr};
    std::atomic<INT_PTR> result{-2};
    HWND sheet = nullptr;
    HWND tabs = nullptr;
};

}  // namespace

TEST_F(PropertySheets, PagesAreMadeWhenFirstShownAndOkAppliesOnlyThose) {
    pages[1].dwFlags = PSP_USETITLE;
    pages[1].pszTitle = u"Custom";
    start();
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabText(0), u"First");  // the template's caption
    EXPECT_EQ(tabText(1), u"Custom");
    EXPECT_EQ(tabText(2), u"Third");
    EXPECT_EQ(events(), (std::vector<Event>{{0, kMade}, {0, PSN_SETACTIVE}}));
    EXPECT_FALSE(IsWindowEnabled(owner));

    tapTab(2);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(
        events(),
        (std::vector<Event>{
            {0, kMade}, {0, PSN_SETACTIVE}, {0, PSN_KILLACTIVE}, {2, kMade}, {2, PSN_SETACTIVE}}));
    HWND third = shownPage();
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(IsWindowVisible(third));
    EXPECT_NE(GetDlgItem(third, 203), nullptr);

    // Back to the first page: it is shown again, not made again.
    forget();
    tapTab(0);
    EXPECT_EQ(events(), (std::vector<Event>{{2, PSN_KILLACTIVE}, {0, PSN_SETACTIVE}}));
    EXPECT_FALSE(IsWindowVisible(third));

    forget();
    tapCentre(GetDlgItem(sheet, IDOK));
    EXPECT_EQ(finish(), 1);
    EXPECT_EQ(events(), (std::vector<Event>{{0, PSN_KILLACTIVE}, {0, PSN_APPLY}, {2, PSN_APPLY}}));
    EXPECT_FALSE(IsWindow(sheet));
}

TEST_F(PropertySheets, CancelResetsOnlyThePagesThatWereMade) {
    start(1);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(events(), (std::vector<Event>{{1, kMade}, {1, PSN_SETACTIVE}}));
    forget();
    tapCentre(GetDlgItem(sheet, IDCANCEL));
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(events(), (std::vector<Event>{{1, PSN_QUERYCANCEL}, {1, PSN_RESET}}));
}

TEST_F(PropertySheets, APageMayRefuseToBeLeftOrApplied) {
    start();
    ASSERT_NE(sheet, nullptr);
    g_refuseLeaving = 0;
    tapTab(1);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);  // still the first page
    tapCentre(GetDlgItem(sheet, IDOK));
    EXPECT_TRUE(IsWindowVisible(sheet));  // OK could not leave the page either

    g_refuseLeaving = -1;
    tapTab(1);
    g_refuseApplying = 0;
    tapCentre(GetDlgItem(sheet, IDOK));
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);  // the refusing page is shown

    g_refuseApplying = -1;
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 2, 0), TRUE);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    settleDevice();
    EXPECT_EQ(finish(), 1);
}

TEST_F(PropertySheets, TheSheetFillsTheWorkAreaWithButtonsAlongTheTopAndTabsAlongTheBottom) {
    const ScreenGuard restore;
    RECT work{0, 26, 240, 294};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    start();
    ASSERT_NE(sheet, nullptr);
    RECT frame{};
    GetWindowRect(sheet, &frame);
    EXPECT_EQ(frame.left, work.left);
    EXPECT_EQ(frame.top, work.top);
    EXPECT_EQ(frame.right, work.right);
    EXPECT_EQ(frame.bottom, work.bottom);

    RECT tabRow{}, ok{}, cancel{}, page{};
    GetWindowRect(tabs, &tabRow);
    GetWindowRect(GetDlgItem(sheet, IDOK), &ok);
    GetWindowRect(GetDlgItem(sheet, IDCANCEL), &cancel);
    GetWindowRect(shownPage(), &page);
    EXPECT_EQ(tabRow.bottom, work.bottom);
    EXPECT_EQ(tabRow.left, 0);
    EXPECT_EQ(tabRow.right, 240);
    EXPECT_GE(ok.top, work.top);
    EXPECT_LE(cancel.bottom, work.top + GetSystemMetrics(SM_CYMENU));
    EXPECT_LT(ok.right, cancel.left);
    EXPECT_GT(cancel.right, 230);
    EXPECT_EQ(page.top, work.top + GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(page.bottom, tabRow.top);
    RECT firstTab{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    EXPECT_EQ(firstTab.bottom, tabRow.bottom - tabRow.top);  // along the sheet's bottom edge

    // The work area changes (the screen turns): the sheet follows it.
    RECT turned{0, 26, 320, 214};
    ASSERT_TRUE(device::setScreenSize(320, 240));
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &turned, SPIF_SENDCHANGE);
    settleDevice();
    GetWindowRect(sheet, &frame);
    EXPECT_EQ(frame.right, 320);
    EXPECT_EQ(frame.bottom, 214);
    GetWindowRect(tabs, &tabRow);
    EXPECT_EQ(tabRow.bottom, 214);
    PostMessageW(sheet, WM_CLOSE, 0, 0);
    settleDevice();
    EXPECT_EQ(finish(), 0);
}

TEST_F(PropertySheets, ASheetWithoutAUsablePageIsNotShown) {
    EXPECT_EQ(PropertySheetW(nullptr), -1);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.nPages = 1;
    header.ppsp = pages.data();
    pages[0].pszTemplate = MAKEINTRESOURCEW(999);
    EXPECT_EQ(PropertySheetW(&header), -1);
    EXPECT_EQ(FindWindowW(WC_DIALOG, nullptr), nullptr);
    header.dwFlags = 0;  // pages given some other way are not supported
    EXPECT_EQ(PropertySheetW(&header), -1);
}

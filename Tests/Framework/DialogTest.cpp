// Framework dialogs driven as a user would, on a device thread of their own: CDialog's data
// exchange in both directions and its OK and Cancel, a control's notification reaching its
// message-map entry, and CPropertySheet with its pages: each page's OnInitDialog when first
// shown, OnOK only for shown pages, and a derived sheet's OnInitDialog (with its command bar)
// before the first page.
#include <afxwin.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "DeviceTest.h"
#include "DeviceThread.h"

namespace {

constexpr UINT kExchangeDialog = 300;
constexpr UINT kAlphaPage = 301;
constexpr UINT kBetaPage = 302;

class CExchangeDialog : public WithMessageMap<CExchangeDialog, CDialog> {
public:
    CExchangeDialog() : WithMessageMap(kExchangeDialog) {}

    int option = BST_CHECKED;
    std::u16string label = u"Hello";
    int choice = 1;
    int level = 30;
    int selectionChanges = 0;
    CComboBox combo;
    CSliderCtrl slider;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 11, combo);
        DDX_Control(pDX, 14, slider);
        DDX_Check(pDX, 10, option);
        DDX_Text(pDX, 12, label);
        DDX_CBIndex(pDX, 11, choice);
        DDX_Slider(pDX, 14, level);
    }

private:
    void OnSelectionChange() { ++selectionChanges; }

public:
    static constexpr MessageMapEntry<CExchangeDialog> messageMap[] = {
        onControl<CBN_SELCHANGE, 11, &CExchangeDialog::OnSelectionChange>(),
    };
};

// What a modal run of the exchange dialog left in the object.
struct ExchangeResult {
    std::atomic<INT_PTR> result{0};
    int option = -1;
    std::u16string label;
    int choice = -1;
    int level = -1;
    int selectionChanges = -1;
};

void runExchange(ExchangeResult& out) {
    CExchangeDialog dialog;
    out.result = dialog.DoModal();
    out.option = dialog.option;
    out.label = dialog.label;
    out.choice = dialog.choice;
    out.level = dialog.level;
    out.selectionChanges = dialog.selectionChanges;
}

HWND control(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

// The sheet tests' log of what the sheet and its pages were told, in order.
std::mutex g_mutex;
std::vector<std::string> g_log;

void note(std::string what) {
    std::lock_guard lock(g_mutex);
    g_log.push_back(std::move(what));
}

std::vector<std::string> logged() {
    std::lock_guard lock(g_mutex);
    return g_log;
}

class CLoggingPage : public CPropertyPage {
public:
    CLoggingPage(UINT templateId, std::string name)
        : CPropertyPage(templateId), m_name(std::move(name)) {}

    BOOL OnInitDialog() override {
        note(m_name + " init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        note(m_name + " shown");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        note(m_name + " left");
        return CPropertyPage::OnKillActive();
    }
    void OnOK() override {
        note(m_name + " ok");
        CPropertyPage::OnOK();
    }
    void OnCancel() override {
        note(m_name + " cancel");
        CPropertyPage::OnCancel();
    }

private:
    std::string m_name;
};

class CLoggingSheet : public CPropertySheet {
public:
    CLoggingSheet() : CPropertySheet(u"Logging Sheet") {
        AddPage(&alpha);
        AddPage(&beta);
    }
    BOOL OnInitDialog() override {
        note("sheet init");
        commandBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                            CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR);
        return CPropertySheet::OnInitDialog();
    }

    CLoggingPage alpha{kAlphaPage, "alpha"};
    CLoggingPage beta{kBetaPage, "beta"};
    CCommandBar commandBar;
};

// The logging sheet run modally on a device thread of its own.
struct SheetRun {
    std::atomic<INT_PTR> result{0};
    DeviceThread thread{[this] {
        CLoggingSheet sheet;
        result = sheet.DoModal();
    }};

    HWND sheet() {
        settleDevice();
        return FindWindowW(WC_DIALOG, u"Logging Sheet");
    }
};

class FrameworkDialogs : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        std::lock_guard lock(g_mutex);
        g_log.clear();
    }
};

void tapTab(HWND sheet, int index) {
    HWND tabs = GetDlgItem(sheet, IDC_PROPSHEET_TABCONTROL);
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    tapWindow(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace

TEST_F(FrameworkDialogs, ADialogExchangesItsDataBothWaysAndOkTakesItBack) {
    ExchangeResult out;
    DeviceThread thread([&] { runExchange(out); });
    settleDevice();
    HWND dialog = FindWindowW(WC_DIALOG, u"Exchange");
    ASSERT_NE(dialog, nullptr);
    // OnInitDialog filled the controls from the members.
    EXPECT_EQ(SendMessageW(control(dialog, 10), BM_GETCHECK, 0, 0), BST_CHECKED);
    WCHAR text[16] = {};
    GetWindowTextW(control(dialog, 12), text, 16);
    EXPECT_EQ(std::u16string(text), u"Hello");
    EXPECT_EQ(SendMessageW(control(dialog, 11), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(control(dialog, 14), TBM_GETPOS, 0, 0), 30);

    // The user unchecks the option, chooses "Two" in the list and drags the slider to its end.
    tapCentre(control(dialog, 10));
    RECT field{};
    GetWindowRect(control(dialog, 11), &field);
    tapScreen(field.left + 10, field.top + 4);
    HWND list = FindWindowW(u"ComboLBox", nullptr);
    ASSERT_NE(list, nullptr);
    RECT rows{};
    GetWindowRect(list, &rows);
    const int rowHeight =
        static_cast<int>(SendMessageW(control(dialog, 11), CB_GETITEMHEIGHT, 0, 0));
    tapScreen(rows.left + 10, rows.top + 1 + 2 * rowHeight + rowHeight / 2);
    RECT thumb{};
    SendMessageW(control(dialog, 14), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT grip{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ClientToScreen(control(dialog, 14), &grip);
    // The pen's later positions go where the thumb's capture sends them once it has the pen.
    device::stylusDown(grip.x, grip.y);
    settleDevice();
    device::stylusMove(239, grip.y);
    settleDevice();
    device::stylusUp(239, grip.y);
    settleDevice();

    tapCentre(control(dialog, IDOK));
    thread.join();
    EXPECT_EQ(out.result, IDOK);
    EXPECT_EQ(out.option, BST_UNCHECKED);
    EXPECT_EQ(out.choice, 2);
    EXPECT_EQ(out.level, 100);
    EXPECT_EQ(out.label, u"Hello");
    EXPECT_EQ(out.selectionChanges, 1);  // the other notifications of the list went elsewhere
}

TEST_F(FrameworkDialogs, CancelLeavesTheDialogsDataAsItWas) {
    ExchangeResult out;
    DeviceThread thread([&] { runExchange(out); });
    settleDevice();
    HWND dialog = FindWindowW(WC_DIALOG, u"Exchange");
    ASSERT_NE(dialog, nullptr);
    tapCentre(control(dialog, 10));
    tapCentre(control(dialog, IDCANCEL));
    thread.join();
    EXPECT_EQ(out.result, IDCANCEL);
    EXPECT_EQ(out.option, BST_CHECKED);
    EXPECT_EQ(out.level, 30);
}

TEST_F(FrameworkDialogs, ASheetInitialisesPagesWhenShownAndConfirmsOnlyThose) {
    SheetRun run;
    HWND sheet = run.sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(logged(), (std::vector<std::string>{"sheet init", "alpha init", "alpha shown"}));

    // The derived sheet's command bar: along the top, with the bar style kept apart.
    HWND bar = GetDlgItem(sheet, AFX_IDW_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    WCHAR className[32] = {};
    GetClassNameW(bar, className, 32);
    EXPECT_EQ(std::u16string(className), TOOLBARCLASSNAMEW);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & TBSTYLE_FLAT);
    RECT barRect{}, sheetRect{};
    GetWindowRect(bar, &barRect);
    GetWindowRect(sheet, &sheetRect);
    EXPECT_EQ(barRect.top, sheetRect.top);
    EXPECT_EQ(barRect.right - barRect.left, sheetRect.right - sheetRect.left);
    // OK and Cancel stay above the bar.
    RECT ok{};
    GetWindowRect(GetDlgItem(sheet, IDOK), &ok);
    POINT onOk{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(onOk), GetDlgItem(sheet, IDOK));

    tapTab(sheet, 1);
    tapTab(sheet, 0);
    tapCentre(GetDlgItem(sheet, IDOK));
    run.thread.join();
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"sheet init", "alpha init", "alpha shown", "alpha left",
                                        "beta init", "beta shown", "beta left", "alpha shown",
                                        "alpha left", "alpha ok", "beta ok"}));
}

TEST_F(FrameworkDialogs, ACancelledSheetConfirmsNothing) {
    SheetRun run;
    HWND sheet = run.sheet();
    ASSERT_NE(sheet, nullptr);
    tapCentre(GetDlgItem(sheet, IDCANCEL));
    run.thread.join();
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(logged(), (std::vector<std::string>{"sheet init", "alpha init", "alpha shown",
                                                  "alpha cancel"}));
}

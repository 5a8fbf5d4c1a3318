// The drop-down list combo box: its items and selection through messages (searches ignore
// letter case, and prefix searches take the first match), its text, and the drop list with the
// stylus: opening, choosing, cancelling, dragging from the field, scrolling a long list, and
// the keys. Only choices the user makes are told with CBN_SELCHANGE.
#include <device/Input.h>

#include <string>

#include "UserTest.h"

using namespace usertest;

namespace {

constexpr int kComboId = 11;

void tap(int x, int y) {
    device::stylusDown(x, y);
    device::stylusUp(x, y);
    pump();
}

struct Combo {
    HWND parent = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND combo;

    explicit Combo(DWORD extraStyle = 0, int height = 100)
        : combo(CreateWindowExW(0, WC_COMBOBOX, u"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | extraStyle,
                                20, 30, 150, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), nullptr,
                                nullptr)) {
        pump();
    }
    ~Combo() { DestroyWindow(parent); }

    int add(const char16_t* text) const {
        return static_cast<int>(
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    LRESULT send(UINT message, WPARAM wParam = 0, const char16_t* text = nullptr) const {
        return SendMessageW(combo, message, wParam, reinterpret_cast<LPARAM>(text));
    }
    int selection() const { return static_cast<int>(send(CB_GETCURSEL)); }
    std::u16string item(int index) const {
        std::u16string text(static_cast<size_t>(send(CB_GETLBTEXTLEN, index)) + 1, u'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    std::u16string text() const {
        WCHAR buffer[64] = {};
        GetWindowTextW(combo, buffer, 64);
        return buffer;
    }
    RECT field() const {
        RECT r{};
        GetWindowRect(combo, &r);
        return r;
    }
    HWND list() const { return FindWindowW(u"ComboLBox", nullptr); }
    int itemHeight() const { return static_cast<int>(send(CB_GETITEMHEIGHT, 0)); }
    // The screen point in the middle of row `row` of the open list.
    POINT row(int row) const {
        RECT r{};
        GetWindowRect(list(), &r);
        return POINT{r.left + 20, r.top + 1 + row * itemHeight() + itemHeight() / 2};
    }
};

// The combo box's notifications to its parent, in order.
std::vector<WORD> notifications() {
    std::vector<WORD> out;
    for (const Seen& s : recorder().with(WM_COMMAND)) {
        if (LOWORD(s.wParam) == kComboId)
            out.push_back(HIWORD(s.wParam));
    }
    return out;
}

std::vector<WORD> without(std::vector<WORD> codes, std::initializer_list<WORD> dropped) {
    std::erase_if(codes, [&](WORD code) {
        return std::find(dropped.begin(), dropped.end(), code) != dropped.end();
    });
    return codes;
}

}  // namespace

TEST_F(UserTest, ComboBoxItemsAndSelectionFollowTheMessages) {
    Combo c;
    EXPECT_EQ(c.add(u"Alpha"), 0);
    EXPECT_EQ(c.add(u"Gamma"), 1);
    EXPECT_EQ(c.send(CB_INSERTSTRING, 1, u"Beta"), 1);
    EXPECT_EQ(c.send(CB_INSERTSTRING, static_cast<WPARAM>(-1), u"Delta"), 3);
    EXPECT_EQ(c.send(CB_INSERTSTRING, 9, u"Far"), CB_ERR);
    EXPECT_EQ(c.send(CB_GETCOUNT), 4);
    EXPECT_EQ(c.item(2), u"Gamma");
    EXPECT_EQ(c.send(CB_GETLBTEXTLEN, 7), CB_ERR);
    EXPECT_EQ(c.selection(), CB_ERR);
    EXPECT_EQ(c.text(), u"");

    EXPECT_EQ(c.send(CB_SETCURSEL, 2), 2);
    EXPECT_EQ(c.text(), u"Gamma");  // the window's text is the selection's
    EXPECT_EQ(GetWindowTextLengthW(c.combo), 5);
    // Items before the selection come and go: the selection stays on its item.
    c.send(CB_DELETESTRING, 0);
    EXPECT_EQ(c.selection(), 1);
    c.send(CB_INSERTSTRING, 0, u"Zero");
    EXPECT_EQ(c.selection(), 2);
    EXPECT_EQ(c.text(), u"Gamma");
    EXPECT_EQ(c.send(CB_DELETESTRING, 2), 3);  // the selected one: nothing is selected
    EXPECT_EQ(c.selection(), CB_ERR);
    EXPECT_EQ(c.text(), u"");
    EXPECT_EQ(c.send(CB_DELETESTRING, 3), CB_ERR);

    // A position outside the list selects nothing.
    c.send(CB_SETCURSEL, 1);
    EXPECT_EQ(c.send(CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(c.selection(), CB_ERR);
    EXPECT_EQ(c.send(CB_SETITEMDATA, 1, nullptr), CB_OKAY);
    EXPECT_EQ(SendMessageW(c.combo, CB_SETITEMDATA, 2, 1234), CB_OKAY);
    EXPECT_EQ(c.send(CB_GETITEMDATA, 2), 1234);
    EXPECT_EQ(c.send(CB_GETITEMDATA, 9), CB_ERR);

    // Setting the text selects the item of that text.
    EXPECT_TRUE(SetWindowTextW(c.combo, u"delta"));
    EXPECT_EQ(c.text(), u"Delta");
    c.send(CB_RESETCONTENT);
    EXPECT_EQ(c.send(CB_GETCOUNT), 0);
    EXPECT_EQ(c.selection(), CB_ERR);
    EXPECT_TRUE(notifications().empty());  // nothing above was the user's choice
}

TEST_F(UserTest, ComboBoxSearchesIgnoreLetterCaseAndPrefixSearchesTakeTheFirstMatch) {
    Combo c;
    c.add(u"KelvoDark");
    c.add(u"Kelvo");
    c.add(u"Blue");
    // The prefix search finds the first item that begins with the text...
    EXPECT_EQ(c.send(CB_SELECTSTRING, static_cast<WPARAM>(-1), u"kelvo"), 0);
    EXPECT_EQ(c.text(), u"KelvoDark");
    EXPECT_EQ(c.send(CB_FINDSTRING, 0, u"KELVO"), 1);  // after item 0
    EXPECT_EQ(c.send(CB_FINDSTRING, 1, u"kelvo"), 0);  // wrapping around
    // ...the exact search the item that is the text.
    EXPECT_EQ(c.send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"kelvo"), 1);
    EXPECT_EQ(c.send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"Kelv"), CB_ERR);
    // Nothing found: the selection stays.
    EXPECT_EQ(c.send(CB_SELECTSTRING, static_cast<WPARAM>(-1), u"Red"), CB_ERR);
    EXPECT_EQ(c.selection(), 0);
}

TEST_F(UserTest, ASortedComboBoxKeepsItsItemsInOrder) {
    Combo c(CBS_SORT);
    c.add(u"pear");
    c.add(u"Apple");
    EXPECT_EQ(c.add(u"fig"), 1);
    EXPECT_EQ(c.item(0), u"Apple");
    EXPECT_EQ(c.item(2), u"pear");
}

TEST_F(UserTest, TheFieldKeepsALineOfTextAndTheListTakesTheRestOfTheHeight) {
    Combo c(0, 100);
    const RECT field = c.field();
    EXPECT_LT(field.bottom - field.top, 30);
    EXPECT_GT(field.bottom - field.top, c.itemHeight());
    RECT dropped{};
    SendMessageW(c.combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.top, field.top);
    EXPECT_EQ(dropped.bottom - dropped.top, 100);
}

TEST_F(UserTest, TappingTheFieldOpensTheListAndTappingAnItemChoosesIt) {
    Combo c;
    c.add(u"One");
    c.add(u"Two");
    c.add(u"Three");
    c.send(CB_SETCURSEL, 0);
    recorder().clear();

    const RECT field = c.field();
    tap(field.left + 10, (field.top + field.bottom) / 2);
    ASSERT_NE(c.list(), nullptr);
    EXPECT_EQ(c.send(CB_GETDROPPEDSTATE), TRUE);
    RECT list{};
    GetWindowRect(c.list(), &list);
    EXPECT_EQ(list.top, field.bottom);  // below the field, as wide as it
    EXPECT_EQ(list.right - list.left, field.right - field.left);
    EXPECT_EQ(list.bottom - list.top, 3 * c.itemHeight() + 2);  // the three items fit

    const POINT third = c.row(2);
    tap(third.x, third.y);
    EXPECT_EQ(c.list(), nullptr);
    EXPECT_EQ(c.selection(), 2);
    EXPECT_EQ(c.text(), u"Three");
    const std::vector<WORD> expected = {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE};
    EXPECT_EQ(without(notifications(), {CBN_SETFOCUS, CBN_KILLFOCUS}), expected);

    // Choosing the item already selected changes nothing.
    recorder().clear();
    tap(field.left + 10, (field.top + field.bottom) / 2);
    const POINT same = c.row(2);
    tap(same.x, same.y);
    EXPECT_EQ(without(notifications(), {CBN_SETFOCUS, CBN_KILLFOCUS}),
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(UserTest, ATapOutsideTheOpenListClosesItWithoutAChoice) {
    Combo c;
    c.add(u"One");
    c.add(u"Two");
    HWND below = makeWindow(WS_CHILD | WS_VISIBLE, 0, 250, 240, 70, c.parent);
    const RECT field = c.field();
    tap(field.left + 10, field.top + 5);
    ASSERT_NE(c.list(), nullptr);
    recorder().clear();

    tap(100, 280);  // on the window below, outside the list
    EXPECT_EQ(c.list(), nullptr);
    EXPECT_EQ(c.selection(), CB_ERR);
    EXPECT_EQ(without(notifications(), {CBN_SETFOCUS, CBN_KILLFOCUS}),
              (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_TRUE(recorder().of(below, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());

    // A tap on the field while the list is open closes it too.
    tap(field.left + 10, field.top + 5);
    ASSERT_NE(c.list(), nullptr);
    tap(field.left + 10, field.top + 5);
    EXPECT_EQ(c.list(), nullptr);
}

TEST_F(UserTest, AWindowClosedWhileItsComboListIsOpenTakesTheListWithIt) {
    HWND parent = nullptr;
    {
        Combo c;
        c.add(u"One");
        parent = c.parent;
        const RECT field = c.field();
        tap(field.left + 10, field.top + 5);
        ASSERT_NE(c.list(), nullptr);
    }  // the parent is destroyed with the list open and holding the stylus
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_EQ(FindWindowW(u"ComboLBox", nullptr), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserTest, DraggingFromTheFieldToAnItemChoosesIt) {
    Combo c;
    c.add(u"One");
    c.add(u"Two");
    c.add(u"Three");
    const RECT field = c.field();
    device::stylusDown(field.left + 10, field.top + 5);
    pump();
    ASSERT_NE(c.list(), nullptr);
    const POINT second = c.row(1);
    device::stylusMove(second.x, second.y);
    device::stylusUp(second.x, second.y);
    pump();
    EXPECT_EQ(c.list(), nullptr);
    EXPECT_EQ(c.selection(), 1);
}

TEST_F(UserTest, ALongListScrollsWithItsArrowsAndThumb) {
    Combo c(0, 100);
    for (int i = 0; i < 20; ++i)
        c.add((u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i))).c_str());
    const RECT field = c.field();
    tap(field.left + 10, field.top + 5);
    ASSERT_NE(c.list(), nullptr);
    RECT list{};
    GetWindowRect(c.list(), &list);
    const int rows = (list.bottom - list.top - 2) / c.itemHeight();
    EXPECT_LT(rows, 20);
    EXPECT_LE(list.bottom - list.top, 100 - (field.bottom - field.top));

    // The down arrow at the bottom of the strip scrolls one row: the first row shows item 1.
    const int strip = GetSystemMetrics(SM_CXVSCROLL);
    tap(list.right - strip / 2 - 1, list.bottom - 4);
    POINT first = c.row(0);
    tap(first.x, first.y);
    EXPECT_EQ(c.selection(), 1);

    // Dragging the thumb to the bottom shows the last rows.
    tap(field.left + 10, field.top + 5);
    ASSERT_NE(c.list(), nullptr);
    const int thumbTop = list.top + 1 + strip;  // below the up arrow, where the thumb starts
    device::stylusDown(list.right - strip / 2 - 1, thumbTop + 2);
    device::stylusMove(list.right - strip / 2 - 1, list.bottom + 50);
    device::stylusUp(list.right - strip / 2 - 1, list.bottom + 50);
    pump();
    ASSERT_NE(c.list(), nullptr);  // scrolling chose nothing
    const POINT last = c.row(rows - 1);
    tap(last.x, last.y);
    EXPECT_EQ(c.selection(), 19);
    EXPECT_EQ(c.text(), u"Item T");
}

TEST_F(UserTest, ComboBoxKeysMoveTheSelectionAndWorkTheList) {
    Combo c;
    c.add(u"One");
    c.add(u"Two");
    c.add(u"Three");
    SetForegroundWindow(c.parent);
    SetFocus(c.combo);
    pump();
    recorder().clear();
    auto press = [](UINT vk) {
        device::keyDown(vk);
        device::keyUp(vk);
        pump();
    };
    press(VK_DOWN);
    EXPECT_EQ(c.selection(), 0);
    press(VK_DOWN);
    EXPECT_EQ(c.selection(), 1);
    EXPECT_EQ(without(notifications(), {CBN_SETFOCUS, CBN_KILLFOCUS}),
              (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}));
    device::typeChar(u't');  // the next item that begins with it
    pump();
    EXPECT_EQ(c.selection(), 2);

    press(VK_F4);
    ASSERT_NE(c.list(), nullptr);
    press(VK_UP);
    press(VK_RETURN);
    EXPECT_EQ(c.list(), nullptr);
    EXPECT_EQ(c.selection(), 1);
    press(VK_F4);
    press(VK_UP);
    press(VK_ESCAPE);
    EXPECT_EQ(c.selection(), 1);
}

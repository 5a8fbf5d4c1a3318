// The options sheet's test fixture.
#include "OptionsFixture.h"

#include <commctrl.h>
#include <device/PngEncoder.h>
#include <device/Screen.h>

#include "inputmethod/ClassFactory.h"
#include "inputmethod/Settings.h"

void OptionsTest::SetUp() {
    DeviceTest::SetUp();
    CreateDirectoryW(u"\\Skins", nullptr);
    setText(u"SkinsPath", u"\\Skins");
    host = std::make_unique<TestInputPanelHost>(80);
    ShowWindow(host->sipWindow(), SW_HIDE);
    kelvo = new MyIInputMethod();
    host->setInputMethod(kelvo, CLSID_KelvoInputMethod);
}

void OptionsTest::TearDown() {
    m_runner.reset();
    host.reset();
    if (kelvo != nullptr)
        kelvo->Release();
    DeviceTest::TearDown();
}

void OptionsTest::open() {
    m_runner = std::make_unique<DeviceThread>([this] { kelvo->UserOptionsDlg(nullptr); });
    settleDevice();
    m_sheet = FindWindowW(WC_DIALOG, u"Kelvo Settings");
    ASSERT_NE(m_sheet, nullptr);
}

void OptionsTest::confirm() {
    tapCentre(GetDlgItem(m_sheet, IDOK));
    m_runner->join();
}

void OptionsTest::cancel() {
    tapCentre(GetDlgItem(m_sheet, IDCANCEL));
    m_runner->join();
}

HWND OptionsTest::page() const {
    return reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void OptionsTest::showPage(int index) const {
    HWND tabs = GetDlgItem(m_sheet, IDC_PROPSHEET_TABCONTROL);
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    tapWindow(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::u16string OptionsTest::tabText(int index) const {
    WCHAR buffer[32] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = buffer;
    tab.cchTextMax = 32;
    SendMessageW(GetDlgItem(m_sheet, IDC_PROPSHEET_TABCONTROL), TCM_GETITEMW,
                 static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
    return buffer;
}

std::u16string OptionsTest::text(HWND window) const {
    WCHAR buffer[512] = {};
    const LRESULT length = SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return std::u16string(buffer, static_cast<size_t>(length));
}

void OptionsTest::dragThumbToEnd(HWND slider, bool right) const {
    RECT thumb{};
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT grip{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ClientToScreen(slider, &grip);
    // Each step settles, so that the pen's later positions follow the thumb's capture.
    device::stylusDown(grip.x, grip.y);
    settleDevice();
    const int end = right ? device::screenWidth() - 1 : 0;
    device::stylusMove(end, grip.y);
    settleDevice();
    device::stylusUp(end, grip.y);
    settleDevice();
}

void OptionsTest::choose(HWND combo, int index) const {
    RECT field{};
    GetWindowRect(combo, &field);
    tapScreen(field.left + 10, (field.top + field.bottom) / 2);
    HWND list = FindWindowW(u"ComboLBox", nullptr);
    ASSERT_NE(list, nullptr);
    RECT rows{};
    GetWindowRect(list, &rows);
    const int height = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    tapScreen(rows.left + 10, rows.top + 1 + index * height + height / 2);
}

std::vector<std::u16string> OptionsTest::listItems(HWND combo) {
    std::vector<std::u16string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

namespace {

HKEY settingsKey() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    return key;
}

}  // namespace

void OptionsTest::setText(const WCHAR* name, const std::u16string& value) {
    HKEY key = settingsKey();
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() * 2));
    RegCloseKey(key);
}

void OptionsTest::setNumber(const WCHAR* name, DWORD value) {
    HKEY key = settingsKey();
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
}

bool OptionsTest::readNumber(const WCHAR* name, DWORD& value) {
    HKEY key = settingsKey();
    DWORD size = sizeof(value);
    const LONG result =
        RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::u16string OptionsTest::readText(const WCHAR* name) {
    HKEY key = settingsKey();
    WCHAR buffer[256] = {};
    DWORD size = sizeof(buffer) - sizeof(WCHAR);
    const LONG result =
        RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::u16string(buffer, size / 2) : u"(none)";
}

void OptionsTest::writeSkin(const std::u16string& name, int width, int height,
                            std::vector<std::u16string> classes) {
    skintest::Layout layout;
    layout.width = width;
    layout.height = height;
    if (width > 0) {
        // Light keys on a blue ground, as a PNG picture (small enough for any screen's size).
        std::vector<uint32_t> pixels(static_cast<size_t>(width * height), kSkinGround);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (x % 20 >= 2 && x % 20 < 18 && y % 20 >= 2 && y % 20 < 18)
                    pixels[static_cast<size_t>(y * width + x)] = 0xE8ECF0;
            }
        }
        std::vector<uint8_t> png;
        ASSERT_TRUE(device::encodePng(width, height, pixels, device::PngColours::Palette, png));
        layout.picture.assign(png.begin(), png.end());
    }
    skintest::Skin skin;
    for (const std::u16string& dimension : classes)
        skin.classes[dimension] = {layout};
    ASSERT_TRUE(skintest::writeSkin(u"\\Skins\\" + name + u".ksk", skin));
}

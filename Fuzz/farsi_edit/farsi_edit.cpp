// Fuzz target for the Farsi edit control: a control in a window, then random message sequences
// driven by the input bytes (characters with and without key flags, key-ups, keys through the
// accelerators, commands, stylus messages, WM_SETTEXT, pastes of any clipboard block, scroll
// messages, new styles, sizes and fonts, ranges to select). After every step the caret and the
// anchor must be valid positions (never inside a surrogate pair), every paragraph within the
// layout's cap and free of line breaks, and the text must read back through WM_GETTEXT as the
// paragraphs joined with CR LF, and survive being set again.
#include <afxwin.h>
#include <winbase_memory.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "farsiedit/CFarsiEdit.h"

namespace {

// Mostly characters the control meets in use, sometimes any unit.
char16_t randomCharacter(FuzzInput& in) {
    static constexpr char16_t kCommon[] = {u'a',   u'Z',   u' ',   u'1',   u'.',   u'(',   0x0633,
                                           0x0644, 0x0627, 0x0628, 0x06CC, 0x06F5, 0x064E, 0x200C,
                                           0x200D, 0x200F, 0x202B, 0x202C, 0xD83D, 0xDE00, u'\r',
                                           u'\n',  u'\t',  0x2029, 0x08,   0x0660, u'-'};
    const uint8_t pick = in.byte();
    if (pick < 200)
        return kCommon[pick % std::size(kCommon)];
    return in.unit();
}

std::u16string randomText(FuzzInput& in, size_t most) {
    std::u16string out;
    const size_t count = in.byte() % (most + 1);
    for (size_t i = 0; i < count && !in.empty(); ++i)
        out += randomCharacter(in);
    return out;
}

bool isBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0;
}

std::u16string windowText(HWND hwnd) {
    const auto length = static_cast<size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::vector<WCHAR> buffer(length + 1, u'#');
    const auto copied = static_cast<size_t>(
        SendMessageW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())));
    require(copied == length && buffer[copied] == 0);
    return std::u16string(buffer.data(), copied);
}

void checkPosition(const CFarsiEdit& edit, int paraIndex, int index, int edge) {
    const CBidiPara* para = edit.Paragraphs().at(paraIndex);
    require(para != nullptr);
    require(edge == 0 || edge == 1);
    require(index >= 0 && index <= std::max(para->length - 1, 0));
}

void check(CFarsiEdit& edit, CFarsiEdit& twin) {
    const ParaList& paras = edit.Paragraphs();
    require(paras.count() >= 1);
    std::u16string joined;
    for (int i = 0; i < paras.count(); ++i) {
        const CBidiPara* para = paras.at(i);
        require(para->paraIndex == i);
        require(para->length >= 0 && para->length <= CBidiPara::MAX_LENGTH);
        for (int k = 0; k < para->length; ++k)
            require(!isBreak(para->text[k]));
        if (i > 0)
            joined += u"\r\n";
        joined.append(para->text.get(), static_cast<size_t>(para->length));
    }
    checkPosition(edit, edit.CaretParagraph(), edit.CaretIndex(), edit.CaretEdge());
    checkPosition(edit, edit.AnchorParagraph(), edit.AnchorIndex(), edit.AnchorEdge());
    const CBidiPara* caretPara = paras.at(edit.CaretParagraph());
    const int offset = edit.CaretOffset();
    require(offset >= 0 && offset <= caretPara->length);
    if (offset > 0 && offset < caretPara->length) {
        const char16_t before = caretPara->text[offset - 1];
        const char16_t after = caretPara->text[offset];
        require(!(before >= 0xD800 && before <= 0xDBFF && after >= 0xDC00 && after <= 0xDFFF));
    }
    const std::u16string text = windowText(edit.GetSafeHwnd());
    require(text == joined);
    // Set again, the text reads back the same (the twin is multi-line like any style may be).
    require(
        SendMessageW(twin.GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (edit.EditStyle() & FES_MULTILINE)
        require(windowText(twin.GetSafeHwnd()) == text);
}

void pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        platform::handleMessage(msg);
    }
}

void putOnClipboard(const std::u16string& text, bool terminated) {
    const size_t units = text.size() + (terminated ? 1 : 0);
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, std::max<size_t>(units, 1) * 2);
    require(block != nullptr);
    std::memcpy(LocalLock(block), text.data(), text.size() * 2);
    LocalUnlock(block);
    require(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

constexpr UINT kKeys[] = {VK_LEFT, VK_RIGHT,  VK_UP,  VK_DOWN,   VK_HOME,   VK_END,  VK_PRIOR,
                          VK_NEXT, VK_RETURN, VK_TAB, VK_ESCAPE, VK_DELETE, VK_BACK, VK_SPACE};

void step(FuzzInput& in, CFarsiEdit& edit) {
    const HWND hwnd = edit.GetSafeHwnd();
    switch (in.byte() % 12) {
        case 0: {
            const char16_t c = randomCharacter(in);
            SendMessageW(hwnd, WM_CHAR, c, (in.byte() & 1) ? 0x00390001 : 0);
            break;
        }
        case 1:
            SendMessageW(hwnd, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
            break;
        case 2: {
            MSG msg{hwnd, WM_KEYDOWN, kKeys[in.byte() % std::size(kKeys)], 1, 0, {}};
            platform::handleMessage(msg);
            break;
        }
        case 3:
            SendMessageW(hwnd, WM_COMMAND, ID_FE_LEFT + in.byte() % 17, 0);
            break;
        case 4: {
            static constexpr UINT kStylus[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP,
                                               WM_LBUTTONDBLCLK};
            const UINT msg = kStylus[in.byte() % 4];
            const int x = static_cast<int8_t>(in.byte()) * 2;
            const int y = static_cast<int8_t>(in.byte()) * 2;
            SendMessageW(hwnd, msg, MK_LBUTTON,
                         MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
            break;
        }
        case 5: {
            const std::u16string newText = randomText(in, 40);
            SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(newText.c_str()));
            break;
        }
        case 6: {
            const bool terminated = in.byte() & 1;
            putOnClipboard(randomText(in, 40), terminated);
            SendMessageW(hwnd, WM_COMMAND, ID_FE_PASTE, 0);
            break;
        }
        case 7: {
            const DWORD bits = in.byte() | (in.byte() << 8);
            edit.SetStyle(WS_CHILD | WS_VISIBLE | (bits & 0x7FFF));
            break;
        }
        case 8: {
            const UINT msg = (in.byte() & 1) ? WM_VSCROLL : WM_HSCROLL;
            SendMessageW(hwnd, msg, MAKEWPARAM(in.byte() % 9, in.byte()), 0);
            break;
        }
        case 9:
            MoveWindow(hwnd, 0, 0, in.byte() + 1, in.byte() / 2 + 1, TRUE);
            break;
        case 10:
            edit.SetFont(static_cast<int8_t>(in.byte()) / 4, in.byte() & 1, FALSE, FALSE);
            break;
        default: {
            const int firstPara = static_cast<int>(in.byte() % 6) - 1;
            const int firstIndex = static_cast<int>(in.byte() % 12) - 1;
            const int lastPara = static_cast<int>(in.byte() % 6) - 1;
            const int lastIndex = static_cast<int>(in.byte() % 12) - 1;
            edit.SelectRange(firstPara, firstIndex, lastPara, lastIndex);
            break;
        }
    }
    pump();
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.lpszClassName = u"FarsiEditFuzzHost";
        return RegisterClassW(&wc) != 0;
    }();
    require(registered);
    FuzzInput in(data, size);
    HWND host = CreateWindowExW(0, u"FarsiEditFuzzHost", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                nullptr, nullptr, nullptr, nullptr);
    require(host != nullptr);
    {
        CWnd hostWnd;
        hostWnd.Attach(host);
        auto edit = std::make_unique<CFarsiEdit>();
        auto twin = std::make_unique<CFarsiEdit>();
        const DWORD style = WS_CHILD | WS_VISIBLE | ((in.byte() | (in.byte() << 8)) & 0x7FFF);
        require(edit->Create(style, RECT{0, 0, 200, 120}, &hostWnd, 1));
        require(twin->Create(WS_CHILD | FES_MULTILINE, RECT{0, 0, 200, 120}, &hostWnd, 2));
        SetFocus(edit->GetSafeHwnd());
        pump();
        for (int steps = 0; !in.empty() && steps < 200; ++steps) {
            step(in, *edit);
            check(*edit, *twin);
        }
        edit.reset();
        twin.reset();
        hostWnd.Detach();
    }
    DestroyWindow(host);
    pump();
    return 0;
}

// CFarsiEdit's clipboard: copy, paste and cut of CF_UNICODETEXT, paragraphs joined with CR LF.
// Pasted text is read only as far as the clipboard's block reaches.
#include <algorithm>

#include "farsiedit/CFarsiEdit.h"
#include "panel/ClipboardText.h"

namespace {

// Shows the wait cursor for a scope.
class WaitCursor {
public:
    WaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

}  // namespace

void CFarsiEdit::Copy() {
    if (!hasSelection())
        return;
    WaitCursor wait;
    const std::u16string text = SelectedText();
    HLOCAL block = LocalAlloc(LPTR, (text.size() + 1) * sizeof(WCHAR));
    if (!block)
        return;
    std::copy(text.begin(), text.end(), static_cast<WCHAR*>(block));
    if (!OpenClipboard(m_hWnd)) {
        LocalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, block))
        LocalFree(block);  // the clipboard did not take it
    CloseClipboard();
}

void CFarsiEdit::Paste() {
    if (!editable())
        return;
    WaitCursor wait;
    if (const auto text = ReadClipboardText(m_hWnd))
        InsertText(*text);
}

void CFarsiEdit::Cut() {
    if (!hasSelection())
        return;
    Copy();
    DeleteSelection();
}

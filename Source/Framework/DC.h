// CDC and its scoped kinds: CDC owns a memory device context it created (deleted when
// destroyed); CPaintDC wraps BeginPaint/EndPaint and CClientDC GetDC/ReleaseDC for a window.
// Objects selected through a CDC are selected back out before the DC goes away.
#pragma once

#include <windows.h>

class CWnd;
class CGdiObject;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL CreateCompatibleDC(CDC* other);
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ SelectObject(const CGdiObject* object);
    // Puts back the objects the DC had before this object's first SelectObject of each kind.
    void RestoreSelections();

    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                DWORD rop) const {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX,
                        sourceY, rop);
    }
    void FillRect(const RECT* rect, HBRUSH brush) const { ::FillRect(m_hDC, rect, brush); }
    void FillSolidRect(const RECT* rect, COLORREF color) const;
    BOOL Rectangle(int left, int top, int right, int bottom) const {
        return ::Rectangle(m_hDC, left, top, right, bottom);
    }
    void InvertRect(const RECT* rect) const { ::InvertRect(m_hDC, rect); }
    BOOL MoveTo(int x, int y) const { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) const { return ::LineTo(m_hDC, x, y); }
    COLORREF SetTextColor(COLORREF color) const { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) const { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
    UINT SetTextAlign(UINT align) const { return ::SetTextAlign(m_hDC, align); }
    int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) const {
        return ::DrawTextW(m_hDC, text, count, rect, format);
    }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                    const INT* dx) const {
        return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, dx);
    }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    HDC m_hDC = nullptr;

protected:
    // Who releases m_hDC: nobody (attached), DeleteDC (created), or a scoped kind's own call.
    enum class Ownership { Attached, Created, Scoped };
    Ownership m_ownership = Ownership::Attached;

private:
    // The DC's original pen, brush, font and bitmap, kept from their first replacement.
    static constexpr int kSelectableKinds = 4;
    HGDIOBJ m_original[kSelectableKinds] = {};
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

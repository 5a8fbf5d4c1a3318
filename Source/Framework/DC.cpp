// Device context wrappers.
#include "DC.h"

#include "GdiObjects.h"
#include "Wnd.h"

namespace {

// The slot of m_original for an object's kind, or -1 for kinds a DC does not hold.
int selectableKind(HGDIOBJ object) {
    switch (GetObjectType(object)) {
        case OBJ_PEN:
            return 0;
        case OBJ_BRUSH:
            return 1;
        case OBJ_FONT:
            return 2;
        case OBJ_BITMAP:
            return 3;
        default:
            return -1;
    }
}

}  // namespace

CDC::~CDC() {
    if (m_ownership == Ownership::Created)
        DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* other) {
    HDC created = ::CreateCompatibleDC(other ? other->m_hDC : nullptr);
    if (created == nullptr)
        return FALSE;
    if (m_ownership == Ownership::Created)
        DeleteDC();
    m_hDC = created;
    m_ownership = Ownership::Created;
    return TRUE;
}

BOOL CDC::Attach(HDC hdc) {
    if (hdc == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = hdc;
    m_ownership = Ownership::Attached;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    for (auto& original : m_original)
        original = nullptr;
    return hdc;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr)
        return FALSE;
    RestoreSelections();
    return ::DeleteDC(Detach());
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    HGDIOBJ previous = ::SelectObject(m_hDC, object);
    int kind = previous ? selectableKind(previous) : -1;
    if (kind >= 0 && m_original[kind] == nullptr)
        m_original[kind] = previous;
    return previous;
}

HGDIOBJ CDC::SelectObject(const CGdiObject* object) {
    return object ? SelectObject(object->m_hObject) : nullptr;
}

void CDC::RestoreSelections() {
    for (auto& original : m_original) {
        if (original != nullptr)
            ::SelectObject(m_hDC, original);
        original = nullptr;
    }
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) const {
    CBrush brush(color);
    ::FillRect(m_hDC, rect, brush);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
    m_ownership = Ownership::Scoped;
}

CPaintDC::~CPaintDC() {
    RestoreSelections();
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) {
    m_hDC = ::GetDC(m_hWnd);
    m_ownership = Ownership::Scoped;
}

CClientDC::~CClientDC() {
    RestoreSelections();
    ::ReleaseDC(m_hWnd, m_hDC);
    Detach();
}

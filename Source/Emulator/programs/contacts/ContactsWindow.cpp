// The Contacts program: its window shows either the list or one contact's details.
#include <device/Programs.h>
#include <windows.h>

#include <algorithm>

#include "device/DeviceNames.h"
#include "programs/ProgramIcons.h"
#include "programs/common/DisplayText.h"
#include "programs/common/GdiScope.h"
#include "programs/common/ProgramWindow.h"
#include "programs/common/VerticalScroll.h"
#include "programs/contacts/ContactList.h"
#include "programs/contacts/Contacts.h"

namespace {

constexpr int kMargin = 4;
constexpr int kNoteHeight = 18;
constexpr int kNameBandHeight = 34;
constexpr int kFieldHeight = 38;
constexpr int kDragSlop = 4;

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kFaint = RGB(96, 96, 96);
constexpr COLORREF kSelected = kContactsSelectedColour;
constexpr COLORREF kSelectedText = RGB(255, 255, 255);
constexpr COLORREF kRule = RGB(222, 226, 232);
constexpr COLORREF kNoteBackground = RGB(255, 244, 200);
constexpr COLORREF kBand = kContactsBandColour;

class ContactsWindow : public ProgramWindow {
protected:
    void created() override;
    void resized(int width, int height) override;
    void paint(HDC dc, int width, int height) override;
    void stylusDown(POINT point) override;
    void stylusMove(POINT point) override;
    void stylusUp(POINT point) override;
    void keyDown(UINT vk) override;

private:
    enum class Page { List, Details };

    int rowHeight() const { return kContactRowHeight * scale(); }
    int backRowHeight() const { return kContactBackRowHeight * scale(); }
    std::u16string note() const;
    RECT listArea() const;
    RECT indicatorTrack() const;
    // The details below the back row, which stays put while they scroll.
    RECT detailsArea() const;
    RECT detailsTrack() const;
    int detailsHeight() const;
    void updateExtent();
    void select(int index);
    void openDetails();
    void backToList();
    void paintList(HDC dc, int width);
    void paintMessage(HDC dc, int width, int height) const;
    void paintDetails(HDC dc, int width) const;

    ContactsFile m_file;
    Page m_page = Page::List;
    int m_selected = -1;
    VerticalScroll m_scroll;
    VerticalScroll m_detailsScroll;
    bool m_pressedOnBackRow = false;
    FontHandle m_font;
    FontHandle m_small;
    FontHandle m_bold;
    FontHandle m_large;
};

void ContactsWindow::created() {
    m_font = makeProgramFont(12, scale(), FontWeight::Normal);
    m_small = makeProgramFont(11, scale(), FontWeight::Normal);
    m_bold = makeProgramFont(12, scale(), FontWeight::Bold);
    m_large = makeProgramFont(16, scale(), FontWeight::Bold);
    m_file = readContactsFile(kContactsFile);
    if (!m_file.list.contacts.empty())
        m_selected = 0;
}

std::u16string ContactsWindow::note() const {
    const ContactList& list = m_file.list;
    if (m_file.state != ContactsFileState::Read)
        return u"";
    if (list.truncated)
        return u"The file is too long: only its beginning is shown.";
    if (list.damagedLines == 1)
        return u"1 damaged line of the file is left out.";
    if (list.damagedLines > 1)
        return platform::formatText(u"%u damaged lines of the file are left out.",
                                    static_cast<unsigned>(list.damagedLines));
    return u"";
}

RECT ContactsWindow::listArea() const {
    const int noteHeight = note().empty() ? 0 : kNoteHeight * scale();
    return RECT{0, 0, clientWidth(), std::max(0, clientHeight() - noteHeight)};
}

RECT ContactsWindow::indicatorTrack() const {
    return scrollIndicatorTrack(listArea(), scale());
}

RECT ContactsWindow::detailsArea() const {
    return RECT{0, backRowHeight(), clientWidth(), std::max(backRowHeight(), clientHeight())};
}

RECT ContactsWindow::detailsTrack() const {
    return scrollIndicatorTrack(detailsArea(), scale());
}

int ContactsWindow::detailsHeight() const {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_file.list.contacts.size()))
        return 0;
    const Contact& c = m_file.list.contacts[static_cast<size_t>(m_selected)];
    const int fields = (c.phone.empty() ? 0 : 1) + (c.email.empty() ? 0 : 1);
    const int half = kFieldHeight * scale() / 2;
    return kNameBandHeight * scale() + 2 * kMargin * scale() +
           (fields == 0 ? half : fields * 2 * half);
}

void ContactsWindow::updateExtent() {
    const RECT area = listArea();
    m_scroll.setExtent(static_cast<int>(m_file.list.contacts.size()) * rowHeight(),
                       area.bottom - area.top);
    const RECT details = detailsArea();
    m_detailsScroll.setExtent(detailsHeight(), details.bottom - details.top);
}

void ContactsWindow::resized(int, int) {
    updateExtent();
    if (m_selected >= 0)
        m_scroll.reveal(m_selected * rowHeight(), rowHeight());
}

void ContactsWindow::select(int index) {
    const int count = static_cast<int>(m_file.list.contacts.size());
    if (count == 0)
        return;
    m_selected = std::clamp(index, 0, count - 1);
    m_scroll.reveal(m_selected * rowHeight(), rowHeight());
    invalidate();
}

void ContactsWindow::openDetails() {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_file.list.contacts.size()))
        return;
    m_page = Page::Details;
    updateExtent();
    m_detailsScroll.scrollTo(0);
    invalidate();
}

void ContactsWindow::backToList() {
    m_page = Page::List;
    invalidate();
}

void ContactsWindow::stylusDown(POINT point) {
    if (m_page == Page::List) {
        m_scroll.press(point, indicatorTrack(), kDragSlop * scale());
        return;
    }
    m_pressedOnBackRow = point.y < backRowHeight();
    if (!m_pressedOnBackRow)
        m_detailsScroll.press(point, detailsTrack(), kDragSlop * scale());
}

void ContactsWindow::stylusMove(POINT point) {
    VerticalScroll& scroll = m_page == Page::List ? m_scroll : m_detailsScroll;
    if ((m_page == Page::List || !m_pressedOnBackRow) && scroll.move(point))
        invalidate();
}

void ContactsWindow::stylusUp(POINT point) {
    if (m_page == Page::Details) {
        if (!m_pressedOnBackRow)
            m_detailsScroll.release();
        else if (point.y < backRowHeight())
            backToList();
        return;
    }
    if (!m_scroll.release())
        return;
    const RECT area = listArea();
    if (!PtInRect(&area, point))
        return;
    const int row = (point.y - area.top + m_scroll.top()) / rowHeight();
    if (row >= 0 && row < static_cast<int>(m_file.list.contacts.size())) {
        select(row);
        openDetails();
    }
}

void ContactsWindow::keyDown(UINT vk) {
    if (m_page == Page::Details) {
        if (vk == VK_ESCAPE || vk == VK_BACK || vk == VK_LEFT || vk == VK_RETURN)
            backToList();
        else if ((vk == VK_UP || vk == VK_DOWN) &&
                 m_detailsScroll.scrollBy((vk == VK_UP ? -1 : 1) * rowHeight()))
            invalidate();
        return;
    }
    const int page = std::max(1, m_scroll.viewHeight() / rowHeight() - 1);
    switch (vk) {
        case VK_UP:
            select(m_selected - 1);
            break;
        case VK_DOWN:
            select(m_selected + 1);
            break;
        case VK_PRIOR:
            select(m_selected - page);
            break;
        case VK_NEXT:
            select(m_selected + page);
            break;
        case VK_HOME:
            select(0);
            break;
        case VK_END:
            select(static_cast<int>(m_file.list.contacts.size()) - 1);
            break;
        case VK_RETURN:
        case VK_RIGHT:
            openDetails();
            break;
        default:
            break;
    }
}

void ContactsWindow::paintMessage(HDC dc, int width, int height) const {
    std::u16string first = u"No contacts.";
    std::u16string second;
    if (m_file.state == ContactsFileState::Missing)
        second = std::u16string(kContactsFile) + u" was not found.";
    else if (m_file.state == ContactsFileState::Unreadable)
        second = std::u16string(kContactsFile) + u" cannot be read.";
    else if (m_file.list.damagedLines > 0)
        second = u"Every line of " + std::u16string(kContactsFile) + u" is damaged.";
    const int line = 18 * scale();
    const int margin = kMargin * scale();
    const int top = height / 2 - line;
    SetTextColor(dc, kText);
    {
        Selection font(dc, m_bold.get());
        drawDisplayText(dc, RECT{margin, top, width - margin, top + line}, first,
                        TextAlign::Centre);
    }
    Selection font(dc, m_small.get());
    SetTextColor(dc, kFaint);
    RECT box{margin, top + line, width - margin, height};
    DrawTextW(dc, second.c_str(), static_cast<int>(second.size()), &box,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

void ContactsWindow::paintList(HDC dc, int width) {
    const RECT area = listArea();
    const int row = rowHeight();
    const int margin = kMargin * scale();
    const int textRight = area.right - kScrollIndicatorWidth * scale() - margin;
    const auto& contacts = m_file.list.contacts;
    const int first = m_scroll.top() / row;
    for (int i = first; i < static_cast<int>(contacts.size()); ++i) {
        const int top = area.top + i * row - m_scroll.top();
        if (top >= area.bottom)
            break;
        const RECT rowRect{0, top, width, top + row};
        const bool selected = i == m_selected;
        if (selected)
            fillRect(dc, rowRect, kSelected);
        else
            fillRect(dc, RECT{0, top + row - 1, width, top + row}, kRule);
        const Contact& c = contacts[static_cast<size_t>(i)];
        int nameRight = textRight;
        if (!c.phone.empty()) {
            Selection font(dc, m_small.get());
            SetTextColor(dc, selected ? kSelectedText : kFaint);
            const int phoneWidth = std::min(displayWidth(dc, c.phone), (textRight - margin) / 2);
            drawDisplayText(dc, RECT{textRight - phoneWidth, top, textRight, top + row}, c.phone,
                            TextAlign::Right);
            nameRight = textRight - phoneWidth - margin;
        }
        Selection font(dc, m_font.get());
        SetTextColor(dc, selected ? kSelectedText : kText);
        drawDisplayText(dc, RECT{margin, top, nameRight, top + row}, c.name, TextAlign::Left);
    }
    m_scroll.drawIndicator(dc, indicatorTrack());
    const std::u16string text = note();
    if (!text.empty()) {
        const RECT box{0, area.bottom, width, clientHeight()};
        fillRect(dc, box, kNoteBackground);
        Selection font(dc, m_small.get());
        SetTextColor(dc, kText);
        drawDisplayText(dc, RECT{margin, box.top, width - margin, box.bottom}, text,
                        TextAlign::Left);
    }
}

void ContactsWindow::paintDetails(HDC dc, int width) const {
    const Contact& c = m_file.list.contacts[static_cast<size_t>(m_selected)];
    const int margin = kMargin * scale();
    const int back = backRowHeight();
    const int band = kNameBandHeight * scale();
    const int textRight = width - kScrollIndicatorWidth * scale() - margin;
    int top = back - m_detailsScroll.top();
    fillRect(dc, RECT{0, top, width, top + band}, kBand);
    {
        Selection font(dc, m_large.get());
        SetTextColor(dc, kText);
        drawDisplayText(dc, RECT{margin, top, textRight, top + band}, c.name, TextAlign::Left);
    }
    top += band + margin;
    const int half = kFieldHeight * scale() / 2;
    auto field = [&](const char16_t* label, const std::u16string& value) {
        if (value.empty())
            return;
        {
            Selection font(dc, m_small.get());
            SetTextColor(dc, kFaint);
            drawDisplayText(dc, RECT{margin, top, textRight, top + half}, label, TextAlign::Left);
        }
        Selection font(dc, m_font.get());
        SetTextColor(dc, kText);
        drawDisplayText(dc, RECT{margin, top + half, textRight, top + 2 * half}, value,
                        TextAlign::Left);
        top += 2 * half;
    };
    field(u"Phone", c.phone);
    field(u"E-mail", c.email);
    if (c.phone.empty() && c.email.empty()) {
        Selection font(dc, m_small.get());
        SetTextColor(dc, kFaint);
        drawDisplayText(dc, RECT{margin, top, textRight, top + half},
                        u"No phone number or e-mail address.", TextAlign::Left);
    }
    m_detailsScroll.drawIndicator(dc, detailsTrack());
    // The back row last, over whatever scrolled beneath it.
    fillRect(dc, RECT{0, 0, width, back}, kBackground);
    fillRect(dc, RECT{0, back - 1, width, back}, kRule);
    Selection font(dc, m_font.get());
    SetTextColor(dc, kSelected);
    drawDisplayText(dc, RECT{margin, 0, width - margin, back}, u"\u25C4 Contacts", TextAlign::Left);
}

void ContactsWindow::paint(HDC dc, int width, int height) {
    fillRect(dc, RECT{0, 0, width, height}, kBackground);
    SetBkMode(dc, TRANSPARENT);
    if (m_page == Page::Details)
        paintDetails(dc, width);
    else if (m_file.list.contacts.empty())
        paintMessage(dc, width, height);
    else
        paintList(dc, width);
}

int contactsMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return runProgram(instance, {kContactsWindowClass, kContactsTitle},
                      [] { return std::make_unique<ContactsWindow>(); });
}

}  // namespace

void registerContactsProgram() {
    device::registerProgram(kContactsProgram, contactsMain, kContactsIcon);
}

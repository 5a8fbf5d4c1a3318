// The help viewer: a frame titled "Help" around the page view, which holds the topic shown, its
// history and its layout; the view's window text is the topic's text.
#include <device/Programs.h>
#include <wchar16.h>

#include <algorithm>
#include <optional>

#include "device/DeviceNames.h"
#include "programs/ProgramIcons.h"
#include "programs/common/DeviceFile.h"
#include "programs/common/DisplayText.h"
#include "programs/common/ProgramWindow.h"
#include "programs/common/VerticalScroll.h"
#include "programs/help/Help.h"
#include "programs/help/HelpAddress.h"
#include "programs/help/HelpLayout.h"
#include "programs/help/HelpSection.h"
#include "programs/help/HtmlReader.h"

namespace {

// Sent by a second viewer to the running one: lParam points to the new command line.
constexpr UINT kOpenCommandLine = WM_APP + 1;
constexpr size_t kMaxHistory = 64;
constexpr int kMargin = 6;
constexpr int kLineStep = 16;
constexpr int kDragSlop = 4;
constexpr int kButtonWidth = 70;

constexpr COLORREF kPage = RGB(255, 255, 255);
constexpr COLORREF kToolbar = RGB(226, 234, 248);
constexpr COLORREF kToolbarLine = RGB(190, 196, 206);
constexpr COLORREF kButtonText = RGB(0, 70, 160);
constexpr COLORREF kDisabledText = RGB(160, 164, 172);

HelpBlock textBlock(BlockKind kind, int level, std::u16string text, uint8_t style = 0) {
    HelpBlock block;
    block.kind = kind;
    block.level = level;
    block.runs.push_back(HelpRun{std::move(text), style, -1});
    return block;
}

std::vector<HelpBlock> messageBlocks(std::u16string heading, std::u16string text) {
    return {textBlock(BlockKind::Heading, 2, std::move(heading)),
            textBlock(BlockKind::Paragraph, 0, std::move(text))};
}

// A help file as read from the device: its document, or what went wrong.
struct LoadedFile {
    std::u16string path;
    std::optional<HelpDocument> document;
    std::vector<HelpBlock> problem;  // the message shown instead, when there is no document
};

LoadedFile loadHelpFile(const std::u16string& path) {
    LoadedFile file;
    file.path = path;
    if (path.empty()) {
        file.problem = messageBlocks(u"No help file",
                                     u"The help viewer was started without the name of a help "
                                     u"file, so there is nothing to show.");
        return file;
    }
    const DeviceFileBytes read = readDeviceFile(path, kMaxHelpFileBytes);
    switch (read.state) {
        case FileRead::Missing:
            file.problem = messageBlocks(u"Help file not found",
                                         u"The help file " + path + u" was not found.");
            return file;
        case FileRead::Unreadable:
            file.problem = messageBlocks(u"Help file not readable",
                                         u"The help file " + path + u" cannot be read.");
            return file;
        case FileRead::Read:
            break;
    }
    if (read.truncated) {
        file.problem = messageBlocks(
            u"Help file too large",
            u"The help file " + path + u" is larger than the 256 KB the viewer reads.");
        return file;
    }
    file.document = readHelpHtml(decodeHelpText(read.bytes));
    return file;
}

class HelpView : public ProgramView {
public:
    void open(const HelpAddress& address);

protected:
    void created() override;
    void resized(int width, int height) override;
    void paint(HDC dc, int width, int height) override;
    void stylusDown(POINT point) override;
    void stylusMove(POINT point) override;
    void stylusUp(POINT point) override;
    void keyDown(UINT vk) override;
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    enum class History { Record, Skip };
    // Where the page stands after a new layout: at its top, or at what was at the top of the
    // view before (the lines may wrap differently at a new width).
    enum class Position { Top, Keep };
    void show(const HelpAddress& address, History history);
    void back();
    void relayout(Position position);
    int toolbarHeight() const { return kHelpToolbarHeight * scale(); }
    RECT pageArea() const;
    RECT indicatorTrack() const;
    RECT backButton() const;
    RECT contentsButton() const;
    void paintToolbar(HDC dc, int width) const;

    LoadedFile m_file;
    HelpAddress m_address;
    std::vector<HelpAddress> m_history;
    std::vector<HelpBlock> m_shown;
    std::u16string m_text;
    HelpFonts m_fonts{1};
    HelpLayout m_layout;
    MemoryDc m_measure;
    VerticalScroll m_scroll;
    FontHandle m_buttonFont;
    bool m_pressedOnPage = false;
};

void HelpView::created() {
    m_fonts = HelpFonts(scale());
    m_measure.reset(CreateCompatibleDC(nullptr));
    m_buttonFont = makeProgramFont(12, scale(), FontWeight::Normal);
}

RECT HelpView::pageArea() const {
    return RECT{0, toolbarHeight(), clientWidth(), std::max(toolbarHeight(), clientHeight())};
}

RECT HelpView::indicatorTrack() const {
    return scrollIndicatorTrack(pageArea(), scale());
}

RECT HelpView::backButton() const {
    return RECT{0, 0, kButtonWidth * scale(), toolbarHeight()};
}

RECT HelpView::contentsButton() const {
    return RECT{kButtonWidth * scale(), 0, 2 * kButtonWidth * scale(), toolbarHeight()};
}

void HelpView::relayout(Position position) {
    const RECT page = pageArea();
    const int margin = kMargin * scale();
    const int width = page.right - page.left - 2 * margin - kScrollIndicatorWidth * scale();
    const std::optional<HelpPlace> place =
        position == Position::Keep ? m_layout.placeAt(m_scroll.top() - margin) : std::nullopt;
    m_layout.build(m_shown, m_measure.get(), m_fonts, std::max(1, width), scale());
    m_scroll.setExtent(m_layout.height() + 2 * margin, page.bottom - page.top);
    m_scroll.scrollTo(place ? m_layout.topOf(*place) + margin : 0);
}

void HelpView::resized(int, int) {
    if (m_measure)
        relayout(Position::Keep);
}

void HelpView::open(const HelpAddress& address) {
    show(address, History::Record);
}

void HelpView::show(const HelpAddress& address, History history) {
    if (history == History::Record && (!m_file.path.empty() || m_file.document)) {
        if (m_history.size() == kMaxHistory)
            m_history.erase(m_history.begin());
        m_history.push_back(m_address);
    }
    // The file is read again when it is another one, or when it could not be read before.
    if (!m_file.document || lstrcmpiW(m_file.path.c_str(), address.path.c_str()) != 0)
        m_file = loadHelpFile(address.path);
    m_address = address;
    m_shown.clear();
    if (!m_file.document) {
        m_shown = m_file.problem;
    } else {
        const HelpDocument& document = *m_file.document;
        const auto range = findSection(document, address.topic);
        if (!range) {
            // The whole file follows the message, so that the reader can still find the topic.
            m_shown.push_back(
                textBlock(BlockKind::Paragraph, 0,
                          u"The topic \u201C" + address.topic + u"\u201D is not in this help file.",
                          kRunBold));
            m_shown.push_back(HelpBlock{BlockKind::Rule, 0, {}, {}});
            m_shown.insert(m_shown.end(), document.blocks.begin(), document.blocks.end());
        } else {
            m_shown.assign(document.blocks.begin() + static_cast<long>(range->first),
                           document.blocks.begin() + static_cast<long>(range->end));
            if (m_shown.empty())
                m_shown = messageBlocks(
                    u"Empty topic", u"The topic \u201C" + address.topic + u"\u201D has no text.");
        }
    }
    m_text = sectionText(HelpDocument{{}, m_shown, {}, {}}, SectionRange{0, m_shown.size()});
    if (m_measure)
        relayout(Position::Top);
    invalidate();
}

void HelpView::back() {
    if (m_history.empty()) {
        MessageBeep(MB_OK);
        return;
    }
    const HelpAddress previous = m_history.back();
    m_history.pop_back();
    show(previous, History::Skip);
}

void HelpView::stylusDown(POINT point) {
    m_pressedOnPage = point.y >= toolbarHeight();
    if (m_pressedOnPage)
        m_scroll.press(point, indicatorTrack(), kDragSlop * scale());
}

void HelpView::stylusMove(POINT point) {
    if (m_pressedOnPage && m_scroll.move(point))
        invalidate();
}

void HelpView::stylusUp(POINT point) {
    if (!m_pressedOnPage) {
        const RECT backRect = backButton();
        const RECT contentsRect = contentsButton();
        if (PtInRect(&backRect, point))
            back();
        else if (PtInRect(&contentsRect, point))
            open(HelpAddress{m_address.path, kHelpContentsTopic});
        return;
    }
    if (!m_scroll.release())
        return;
    const RECT page = pageArea();
    const POINT onPage{point.x - kMargin * scale(),
                       point.y - page.top - kMargin * scale() + m_scroll.top()};
    const int link = m_layout.linkAt(onPage);
    if (link < 0 || !m_file.document)
        return;
    const auto target =
        resolveHelpLink(m_address.path, m_file.document->links[static_cast<size_t>(link)]);
    if (!target) {
        MessageBeep(MB_OK);
        return;
    }
    open(*target);
}

void HelpView::keyDown(UINT vk) {
    const int line = kLineStep * scale();
    const int pageStep = std::max(line, m_scroll.viewHeight() - line);
    bool moved = false;
    switch (vk) {
        case VK_UP:
            moved = m_scroll.scrollBy(-line);
            break;
        case VK_DOWN:
            moved = m_scroll.scrollBy(line);
            break;
        case VK_PRIOR:
            moved = m_scroll.scrollBy(-pageStep);
            break;
        case VK_NEXT:
        case VK_SPACE:
            moved = m_scroll.scrollBy(pageStep);
            break;
        case VK_HOME:
            moved = m_scroll.scrollTo(0);
            break;
        case VK_END:
            moved = m_scroll.scrollTo(m_scroll.maxTop());
            break;
        case VK_BACK:
        case VK_ESCAPE:
            back();
            break;
        default:
            break;
    }
    if (moved)
        invalidate();
}

LRESULT HelpView::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<WCHAR*>(lParam);
            if (buffer == nullptr || wParam == 0)
                return 0;
            const size_t count = std::min<size_t>(m_text.size(), wParam - 1);
            std::copy_n(m_text.data(), count, buffer);
            buffer[count] = 0;
            return static_cast<LRESULT>(count);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(m_text.size());
        default:
            return ProgramView::handle(msg, wParam, lParam);
    }
}

void HelpView::paintToolbar(HDC dc, int width) const {
    const int height = toolbarHeight();
    fillRect(dc, RECT{0, 0, width, height}, kToolbar);
    fillRect(dc, RECT{0, height - 1, width, height}, kToolbarLine);
    Selection font(dc, m_buttonFont.get());
    SetTextColor(dc, m_history.empty() ? kDisabledText : kButtonText);
    drawDisplayText(dc, backButton(), u"\u25C4 Back", TextAlign::Centre);
    SetTextColor(dc, kButtonText);
    drawDisplayText(dc, contentsButton(), u"Contents", TextAlign::Centre);
}

void HelpView::paint(HDC dc, int width, int height) {
    fillRect(dc, RECT{0, 0, width, height}, kPage);
    paintToolbar(dc, width);
    const RECT page = pageArea();
    const int margin = kMargin * scale();
    const RECT text{page.left + margin, page.top,
                    page.right - kScrollIndicatorWidth * scale() - margin, page.bottom};
    m_layout.draw(dc, text, m_scroll.top() - margin);
    m_scroll.drawIndicator(dc, indicatorTrack());
}

class HelpWindow : public ProgramWindow {
public:
    explicit HelpWindow(HelpAddress address) : m_first(std::move(address)) {}

protected:
    void created() override {
        if (!ProgramView::registerClass(instance(), kHelpViewClass))
            return;
        CreateWindowExW(0, kHelpViewClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, clientWidth(),
                        clientHeight(), window(), nullptr, instance(), &m_view);
        m_view.open(m_first);
    }
    void resized(int width, int height) override {
        if (m_view.window())
            MoveWindow(m_view.window(), 0, 0, width, height, TRUE);
    }
    void paint(HDC dc, int width, int height) override {
        fillRect(dc, RECT{0, 0, width, height}, kPage);
    }
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_SETFOCUS:
                if (m_view.window())
                    SetFocus(m_view.window());
                return 0;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE && m_view.window())
                    SetFocus(m_view.window());
                return 0;
            case kOpenCommandLine:
                m_view.open(parseHelpCommandLine(*reinterpret_cast<const std::u16string*>(lParam)));
                return 0;
            default:
                return ProgramWindow::handle(msg, wParam, lParam);
        }
    }

private:
    HelpAddress m_first;
    HelpView m_view;
};

int helpMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    const std::u16string line = commandLine ? commandLine : u"";
    // One viewer on the device: a running one shows the new topic.
    if (HWND running = FindWindowW(kHelpWindowClass, nullptr)) {
        SendMessageW(running, kOpenCommandLine, 0, reinterpret_cast<LPARAM>(&line));
        SetForegroundWindow(running);
        return 0;
    }
    return runProgram(instance, {kHelpWindowClass, kHelpTitle},
                      [&] { return std::make_unique<HelpWindow>(parseHelpCommandLine(line)); });
}

}  // namespace

void registerHelpProgram() {
    device::registerProgram(kHelpProgram, helpMain, kHelpIcon);
}

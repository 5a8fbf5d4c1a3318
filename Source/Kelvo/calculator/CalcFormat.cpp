// The calculator's texts: a number as the 12-character display shows it, the digit grouping,
// and the display text with its point and its optional Arabic-Indic digits.
#include <algorithm>
#include <cmath>

#include "calculator/Calculator.h"
#include "panel/MyPanel.h"

namespace {

constexpr int kMinDigits = 1;
constexpr int kMaxDigits = 20;
// Exponent notation keeps this many fewer digits after the point than the display holds,
// one more for a negative number's sign.
constexpr int kExponentReserve = 6;
constexpr WCHAR kArabicIndicZero = 0x0660;
constexpr WCHAR kNativePoint = u'/';

bool isDigit(WCHAR c) {
    return c >= u'0' && c <= u'9';
}

// Trailing zeros after a point, then the point itself; a text without a point is a whole
// number whose zeros are significant.
void trimFraction(std::u16string& s) {
    if (s.find(u'.') == std::u16string::npos)
        return;
    while (!s.empty() && s.back() == u'0')
        s.pop_back();
    if (!s.empty() && s.back() == u'.')
        s.pop_back();
}

std::u16string fixedForm(double value, int decimals) {
    const std::u16string format = platform::formatText(u"%%.%df", decimals);
    std::u16string s = platform::formatText(format.c_str(), value);
    trimFraction(s);
    return s;
}

std::u16string exponentForm(double value, int digits) {
    const int precision = std::max(0, digits - kExponentReserve - (value < 0 ? 1 : 0));
    const std::u16string format = platform::formatText(u"%%.%de", precision);
    return platform::formatText(format.c_str(), value);
}

}  // namespace

std::u16string FormatCalcNumber(double value, int digits) {
    const int d = std::clamp(digits, kMinDigits, kMaxDigits);
    if (std::isnan(value))
        return kCalcErrorText;
    if (value == 0)
        return u"0";
    const double magnitude = std::log10(std::fabs(value));
    if (magnitude > d + 5 || magnitude < -d)
        return exponentForm(value, d);
    std::u16string s = fixedForm(value, d);
    const size_t point = s.find(u'.');
    const int before = static_cast<int>(point == std::u16string::npos ? s.size() : point);
    if (before > d)
        return exponentForm(value, d);
    if (static_cast<int>(s.size()) <= d)
        return s;
    // Too many decimals: a tiny number keeps its digits in exponent form, others lose
    // decimals until the text fits.
    if (magnitude < -5)
        return exponentForm(value, d);
    return fixedForm(value, d - before);
}

std::u16string GroupCalcDigits(std::u16string text) {
    const size_t point = text.rfind(u'.');
    const size_t end = point == std::u16string::npos ? text.size() : point;
    for (size_t pos = end; pos > 3;) {
        pos -= 3;
        if (isDigit(text[pos - 1]) && isDigit(text[pos]))
            text.insert(pos, 1, u',');
    }
    return text;
}

std::u16string CalcDisplayText(const CMyPanel& panel) {
    if (panel.calcText == kCalcErrorText)
        return panel.calcText;
    std::u16string text = panel.calcText;
    if (text.find(u'.') == std::u16string::npos)
        text.push_back(u'.');
    if (panel.calcGrouping)
        text = GroupCalcDigits(std::move(text));
    if (panel.calcNativeDigits) {
        for (WCHAR& c : text) {
            if (isDigit(c))
                c = static_cast<WCHAR>(kArabicIndicZero + (c - u'0'));
            else if (c == u'.')
                c = kNativePoint;
        }
        if (!text.empty() && text.back() == kNativePoint)
            text.pop_back();
    }
    return text;
}

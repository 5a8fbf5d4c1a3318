// The calculator's keys: typing a number, operators executed from left to right as they are
// pressed, the unary functions, the memory register, the display switches, and the clipboard
// and typing keys. A result that is not a number locks every key but the clears and switches.
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "calculator/Calculator.h"
#include "panel/ClipboardText.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

constexpr int kMaxFactorial = 170;

void repaint(CMyPanel& panel) {
    if (panel.GetSafeHwnd() != nullptr)
        panel.InvalidateRect(nullptr, FALSE);
}

// The number a typed text reads as.
double readNumber(const std::u16string& text) {
    return wcstod(text.c_str(), nullptr);
}

void show(CMyPanel& panel, double value) {
    panel.calcValue = value;
    panel.calcText = FormatCalcNumber(value, kCalcDigits);
}

// The ending every typing key shares: the value follows the text, and typing goes on.
void typed(CMyPanel& panel) {
    panel.calcValue = readNumber(panel.calcText);
    panel.calcNewEntry = 0;
    repaint(panel);
}

bool isBinary(WORD op) {
    switch (op) {
        case CalcAdd:
        case CalcSubtract:
        case CalcMultiply:
        case CalcDivide:
        case CalcPower:
        case CalcRoot:
        case CalcRemainder:
            return true;
        default:
            return false;
    }
}

double evaluate(WORD op, double a, double b) {
    switch (op) {
        case CalcAdd:
            return a + b;
        case CalcSubtract:
            return a - b;
        case CalcMultiply:
            return a * b;
        case CalcDivide:
            return a / b;
        case CalcPower:
            return a == 0 ? 0 : std::pow(a, b);
        case CalcRoot:
            return a == 0 ? 0 : std::pow(a, 1 / b);
        case CalcRemainder:
            return std::fmod(a, b);
        default:
            return b;
    }
}

// Shows `value` as the finished result of the pending operation.
void finish(CMyPanel& panel, double value) {
    show(panel, value);
    panel.calcPendingOp = 0;
    panel.calcOperand = 0;
    panel.calcNewEntry = 1;
    repaint(panel);
}

void typeDigit(CMyPanel& panel, WORD op) {
    const WCHAR digit = static_cast<WCHAR>(u'0' + op);
    if (panel.calcNewEntry || panel.calcText == u"0") {
        panel.calcText.assign(1, digit);
    } else if (panel.calcText.size() >= static_cast<size_t>(kCalcDigits)) {
        return;
    } else {
        panel.calcText.push_back(digit);
    }
    typed(panel);
}

void typePoint(CMyPanel& panel) {
    if (panel.calcNewEntry) {
        panel.calcText = u"0.";
    } else if (panel.calcText.find(u'.') != std::u16string::npos) {
        return;
    } else {
        panel.calcText.push_back(u'.');
    }
    typed(panel);
}

void changeSign(CMyPanel& panel) {
    if (panel.calcNewEntry) {
        panel.calcText = u"0";
    } else if (!panel.calcText.empty() && panel.calcText.front() == u'-') {
        panel.calcText.erase(0, 1);
    } else {
        panel.calcText.insert(0, 1, u'-');
    }
    typed(panel);
}

void backspace(CMyPanel& panel) {
    if (panel.calcNewEntry)
        return;
    if (panel.calcText.size() > 1)
        panel.calcText.pop_back();
    else
        panel.calcText = u"0";
    panel.calcValue = readNumber(panel.calcText);
    repaint(panel);
}

void binaryOperator(CMyPanel& panel, WORD op) {
    if (panel.calcPendingOp != 0 && !panel.calcNewEntry) {
        show(panel, evaluate(panel.calcPendingOp, panel.calcOperand, panel.calcValue));
        repaint(panel);
    }
    panel.calcOperand = panel.calcValue;
    panel.calcPendingOp = op;
    panel.calcNewEntry = 1;
}

void equals(CMyPanel& panel) {
    if (panel.calcPendingOp == 0) {
        panel.calcNewEntry = 1;
        return;
    }
    finish(panel, evaluate(panel.calcPendingOp, panel.calcOperand, panel.calcValue));
}

void percent(CMyPanel& panel) {
    if (panel.calcPendingOp == 0) {
        panel.calcNewEntry = 1;
        return;
    }
    const double a = panel.calcOperand;
    const double b = panel.calcValue;
    switch (panel.calcPendingOp) {
        case CalcAdd:
            finish(panel, (b + a) / b * 100);
            break;
        case CalcSubtract:
            finish(panel, (a - b) / b * 100);
            break;
        case CalcMultiply:
            finish(panel, a * b * 100);
            break;
        case CalcDivide:
            finish(panel, a / b * 100);
            break;
        default:
            break;  // no percentage of a power, root or remainder
    }
}

// A unary function of the shown value; it discards a pending operator. Codes without an
// operation of their own come here too and only reformat the value.
void unary(CMyPanel& panel, WORD op) {
    const double x = panel.calcValue;
    double result = x;
    switch (op) {
        case CalcSquareRoot:
            result = std::sqrt(x);
            break;
        case CalcReciprocal:
            result = 1 / x;
            break;
        case CalcExp:
            result = std::exp(x);
            break;
        case CalcLn:
            result = std::log(x);
            break;
        case CalcFactorial:
            result = Factorial(x);
            break;
        case CalcSquare:
            result = x * x;
            break;
        case CalcLog10:
            result = std::log10(x);
            break;
        default:
            break;
    }
    finish(panel, result);
}

// Puts the number on the clipboard as the display would show it without digit conversion.
// The block belongs to the clipboard only once SetClipboardData took it.
void copyNumber(CMyPanel& panel) {
    std::u16string text = panel.calcText;
    if (text.find(u'.') == std::u16string::npos)
        text.push_back(u'.');
    if (panel.calcGrouping)
        text = GroupCalcDigits(std::move(text));
    HLOCAL block = LocalAlloc(LMEM_ZEROINIT, (text.size() + 1) * sizeof(WCHAR));
    if (block == nullptr)
        return;
    void* units = LocalLock(block);
    if (units == nullptr) {
        LocalFree(block);
        return;
    }
    std::memcpy(units, text.data(), text.size() * sizeof(WCHAR));
    LocalUnlock(block);
    if (!OpenClipboard(panel.GetSafeHwnd())) {
        LocalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr)
        LocalFree(block);
    CloseClipboard();
}

// Takes the number the clipboard's text starts with; a pending operator stays, so the
// pasted number can be its right operand. No text leaves the calculator as it was.
void pasteNumber(CMyPanel& panel) {
    const std::optional<std::u16string> text = ReadClipboardText(panel.GetSafeHwnd());
    if (!text || text->empty())
        return;
    show(panel, readNumber(*text));
    panel.calcNewEntry = 1;
    repaint(panel);
}

}  // namespace

double Factorial(double value) {
    const double n = std::trunc(value);
    if (!(n >= 1 && n <= kMaxFactorial))
        return std::numeric_limits<double>::quiet_NaN();
    double product = n;
    for (double factor = n - 1; factor > 1; --factor)
        product *= factor;
    return product;
}

void ResetCalculator(CMyPanel& panel) {
    panel.calcText = u"0";
    panel.calcValue = 0;
    panel.calcOperand = 0;
    panel.calcPendingOp = 0;
    panel.calcGrouping = 0;
    panel.calcNativeDigits = 0;
    panel.calcNewEntry = 1;
    panel.calcMemory = 0;
}

void CalcKey(CMyPanel& panel) {
    if (panel.pressedKey == nullptr)
        return;
    const WORD op = panel.pressedKey->param;
    switch (op) {
        case CalcGroupingSwitch:
            panel.calcGrouping = panel.latched[kGroupingSlot - 1] != 0 ? 1 : 0;
            repaint(panel);
            return;
        case CalcDigitsSwitch:
            panel.calcNativeDigits = panel.latched[kNativeDigitsSlot - 1] != 0 ? 1 : 0;
            repaint(panel);
            return;
        case CalcClearAll:
            panel.calcPendingOp = 0;
            panel.calcOperand = 0;
            [[fallthrough]];
        case CalcClearEntry:
            panel.calcValue = 0;
            panel.calcText = u"0";
            repaint(panel);
            return;
        default:
            break;
    }
    if (panel.calcText == kCalcErrorText)
        return;

    if (op <= CalcDigit9) {
        typeDigit(panel, op);
    } else if (isBinary(op)) {
        binaryOperator(panel, op);
    } else {
        switch (op) {
            case CalcPoint:
                typePoint(panel);
                break;
            case CalcChangeSign:
                changeSign(panel);
                break;
            case CalcBackspace:
                backspace(panel);
                break;
            case CalcEquals:
                equals(panel);
                break;
            case CalcPercent:
                percent(panel);
                break;
            case CalcPi:
                show(panel, std::numbers::pi);
                panel.calcNewEntry = 1;
                repaint(panel);
                break;
            case CalcMemoryClear:
                panel.calcMemory = 0;
                repaint(panel);
                break;
            case CalcMemoryRecall:
                show(panel, panel.calcMemory);
                panel.calcNewEntry = 1;
                repaint(panel);
                break;
            case CalcMemoryAdd:
                panel.calcMemory += panel.calcValue;
                repaint(panel);
                break;
            case CalcMemoryStore:
                panel.calcMemory = panel.calcValue;
                repaint(panel);
                break;
            case CalcCopy:
                copyNumber(panel);
                break;
            case CalcPaste:
                pasteNumber(panel);
                break;
            case CalcType:
                SendMacroText(panel, CalcDisplayText(panel));
                break;
            default:
                unary(panel, op);
                break;
        }
    }
}

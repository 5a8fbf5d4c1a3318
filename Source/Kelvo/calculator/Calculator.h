// The panel's pocket calculator: the operation a KF_CALC key names (its param), the number
// formatting of the display, and the text the display shows, types and copies. The state
// lives in the panel's calc* fields; operators act immediately, from left to right.
#pragma once

#include <windows.h>

#include <string>

class CMyPanel;

// Operation codes, the param of a calculator key. 0 to 9 are the digits themselves.
enum CalcOp : WORD {
    CalcDigit9 = 9,
    CalcPoint = 10,
    CalcAdd = 11,
    CalcSubtract = 12,
    CalcMultiply = 13,
    CalcDivide = 14,
    CalcEquals = 15,
    CalcSquareRoot = 16,
    CalcReciprocal = 17,
    CalcPercent = 18,
    CalcChangeSign = 19,
    CalcBackspace = 20,
    CalcClearAll = 21,
    CalcClearEntry = 22,
    CalcGroupingSwitch = 23,
    CalcMemoryClear = 24,
    CalcMemoryRecall = 25,
    CalcMemoryAdd = 26,
    CalcMemoryStore = 27,
    CalcPower = 28,
    CalcRoot = 29,
    CalcExp = 30,
    CalcPi = 31,
    CalcRemainder = 32,
    CalcLn = 33,
    CalcFactorial = 34,
    CalcSquare = 35,
    CalcLog10 = 36,
    CalcCopy = 37,
    CalcPaste = 38,
    CalcType = 39,
    CalcDigitsSwitch = 40,
};

// The digits the display holds: typing stops at this many characters, and results are
// formatted to fit them.
inline constexpr int kCalcDigits = 12;
// The modifier slots whose latches the two display switches copy.
inline constexpr int kGroupingSlot = 5;
inline constexpr int kNativeDigitsSlot = 8;
// What the display shows for a result that is not a number; it locks the calculator until a
// clear key.
inline constexpr const WCHAR* kCalcErrorText = u"Error";

// Runs the operation of the panel's pressedKey and repaints the panel window when what the
// display shows changed. Nothing happens without a pressed key.
void CalcKey(CMyPanel& panel);

// `value` as the display shows a result: fixed notation without trailing zeros while it fits
// `digits` characters before the point, else exponent notation; "Error" for NaN. `digits`
// outside 1..20 is taken as the nearest of those.
std::u16string FormatCalcNumber(double value, int digits);

// The display text: calcText with a point at its end when it has none, "," grouping and
// Arabic-Indic digits when those are switched on. The error text is shown as it is.
std::u16string CalcDisplayText(const CMyPanel& panel);

// n! for n = value truncated toward zero, NaN unless 1 <= n <= 170.
double Factorial(double value);

// Puts every calculator field back to its value for a new panel (after a skin load).
void ResetCalculator(CMyPanel& panel);

// `text` with "," inserted every three characters left of its last point (or its end) where
// a digit stands on both sides.
std::u16string GroupCalcDigits(std::u16string text);

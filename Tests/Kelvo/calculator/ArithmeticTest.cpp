// Typing numbers and executing operators: left-to-right evaluation, percent, powers and roots,
// factorial limits, the memory register, and the Error state that only the clears leave.
#include <cmath>
#include <limits>

#include "CalculatorFixture.h"

using Arithmetic = CalculatorTest;

TEST_F(Arithmetic, OperatorsActLeftToRightAsTheyArePressed) {
    keys("2 + 3 x 4 =");
    EXPECT_EQ(text(), u"20");
    EXPECT_EQ(display(), u"20.");
    EXPECT_DOUBLE_EQ(panel->calcValue, 20);

    keys("C 2 + 9 sqrt");  // a unary function discards the pending addition
    EXPECT_EQ(text(), u"3");
    keys("=");
    EXPECT_EQ(text(), u"3");

    keys("C 7 + =");  // no right operand: the left one serves
    EXPECT_EQ(text(), u"14");
    keys("C 7 + + 1 =");  // a second operator replaces the first without computing
    EXPECT_EQ(text(), u"8");

    keys("C 10 - 4 - 3 =");  // a chain computes at each operator
    EXPECT_EQ(text(), u"3");
    keys("C 7 mod 4 =");
    EXPECT_EQ(text(), u"3");
    keys("C 1 / 0 =");  // division by zero is not tested: the result is infinite
    EXPECT_EQ(text(), u"inf");
}

TEST_F(Arithmetic, PercentTakesItsFormulaFromThePendingOperator) {
    keys("50 + 10 %");
    EXPECT_EQ(text(), u"600");
    EXPECT_EQ(panel->calcPendingOp, 0);
    keys("C 50 - 10 %");
    EXPECT_EQ(text(), u"400");
    keys("C 50 x 10 %");
    EXPECT_EQ(text(), u"50000");
    keys("C 50 / 10 %");
    EXPECT_EQ(text(), u"500");

    keys("C 2 x^y 3 %");  // no percentage of a power: ignored, the power stays pending
    EXPECT_EQ(text(), u"3");
    EXPECT_EQ(panel->calcPendingOp, CalcPower);
    keys("=");
    EXPECT_EQ(text(), u"8");

    keys("C 42 %");  // nothing pending: only the next digit starts a new number
    EXPECT_EQ(text(), u"42");
    keys("5");
    EXPECT_EQ(text(), u"5");
}

TEST_F(Arithmetic, PowersAndRootsOfZeroAreZero) {
    keys("0 x^y 5 =");
    EXPECT_EQ(text(), u"0");
    keys("C 0 x^y 0 =");
    EXPECT_EQ(text(), u"0");
    keys("C 2 x^y 10 =");
    EXPECT_EQ(text(), u"1024");
    keys("C 27 root 3 =");
    EXPECT_EQ(text(), u"3");
    keys("C 0 root 0 =");
    EXPECT_EQ(text(), u"0");
    keys("C 12 x2");
    EXPECT_EQ(text(), u"144");
    keys("C 1000 log");
    EXPECT_EQ(text(), u"3");
    keys("C 1 exp ln");
    EXPECT_EQ(text(), u"1");
    keys("C 4 1/x");
    EXPECT_EQ(text(), u"0.25");
}

TEST_F(Arithmetic, FactorialCountsTheWholePartFromOneTo170) {
    keys("3.7 n!");
    EXPECT_EQ(text(), u"6");
    keys("C 170 n!");
    EXPECT_EQ(text(), u"7.257416e+306");
    keys("C 0 n!");
    EXPECT_EQ(text(), u"Error");
    keys("C 171 n!");
    EXPECT_EQ(text(), u"Error");
    keys("C 1 n!");
    EXPECT_EQ(text(), u"1");

    EXPECT_DOUBLE_EQ(Factorial(5.99), 120);
    EXPECT_TRUE(std::isnan(Factorial(0.99)));
    EXPECT_TRUE(std::isnan(Factorial(-3)));
    EXPECT_TRUE(std::isnan(Factorial(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(Factorial(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(Factorial(-std::numeric_limits<double>::infinity())));
}

TEST_F(Arithmetic, TypingKeepsTwelveCharactersAndFollowsTheText) {
    keys("1234567890123");
    EXPECT_EQ(text(), u"123456789012");
    keys(".");  // the point is not counted
    EXPECT_EQ(text(), u"123456789012.");
    keys("5 . 5");
    EXPECT_EQ(text(), u"123456789012.");

    keys("C 0 0 7");  // a leading zero is replaced
    EXPECT_EQ(text(), u"7");
    keys("+/-");
    EXPECT_EQ(text(), u"-7");
    EXPECT_DOUBLE_EQ(panel->calcValue, -7);
    keys("+/-");
    EXPECT_EQ(text(), u"7");
    keys("back");
    EXPECT_EQ(text(), u"0");
    EXPECT_DOUBLE_EQ(panel->calcValue, 0);
    keys("4 2 back");
    EXPECT_EQ(text(), u"4");
    EXPECT_DOUBLE_EQ(panel->calcValue, 4);

    keys("+ .");  // after an operator the point starts a new number
    EXPECT_EQ(text(), u"0.");
    keys("5 =");
    EXPECT_EQ(text(), u"4.5");
    keys("back");  // a result is not edited
    EXPECT_EQ(text(), u"4.5");
    keys("+/-");  // nor signed: a new number starts
    EXPECT_EQ(text(), u"0");
}

TEST_F(Arithmetic, MemoryKeepsAValueAcrossClears) {
    keys("5 MS C");
    EXPECT_DOUBLE_EQ(panel->calcMemory, 5);
    keys("3 M+ C MR");
    EXPECT_EQ(text(), u"8");
    keys("1");  // a recalled value is a result: typing starts anew
    EXPECT_EQ(text(), u"1");
    keys("+ MR =");  // recall serves as the right operand
    EXPECT_EQ(text(), u"9");
    keys("MC");
    EXPECT_EQ(panel->calcMemory, 0);
    keys("C 2 + pi");  // pi keeps the pending operator
    EXPECT_EQ(text(), u"3.14159265359");
    keys("=");
    EXPECT_EQ(text(), u"5.14159265359");
}

TEST_F(Arithmetic, ErrorIsLeftOnlyByTheClears) {
    keys("4 +/- sqrt");
    ASSERT_EQ(text(), u"Error");
    EXPECT_EQ(display(), u"Error");  // shown as it is, without a point
    painted();
    keys("5 + = . +/- back % sqrt pi MS MR 1/x type copy");
    EXPECT_EQ(text(), u"Error");
    EXPECT_FALSE(repaintAsked());
    EXPECT_EQ(panel->calcMemory, 0);
    EXPECT_TRUE(calls().empty());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));

    keys("group");  // the switches still work
    EXPECT_EQ(panel->calcGrouping, 1);
    EXPECT_TRUE(repaintAsked());
    EXPECT_EQ(display(), u"Error");

    keys("CE");
    EXPECT_EQ(text(), u"0");
    keys("6 x 7 =");
    EXPECT_EQ(text(), u"42");

    keys("0 ln");  // minus infinity is a number, shown as the formatting gives it
    EXPECT_EQ(text(), u"-inf");
    keys("C 1 +/- ln");
    EXPECT_EQ(text(), u"Error");
    keys("C");
    EXPECT_EQ(text(), u"0");
    EXPECT_EQ(panel->calcPendingOp, 0);
}

TEST_F(Arithmetic, KeysThatChangeNothingShownDoNotRepaint) {
    painted();
    keys("=");  // nothing pending
    EXPECT_FALSE(repaintAsked());
    keys("123456789012");
    painted();
    keys("3");  // beyond twelve characters
    EXPECT_FALSE(repaintAsked());
    keys("+/-");
    EXPECT_TRUE(repaintAsked());
    keys("C 12");
    painted();
    keys("+");  // the first operator shows nothing new
    EXPECT_FALSE(repaintAsked());
    keys("2");
    painted();
    keys("+");  // the second shows the intermediate result
    EXPECT_EQ(text(), u"14");
    EXPECT_TRUE(repaintAsked());
}

TEST_F(Arithmetic, OperationsWithoutAKeyCodeOnlyReformatAndDropThePendingOperator) {
    keys("7 + 2");
    panel->pressedKey->param = 55;  // a code the calculator has no operation for
    CalcKey(*panel);
    EXPECT_EQ(text(), u"2");
    EXPECT_EQ(panel->calcPendingOp, 0);
    EXPECT_EQ(panel->calcNewEntry, 1);
    panel->pressedKey = nullptr;  // and no key at all does nothing
    CalcKey(*panel);
    EXPECT_EQ(text(), u"2");
}

TEST_F(Arithmetic, ASkinReloadStartsTheCalculatorAfresh) {
    keys("5 MS + 3 group");
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
    EXPECT_EQ(text(), u"0");
    EXPECT_EQ(panel->calcValue, 0);
    EXPECT_EQ(panel->calcOperand, 0);
    EXPECT_EQ(panel->calcPendingOp, 0);
    EXPECT_EQ(panel->calcMemory, 0);
    EXPECT_EQ(panel->calcGrouping, 0);
    EXPECT_EQ(panel->calcNewEntry, 1);
}

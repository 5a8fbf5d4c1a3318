// A panel showing the test calculator layout, with a helper that presses its keys from a line
// of tokens ("2 + 3 x 4 =") through the panel's press-key message, as the key handler would.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "CalculatorLayout.h"
#include "PanelFixture.h"
#include "calculator/Calculator.h"

class CalculatorTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writePortraitSkin({skintest::calculatorLayout()});
        createPanel();
    }

    void press(WORD code) {
        SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, skintest::calcKeyRow(code),
                     skintest::calcKeyCol(code));
    }

    // Numbers are typed digit by digit ("3.7"); other tokens name an operation.
    void keys(const std::string& line) {
        static const std::map<std::string, WORD> names = {{"+", CalcAdd},
                                                          {"-", CalcSubtract},
                                                          {"x", CalcMultiply},
                                                          {"/", CalcDivide},
                                                          {"=", CalcEquals},
                                                          {"sqrt", CalcSquareRoot},
                                                          {"1/x", CalcReciprocal},
                                                          {"%", CalcPercent},
                                                          {"+/-", CalcChangeSign},
                                                          {"back", CalcBackspace},
                                                          {"C", CalcClearAll},
                                                          {"CE", CalcClearEntry},
                                                          {"group", CalcGroupingSwitch},
                                                          {"MC", CalcMemoryClear},
                                                          {"MR", CalcMemoryRecall},
                                                          {"M+", CalcMemoryAdd},
                                                          {"MS", CalcMemoryStore},
                                                          {"x^y", CalcPower},
                                                          {"root", CalcRoot},
                                                          {"exp", CalcExp},
                                                          {"pi", CalcPi},
                                                          {"mod", CalcRemainder},
                                                          {"ln", CalcLn},
                                                          {"n!", CalcFactorial},
                                                          {"x2", CalcSquare},
                                                          {"log", CalcLog10},
                                                          {"copy", CalcCopy},
                                                          {"paste", CalcPaste},
                                                          {"type", CalcType},
                                                          {"native", CalcDigitsSwitch}};
        std::istringstream tokens(line);
        for (std::string token; tokens >> token;) {
            if (auto found = names.find(token); found != names.end()) {
                press(found->second);
                continue;
            }
            for (char c : token) {
                if (c >= '0' && c <= '9') {
                    press(static_cast<WORD>(c - '0'));
                } else if (c == '.') {
                    press(CalcPoint);
                } else {
                    ADD_FAILURE() << "no calculator key for " << token;
                    return;
                }
            }
        }
    }

    std::u16string text() const { return panel->calcText; }
    std::u16string display() const { return CalcDisplayText(*panel); }

    // The panel has been painted: nothing waits to be repainted.
    void painted() { UpdateWindow(panelWindow()); }
    bool repaintAsked() { return GetUpdateRect(panelWindow(), nullptr, FALSE) != FALSE; }
};

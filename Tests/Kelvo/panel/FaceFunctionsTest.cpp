// The points where the other faces join the key handling: function keys hand over after their
// output and modifier steps, and entering a face layout refreshes it.
#include "TypingLayouts.h"
#include "panel/PanelFunctions.h"

using namespace skintest;
using FaceFunctions = PanelTest;

namespace {

std::vector<std::string> g_log;

void logTask(CMyPanel&) {
    g_log.push_back("task");
}
void logSpecial(CMyPanel&) {
    g_log.push_back("special");
}
void logTasks(CMyPanel&) {
    g_log.push_back("refreshTasks");
}
void logLauncher(CMyPanel&) {
    g_log.push_back("refreshLauncher");
}

Layout functionKeys(WORD flags = 0) {
    Layout layout;
    layout.flags = flags;
    layout.rows = {
        {Key{KF_OUTPUT | KF_CALC, u'1', 0x31, rect(0, 0, 40, 40)},
         Key{KF_TASKS, 0, 0, rect(40, 0, 80, 40)}, Key{KF_MACRO, 3, 0, rect(80, 0, 120, 40)},
         Key{KF_LAUNCH, 0, 2, rect(120, 0, 160, 40)}, Key{KF_GOTO, 1, 0, rect(160, 0, 200, 40)},
         Key{KF_GOTO, 2, 0, rect(200, 0, 240, 40)}},
        {Key{KF_GOTO, 3, 0, rect(0, 40, 240, 80)}}};
    return layout;
}

}  // namespace

TEST_F(FaceFunctions, UnregisteredFunctionKeysOnlySendTheirOutput) {
    writePortraitSkin({functionKeys()});
    createPanel();
    for (int x : {20, 60, 100, 140})
        tap(x, 20);
    EXPECT_EQ(calls(), charPair(0x31, u'1'));
    EXPECT_EQ(panel->layout->index, 0);
}

TEST_F(FaceFunctions, RegisteredFunctionsAreCalledWhereTheKeysAndLayoutsNeedThem) {
    g_log.clear();
    g_panelFunctions.taskKey = logTask;
    g_panelFunctions.specialKey = logSpecial;
    g_panelFunctions.refreshTaskList = logTasks;
    g_panelFunctions.refreshLauncher = logLauncher;
    writePortraitSkin({functionKeys(), functionKeys(LF_TASKS), functionKeys(LF_MACROS),
                       functionKeys(LF_LAUNCHER)});
    createPanel();
    EXPECT_TRUE(g_log.empty());
    for (int x : {20, 60, 100, 140})
        tap(x, 20);
    EXPECT_EQ(calls(), charPair(0x31, u'1'));  // the calculator key's output comes first
    EXPECT_EQ(g_log, (std::vector<std::string>{"task", "special"}));
    g_log.clear();
    tap(180, 20);  // tasks layout
    tap(220, 20);  // macros layout
    tap(120, 60);  // launcher layout
    EXPECT_EQ(g_log, (std::vector<std::string>{"refreshTasks", "refreshLauncher"}));
    g_panelFunctions = PanelFunctions{};
}

// The keyboard library's module-wide state, put back before every case as a freshly loaded
// library has it: its settings and the screen it measured, the skin names, the macro table,
// the task switcher's count of listed windows, and its count of live objects. A global added to
// the library is named here too.
#include <KeptGlobals.h>

#include "inputmethod/ClassFactory.h"
#include "inputmethod/InputMethod.h"
#include "inputmethod/Settings.h"
#include "panel/Macros.h"
#include "panel/TaskSwitcher.h"
#include "skin/SkinSettings.h"

namespace {

const bool kept = testsupport::keepAsLoaded(g_repeatDelay, g_repeatPeriod, g_enableGestures,
                                            g_screenWidth, g_screenHeight, g_bottomMargin,
                                            g_objectCount, skinsFolder, currentSkin, helpFilePath,
                                            currentSkinTooLong, skinsPathTooLong, taskCount);
const bool keptEmpty = testsupport::keepEmpty(MacroTable);

}  // namespace

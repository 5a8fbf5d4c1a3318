// The framework in one include, as the device's programs and libraries expect it.
#pragma once

#include "DC.h"
#include "GdiObjects.h"
#include "MessageMap.h"
#include "ModuleState.h"
#include "ScrollBar.h"
#include "Types.h"
#include "WinApp.h"
#include "Wnd.h"

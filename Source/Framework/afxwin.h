// The framework in one include, as the device's programs and libraries expect it.
#pragma once

#include "Button.h"
#include "ComboBox.h"
#include "CommandBar.h"
#include "DC.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "GdiObjects.h"
#include "MessageMap.h"
#include "ModuleState.h"
#include "PropertyPage.h"
#include "PropertySheet.h"
#include "SliderCtrl.h"
#include "Static.h"
#include "Types.h"
#include "WinApp.h"
#include "Wnd.h"

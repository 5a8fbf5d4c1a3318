// The Windows API surface of the device in one include, as programs written for the device
// expect: every area header of the platform, one line each.
#pragma once

#include "commctrl.h"
#include "guiddef.h"
#include "imaging.h"
#include "objbase.h"
#include "oleauto.h"
#include "sip.h"
#include "unknwn.h"
#include "wchar16.h"
#include "winbase.h"
#include "winbase_memory.h"
#include "windef.h"
#include "winerror.h"
#include "wingdi.h"
#include "winicon.h"
#include "winnls.h"
#include "winreg.h"
#include "winresource.h"
#include "winuser.h"

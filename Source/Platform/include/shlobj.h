// The shell's special folders: SHGetSpecialFolderPath and the CSIDL_ folder identifiers.
#pragma once

#include "windef.h"

#define CSIDL_PROGRAMS 0x0002
#define CSIDL_PERSONAL 0x0005
#define CSIDL_STARTMENU 0x000B
#define CSIDL_WINDOWS 0x0024

// Copies the device path of special folder `folder` into `path` (room for MAX_PATH
// characters). A device names its shell folders under HKEY_LOCAL_MACHINE
// "System\Explorer\Shell Folders" ("Programs", "Start Menu", "My Documents"), so that a device
// in another language has its own names; without an entry the English name is used
// ("\Windows\Start Menu\Programs" for CSIDL_PROGRAMS). With `create` a missing folder is
// made. FALSE, with an empty path, for a folder identifier the device does not have
// (ERROR_INVALID_PARAMETER) or a folder that does not exist and is not to be created
// (ERROR_PATH_NOT_FOUND).
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create);

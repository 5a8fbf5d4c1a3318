// Provisioning a device with an in-process COM server, as the device's set-up program does:
// the library is copied into the device's "\Windows\" folder and its DllRegisterServer run.
#pragma once

#include <filesystem>
#include <string_view>

#include "../windef.h"
#include "../winerror.h"

namespace device {

// Loads the server library at `devicePath` ("\Windows\Kelvo.dll") and calls its
// DllRegisterServer. Returns that call's result, or E_FAIL when the library cannot be loaded or
// exports no DllRegisterServer.
HRESULT registerInstalledServer(std::u16string_view devicePath);

// Copies the host file `hostPath` to "\Windows\<its file name>" on the device (replacing an
// older copy), loads it there and calls its DllRegisterServer. Returns that call's result,
// E_FAIL when the file cannot be copied or loaded, or when it exports no DllRegisterServer.
HRESULT registerServerLibrary(const std::filesystem::path& hostPath);

}  // namespace device

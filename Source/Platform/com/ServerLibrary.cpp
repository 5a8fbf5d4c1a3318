// device::registerServerLibrary: installs a server library into the device's "\Windows\" and
// lets it write its own registry entries.
#include "device/ServerLibrary.h"

#include <system_error>

#include "device/FileSystem.h"
#include "wchar16.h"
#include "winbase.h"
#include "winerror.h"

namespace device {

HRESULT registerInstalledServer(std::u16string_view devicePath) {
    const std::u16string path(devicePath);
    HMODULE library = LoadLibraryW(path.c_str());
    if (library == nullptr)
        return E_FAIL;
    using RegisterProc = HRESULT (*)();
    auto* registerServer =
        reinterpret_cast<RegisterProc>(GetProcAddress(library, "DllRegisterServer"));
    const HRESULT result = registerServer != nullptr ? registerServer() : E_FAIL;
    FreeLibrary(library);
    return result;
}

HRESULT registerServerLibrary(const std::filesystem::path& hostPath) {
    const std::u16string devicePath =
        u"\\Windows\\" + platform::fromUtf8(hostPath.filename().string());
    std::error_code error;
    const std::filesystem::path folder = deviceRoot() / "Windows";
    std::filesystem::create_directories(folder, error);
    const auto target = resolveDevicePath(devicePath);
    if (!target || !std::filesystem::copy_file(
                       hostPath, *target, std::filesystem::copy_options::overwrite_existing, error))
        return E_FAIL;
    return registerInstalledServer(devicePath);
}

}  // namespace device

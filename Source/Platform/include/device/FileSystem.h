// The device's file system: a root folder on the host inside which device paths
// ("\Program Files\Kelvo\Skins\Kelvo.ksk") resolve, case-insensitively, never escaping it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace device {

// Sets the host folder that is the device's "\" (created if missing). Until one is set, the
// device uses a fresh temporary folder of its own.
void setDeviceRoot(const std::filesystem::path& hostFolder);
std::filesystem::path deviceRoot();

// The host path a device path stands for: each component matched case-insensitively against
// what exists (kept as given where nothing matches yet). Empty for paths that would leave the
// root: "..", or a symbolic link on the way.
std::optional<std::filesystem::path> resolveDevicePath(std::u16string_view devicePath);

}  // namespace device

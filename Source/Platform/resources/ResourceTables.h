// Where the platform keeps each module's resource table, and the lookup of one resource by
// name and type in a table.
#pragma once

#include <device/Resources.h>

#include "windef.h"

namespace platform {

// The resource table a loaded shared object or program carries, from its dlopen handle;
// null when it has none or the table is not one this platform reads.
const device::ResourceTable* findResourceTable(void* dlHandle);

// The table of `instance`: one tied to it with device::registerModuleResources, else the
// table of the module the kernel loaded behind it (a null instance: the calling process's
// program). Null when it has none.
const device::ResourceTable* resourceTableOf(HINSTANCE instance);

enum class LookupFailure { None, TypeNotFound, NameNotFound };

// The entry of `type` and `name` (each MAKEINTRESOURCEW or a string, "#n" meaning number n).
const device::ResourceEntry* findResourceEntry(const device::ResourceTable* table, LPCWSTR name,
                                               LPCWSTR type, LookupFailure* failure = nullptr);

// The entry of `type` and numeric `id` in instance's table.
const device::ResourceEntry* findResourceById(HINSTANCE instance, WORD id, WORD type);

}  // namespace platform

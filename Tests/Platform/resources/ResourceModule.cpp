// Loads the test resource module with dlopen and ties its table to an instance handle.
#include "ResourceModule.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <device/Resources.h>

#include "resources/ResourceTables.h"

namespace testresources {

ResourceModule::ResourceModule() {
    handle_ = dlopen(TEST_RESOURCE_MODULE, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle_, nullptr) << dlerror();
    instance_ = reinterpret_cast<HINSTANCE>(handle_);
    device::registerModuleResources(instance_, platform::findResourceTable(handle_));
}

ResourceModule::~ResourceModule() {
    device::registerModuleResources(instance_, nullptr);
    if (handle_ != nullptr)
        dlclose(handle_);
}

}  // namespace testresources

// The test module with resources: loaded once per test and tied to an instance handle the way
// the module code ties every library it loads.
#pragma once

#include <windef.h>

namespace testresources {

// Loads the test module and registers its resource table; unregisters and unloads at the end.
class ResourceModule {
public:
    ResourceModule();
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HINSTANCE instance() const { return instance_; }
    void* dlHandle() const { return handle_; }

private:
    void* handle_ = nullptr;
    HINSTANCE instance_ = nullptr;
};

}  // namespace testresources

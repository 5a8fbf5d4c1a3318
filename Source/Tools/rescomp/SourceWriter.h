// Writes the generated C++ source: each resource's bytes as an array and the module's
// exported KelvoResourceTable() over them.
#pragma once

#include <string>
#include <vector>

#include "ResourceBuilder.h"

namespace rescomp {

// The text of the generated source; `origin` names the manifest in its opening comment.
std::string resourceSource(const std::vector<BuiltResource>& resources, const std::string& origin);

}  // namespace rescomp

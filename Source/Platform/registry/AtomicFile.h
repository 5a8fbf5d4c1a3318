// Where a file replacement stops early, for tests that show an interrupted save loses nothing.
#pragma once

#include <device/AtomicFile.h>

namespace platform {

enum class ReplaceStop { Never, BeforeRename };

void setReplaceStop(ReplaceStop stop);

}  // namespace platform

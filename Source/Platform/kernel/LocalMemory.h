// Platform-side control of memory blocks: a block handed to the system (clipboard data) can no
// longer be freed or reallocated by the program that made it, only by the platform.
#pragma once

#include "winbase_memory.h"

namespace platform {

enum class BlockOwner { Program, System };

// False when `block` is not a live block.
bool setBlockOwner(HLOCAL block, BlockOwner owner);
bool isLiveBlock(HLOCAL block);
// Frees a block whoever owns it; false for a handle that is not a live block.
bool freeBlock(HLOCAL block);

}  // namespace platform

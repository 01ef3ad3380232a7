#pragma once

#include "core/rom_error.h"

#include <cstdint>

namespace tamo {

// A patch file that cannot be read, made or applied; its text names what is wrong and,
// for a damaged patch, at which patch byte.
class PatchError : public RomError
{
public:
    using RomError::RomError;
};

// The largest image a patch is allowed to make: a patch that claims more is refused
// before anything is allocated for it.
constexpr uint64_t MaxPatchTargetSize = uint64_t(1) << 30;

} // namespace tamo

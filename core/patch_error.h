#pragma once

#include "core/rom_error.h"

#include <cstdint>
#include <string>

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

// Runs work; a PatchError it throws comes back with the patch file's name before its text.
template<typename Work>
auto NamingPatchFile(const std::string &fileName, Work work)
{
    try {
        return work();
    } catch (const PatchError &error) {
        throw PatchError(fileName + ": " + error.what());
    }
}

} // namespace tamo

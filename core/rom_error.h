#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tamo {

// Every failure of the data core is one of these; its text is meant for the user.
class RomError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An access that would touch bytes outside the ROM image.
class RomRangeError : public RomError
{
public:
    using RomError::RomError;
};

// The whole image replaced by bytes of another size.
inline RomError ReplacementSizeError(std::string_view what, size_t replacing, size_t replaced)
{
    return RomError(std::string(what) + ": " + std::to_string(replacing) + " bytes cannot replace "
                    + std::to_string(replaced));
}

} // namespace tamo

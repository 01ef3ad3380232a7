#pragma once

#include <stdexcept>
#include <string>

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

} // namespace tamo

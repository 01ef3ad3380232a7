#pragma once

#include <cstdint>
#include <string>

namespace tamo {

// Decimal with a comma between groups of three digits, as messages show sizes and
// places: 4194304 gives "4,194,304".
std::string GroupedNumber(uint64_t value);

} // namespace tamo

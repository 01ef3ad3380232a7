#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamo {

// A count with its noun, as step texts and the status bar say it: "1 cell", "214 cells".
// The noun is given in the singular and takes an "s" for any other count.
std::string CountText(int64_t count, std::string_view noun);

} // namespace tamo

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamo {

// A number the user typed or pasted (an edit box, a dialog field, a command-line
// argument): blanks around it do not count, the rest reads in the program's integer
// syntax. Text that is still no number does not read.
std::optional<int32_t> parseTypedInteger(std::string_view text);

} // namespace tamo

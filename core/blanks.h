#pragma once

#include <string_view>

namespace tamo {

// The text without the blanks (spaces, tabs, line breaks) at either end.
std::string_view trimmed(std::string_view text);

} // namespace tamo

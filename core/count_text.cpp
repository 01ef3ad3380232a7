#include "core/count_text.h"

namespace tamo {

std::string CountText(int64_t count, std::string_view noun)
{
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

} // namespace tamo

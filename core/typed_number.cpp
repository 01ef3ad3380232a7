#include "core/typed_number.h"

#include "core/blanks.h"
#include "core/integer_syntax.h"

namespace tamo {

std::optional<int32_t> parseTypedInteger(std::string_view text)
{
    return parseInteger(trimmed(text));
}

} // namespace tamo

#include "core/patch_cursor.h"

#include "core/grouped_number.h"
#include "core/patch_error.h"

namespace tamo {

PatchCursor::PatchCursor(std::span<const uint8_t> patch, size_t end, std::string_view pastEnd)
    : m_patch(patch.first(end))
    , m_end(end)
    , m_pastEnd(pastEnd)
{
}

void PatchCursor::beginItem(std::string_view what)
{
    m_item = what;
    m_itemStart = m_at;
}

std::span<const uint8_t> PatchCursor::take(uint64_t count)
{
    if (count > left())
        fail(m_pastEnd);
    const auto bytes = m_patch.subspan(m_at, size_t(count));
    m_at += size_t(count);
    return bytes;
}

uint32_t PatchCursor::bigEndian(int length)
{
    uint32_t value = 0;
    for (const uint8_t byte : take(uint64_t(length)))
        value = value << 8 | byte;
    return value;
}

void PatchCursor::fail(const std::string &problem) const
{
    throw PatchError(m_item + " at patch byte " + GroupedNumber(m_itemStart) + " " + problem);
}

} // namespace tamo

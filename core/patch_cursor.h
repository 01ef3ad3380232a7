#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tamo {

// Reads a patch front to back, one item (a record, an action, a header field) at a time,
// so that every error names the item and the patch byte it starts at ("record at patch
// byte 1,234 runs past the end"). Only bytes before the given end are read.
class PatchCursor
{
public:
    // pastEnd says what an item that does not fit does ("runs past the end").
    PatchCursor(std::span<const uint8_t> patch, size_t end, std::string_view pastEnd);

    size_t at() const { return m_at; }
    size_t left() const { return m_end - m_at; }
    bool atEnd() const { return m_at == m_end; }

    // Starts the item that the next errors name.
    void beginItem(std::string_view what);
    // Names the item begun last, once its first bytes have told what it is.
    void nameItem(std::string_view what) { m_item = what; }
    // The next count bytes of the item.
    std::span<const uint8_t> take(uint64_t count);
    uint8_t byte() { return take(1)[0]; }
    // length bytes, high byte first.
    uint32_t bigEndian(int length);

    // Throws the PatchError "<item> at patch byte N <problem>".
    [[noreturn]] void fail(const std::string &problem) const;

private:
    std::span<const uint8_t> m_patch;
    size_t m_end;
    size_t m_at = 0;
    std::string m_pastEnd;
    std::string m_item;
    size_t m_itemStart = 0;
};

} // namespace tamo

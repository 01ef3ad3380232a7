#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tamo {

// INI section and key names compare without regard to ASCII letter case; other bytes
// (Shift-JIS names among them) compare as they are.
inline char foldedCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldedCase(a[i]) != foldedCase(b[i]))
            return false;
    }
    return true;
}

// The positions of names in a list held elsewhere, found by name (as sameName compares)
// in constant time on average. Only hashes and positions are kept, never the names, so
// the index stays right when it is copied or moved together with its list; nameAt(position)
// gives the list's name at a position.
class NameIndex
{
public:
    static constexpr size_t Missing = SIZE_MAX;

    template<typename NameAt>
    size_t find(std::string_view name, const NameAt &nameAt) const
    {
        if (m_slots.empty())
            return Missing;
        return m_slots[slotOf(name, nameHash(name), nameAt)].position();
    }

    // The position of name; when it is not listed yet, it is recorded at position, which
    // is then returned.
    template<typename NameAt>
    size_t findOrAdd(std::string_view name, size_t position, const NameAt &nameAt)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        const uint32_t hash = nameHash(name);
        Slot &slot = m_slots[slotOf(name, hash, nameAt)];
        if (slot.empty()) {
            slot = {hash, static_cast<uint32_t>(position + 1)};
            ++m_count;
        }
        return slot.position();
    }

private:
    struct Slot
    {
        uint32_t hash = 0;
        uint32_t positionPlusOne = 0; // 0 for an empty slot

        bool empty() const { return positionPlusOne == 0; }
        size_t position() const { return empty() ? Missing : positionPlusOne - 1; }
    };

    static uint32_t nameHash(std::string_view name);

    // The slot holding name, or the empty slot where it belongs (open addressing with
    // linear probing; at most half the slots are used, so an empty one always comes).
    template<typename NameAt>
    size_t slotOf(std::string_view name, uint32_t hash, const NameAt &nameAt) const
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.empty() || (slot.hash == hash && sameName(nameAt(slot.position()), name)))
                return i;
        }
    }

    void grow();

    std::vector<Slot> m_slots; // a power of two in size
    size_t m_count = 0;
};

} // namespace tamo

#include "core/name_index.h"

namespace tamo {

uint32_t NameIndex::nameHash(std::string_view name)
{
    // FNV-1a over the case-folded bytes, so that names sameName takes as one hash alike.
    uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(foldedCase(c));
        hash *= 16777619u;
    }
    return hash;
}

void NameIndex::grow()
{
    std::vector<Slot> old(m_slots.empty() ? 16 : m_slots.size() * 2);
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.empty())
            continue;
        size_t i = slot.hash & mask;
        while (!m_slots[i].empty())
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

} // namespace tamo

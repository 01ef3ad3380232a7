#pragma once

#include <array>
#include <cstdint>

namespace tamo {

// The low Length bytes of value, low byte first, as the ROM stores its numbers.
template<int Length>
std::array<uint8_t, Length> LittleEndian(uint32_t value)
{
    std::array<uint8_t, Length> bytes{};
    for (int i = 0; i < Length; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
}

} // namespace tamo

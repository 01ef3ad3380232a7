#pragma once

#include <cstdint>
#include <span>

namespace tamo {

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320, all ones before and after),
// which a BPS patch carries for its source, its target and itself.
uint32_t Crc32(std::span<const uint8_t> bytes);

} // namespace tamo

#include "core/crc32.h"

#include <array>

namespace tamo {
namespace {

constexpr uint32_t Polynomial = 0xEDB88320u;
constexpr int Slices = 8;

// Table[k][b]: the remainder of byte b followed by k zero bytes, so that eight bytes are
// taken in one step (a 4 MiB image is checked several times a patch).
constexpr std::array<std::array<uint32_t, 256>, Slices> makeTables()
{
    std::array<std::array<uint32_t, 256>, Slices> tables{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t remainder = byte;
        for (int bit = 0; bit < 8; ++bit)
            remainder = (remainder >> 1) ^ ((remainder & 1u) ? Polynomial : 0u);
        tables[0][byte] = remainder;
    }
    for (int slice = 1; slice < Slices; ++slice) {
        for (uint32_t byte = 0; byte < 256; ++byte) {
            const uint32_t previous = tables[slice - 1][byte];
            tables[slice][byte] = (previous >> 8) ^ tables[0][previous & 0xFFu];
        }
    }
    return tables;
}

constexpr auto Tables = makeTables();

} // namespace

uint32_t Crc32(std::span<const uint8_t> bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    const uint8_t *at = bytes.data();
    size_t left = bytes.size();
    for (; left >= Slices; left -= Slices, at += Slices) {
        const uint32_t low = crc ^ (uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16
                                    | uint32_t(at[3]) << 24);
        crc = Tables[7][low & 0xFFu] ^ Tables[6][(low >> 8) & 0xFFu] ^ Tables[5][(low >> 16) & 0xFFu]
              ^ Tables[4][low >> 24] ^ Tables[3][at[4]] ^ Tables[2][at[5]] ^ Tables[1][at[6]]
              ^ Tables[0][at[7]];
    }
    for (; left > 0; --left, ++at)
        crc = (crc >> 8) ^ Tables[0][(crc ^ *at) & 0xFFu];
    return crc ^ 0xFFFFFFFFu;
}

} // namespace tamo

#pragma once

#include "core/patch_error.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tamo::test {

// The CRC-32 of zip, bit by bit as its definition gives it: the tests' own, not the
// program's table-driven one.
inline uint32_t ReferenceCrc32(const std::vector<uint8_t> &bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline std::vector<uint8_t> RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t &byte : bytes)
        byte = uint8_t(random());
    return bytes;
}

// The image with random edits as a stage's work makes them: its first and last bytes and
// 300 scattered ones changed, a run of 70,000 bytes of one value written over it, and,
// by the round, 5,000 bytes of one value added or 4,097 cut off its end.
inline std::vector<uint8_t> RandomlyEdited(std::vector<uint8_t> image, std::mt19937 &random, int round)
{
    image.front() ^= 0xFF;
    image.back() ^= 0x01;
    for (int i = 0; i < 300; ++i)
        image[random() % image.size()] = uint8_t(random());
    std::fill_n(image.begin() + ptrdiff_t(random() % (image.size() / 2)), 70000, uint8_t(round + 7));
    image.resize(image.size() + (round % 3 == 1 ? 5000 : 0) - (round % 3 == 2 ? 4097 : 0), 0x33);
    return image;
}

// The text of the PatchError that work throws; empty when it throws none.
template<typename Work>
std::string PatchErrorText(Work work)
{
    try {
        work();
    } catch (const PatchError &error) {
        return error.what();
    }
    return {};
}

// Patch bytes put together by hand.
struct PatchBytes
{
    std::vector<uint8_t> bytes;

    PatchBytes &text(std::string_view text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    PatchBytes &raw(std::initializer_list<uint8_t> values)
    {
        bytes.insert(bytes.end(), values);
        return *this;
    }
    // A BPS number: seven bits a byte, low first, the last byte's top bit set, one taken
    // off what is left after each byte.
    PatchBytes &number(uint64_t value)
    {
        for (;; --value) {
            const auto low = uint8_t(value & 0x7F);
            value >>= 7;
            if (value == 0) {
                bytes.push_back(uint8_t(0x80 | low));
                return *this;
            }
            bytes.push_back(low);
        }
    }
    PatchBytes &le32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(value >> shift));
        return *this;
    }
    PatchBytes &be(uint32_t value, int length)
    {
        for (int shift = 8 * (length - 1); shift >= 0; shift -= 8)
            bytes.push_back(uint8_t(value >> shift));
        return *this;
    }
    // Ends a BPS patch: the two image CRCs, then its own.
    std::vector<uint8_t> bpsEnd(uint32_t sourceCrc, uint32_t targetCrc)
    {
        le32(sourceCrc).le32(targetCrc);
        return le32(ReferenceCrc32(bytes)).bytes;
    }
};

} // namespace tamo::test

#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tamo {

// How long a Windows BMP file must be to hold its headers and all the pixel data they
// declare, read from the file's bytes: the pixel data starts where the file header says,
// and holds |height| rows of ((width * bits per pixel + 31) / 32) * 4 bytes when it is
// stored uncompressed, or the size the info header gives when it is run-length encoded.
// Bytes that are too short for the headers need the headers' length. Nothing when the
// bytes do not begin a BMP file whose header this knows; the image reader judges those.
std::optional<uint64_t> BmpDeclaredLength(std::span<const uint8_t> file);

} // namespace tamo

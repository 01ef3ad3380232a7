#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace tamo {

// The picture as the bytes of a PNG file. A picture of at most 256 colours (any stage
// picture drawn from a chip bitmap of that many) is written with a palette, one byte a
// pixel, others as 24-bit RGB; each line as its difference from the line above, deflated
// at a level that favours speed. A stage picture repeats its chips line after line, which
// the line differences turn into long runs of zeros: smaller and faster to write than
// Qt's own PNG settings give. Alpha is left out; the resolution is kept. Throws std::runtime_error when it cannot be made.
std::vector<uint8_t> EncodePng(const QImage &picture);

} // namespace tamo

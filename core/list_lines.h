#pragma once

#include <cstdint>
#include <string>

namespace tamo {

struct SpriteRecord;
struct CameraRecord;
struct BananaRecord;

// The list box lines of the three object editors.
std::string SpriteLineText(int index, const SpriteRecord &record, const std::string &name);
std::string CameraLineText(int index, const CameraRecord &record);
std::string BananaLineText(int index, const BananaRecord &record);

// The texts the edit boxes show: "0x" + four (or two) upper-case hex digits, and the
// list offsets as at least six hex digits without prefix.
std::string CodeText(int32_t value, int digits);
std::string OffsetText(int64_t offset);

} // namespace tamo

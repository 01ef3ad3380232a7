#include "core/list_lines.h"

#include "core/integer_syntax.h"
#include "core/object_lists.h"

namespace tamo {

std::string SpriteLineText(int index, const SpriteRecord &record, const std::string &name)
{
    return std::to_string(index) + ":" + hexText(static_cast<uint16_t>(record.Param), 4) + "-"
        + hexText(static_cast<uint16_t>(record.Type), 4) + ":" + name;
}

std::string CameraLineText(int index, const CameraRecord &record)
{
    return std::to_string(index) + ":X=" + std::to_string(record.X) + ",Y=" + std::to_string(record.Y);
}

std::string BananaLineText(int index, const BananaRecord &record)
{
    return std::to_string(index) + ":G=" + hexText(static_cast<uint8_t>(record.Group), 2)
        + ",X=" + std::to_string(record.X) + ",Y=" + std::to_string(record.Y);
}

std::string CodeText(int32_t value, int digits)
{
    return "0x" + hexText(static_cast<uint32_t>(value), digits);
}

std::string OffsetText(int64_t offset)
{
    if (offset < 0)
        return "-" + hexText(static_cast<uint32_t>(-offset), 6);
    return hexText(static_cast<uint32_t>(offset), 6);
}

} // namespace tamo

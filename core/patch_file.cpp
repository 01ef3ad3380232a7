#include "core/patch_file.h"

#include "core/grouped_number.h"
#include "core/ips_patch.h"
#include "core/rom_image.h"

#include <algorithm>
#include <string_view>

namespace tamo {
namespace {

bool startsWith(std::span<const uint8_t> bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

} // namespace

std::string PatchFormatName(PatchFormat format)
{
    return format == PatchFormat::Bps ? "bps" : "ips";
}

std::optional<PatchFormat> PatchFormatForName(const std::filesystem::path &file)
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (extension == ".bps")
        return PatchFormat::Bps;
    if (extension == ".ips")
        return PatchFormat::Ips;
    return std::nullopt;
}

PatchFormat PatchFormatOf(std::span<const uint8_t> patch)
{
    if (startsWith(patch, "BPS1"))
        return PatchFormat::Bps;
    if (startsWith(patch, "PATCH"))
        return PatchFormat::Ips;
    throw PatchError("not a patch: a BPS patch begins with \"BPS1\", an IPS patch with \"PATCH\"");
}

std::vector<uint8_t> MakePatch(PatchFormat format, std::span<const uint8_t> source, std::span<const uint8_t> target)
{
    return format == PatchFormat::Bps ? MakeBpsPatch(source, target) : MakeIpsPatch(source, target);
}

std::vector<uint8_t> ApplyPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source)
{
    return PatchFormatOf(patch) == PatchFormat::Bps ? ApplyBpsPatch(patch, source) : ApplyIpsPatch(patch, source);
}

PatchInfo ReadPatchInfo(std::span<const uint8_t> patch)
{
    PatchInfo info;
    info.format = PatchFormatOf(patch);
    if (info.format == PatchFormat::Bps) {
        info.bps = ReadBpsPatch(patch);
        info.sourceSize = info.bps->sourceSize;
        info.targetSize = info.bps->targetSize;
    } else if (const IpsPatchInfo ips = ReadIpsPatch(patch); ips.truncation) {
        info.targetSize = *ips.truncation;
    }
    return info;
}

PatchedImage PatchImage(const StageSource &base, std::span<const uint8_t> patch)
{
    PatchedImage patched{ApplyPatch(patch, base.rom.bytes()), {}};
    patched.difference = StageExtents(base).compare(patched.bytes);
    return patched;
}

PatchedImage PatchImageKeepingSize(const StageSource &base, std::span<const uint8_t> patch)
{
    PatchedImage patched = PatchImage(base, patch);
    const size_t size = base.rom.bytes().size();
    if (patched.bytes.size() != size) {
        throw PatchError("the patch makes an image of " + GroupedNumber(patched.bytes.size()) + " bytes from one of "
                         + GroupedNumber(size) + ": the image keeps its size here (tamo-cli apply-patch writes such an "
                         "image to a file)");
    }
    return patched;
}

} // namespace tamo

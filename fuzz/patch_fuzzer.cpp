// The BPS and IPS readers on arbitrary patches, and both writers on arbitrary pairs of
// images. The input's first byte chooses the case: the rest taken as a patch as it is, as
// the actions of a BPS patch whose checksums and header are made right (so that the
// action checks are reached), as the records of an IPS patch, or split into two images
// that are made into patches and applied again.
#include "core/bps_patch.h"
#include "core/crc32.h"
#include "core/ips_patch.h"
#include "core/patch_file.h"

#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Targets up to 1 MiB: enough to reach every check, small enough to stay quick.
constexpr uint64_t FuzzTargetLimit = 1 << 20;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

Bytes pattern(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(i * 7 + (i >> 8));
    return bytes;
}

template<typename Work>
auto attempt(Work work) -> std::optional<decltype(work())>
{
    try {
        return work();
    } catch (const tamo::PatchError &) {
        return std::nullopt;
    }
}

// A patch that does not read never applies; one that applies makes the size it says.
void readAndApply(std::span<const uint8_t> patch, const Bytes &source)
{
    const auto info = attempt([&] { return tamo::ReadPatchInfo(patch); });
    const auto target = attempt([&] {
        return tamo::PatchFormatOf(patch) == tamo::PatchFormat::Bps
                   ? tamo::ApplyBpsPatch(patch, source, FuzzTargetLimit)
                   : tamo::ApplyIpsPatch(patch, source);
    });
    if (!target)
        return;
    require(info.has_value());
    if (info->targetSize)
        require(*info->targetSize == target->size());
    if (info->bps)
        require(tamo::Crc32(*target) == info->bps->targetCrc && tamo::Crc32(source) == info->bps->sourceCrc);
}

void bpsActions(std::span<const uint8_t> input)
{
    if (input.size() < 2)
        return;
    const Bytes source = pattern(input[0]);
    Bytes patch{'B', 'P', 'S', '1'};
    tamo::AppendBpsNumber(patch, source.size());
    tamo::AppendBpsNumber(patch, input[1] * 16u);
    tamo::AppendBpsNumber(patch, 0);
    patch.insert(patch.end(), input.begin() + 2, input.end());
    const uint32_t sourceCrc = tamo::Crc32(source);
    for (int shift = 0; shift < 32; shift += 8)
        patch.push_back(uint8_t(sourceCrc >> shift));
    patch.insert(patch.end(), 4, 0); // a target CRC the result will seldom have
    const uint32_t patchCrc = tamo::Crc32(patch);
    for (int shift = 0; shift < 32; shift += 8)
        patch.push_back(uint8_t(patchCrc >> shift));
    readAndApply(patch, source);
}

void roundTrip(std::span<const uint8_t> input)
{
    if (input.empty())
        return;
    const size_t split = std::min<size_t>(input[0] * 16u, input.size() - 1);
    const Bytes source(input.begin() + 1, input.begin() + 1 + ptrdiff_t(split));
    // The target: the source with the rest of the input laid over it from a place it names.
    Bytes target = source;
    const std::span<const uint8_t> rest = input.subspan(1 + split);
    const size_t at = rest.empty() ? 0 : rest[0] * target.size() / 256;
    target.resize(std::max(target.size(), at + rest.size()));
    std::copy(rest.begin(), rest.end(), target.begin() + ptrdiff_t(at));
    if (!rest.empty() && rest[0] % 3 == 0)
        target.resize(target.size() / 2);
    for (const tamo::PatchFormat format : {tamo::PatchFormat::Bps, tamo::PatchFormat::Ips}) {
        const Bytes patch = tamo::MakePatch(format, source, target);
        require(tamo::ApplyPatch(patch, source) == target);
        require(tamo::ReadPatchInfo(patch).format == format);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const std::span<const uint8_t> input(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        readAndApply(input, pattern(64));
        break;
    case 1:
        bpsActions(input);
        break;
    case 2: {
        Bytes patch{'P', 'A', 'T', 'C', 'H'};
        patch.insert(patch.end(), input.begin(), input.end());
        readAndApply(patch, pattern(64));
        break;
    }
    default:
        roundTrip(input);
    }
    return 0;
}

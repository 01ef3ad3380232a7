#include "core/rom_difference.h"

#include "core/rom_error.h"

#include <algorithm>

namespace tamo {

std::vector<ByteRun> DifferingRuns(std::span<const uint8_t> a, std::span<const uint8_t> b, int64_t joinGap)
{
    const int64_t common = int64_t(std::min(a.size(), b.size()));
    const int64_t longest = int64_t(std::max(a.size(), b.size()));
    std::vector<ByteRun> runs;
    const auto differs = [&](int64_t at) { return at >= common || a[size_t(at)] != b[size_t(at)]; };
    for (int64_t at = 0; at < longest; ++at) {
        if (!differs(at))
            continue;
        const int64_t begin = at;
        while (at < longest && differs(at))
            ++at;
        if (!runs.empty() && begin - runs.back().end < std::max<int64_t>(joinGap, 1))
            runs.back().end = at;
        else
            runs.push_back({begin, at});
    }
    return runs;
}

RomPatch DifferencePatch(std::span<const uint8_t> from, std::span<const uint8_t> to, std::string_view what)
{
    if (from.size() != to.size())
        throw RomError(std::string(what) + ": " + std::to_string(to.size()) + " bytes cannot replace "
                       + std::to_string(from.size()));
    RomPatch patch;
    for (const ByteRun &run : DifferingRuns(from, to, PatchJoinGap))
        patch.write(run.begin, to.subspan(size_t(run.begin), size_t(run.end - run.begin)), what);
    return patch;
}

} // namespace tamo

#include "core/chip_replacement.h"

#include "core/chip_uses.h"
#include "core/count_text.h"
#include "core/integer_syntax.h"
#include "core/rom_image.h"

#include <vector>

namespace tamo {

namespace {

constexpr uint16_t HFlip = 0x4000;
constexpr uint16_t VFlip = 0x8000;
// Chip numbers reach 3FFF: three digits hold all but the last quarter of them.
constexpr int ChipDigits = 3;

std::string flipsText(const ChipReplacement &replacement)
{
    if (replacement.keepFlips)
        return {};
    switch (replacement.toWord & FlipBits) {
    case HFlip:
        return " mirrored left-right";
    case VFlip:
        return " mirrored top-bottom";
    case FlipBits:
        return " mirrored both ways";
    default:
        return {};
    }
}

} // namespace

uint16_t ReplacedWord(const ChipReplacement &replacement, uint16_t word)
{
    if ((word & ChipBits) != replacement.fromChip)
        return word;
    if (!replacement.keepFlips)
        return replacement.toWord;
    return static_cast<uint16_t>((word & FlipBits) | (replacement.toWord & ChipBits));
}

ChipReplaceEdit ReplaceChipEdit(const RomImage &rom, std::span<const ByteRun> words,
                                const ChipReplacement &replacement)
{
    ChipReplaceEdit edit;
    // The changed words not yet written, which lie next to each other from changedAt on.
    std::vector<uint8_t> changed;
    int64_t changedAt = 0;
    const auto writeChanged = [&] {
        if (!changed.empty())
            edit.patch.write(changedAt, changed, "tile map cell");
        changed.clear();
    };
    for (const ByteRun &run : words) {
        rom.requireRange(run.begin, run.end - run.begin, "tile map cell");
        for (int64_t at = run.begin; at + 1 < run.end; at += 2) {
            const uint16_t word = rom.readWord(at, "tile map cell");
            const uint16_t replaced = ReplacedWord(replacement, word);
            if (replaced == word)
                continue;
            if (changedAt + int64_t(changed.size()) != at)
                writeChanged();
            if (changed.empty())
                changedAt = at;
            changed.push_back(static_cast<uint8_t>(replaced));
            changed.push_back(static_cast<uint8_t>(replaced >> 8));
            ++edit.cells;
        }
    }
    writeChanged();
    edit.text = ReplaceChipText(replacement, edit.cells);
    return edit;
}

std::string ReplaceChipText(const ChipReplacement &replacement, int64_t cells)
{
    return "Replace chip " + hexText(uint32_t(replacement.fromChip) & ChipBits, ChipDigits) + " by "
        + hexText(replacement.toWord & ChipBits, ChipDigits) + flipsText(replacement) + " in "
        + CountText(cells, "cell");
}

} // namespace tamo

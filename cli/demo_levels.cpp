#include "cli/demo_levels.h"

#include "cli/demo_themes.h"
#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/stage.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamo::cli {

namespace {

constexpr int MapRows = 16;
constexpr int TilemapColumns = 256;
constexpr int NoGround = MapRows;
constexpr int64_t TilemapRegion = 0x100000; // one 64 KiB block per tilemap number from here
constexpr int64_t TilemapRegionSize = 0x10000;
constexpr int32_t SnesBankC0 = 0xC00000;
constexpr int BananaListCount = 10;
constexpr int BananaListsStart = 16; // distance of the first list from Banana2

// A small deterministic generator: the demo set is the same on every run.
class Random
{
public:
    explicit Random(uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int range(int low, int high) { return low + static_cast<int>(next() % uint32_t(high - low + 1)); }
    bool chance(int oneIn) { return next() % uint32_t(oneIn) == 0; }

private:
    uint32_t m_state;
};

// Places consecutive blocks in a region that must not run into the next table.
class RegionCursor
{
public:
    RegionCursor(int64_t start, int64_t limit, const char *what) : m_next(start), m_limit(limit), m_what(what) {}
    int64_t take(int64_t size)
    {
        if (m_next + size > m_limit)
            throw std::logic_error(std::string("demo ROM: the ") + m_what + " do not fit their region");
        const int64_t start = m_next;
        m_next += size;
        return start;
    }

private:
    int64_t m_next;
    int64_t m_limit;
    const char *m_what;
};

// One tile map of screen mode 0: column by column, MapRows words per column.
struct TileMap
{
    std::vector<uint16_t> words = std::vector<uint16_t>(TilemapColumns * MapRows, ChipSky);
    std::array<int, TilemapColumns> groundRow{};

    uint16_t &at(int column, int row) { return words[static_cast<size_t>(column * MapRows + row)]; }
};

void fillSky(TileMap &map)
{
    for (int column = 0; column < TilemapColumns; ++column) {
        for (int row = 0; row < MapRows; ++row)
            map.at(column, row) = row < 7 ? ChipSky : row == 7 ? ChipSkyLow : ChipHorizon;
    }
}

// The ground line: flat runs at changing heights, broken by pits.
void planGround(TileMap &map, Random &random)
{
    int column = 0;
    int height = 12;
    bool lastWasPit = true;
    while (column < TilemapColumns) {
        const bool pit = column > 8 && !lastWasPit && random.chance(5);
        const int length = pit ? random.range(2, 3) : random.range(4, 10);
        if (!pit)
            height = std::clamp(height + random.range(-1, 1), 10, 13);
        for (int i = 0; i < length && column < TilemapColumns; ++i)
            map.groundRow[static_cast<size_t>(column++)] = pit ? NoGround : height;
        lastWasPit = pit;
    }
}

int groundAt(const TileMap &map, int column)
{
    if (column < 0 || column >= TilemapColumns)
        return NoGround;
    return map.groundRow[static_cast<size_t>(column)];
}

void drawGround(TileMap &map, Random &random, bool waterInPits)
{
    for (int column = 0; column < TilemapColumns; ++column) {
        const int top = groundAt(map, column);
        if (top == NoGround) {
            map.at(column, 14) = waterInPits ? ChipWaterTop : ChipSpikes;
            map.at(column, 15) = waterInPits ? ChipWater : ChipGround;
            continue;
        }
        const int leftTop = column == 0 ? top : groundAt(map, column - 1);
        const int rightTop = column == TilemapColumns - 1 ? top : groundAt(map, column + 1);
        const bool leftOpen = leftTop > top;
        const bool rightOpen = rightTop > top;
        uint16_t grass = ChipGrass;
        if (leftOpen)
            grass = ChipGrassEdge;
        else if (rightOpen)
            grass = ChipGrassEdge | TileHFlip;
        map.at(column, top) = grass;
        for (int row = top + 1; row < MapRows; ++row) {
            uint16_t chip = random.chance(6) ? ChipGroundStones : ChipGround;
            if (leftOpen && row <= std::min(leftTop, MapRows - 1))
                chip = ChipGroundSide;
            else if (rightOpen && row <= std::min(rightTop, MapRows - 1))
                chip = ChipGroundSide | TileHFlip;
            map.at(column, row) = chip;
        }
    }
}

bool flatGround(const TileMap &map, int column, int width)
{
    const int top = groundAt(map, column);
    for (int i = 0; i < width; ++i) {
        if (top == NoGround || groundAt(map, column + i) != top)
            return false;
    }
    return true;
}

void drawClouds(TileMap &map, Random &random)
{
    for (int column = 1; column + 1 < TilemapColumns; column += random.range(5, 11)) {
        const int row = random.range(1, 4);
        map.at(column, row) = ChipCloudLeft;
        map.at(column + 1, row) = ChipCloudRight;
    }
    map.at(5, 2) = ChipSun;
}

// A platform of planks with a ladder up to it, or a piece of brick wall with a window.
void drawPlatforms(TileMap &map, Random &random)
{
    for (int column = 6; column + 6 < TilemapColumns; column += random.range(9, 16)) {
        const int below = std::min(groundAt(map, column), 13);
        const int row = below - random.range(3, 4);
        const int length = random.range(3, 5);
        if (random.chance(2)) {
            for (int i = 0; i < length; ++i)
                map.at(column + i, row) = i == length / 2 ? ChipBrickWindow : ChipBrick;
            continue;
        }
        map.at(column, row) = ChipPlatformEnd;
        for (int i = 1; i + 1 < length; ++i)
            map.at(column + i, row) = ChipPlatform;
        map.at(column + length - 1, row) = ChipPlatformEnd | TileHFlip;
        const int ladderColumn = column + 1;
        const int ground = groundAt(map, ladderColumn);
        if (ground != NoGround) {
            for (int r = row + 1; r < ground; ++r)
                map.at(ladderColumn, r) = ChipLadder;
        }
    }
}

bool freeAbove(TileMap &map, int column, int row)
{
    const uint16_t word = row >= 0 ? map.at(column, row) : uint16_t(ChipGround);
    return word == ChipSky || word == ChipSkyLow || word == ChipHorizon;
}

void drawScenery(TileMap &map, Random &random)
{
    for (int column = 1; column + 2 < TilemapColumns; ++column) {
        const int top = groundAt(map, column);
        if (top == NoGround || !freeAbove(map, column, top - 1))
            continue;
        const int pick = random.range(0, 13);
        if (pick == 0 && flatGround(map, column - 1, 3) && freeAbove(map, column, top - 3)) {
            map.at(column, top - 1) = ChipTrunk;
            map.at(column, top - 2) = ChipTrunk;
            map.at(column, top - 3) = ChipLeaves;
        } else if (pick == 1) {
            map.at(column, top - 1) = ChipBush;
        } else if (pick == 2) {
            map.at(column, top - 1) = ChipFlower;
        } else if (pick == 3) {
            map.at(column, top - 1) = ChipRock;
        } else if (pick == 4 && flatGround(map, column, 2) && freeAbove(map, column + 1, top - 1)) {
            map.at(column, top - 1) = ChipHillSlope;
            map.at(column + 1, top - 1) = ChipHillSlope | TileHFlip;
        } else if (pick == 5) {
            map.at(column, top - 1) = ChipCrate;
        }
    }
    map.at(2, groundAt(map, 2) - 1) = ChipSign;
}

// Cave sets get a ceiling: ground hanging from the top, its grass turned upside down.
void drawCeiling(TileMap &map, Random &random)
{
    for (int column = 0; column < TilemapColumns; ++column) {
        const int depth = random.range(1, 2);
        for (int row = 0; row < depth; ++row)
            map.at(column, row) = ChipGround | TileVFlip;
        map.at(column, depth) = ChipGrass | TileVFlip;
        if (random.chance(7))
            map.at(column, depth + 1) = ChipVine;
    }
}

TileMap makeTileMap(int32_t tilemap)
{
    Random random(static_cast<uint32_t>(tilemap));
    TileMap map;
    fillSky(map);
    planGround(map, random);
    const bool cave = tilemap == 2;
    if (cave)
        drawCeiling(map, random);
    else
        drawClouds(map, random);
    drawGround(map, random, tilemap != 2 && tilemap != 4);
    drawPlatforms(map, random);
    drawScenery(map, random);
    // A mailbox at the end of the default stage's view.
    map.at(116, groundAt(map, 116) == NoGround ? 13 : groundAt(map, 116) - 1) = ChipMailbox;
    return map;
}

std::vector<uint8_t> littleEndianWords(const std::vector<uint16_t> &words)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(words.size() * 2);
    for (uint16_t word : words) {
        bytes.push_back(static_cast<uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<uint8_t>(word >> 8));
    }
    return bytes;
}

int64_t tilemapOffset(int32_t tilemap)
{
    return TilemapRegion + int64_t(tilemap) * TilemapRegionSize;
}

// The tile maps and the TileMap pointer table; maps of screen modes 1 and 2 are filled
// plainly, as the editor neither draws nor edits them.
std::vector<TileMap> writeTileMaps(RomImage &rom, const OffsetTable &offsets)
{
    std::vector<TileMap> maps(DemoTilemapCount + 1);
    for (int32_t tilemap = 0; tilemap <= DemoTilemapCount; ++tilemap) {
        const int64_t offset = tilemapOffset(tilemap);
        const uint32_t address = static_cast<uint32_t>(offset + SnesBankC0);
        const std::array<uint8_t, 3> pointer{uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16)};
        rom.write(offsets.TileMap + 3 * tilemap, pointer, "demo tile map pointer");
        if (tilemap == 0 || demoTheme(tilemap).screenMode != 0) {
            const std::vector<uint16_t> plain(TilemapRegionSize / 2, tilemap == 0 ? ChipSky : ChipWater);
            rom.write(offset, littleEndianWords(plain), "demo tile map");
            continue;
        }
        maps[static_cast<size_t>(tilemap)] = makeTileMap(tilemap);
        rom.write(offset, littleEndianWords(maps[static_cast<size_t>(tilemap)].words), "demo tile map");
    }
    return maps;
}

struct StageRange
{
    int32_t tilemapStart = 0;
    int32_t tilemapEnd = 0;
};

StageRange stageRange(int32_t level, int32_t screenMode, Random &random)
{
    if (level == DemoDefaultLevel)
        return {0, 0x0E00}; // 120 x 16 cells
    if (screenMode == 1)
        return {0, 0x0800};
    if (screenMode == 2)
        return {0, random.range(16, 40) * CellSize};
    const int span = random.range(40, 120);
    const int firstColumn = random.range(0, TilemapColumns - 8 - span);
    return {firstColumn * CellSize, (firstColumn + span) * CellSize};
}

int stageColumns(const StageRange &range)
{
    return (range.tilemapEnd - range.tilemapStart) / CellSize + 8;
}

// The first column at or after column that has ground, within the stage's view.
int groundColumn(const TileMap &map, int column, int lastColumn)
{
    while (column < lastColumn && groundAt(map, column) == NoGround)
        ++column;
    return column;
}

struct Point
{
    int32_t x;
    int32_t y; // counted up from the bottom of the map
};

Point standingPoint(const TileMap &map, int column, int lastColumn, int32_t nudge)
{
    const int at = groundColumn(map, column, lastColumn);
    const int top = groundAt(map, at);
    return {at * CellSize + nudge, (MapRows - (top == NoGround ? MapRows : top)) * CellSize};
}

std::vector<uint8_t> spriteListBytes(const std::vector<SpriteRecord> &records)
{
    std::vector<uint8_t> bytes;
    for (const SpriteRecord &record : records) {
        for (int32_t field : {record.Param, record.X, record.Y, record.Type}) {
            bytes.push_back(static_cast<uint8_t>(field & 0xFF));
            bytes.push_back(static_cast<uint8_t>((field >> 8) & 0xFF));
        }
    }
    bytes.resize(bytes.size() + SpriteRecordSize, 0); // the terminating record
    return bytes;
}

std::vector<SpriteRecord> stageSprites(const TileMap *map, const StageRange &range, Random &random)
{
    const QList<DemoSpriteKind> &kinds = demoSpriteKinds();
    const int count = random.range(4, 9);
    const int firstColumn = range.tilemapStart / CellSize;
    const int lastColumn = firstColumn + stageColumns(range) - 1;
    std::vector<SpriteRecord> records;
    for (int i = 0; i < count; ++i) {
        const DemoSpriteKind &kind = kinds[random.range(0, static_cast<int>(kinds.size()) - 1)];
        Point point{random.range(0, 63) * CellSize, random.range(1, 300) * 8};
        if (map) {
            const int column = firstColumn + 4 + (lastColumn - firstColumn - 6) * i / count;
            point = standingPoint(*map, column, lastColumn, random.range(0, 3) * 8);
            if (kind.param == 0x0003)
                point.y += 64; // flying kinds hover
        }
        records.push_back({kind.param, point.x, point.y, kind.type});
    }
    return records;
}

std::vector<uint8_t> cameraBlockBytes(const StageRange &range, int32_t level, Random &random)
{
    std::vector<uint16_t> words{static_cast<uint16_t>(range.tilemapStart),
                                static_cast<uint16_t>(range.tilemapEnd),
                                static_cast<uint16_t>(0x5A00 | level), 0xA55A};
    const int count = random.range(2, 4);
    const int width = stageColumns(range) * CellSize;
    for (int i = 0; i < count; ++i) {
        words.push_back(static_cast<uint16_t>(range.tilemapStart + width * i / count + 32));
        words.push_back(static_cast<uint16_t>(random.range(2, 6) * 32));
    }
    words.push_back(0xFFFF);
    words.push_back(0xFFFF);
    return littleEndianWords(words);
}

std::vector<uint8_t> bananaListBytes(int list)
{
    std::vector<uint8_t> bytes;
    const int count = 2 + list % 3;
    for (int i = 0; i < count; ++i) {
        const int x = 160 + i * 96 + list * 16;
        bytes.push_back(static_cast<uint8_t>(1 + (i + list) % 3));
        bytes.push_back(static_cast<uint8_t>(48 + (i * 37 + list * 11) % 160));
        bytes.push_back(static_cast<uint8_t>(x & 0xFF));
        bytes.push_back(static_cast<uint8_t>(x >> 8));
    }
    bytes.resize(bytes.size() + BananaRecordSize, 0);
    return bytes;
}

// The banana lists follow their distance bytes at Banana2; each stage picks one by index.
void writeBananaLists(RomImage &rom, const OffsetTable &offsets)
{
    int64_t distance = BananaListsStart;
    for (int list = 0; list < BananaListCount; ++list) {
        if (distance > 0xFF)
            throw std::logic_error("demo ROM: the banana lists do not fit their region");
        rom.writeByte(offsets.Banana2 + list, static_cast<uint32_t>(distance), "demo banana distance");
        const std::vector<uint8_t> bytes = bananaListBytes(list);
        rom.write(offsets.Banana2 + distance, bytes, "demo banana list");
        distance += static_cast<int64_t>(bytes.size());
    }
    for (int32_t level = 0; level < LevelCount; ++level)
        rom.writeByte(offsets.Banana + level, static_cast<uint32_t>(level % BananaListCount), "demo banana index");
}

void writeSettings(RomImage &rom, const OffsetTable &offsets, int32_t level, uint16_t fgWord)
{
    auto pick = [level](const QList<DemoNamedValue> &list) {
        return static_cast<uint32_t>(list[level % list.size()].value);
    };
    rom.writeWord(offsets.FG + 2 * level, fgWord, "demo FG");
    rom.writeWord(offsets.BG + 2 * level, pick(demoBackgrounds()), "demo BG");
    rom.writeWord(offsets.Music + 2 * level, pick(demoMusic()), "demo music");
    rom.writeDword(offsets.LevelFunc + 4 * level, pick(demoFunctions()), "demo function");
    rom.writeWord(offsets.StartAction + 2 * level, pick(demoStartActions()), "demo start action");
    const std::array<uint8_t, 4> darkness{static_cast<uint8_t>(level * 37), static_cast<uint8_t>(level % 16),
                                          static_cast<uint8_t>(level % 8), 0x5A};
    rom.write(offsets.Darkness + 4 * level, darkness, "demo darkness");
}

} // namespace

DemoForeground demoStageForeground(int32_t level)
{
    const QList<DemoForeground> &foregrounds = demoForegrounds();
    auto find = [&](int32_t tilemap) {
        for (const DemoForeground &foreground : foregrounds) {
            if (foreground.tilemap == tilemap)
                return foreground;
        }
        throw std::logic_error("demo set: no FG word for tilemap " + std::to_string(tilemap));
    };
    if (level == DemoDefaultLevel)
        return foregrounds[0];
    if (level % 40 == 7)
        return find(7); // screen mode 1
    if (level % 40 == 8)
        return find(8); // screen mode 2
    QList<DemoForeground> modeZero;
    for (const DemoForeground &foreground : foregrounds) {
        if (demoTheme(foreground.tilemap).screenMode == 0)
            modeZero.append(foreground);
    }
    return modeZero[level % modeZero.size()];
}

RomImage buildDemoRom()
{
    const OffsetTable offsets;
    RomImage rom(std::vector<uint8_t>(static_cast<size_t>(DemoRomSize), 0));
    const std::vector<TileMap> maps = writeTileMaps(rom, offsets);
    writeBananaLists(rom, offsets);

    RegionCursor cameraBlocks(offsets.BaseCamera + 0x1000, offsets.Camera, "camera blocks");
    RegionCursor spriteLists(offsets.BaseSprite + 0x1000, offsets.Sprite, "sprite lists");
    for (int32_t level = 0; level < LevelCount; ++level) {
        Random random(0x1000u + static_cast<uint32_t>(level));
        const DemoForeground foreground = demoStageForeground(level);
        const int32_t mode = demoTheme(foreground.tilemap).screenMode;
        const TileMap *map = mode == 0 ? &maps[static_cast<size_t>(foreground.tilemap)] : nullptr;
        const StageRange range = stageRange(level, mode, random);
        writeSettings(rom, offsets, level, foreground.fgWord);

        const std::vector<uint8_t> block = cameraBlockBytes(range, level, random);
        const int64_t blockOffset = cameraBlocks.take(static_cast<int64_t>(block.size()));
        rom.write(blockOffset, block, "demo camera block");
        rom.writeWord(offsets.Camera + 2 * level, static_cast<uint32_t>(blockOffset - offsets.BaseCamera + 4),
                      "demo camera pointer");

        const std::vector<uint8_t> sprites = spriteListBytes(stageSprites(map, range, random));
        const int64_t listOffset = spriteLists.take(static_cast<int64_t>(sprites.size()));
        rom.write(listOffset, sprites, "demo sprite list");
        rom.writeWord(offsets.Sprite + 2 * level, static_cast<uint32_t>(listOffset - offsets.BaseSprite),
                      "demo sprite pointer");

        const int firstColumn = range.tilemapStart / CellSize;
        const Point start = map ? standingPoint(*map, firstColumn + 2, firstColumn + stageColumns(range) - 1, 8)
                                : Point{64, 64};
        rom.writeWord(offsets.StartPoint + 4 * level, static_cast<uint32_t>(start.x), "demo start X");
        rom.writeWord(offsets.StartPoint + 4 * level + 2, static_cast<uint32_t>(start.y), "demo start Y");
    }
    return rom;
}

} // namespace tamo::cli

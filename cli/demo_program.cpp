#include "cli/demo_program.h"

#include "cli/demo_levels.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tamo::cli {

namespace {

// LoROM shows each 32 KiB of the file at $8000-$FFFF of a bank; bank $00 is the first 32 KiB,
// where the CPU finds its vectors and the emulators the header.
constexpr int64_t BankSize = 0x8000;
constexpr uint16_t BankStart = 0x8000;
constexpr int64_t HeaderOffset = 0x7FC0;   // $00:FFC0
constexpr int64_t ChecksumOffset = 0x7FDC; // the complement, then the checksum
constexpr int64_t VectorsOffset = 0x7FE0;  // $00:FFE0, native vectors then emulation vectors
constexpr int64_t ResetVectorOffset = 0x7FFC;
constexpr int VectorCount = 16;

constexpr std::string_view Title = "TAMO DEMO";
constexpr size_t TitleLength = 21; // padded with blanks
constexpr uint8_t MapModeLoRom = 0x20;
constexpr uint8_t RomOnly = 0x00;
constexpr uint8_t RomSize4MiB = 0x0C; // 2^12 KiB
constexpr uint8_t NoSram = 0x00;
constexpr uint8_t RegionNorthAmerica = 0x01; // 60 Hz

constexpr uint16_t bgr555(int red, int green, int blue)
{
    return static_cast<uint16_t>(red | green << 5 | blue << 10);
}
constexpr uint16_t Backdrop = bgr555(3, 10, 20); // deep blue
constexpr uint16_t Ink = bgr555(31, 29, 12);     // pale yellow

// VRAM words: the letters' tiles from word 0, BG1's 32 x 32 map at $0400-$07FF.
constexpr uint16_t MapWord = 0x0400;
constexpr uint16_t MapEnd = 0x0800;
constexpr uint16_t TextCell = MapWord + 13 * 32 + 11; // row 13, column 11: mid-screen

// Our own 8 x 8 letters, one bit a pixel, the leftmost in bit 7. The first one is the
// blank, tile 0, which fills the rest of the map.
struct Glyph
{
    char letter;
    std::array<std::string_view, 8> rows;
};
constexpr std::array<Glyph, 7> Font{{
    {' ', {"........", "........", "........", "........", "........", "........", "........", "........"}},
    {'T', {"#######.", "#######.", "..###...", "..###...", "..###...", "..###...", "..###...", "........"}},
    {'A', {"..###...", ".##.##..", "##...##.", "##...##.", "#######.", "##...##.", "##...##.", "........"}},
    {'M', {"##...##.", "###.###.", "#######.", "##.#.##.", "##...##.", "##...##.", "##...##.", "........"}},
    {'O', {"..###...", ".##.##..", "##...##.", "##...##.", "##...##.", ".##.##..", "..###...", "........"}},
    {'D', {"#####...", "##..##..", "##...##.", "##...##.", "##...##.", "##..##..", "#####...", "........"}},
    {'E', {"#######.", "##....#.", "##......", "#####...", "##......", "##....#.", "#######.", "........"}},
}};

std::vector<uint8_t> fontBytes()
{
    std::vector<uint8_t> bytes;
    for (const Glyph &glyph : Font) {
        for (std::string_view row : glyph.rows) {
            uint8_t bits = 0;
            for (char pixel : row)
                bits = static_cast<uint8_t>(bits << 1 | (pixel == '#'));
            bytes.push_back(bits);
        }
    }
    return bytes;
}

// The tile number of each letter of the title: its place in the font.
std::vector<uint8_t> titleTiles()
{
    std::vector<uint8_t> tiles;
    for (char letter : Title) {
        const auto glyph = std::find_if(Font.begin(), Font.end(), [&](const Glyph &g) { return g.letter == letter; });
        if (glyph == Font.end())
            throw std::logic_error(std::string("demo program: no letter ") + letter + " in the font");
        tiles.push_back(static_cast<uint8_t>(glyph - Font.begin()));
    }
    return tiles;
}

uint8_t low(uint32_t value)
{
    return static_cast<uint8_t>(value);
}
uint8_t high(uint32_t value)
{
    return static_cast<uint8_t>(value >> 8);
}

// The reset routine, hand-assembled for the 65C816, and after it the RTI every other
// interrupt lands on. A is 8 bits and X 16 bits wide after the first lines.
std::vector<uint8_t> resetRoutine(uint16_t font, uint16_t fontSize, uint16_t text, uint16_t textSize)
{
    return {
        0x78,                             // sei            no interrupts
        0x18,                             // clc
        0xFB,                             // xce            native mode
        0xC2, 0x38,                       // rep #$38       16-bit A, X and Y, binary arithmetic
        0xA2, 0xFF, 0x1F,                 // ldx #$1FFF
        0x9A,                             // txs            stack at the top of the low 8 KiB of RAM
        0xA9, 0x00, 0x00,                 // lda #$0000
        0x5B,                             // tcd            direct page 0
        0xE2, 0x20,                       // sep #$20       8-bit A
        0x48,                             // pha
        0xAB,                             // plb            data bank 0: the registers and this bank
        0xA9, 0x8F,                       // lda #$8F
        0x8D, 0x00, 0x21,                 // sta $2100      INIDISP: forced blank while setting up
        0x9C, 0x00, 0x42,                 // stz $4200      NMITIMEN: no NMI, no timer IRQ
        0x9C, 0x0C, 0x42,                 // stz $420C      HDMAEN: no HDMA
        0xA2, 0x33, 0x00,                 // ldx #$0033
        0x9E, 0x00, 0x21,                 // clear: stz $2100,x   PPU registers $2133 down to $2101,
        0x9E, 0x00, 0x21,                 // stz $2100,x    twice for the write-twice ones: mode 0,
        0xCA,                             // dex            no scroll, windows or colour math
        0xD0, 0xF7,                       // bne clear
        0xA9, 0x04,                       // lda #$04
        0x8D, 0x07, 0x21,                 // sta $2107      BG1SC: BG1's map at word $0400, 32 x 32
        0xA9, 0x01,                       // lda #$01
        0x8D, 0x2C, 0x21,                 // sta $212C      TM: BG1 on the main screen
        0xA9, 0x80,                       // lda #$80
        0x8D, 0x15, 0x21,                 // sta $2115      VMAIN: next word after the high byte
        0xA2, 0x00, 0x00,                 // ldx #$0000
        0x8E, 0x16, 0x21,                 // stx $2116      VMADD: word 0, BG1's first tile
        0xBD, low(font), high(font),      // glyphs: lda font,x   a row of a letter
        0x8D, 0x18, 0x21,                 // sta $2118      VMDATAL: as bit plane 0
        0x9C, 0x19, 0x21,                 // stz $2119      VMDATAH: plane 1 clear, so colour 1
        0xE8,                             // inx
        0xE0, low(fontSize), high(fontSize), // cpx #fontSize
        0xD0, 0xF1,                       // bne glyphs
        0x9C, 0x18, 0x21,                 // blank: stz $2118     X is the VRAM word: zero the tiles
        0x9C, 0x19, 0x21,                 // stz $2119      after the font and the whole map,
        0xE8,                             // inx            whose cells become the blank letter
        0xE0, low(MapEnd), high(MapEnd),  // cpx #MapEnd
        0xD0, 0xF4,                       // bne blank
        0xA2, low(TextCell), high(TextCell), // ldx #TextCell
        0x8E, 0x16, 0x21,                 // stx $2116      VMADD: the cell of the first letter
        0xA2, 0x00, 0x00,                 // ldx #$0000
        0xBD, low(text), high(text),      // letters: lda text,x  a letter's tile number
        0x8D, 0x18, 0x21,                 // sta $2118
        0x9C, 0x19, 0x21,                 // stz $2119      palette 0, no flips
        0xE8,                             // inx
        0xE0, low(textSize), high(textSize), // cpx #textSize
        0xD0, 0xF1,                       // bne letters
        0x9C, 0x21, 0x21,                 // stz $2121      CGADD: colour 0
        0xA9, low(Backdrop),              // lda #<Backdrop
        0x8D, 0x22, 0x21,                 // sta $2122      CGDATA
        0xA9, high(Backdrop),             // lda #>Backdrop
        0x8D, 0x22, 0x21,                 // sta $2122      colour 0 is the backdrop
        0xA9, low(Ink),                   // lda #<Ink
        0x8D, 0x22, 0x21,                 // sta $2122
        0xA9, high(Ink),                  // lda #>Ink
        0x8D, 0x22, 0x21,                 // sta $2122      colour 1, the letters
        0xA9, 0x0F,                       // lda #$0F
        0x8D, 0x00, 0x21,                 // sta $2100      INIDISP: screen on, full brightness
        0x80, 0xFE,                       // forever: bra forever
        0x40,                             // rti            NMI, IRQ, BRK, COP and ABORT
    };
}

void requireBlankBank(const RomImage &rom)
{
    rom.requireRange(0, BankSize, "demo program");
    const auto bank = rom.bytes().begin();
    if (std::any_of(bank, bank + BankSize, [](uint8_t byte) { return byte != 0; }))
        throw std::logic_error("demo ROM: the program's bank holds stage data");
}

void writeHeader(RomImage &rom)
{
    if (rom.size() != DemoRomSize)
        throw std::logic_error("demo ROM: the header is written for 4 MiB");
    std::vector<uint8_t> header(Title.begin(), Title.end());
    header.resize(TitleLength, ' ');
    constexpr uint8_t NoMaker = 0x00;
    constexpr uint8_t Version = 0x00;
    header.insert(header.end(), {MapModeLoRom, RomOnly, RomSize4MiB, NoSram, RegionNorthAmerica, NoMaker, Version});
    rom.write(HeaderOffset, header, "demo header");
}

// Every vector leads to the RTI but the emulation-mode reset, which starts the CPU.
void writeVectors(RomImage &rom, uint16_t reset, uint16_t returnFromInterrupt)
{
    for (int i = 0; i < VectorCount; ++i)
        rom.writeWord(VectorsOffset + 2 * i, returnFromInterrupt, "demo vector");
    rom.writeWord(ResetVectorOffset, reset, "demo reset vector");
}

// The sum of all bytes, taken with the complement and checksum words reading $FFFF and 0,
// whose four bytes add up to $1FE whatever checksum they then hold.
void writeChecksum(RomImage &rom)
{
    rom.writeWord(ChecksumOffset, 0xFFFF, "demo checksum complement");
    rom.writeWord(ChecksumOffset + 2, 0x0000, "demo checksum");
    const uint32_t sum = std::accumulate(rom.bytes().begin(), rom.bytes().end(), uint32_t(0));
    rom.writeWord(ChecksumOffset, ~sum, "demo checksum complement");
    rom.writeWord(ChecksumOffset + 2, sum, "demo checksum");
}

uint16_t bankAddress(int64_t offset)
{
    return static_cast<uint16_t>(BankStart + offset);
}

} // namespace

void writeDemoProgram(RomImage &rom)
{
    requireBlankBank(rom);
    const std::vector<uint8_t> font = fontBytes();
    const std::vector<uint8_t> text = titleTiles();
    const int64_t textOffset = static_cast<int64_t>(font.size());
    const int64_t routineOffset = textOffset + static_cast<int64_t>(text.size());
    const std::vector<uint8_t> routine =
        resetRoutine(bankAddress(0), static_cast<uint16_t>(font.size()), bankAddress(textOffset),
                     static_cast<uint16_t>(text.size()));
    rom.write(0, font, "demo font");
    rom.write(textOffset, text, "demo text");
    rom.write(routineOffset, routine, "demo reset routine");
    writeHeader(rom);
    writeVectors(rom, bankAddress(routineOffset),
                 bankAddress(routineOffset + static_cast<int64_t>(routine.size()) - 1));
    writeChecksum(rom);
}

} // namespace tamo::cli

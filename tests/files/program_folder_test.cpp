#include "files/program_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, NamesEveryFixedPlaceBelowTheFolder)
{
    const std::filesystem::path dir = "/opt/tamo";
    const tamo::ProgramFolder folder(dir);
    EXPECT_EQ(folder.offsetsIni(), dir / "Data" / "offsets.ini");
    EXPECT_EQ(folder.spriteIni(), dir / "Data" / "sprite.ini");
    EXPECT_EQ(folder.markBitmap(), dir / "Data" / "mark.bmp");
    EXPECT_EQ(folder.applicationIni(), dir / "Config" / "application.ini");
    EXPECT_EQ(folder.recoveryFolder(), dir / "Config" / "recovery");
    EXPECT_EQ(folder.backupsFolder(), dir / "Backups");
}

TEST(ProgramFolder, ChipBitmapIsNumberedInDecimal)
{
    const std::filesystem::path dir = "/opt/tamo";
    const tamo::ProgramFolder folder(dir);
    EXPECT_EQ(folder.chipBitmap(12), dir / "Data" / "chip12.bmp");
    EXPECT_EQ(folder.chipBitmap(0), dir / "Data" / "chip0.bmp");
    EXPECT_EQ(tamo::ProgramFolder::chipBitmapName(12), "Data/chip12.bmp");
}

} // namespace

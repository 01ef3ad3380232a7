#include "core/stage.h"
#include "core/stage_records.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::test::TestRom;

TEST(StageRecords, SharedListsBelongToTheLowestStageAndStagesOutsideAreLeftOut)
{
    TestRom rom(0x3000);
    tamo::OffsetTable &o = rom.offsets;
    // Every stage's banana index is 0, its distance 0x20: one list at 0x1520 with a record.
    rom.byte(o.Banana2, 0x20);
    rom.byte(o.Banana2 + 0x20, 4);
    // Stages 8 and 3 share a sprite list at 0x2100; the others share the one at 0x2000.
    rom.word(o.Sprite + 2 * 8, 0x0100);
    rom.word(o.Sprite + 2 * 3, 0x0100);
    // The camera list of pointer 0 ends at once; stage 6's camera block lies past the image.
    rom.word(o.BaseCamera + 4, 0xFFFF);
    rom.word(o.Camera + 2 * 6, 0x2800);

    const tamo::ImageStages image = ReadStageRecords(rom.image(), o);
    ASSERT_EQ(image.stages.size(), size_t(tamo::LevelCount - 1));
    ASSERT_EQ(image.leftOut.size(), 1u);
    EXPECT_TRUE(image.leftOut[0].starts_with("stage 6: Camera block: offset 0x0037FC")) << image.leftOut[0];
    const tamo::StageRecords &eight = image.stages[7]; // stage 6 has none
    ASSERT_EQ(eight.level, 8);
    EXPECT_EQ(eight.sprites.offset, 0x2100);
    EXPECT_EQ(eight.sprites.owner, 3);
    EXPECT_EQ(image.stages[3].sprites.owner, 3);
    EXPECT_EQ(eight.bananas.owner, 0);
    EXPECT_EQ(eight.bananas.records.size(), 1u);
    EXPECT_EQ(eight.cameras.owner, 0);
}

// The generated data files: every sprite and picture tile decodes, the fonts build from them, and each broken
// variant gives its error.
#include "graphics/graphics.h"

#include "tests/graphics/GraphicsTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string Data = EBRUN_DATA_DIR;
const std::string Broken = EBRUN_DATA_DIR "/broken/";

class DataFiles : public ::testing::Test {
protected:
    void TearDown() override { ExitGraphics(); }
    uint8_t Buffer[3072];
};

} // namespace

TEST_F(DataFiles, EverySpriteAndTileDecodesAndTheFontsBuild) {
    OpenSpriteFile((Data + "/Ebrun.spr").c_str());
    OpenPictureFile((Data + "/Ebrun.pic").c_str());
    ASSERT_GT(GetNumberOfSprites(), 100);
    ASSERT_GE(GetNumberOfPictures(), 8);
    for (int32_t s = 1; s <= GetNumberOfSprites(); s++)
        LoadSprite(s, Buffer);
    for (int32_t p = 1; p <= GetNumberOfPictures(); p++)
        for (int32_t ty = 0; ty < GetPictureEntry(p).TilesY; ty++)
            for (int32_t tx = 0; tx < GetPictureEntry(p).TilesX; tx++)
                LoadPictureTile(p, tx, ty, Buffer);
    InitMemoryCache(10485760);
    InitFonts();
    for (int32_t Font = 1; Font <= NumberOfFonts; Font++) {
        EXPECT_GT(GetFontHeight(Font), 4) << Font;
        EXPECT_GT(GetStringWidth(Font, "Pellarune"), GetStringWidth(Font, "Pell")) << Font;
    }
    EXPECT_GE(GetPictureEntry(SKIN_PICTURE).TilesX * 32, 352);
    EXPECT_GE(GetPictureEntry(SKIN_PICTURE).TilesY * 32, 272);
}

TEST_F(DataFiles, BrokenVariantsAreRefusedWithTheirCodes) {
    EXPECT_EQ(ProgramErrorOf([] { OpenSpriteFile((Broken + "spr-truncated-table.spr").c_str()); }), 2);
    EXPECT_EQ(ProgramErrorOf([] { OpenPictureFile((Broken + "pic-truncated-table.pic").c_str()); }), 3);

    // Decodes every sprite and tile of a file and answers the first error code.
    auto FirstSpriteError = [&](const std::string& Name) {
        OpenSpriteFile((Broken + Name).c_str());
        for (int32_t s = 1; s <= GetNumberOfSprites(); s++)
            if (int32_t Code = ProgramErrorOf([&] { LoadSprite(s, Buffer); })) return Code;
        return 0;
    };
    auto FirstTileError = [&](const std::string& Name) {
        OpenPictureFile((Broken + Name).c_str());
        for (int32_t p = 1; p <= GetNumberOfPictures(); p++)
            for (int32_t t = 0; t < GetPictureEntry(p).TilesX * GetPictureEntry(p).TilesY; t++) {
                const int32_t tx = t % GetPictureEntry(p).TilesX, ty = t / GetPictureEntry(p).TilesX;
                if (int32_t Code = ProgramErrorOf([&] { LoadPictureTile(p, tx, ty, Buffer); })) return Code;
            }
        return 0;
    };
    EXPECT_EQ(FirstSpriteError("spr-offset-past-end.spr"), 4);
    EXPECT_EQ(FirstSpriteError("spr-run-past-tile.spr"), 4);
    EXPECT_EQ(FirstTileError("pic-offset-past-end.pic"), 5);
    EXPECT_EQ(FirstTileError("pic-run-past-tile.pic"), 5);
}

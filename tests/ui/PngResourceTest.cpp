#include "common/Errors.h"
#include "ui/PngResource.h"

#include <gtest/gtest.h>

TEST(PngResource, SkinImagesLoadOpaqueAtTheirSizes) {
    const struct {
        const wchar_t* Name;
        int Width;
        int Height;
    } images[] = {{L"BACKGROUND", 128, 128}, {L"MAIN", 958, 472},       {L"LOGO", 72, 70},
                  {L"TITLE_PNL_L", 22, 100}, {L"TITLE_PNL_R", 22, 100}, {L"TITLE_PNL_M", 1, 100},
                  {L"TITLE2", 500, 66}};
    for (const auto& image : images) {
        TBitmap32 bitmap;
        LoadPngResource(bitmap, image.Name);
        EXPECT_EQ(bitmap.Width(), image.Width) << image.Name;
        EXPECT_EQ(bitmap.Height(), image.Height) << image.Name;
        for (int y = 0; y < bitmap.Height(); ++y) {
            for (int x = 0; x < bitmap.Width(); ++x) {
                ASSERT_EQ(bitmap.Pixel(x, y) >> 24, 0xFFu) << image.Name << " " << x << "," << y;
            }
        }
    }
}

TEST(PngResource, PixelsAreBlendedOverWhite) {
    TBitmap32 title;
    LoadPngResource(title, L"TITLE2");
    EXPECT_EQ(title.Pixel(0, 0), 0xFFECECEBu); // RGB image: taken as it is

    TBitmap32 left;
    LoadPngResource(left, L"TITLE_PNL_L");
    EXPECT_EQ(left.Pixel(0, 0), 0xFFFFFFFFu); // fully transparent: white

    // MAIN's shadow at (9, 236) is black with alpha 24: a light grey over white.
    TBitmap32 panels;
    LoadPngResource(panels, L"MAIN");
    const std::uint32_t shadow = panels.Pixel(9, 236);
    EXPECT_NEAR(int(shadow & 0xFF), 255 - 24, 1);
    EXPECT_EQ(shadow & 0xFF, (shadow >> 8) & 0xFF);
    EXPECT_EQ(shadow & 0xFF, (shadow >> 16) & 0xFF);

    TBitmap32 raw;
    DecodePngResource(raw, L"TITLE_PNL_L");
    EXPECT_EQ(raw.Pixel(0, 0), 0u); // the undecorated decode keeps the transparency
}

TEST(PngResource, MissingOrBrokenResourceRaises) {
    TBitmap32 bitmap;
    EXPECT_THROW(LoadPngResource(bitmap, L"NO_SUCH_IMAGE"), EError);
    EXPECT_THROW(LoadPngResource(bitmap, L"INFO"), EError); // an RTF document, not a PNG
    EXPECT_TRUE(bitmap.Empty());
}

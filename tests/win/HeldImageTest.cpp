// The held image's memory is the 24-bit bottom-up layout the file writers
// read: stride rounded to 4 bytes, white when made, the top screen row last.
#include "output/HeldImage.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

TEST(HeldImage, LayoutIsBottomUpBgrWithRowsPaddedToFourBytes) {
    const struct {
        std::int32_t width;
        std::size_t stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {626, 1880}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        output::HeldImage image;
        image.SetSize(c.width, 3);
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectW(image.Bitmap(), sizeof section, &section), int(sizeof section));
        EXPECT_EQ(std::size_t(section.dsBm.bmWidthBytes), c.stride);
        EXPECT_EQ(section.dsBmih.biBitCount, 24);
        EXPECT_GT(section.dsBmih.biHeight, 0) << "rows must be stored bottom-up";
        EXPECT_EQ(section.dsBmih.biSizeImage, c.stride * 3);
        EXPECT_EQ(output::DibStride(c.width), c.stride);

        // Red at the top-right pixel lands in the last stored row.
        ::SetPixelV(image.DrawingDc(), c.width - 1, 0, RGB(255, 0, 0));
        const output::ImageView view = image.View();
        const std::uint8_t* topRow = view.bits + c.stride * 2;
        const std::uint8_t* pixel = topRow + std::size_t(c.width - 1) * 3;
        EXPECT_EQ(pixel[0], 0);
        EXPECT_EQ(pixel[1], 0);
        EXPECT_EQ(pixel[2], 255);
        // Everything else is white.
        EXPECT_EQ(view.bits[0], 255);
        EXPECT_EQ(view.bits[c.stride + 1], 255);
    }
}

TEST(HeldImage, AnEmptySideMeansNoStorage) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
        output::HeldImage image;
        image.SetSize(w, h);
        EXPECT_TRUE(image.Empty());
        EXPECT_FALSE(image.HasPixels());
        EXPECT_EQ(image.Width(), w);
        EXPECT_EQ(image.Height(), h);
        EXPECT_NE(image.DrawingDc(), nullptr);
    }
}

TEST(HeldImage, ImagesAndTheirGdiObjectsAreCounted) {
    output::SpareImageStorage spare;
    const long images = output::HeldImage::LiveCount();
    const long bitmaps = platform::UniqueHbitmap::Live();
    const long dcs = platform::UniqueHdc::Live();
    {
        output::HeldImage image(&spare);
        image.SetSize(10, 10);
        ::PatBlt(image.DrawingDc(), 0, 0, 10, 10, BLACKNESS);
        EXPECT_EQ(output::HeldImage::LiveCount(), images + 1);
        EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1);
        EXPECT_EQ(platform::UniqueHdc::Live(), dcs + 1);
    }
    EXPECT_EQ(output::HeldImage::LiveCount(), images);
    EXPECT_EQ(platform::UniqueHdc::Live(), dcs);
    // The released image's storage is kept for the next one of its size.
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1);
    EXPECT_FALSE(spare.Empty());
    {
        output::HeldImage next(&spare);
        next.SetSize(10, 10);
        EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1) << "the spare is used again";
        EXPECT_TRUE(spare.Empty()) << "the image took the spare's storage";
        const output::ImageView view = next.View();
        EXPECT_EQ(view.bits[0], 255) << "white when made, whatever the spare held";
    }
    spare.Clear();
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
}

TEST(HeldImage, ASpareOfAnotherSizeGoesAndAnImageWithoutOneKeepsNothing) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    {
        output::SpareImageStorage spare;
        { output::HeldImage(&spare).SetSize(10, 10); }
        ASSERT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1);
        {
            output::HeldImage other(&spare);
            other.SetSize(11, 10);
            EXPECT_TRUE(spare.Empty());
            EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1) << "one storage at a time";
        }
        EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1);
    }
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps) << "the spare's owner frees it";
    { output::HeldImage(nullptr).SetSize(10, 10); }
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
}

TEST(HeldImage, StorageThatCannotBeHadIsAnErrorNotACrash) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    output::HeldImage image;
    try {
        // Beyond what a DIB's 32-bit size field can describe.
        image.SetSize(70000, 70000);
        FAIL() << "no error for a 14.7 GB image";
    } catch (const platform::Error& error) {
        EXPECT_EQ(error.Message(), L"システム リソース不足です");
    }
    EXPECT_FALSE(image.HasPixels());
    EXPECT_EQ(image.Width(), 70000) << "the image keeps its size without storage";
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
}

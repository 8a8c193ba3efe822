// The one maker of the program's pixel bitmaps and the one policy for
// keeping them: the layout asked for is the layout made, a size no bitmap can
// describe is the resource error, and a kept section is used again for its
// own size only, the old one freed before a new one is made.
#include "platform/DibSection.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

TEST(DibSection, HasTheDepthRowOrderAndStrideAskedFor) {
    const struct {
        std::int32_t width;
        std::int32_t height;
        std::uint16_t bitsPerPixel;
        platform::RowOrder order;
        LONG stride;
    } cases[] = {
        {1, 3, 24, platform::RowOrder::BottomUp, 4},
        {5, 2, 24, platform::RowOrder::BottomUp, 16},
        {5, 2, 32, platform::RowOrder::BottomUp, 20},
        {7, 4, 32, platform::RowOrder::TopDown, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.bitsPerPixel);
        const platform::DibSection section =
            platform::MakeDibSection(c.width, c.height, c.bitsPerPixel, c.order);
        ASSERT_TRUE(section);
        EXPECT_EQ(section.width, c.width);
        EXPECT_EQ(section.height, c.height);
        DIBSECTION info{};
        ASSERT_EQ(::GetObjectW(section.bitmap.get(), sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.dsBm.bmBits, section.bits);
        EXPECT_EQ(info.dsBm.bmWidthBytes, c.stride);
        EXPECT_EQ(info.dsBmih.biBitCount, c.bitsPerPixel);
        EXPECT_EQ(info.dsBmih.biSizeImage, DWORD(c.stride * c.height));
        // The picture's top-left pixel, drawn through GDI, lies in the first
        // stored row for rows stored from the top, else in the last.
        {
            const platform::UniqueHdc dc(::CreateCompatibleDC(nullptr));
            const platform::SelectGuard select(dc.get(), section.bitmap.get());
            ASSERT_TRUE(select);
            ::PatBlt(dc.get(), 0, 0, c.width, c.height, BLACKNESS);
            ::SetPixelV(dc.get(), 0, 0, RGB(255, 255, 255));
            ::GdiFlush();
        }
        const auto* bits = static_cast<const std::uint8_t*>(section.bits);
        const std::size_t lastRow = std::size_t(c.stride) * (c.height - 1);
        const std::size_t topRow = c.order == platform::RowOrder::TopDown ? 0 : lastRow;
        const std::size_t otherRow = c.order == platform::RowOrder::TopDown ? lastRow : 0;
        EXPECT_EQ(bits[topRow], 255);
        EXPECT_EQ(bits[otherRow], 0);
    }
}

TEST(DibSection, ASizeNoBitmapCanDescribeIsTheResourceError) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    const struct {
        std::int32_t width;
        std::int32_t height;
        std::uint16_t bitsPerPixel;
    } cases[] = {{70000, 70000, 24}, {32768, 32768, 32}, {-1, 5, 32}, {5, -1, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        try {
            platform::MakeDibSection(c.width, c.height, c.bitsPerPixel,
                                     platform::RowOrder::BottomUp);
            ADD_FAILURE() << "no error";
        } catch (const platform::Error& error) {
            EXPECT_EQ(error.Message(), L"システム リソース不足です");
        }
    }
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
}

TEST(KeptDib, IsUsedAgainForItsOwnSizeOnlyAndNeverTwoAtOnce) {
    const long bitmaps = platform::UniqueHbitmap::Live();
    platform::KeptDib kept(32, platform::RowOrder::BottomUp);
    EXPECT_TRUE(kept.Empty());
    EXPECT_FALSE(kept.Ensure(10, 10)) << "a new section";
    const HBITMAP first = kept.Section().bitmap.get();
    EXPECT_TRUE(kept.Ensure(10, 10)) << "the kept one";
    EXPECT_EQ(kept.Section().bitmap.get(), first);
    EXPECT_TRUE(kept.Holds(10, 10));
    EXPECT_FALSE(kept.Holds(11, 10));

    EXPECT_FALSE(kept.Ensure(11, 10));
    EXPECT_EQ(kept.Section().width, 11);
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps + 1) << "the old one went first";

    // Handed over and back: the kept one is the one handed back.
    platform::DibSection taken = kept.Take();
    EXPECT_TRUE(kept.Empty());
    ASSERT_TRUE(taken);
    const HBITMAP handed = taken.bitmap.get();
    kept.Keep(std::move(taken));
    EXPECT_TRUE(kept.Ensure(11, 10));
    EXPECT_EQ(kept.Section().bitmap.get(), handed);

    // A size that cannot be had leaves nothing kept.
    EXPECT_THROW(kept.Ensure(70000, 70000), platform::Error);
    EXPECT_TRUE(kept.Empty());
    EXPECT_EQ(platform::UniqueHbitmap::Live(), bitmaps);
}

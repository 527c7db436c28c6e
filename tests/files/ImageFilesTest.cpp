#include "files/ImageFiles.h"

#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <tiffio.h>

#include "CodecTestSupport.h"

namespace orvane {
namespace {

using test::Bytes;
using test::Rgb;

TEST(SaveBmp, EightBitImageHasItsTableAndDataAt1078)
{
    test::TempDir folder;
    FrameImage image;
    ASSERT_TRUE(image.Create(5, 3, 8)); // stride 8
    for (int r = 0; r < 3; ++r) {
        for (int x = 0; x < 5; ++x) {
            image.Row(r)[x] = static_cast<std::uint8_t>(10 * r + x);
        }
    }
    const auto path = folder / "grey.bmp";
    ASSERT_TRUE(SaveBmp(image, path));
    const Bytes file = test::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 1078u + 3 * 8);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(test::Le32At(file, 2), 1078u + 24);
    EXPECT_EQ(test::Le32At(file, 6), 0u);
    EXPECT_EQ(test::Le32At(file, 10), 1078u);
    EXPECT_EQ(test::Le32At(file, 14), 40u);
    EXPECT_EQ(test::Le32At(file, 18), 5u);
    EXPECT_EQ(test::Le32At(file, 22), 3u);
    EXPECT_EQ(test::Le16At(file, 26), 1u);
    EXPECT_EQ(test::Le16At(file, 28), 8u);
    // The grey table, 256 entries of blue, green, red, 0.
    for (std::uint32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(test::Le32At(file, 54 + i * 4), i | (i << 8) | (i << 16)) << i;
    }
    // Rows bottom-up as stored: the first row in the file is the picture's bottom row.
    EXPECT_EQ(file[1078], 20);
    EXPECT_EQ(file[1078 + 4], 24);
    EXPECT_EQ(file[1078 + 16], 0);
    EXPECT_EQ(std::memcmp(file.data() + 1078, image.bits(), 24), 0);
}

TEST(SaveBmp, TwentyFourBitImageHasDataAt54AndLoadsBack)
{
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(7, 4); // stride 24
    const auto path = folder / "colour.bmp";
    ASSERT_TRUE(SaveBmp(picture, path));
    const Bytes file = test::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 54u + 4 * 24);
    EXPECT_EQ(test::Le32At(file, 2), 54u + 96);
    EXPECT_EQ(test::Le32At(file, 10), 54u);
    EXPECT_EQ(test::Le16At(file, 28), 24u);
    EXPECT_EQ(std::memcmp(file.data() + 54, picture.bits(), 96), 0);

    FrameImage loaded;
    ASSERT_TRUE(LoadImageFile(path, loaded));
    ASSERT_EQ(loaded.bitsPerPixel(), 24);
    EXPECT_EQ(test::MeanAbsoluteDifference(picture, loaded), 0.0);
}

TEST(SaveImage, TypeOneIsBmpAndUnknownTypesWriteNothing)
{
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(8, 8);
    ASSERT_TRUE(SaveImage(folder / "a.bmp", picture, kSaveTypeBmp));
    EXPECT_EQ(test::ReadFileBytes(folder / "a.bmp").size(), 54u + 8 * 24);
    for (const int type : {0, 5, -1}) {
        EXPECT_FALSE(SaveImage(folder / "b.jpg", picture, type));
    }
    EXPECT_FALSE(SaveImage(folder / "c.jpg", FrameImage{}, kSaveTypeJpegMedium));
    EXPECT_FALSE(SaveBmp(FrameImage{}, folder / "d.bmp"));
    EXPECT_FALSE(std::filesystem::exists(folder / "b.jpg"));
    EXPECT_FALSE(std::filesystem::exists(folder / "c.jpg"));
    EXPECT_FALSE(std::filesystem::exists(folder / "d.bmp"));
}

// Writing more than a few kilobytes fails while this lives (the file size limit).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

class FailedSave : public ::testing::TestWithParam<int> {};

TEST_P(FailedSave, LeavesTheOldFileAsItWasAndNoTemporaryFile)
{
    test::TempDir folder;
    const auto path = folder / "old.img";
    const std::string old = "the picture that was here";
    test::WriteFileBytes(path, Bytes(old.begin(), old.end()));
    const FrameImage picture = test::MakeColourPicture(300, 200);
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(SaveImage(path, picture, GetParam()));
    }
    EXPECT_TRUE(test::ReadFileBytes(path) == Bytes(old.begin(), old.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    // Without the limit the same save replaces the file.
    EXPECT_TRUE(SaveImage(path, picture, GetParam()));
    EXPECT_GT(std::filesystem::file_size(path), 1024u);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, FailedSave,
                         ::testing::Values(kSaveTypeBmp, kSaveTypeJpegHigh, kSaveTypeJpegMedium, kSaveTypeJpegLow));

class FormatForPath : public ::testing::TestWithParam<std::tuple<const char*, ImageFormat>> {};

TEST_P(FormatForPath, ExtensionChoosesTheDecoderWithoutRegardToCase)
{
    const auto [name, format] = GetParam();
    EXPECT_EQ(ImageFormatForPath(std::filesystem::path("/some.folder") / name), format);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, FormatForPath,
    ::testing::Values(std::tuple{"x.bmp", ImageFormat::Bmp}, std::tuple{"x.BMP", ImageFormat::Bmp},
                      std::tuple{"x.jpg", ImageFormat::Jpeg}, std::tuple{"x.JPEG", ImageFormat::Jpeg},
                      std::tuple{"x.Jpeg", ImageFormat::Jpeg}, std::tuple{"x.jpe", ImageFormat::Unknown},
                      std::tuple{"x.gif", ImageFormat::Gif}, std::tuple{"x.png", ImageFormat::Png},
                      std::tuple{"x.tif", ImageFormat::Tiff}, std::tuple{"x.TIFF", ImageFormat::Tiff},
                      std::tuple{"x.jpg.txt", ImageFormat::Unknown}, std::tuple{"jpg", ImageFormat::Unknown},
                      std::tuple{"x", ImageFormat::Unknown}, std::tuple{"a.b.png", ImageFormat::Png}));

TEST(LoadImageFile, DispatchesByExtensionAndRefusesOthers)
{
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(40, 30);
    ASSERT_TRUE(SaveImage(folder / "x.jpg", picture, kSaveTypeJpegMedium));
    std::filesystem::copy_file(folder / "x.jpg", folder / "x.JPEG");
    std::filesystem::copy_file(folder / "x.jpg", folder / "x.jpe");
    std::filesystem::copy_file(folder / "x.jpg", folder / "x.png");

    FrameImage image;
    ASSERT_TRUE(LoadImageFile(folder / "x.JPEG", image));
    EXPECT_EQ(image.width(), 40);
    EXPECT_FALSE(LoadImageFile(folder / "x.jpe", image));
    EXPECT_TRUE(image.isEmpty());
    ASSERT_TRUE(LoadImageFile(folder / "x.jpg", image));
    EXPECT_FALSE(LoadImageFile(folder / "x.png", image)); // a JPEG is no PNG
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(LoadImageFile(folder / "missing.jpg", image));
    EXPECT_FALSE(LoadPicture(folder / "missing.gif", image));
}

TEST(LoadPicture, EveryDepthBecomes24Bits)
{
    test::TempDir folder;
    FrameImage image;

    // 8-bit BMP with a colour table of its own.
    FrameImage indexed;
    ASSERT_TRUE(indexed.Create(4, 2, 8));
    const RGBQUAD entry{30, 20, 10, 0};
    ASSERT_TRUE(indexed.SetColorTable(2, &entry, 7, 1));
    indexed.Row(1)[2] = 7;
    ASSERT_TRUE(SaveBmp(indexed, folder / "indexed.bmp"));
    ASSERT_TRUE(LoadPicture(folder / "indexed.bmp", image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    const Rgb p = test::PixelAt(image, 2, 1);
    EXPECT_EQ(p.red, 10);
    EXPECT_EQ(p.green, 20);
    EXPECT_EQ(p.blue, 30);

    // 16-bit TIFF: grey of bits 2 to 9 of the repacked value (the high byte here).
    test::TiffOptions deep;
    deep.bitsPerSample = 16;
    test::WriteFileBytes(folder / "deep.tif", test::EncodeTiff(2, 1, {0x00, 0x9C, 0xFF, 0x41}, deep));
    ASSERT_TRUE(LoadPicture(folder / "deep.tif", image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(test::PixelAt(image, 0, 0).green, 0x9C);
    EXPECT_EQ(test::PixelAt(image, 1, 0).red, 0x41);

    // PNG with alpha: the colour stays, the alpha byte goes.
    test::PngOptions alpha;
    alpha.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    test::WriteFileBytes(folder / "alpha.png", test::EncodePng(1, 1, {200, 100, 50, 0}, alpha));
    ASSERT_TRUE(LoadPicture(folder / "alpha.png", image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(test::PixelAt(image, 0, 0).red, 200);
    EXPECT_EQ(test::PixelAt(image, 0, 0).blue, 50);

    // GIF through the project's own decoder.
    test::WriteFileBytes(folder / "small.gif", test::EncodeGif(2, 1, {{0, 0, 0}, {5, 6, 7}},
                                                               {test::GifFrame{0, 0, 2, 1, false, -1, {}, {1, 0}}}));
    ASSERT_TRUE(LoadPicture(folder / "small.gif", image));
    EXPECT_EQ(test::PixelAt(image, 0, 0).blue, 7);
}

TEST(LoadImageForThumbnail, ReducesJpegsAndLoadsOtherFormatsInFull)
{
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(1280, 960);
    ASSERT_TRUE(SaveImage(folder / "big.jpg", picture, kSaveTypeJpegMedium));
    ASSERT_TRUE(SaveImage(folder / "big.bmp", picture, kSaveTypeBmp));
    FrameImage image;
    ASSERT_TRUE(LoadImageForThumbnail(folder / "big.jpg", image));
    EXPECT_EQ(image.width(), 160);
    EXPECT_EQ(image.height(), 120);
    ASSERT_TRUE(LoadImageForThumbnail(folder / "big.bmp", image));
    EXPECT_EQ(image.width(), 1280);
    ASSERT_TRUE(LoadImageForThumbnail(folder / "big.jpg", image, 400, 300));
    EXPECT_EQ(image.width(), 480); // 3/8
    EXPECT_FALSE(LoadImageForThumbnail(folder / "missing.jpg", image));
    EXPECT_TRUE(image.isEmpty());
}

} // namespace
} // namespace orvane

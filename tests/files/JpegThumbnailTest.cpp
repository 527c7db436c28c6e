#include "files/JpegThumbnail.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "CodecTestSupport.h"
#include "files/ImageFiles.h"
#include "files/JpegCodec.h"

namespace orvane {
namespace {

using test::Bytes;

struct SizeCase {
    int width;
    int height;
    EmbeddedThumbnailSize expected;
};

class EmbeddedSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(EmbeddedSizeTest, LargestWithinTheLimitsInThePicturesProportions)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(EmbeddedThumbnailSizeFor(c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pictures, EmbeddedSizeTest,
                         ::testing::Values(SizeCase{4000, 3000, {160, 120}}, SizeCase{1920, 1080, {160, 90}},
                                           SizeCase{1080, 1920, {68, 120}}, SizeCase{100, 50, {100, 50}},
                                           SizeCase{40000, 10, {160, 1}}, SizeCase{0, 10, {0, 0}}));

// Saved pictures of several shapes and depths: each carries its reduction,
// which reads back at the reduced size close to the picture averaged down,
// and the file itself decodes in full as before.
struct SavedCase {
    int width;
    int height;
    int bits;
};

class EmbeddedRoundTripTest : public ::testing::TestWithParam<SavedCase> {
protected:
    test::TempDir temp;
};

TEST_P(EmbeddedRoundTripTest, SavedJpegCarriesItsThumbnail)
{
    const SavedCase& c = GetParam();
    FrameImage colour = test::MakeColourPicture(c.width, c.height);
    FrameImage picture;
    if (c.bits == 24) {
        picture = std::move(colour);
    } else {
        ASSERT_TRUE(picture.Create(c.width, c.height, 8));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                picture.Row(y)[x] = static_cast<std::uint8_t>((x + y) & 0xFF);
            }
        }
    }
    const std::filesystem::path path = temp / "saved.jpg";
    ASSERT_TRUE(SaveImage(path, picture, kSaveTypeJpegMedium));

    FrameImage thumbnail;
    ASSERT_TRUE(ReadEmbeddedThumbnail(path, thumbnail));
    const EmbeddedThumbnailSize size = EmbeddedThumbnailSizeFor(c.width, c.height);
    EXPECT_EQ(thumbnail.width(), size.width);
    EXPECT_EQ(thumbnail.height(), size.height);
    EXPECT_EQ(thumbnail.bitsPerPixel(), 24);

    FrameImage full;
    ASSERT_TRUE(LoadPicture(path, full));
    EXPECT_EQ(full.width(), c.width);
    EXPECT_EQ(full.height(), c.height);
    // The embedded picture shows what the full one shows, reduced.
    EXPECT_LT(test::MeanAbsoluteDifference(thumbnail, test::ScaleNearest(full, size.width, size.height)), 12.0);

    // The thumbnail scan takes it instead of decoding the picture.
    FrameImage forThumbnail;
    ASSERT_TRUE(LoadImageForThumbnail(path, forThumbnail));
    EXPECT_EQ(forThumbnail.width(), size.width);
}

INSTANTIATE_TEST_SUITE_P(Pictures, EmbeddedRoundTripTest,
                         ::testing::Values(SavedCase{1600, 1200, 24}, SavedCase{1280, 720, 24}, SavedCase{480, 640, 8},
                                           SavedCase{90, 60, 24}));

// The segment sits right after JFIF's, where libjpeg itself reports it as an
// APP0 marker holding "JFXX" with the thumbnail code.
TEST(EmbeddedThumbnail, LibjpegSeesAJfifExtensionAfterJfif)
{
    test::TempDir temp;
    const std::filesystem::path path = temp / "saved.jpg";
    ASSERT_TRUE(SaveImage(path, test::MakeColourPicture(640, 480), kSaveTypeJpegHigh));
    const Bytes bytes = test::ReadFileBytes(path);

    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_save_markers(&cinfo, JPEG_APP0, 0xFFFF);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
    EXPECT_TRUE(cinfo.saw_JFIF_marker);
    EXPECT_TRUE(jpeg_has_multiple_scans(&cinfo)); // still progressive
    int extensions = 0;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
        if (m->marker == JPEG_APP0 && m->data_length > 6 && std::memcmp(m->data, "JFXX\0", 5) == 0) {
            EXPECT_EQ(m->data[5], 0x10);
            ++extensions;
        }
    }
    EXPECT_EQ(extensions, 1);
    jpeg_destroy_decompress(&cinfo);
}

// Files of other programs take the decoding path: no extension at all, or a
// reduction that is not the picture's (a picture edited to another size).
TEST(EmbeddedThumbnail, OtherFilesTakeTheDecodePath)
{
    test::TempDir temp;
    const FrameImage picture = test::MakeColourPicture(1600, 1200);
    const std::filesystem::path plain = temp / "plain.jpg";
    test::WriteFileBytes(plain, test::EncodeJpeg(picture, {.quality = 90, .progressive = true}));
    FrameImage image;
    EXPECT_FALSE(ReadEmbeddedThumbnail(plain, image));
    ASSERT_TRUE(LoadImageForThumbnail(plain, image));
    EXPECT_EQ(image.width(), 200); // the 1/8 DCT scale
    EXPECT_EQ(image.height(), 150);

    // The extension of a 4:3 picture spliced into a 16:9 one.
    const std::filesystem::path saved = temp / "saved.jpg";
    ASSERT_TRUE(SaveImage(saved, picture, kSaveTypeJpegMedium));
    const Bytes withThumbnail = test::ReadFileBytes(saved);
    const Bytes wide = test::EncodeJpeg(test::MakeColourPicture(1600, 900), {});
    const std::optional<EmbeddedThumbnailFound> found = FindEmbeddedThumbnail(withThumbnail);
    ASSERT_TRUE(found);
    const auto segmentStart = found->jpeg.data() - withThumbnail.data() - 10; // marker, length, "JFXX\0", code
    const auto segmentEnd = found->jpeg.data() + found->jpeg.size() - withThumbnail.data();
    Bytes spliced(wide.begin(), wide.begin() + 2);
    spliced.insert(spliced.end(), withThumbnail.begin() + segmentStart, withThumbnail.begin() + segmentEnd);
    spliced.insert(spliced.end(), wide.begin() + 2, wide.end());
    EXPECT_FALSE(FindEmbeddedThumbnail(spliced));
    const std::filesystem::path edited = temp / "edited.jpg";
    test::WriteFileBytes(edited, spliced);
    ASSERT_TRUE(LoadImageForThumbnail(edited, image));
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 113);
}

// Header bytes cut anywhere before the frame header find nothing and never
// read past their end.
TEST(EmbeddedThumbnail, CutHeadersFindNothing)
{
    test::TempDir temp;
    const std::filesystem::path path = temp / "saved.jpg";
    ASSERT_TRUE(SaveImage(path, test::MakeColourPicture(320, 240), kSaveTypeJpegLow));
    const Bytes bytes = test::ReadFileBytes(path);
    const std::optional<EmbeddedThumbnailFound> whole = FindEmbeddedThumbnail(bytes);
    ASSERT_TRUE(whole);
    const std::size_t frameHeaderEnd = static_cast<std::size_t>(whole->jpeg.data() - bytes.data()) + whole->jpeg.size();
    for (std::size_t length = 0; length < frameHeaderEnd; length += 97) {
        EXPECT_FALSE(FindEmbeddedThumbnail(std::span(bytes.data(), length))) << length;
    }
}

} // namespace
} // namespace orvane

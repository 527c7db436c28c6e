#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include "CodecTestSupport.h"
#include "files/DecodeLimits.h"
#include "files/GifCodec.h"
#include "files/JpegCodec.h"
#include "files/PngCodec.h"
#include "files/TiffCodec.h"
#include "platform/Log.h"

// Damaged files of every format: each decode must fail with an empty image or
// succeed with a sound one, and never crash or read out of bounds (run under
// the address sanitizer to see the last).
namespace orvane {
namespace {

using test::Bytes;
using Decoder = std::function<bool(std::span<const std::uint8_t>, FrameImage&)>;

struct Sample {
    std::string name;
    Bytes file;
    Decoder decode;
};

Bytes GreyRows(int width, int height)
{
    Bytes rows;
    for (int i = 0; i < width * height; ++i) {
        rows.push_back(static_cast<std::uint8_t>(i * 7));
    }
    return rows;
}

std::vector<Sample> Samples()
{
    const FrameImage picture = test::MakeColourPicture(48, 40);
    std::vector<Sample> samples;
    const Decoder jpeg = [](std::span<const std::uint8_t> d, FrameImage& i) { return DecodeJpeg(d, i); };
    const Decoder jpegThumbnail = [](std::span<const std::uint8_t> d, FrameImage& i) {
        return DecodeJpegForSize(d, i, 4, 3);
    };
    test::JpegOptions progressive;
    progressive.progressive = true;
    samples.push_back({"jpeg baseline", test::EncodeJpeg(picture, {}), jpeg});
    samples.push_back({"jpeg progressive", test::EncodeJpeg(picture, progressive), jpeg});
    samples.push_back({"jpeg progressive thumbnail", test::EncodeJpeg(picture, progressive), jpegThumbnail});
    samples.push_back({"jpeg baseline thumbnail", test::EncodeJpeg(picture, {}), jpegThumbnail});
    samples.push_back({"jpeg cmyk", test::EncodeCmykJpeg(24, 16, {10, 20, 30, 40}), jpeg});

    const Decoder png = [](std::span<const std::uint8_t> d, FrameImage& i) { return DecodePng(d, i); };
    Bytes rgb;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 48; ++x) {
            const test::Rgb c = test::PixelAt(picture, x, y);
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                   static_cast<std::uint8_t>(c.blue)});
        }
    }
    test::PngOptions interlaced;
    interlaced.interlaced = true;
    test::PngOptions palette;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{1, 2, 3}, {200, 100, 0}, {0, 0, 255}};
    palette.transparency = {0, 128};
    Bytes indices(48 * 40);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint8_t>(i % 3);
    }
    samples.push_back({"png", test::EncodePng(48, 40, rgb, {}), png});
    samples.push_back({"png interlaced", test::EncodePng(48, 40, rgb, interlaced), png});
    samples.push_back({"png palette", test::EncodePng(48, 40, indices, palette), png});

    const Decoder tiff = [](std::span<const std::uint8_t> d, FrameImage& i) { return DecodeTiff(d, i); };
    test::TiffOptions lzw;
    lzw.compression = COMPRESSION_LZW;
    lzw.rowsPerStrip = 8;
    test::TiffOptions colour;
    colour.samples = 3;
    colour.photometric = PHOTOMETRIC_RGB;
    test::TiffOptions deep;
    deep.bitsPerSample = 16;
    deep.compression = COMPRESSION_ADOBE_DEFLATE;
    deep.rowsPerStrip = 5;
    samples.push_back({"tiff grey", test::EncodeTiff(48, 40, GreyRows(48, 40), {}), tiff});
    samples.push_back({"tiff lzw", test::EncodeTiff(48, 40, GreyRows(48, 40), lzw), tiff});
    samples.push_back({"tiff colour", test::EncodeTiff(48, 40, rgb, colour), tiff});
    samples.push_back({"tiff 16-bit deflate", test::EncodeTiff(24, 40, GreyRows(48, 40), deep), tiff});

    const Decoder gif = [](std::span<const std::uint8_t> d, FrameImage& i) { return DecodeGif(d, i); };
    test::GifFrame frame{2, 3, 40, 30, false, 1, {}, Bytes(40 * 30)};
    for (std::size_t i = 0; i < frame.indices.size(); ++i) {
        frame.indices[i] = static_cast<std::uint8_t>((i * 5) % 7);
    }
    test::GifFrame interlacedFrame = frame;
    interlacedFrame.interlaced = true;
    const std::vector<std::array<std::uint8_t, 3>> colours = {{0, 0, 0}, {255, 0, 0},  {0, 255, 0}, {0, 0, 255},
                                                              {9, 9, 9}, {50, 60, 70}, {1, 1, 1}};
    samples.push_back({"gif", test::EncodeGif(48, 40, colours, {frame}), gif});
    samples.push_back({"gif interlaced two frames", test::EncodeGif(48, 40, colours, {interlacedFrame, frame}), gif});
    return samples;
}

// Fails empty, or succeeds with a picture inside the limits.
void ExpectCleanOutcome(const Sample& sample, std::span<const std::uint8_t> data, const std::string& what)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(3, 3, 24));
    const bool ok = sample.decode(data, image);
    if (ok) {
        ASSERT_FALSE(image.isEmpty()) << sample.name << " " << what;
        ASSERT_TRUE(WithinDecodeLimits(image.width(), image.height(), image.bitsPerPixel())) << sample.name << what;
    } else {
        ASSERT_TRUE(image.isEmpty()) << sample.name << " " << what;
    }
}

class CorruptInput : public ::testing::Test {
protected:
    void SetUp() override { log::SetMinimumLevel(log::Level::Error); }
    void TearDown() override { log::SetMinimumLevel(log::Level::Info); }
};

TEST_F(CorruptInput, IntactSamplesDecode)
{
    for (const Sample& sample : Samples()) {
        FrameImage image;
        EXPECT_TRUE(sample.decode(sample.file, image)) << sample.name;
    }
}

TEST_F(CorruptInput, TruncatedFilesFailOrDecodeCleanly)
{
    for (const Sample& sample : Samples()) {
        // Every length through the headers, then in steps through the data.
        const std::size_t size = sample.file.size();
        for (std::size_t length = 0; length < size; length += (length < 1200 ? 1 : 7)) {
            ExpectCleanOutcome(sample, std::span(sample.file.data(), length), "cut at " + std::to_string(length));
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

TEST_F(CorruptInput, DamagedBytesFailOrDecodeCleanly)
{
    std::mt19937 random(20240611);
    for (const Sample& sample : Samples()) {
        std::uniform_int_distribution<std::size_t> position(0, sample.file.size() - 1);
        std::uniform_int_distribution<int> value(0, 255);
        std::uniform_int_distribution<int> count(1, 4);
        for (int trial = 0; trial < 1500; ++trial) {
            Bytes damaged = sample.file;
            // Early trials hit the headers, where a single byte decides most.
            std::uniform_int_distribution<std::size_t> headerPosition(
                0, std::min<std::size_t>(sample.file.size(), 200) - 1);
            for (int n = count(random); n > 0; --n) {
                const std::size_t at = trial < 500 ? headerPosition(random) : position(random);
                damaged[at] = trial % 2 == 0 ? static_cast<std::uint8_t>(value(random))
                                             : static_cast<std::uint8_t>(damaged[at] ^ (1u << (trial % 8)));
            }
            ExpectCleanOutcome(sample, damaged, "trial " + std::to_string(trial));
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

} // namespace
} // namespace orvane

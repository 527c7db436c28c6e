#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RunTool.h"
#include "TempDir.h"
#include "files/ImageFiles.h"
#include "files/MeasureFile.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

// The exit status of orvane-tool with `args`.
int ToolStatus(const test::TempDir& folder, const std::vector<std::string>& args)
{
    return test::RunTool(folder, args).status;
}

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr std::uint8_t kGrey = 90;

struct Bgr {
    std::uint8_t b, g, r;
};

Bgr At(const FrameImage& image, int x, int y)
{
    const std::uint8_t* p = image.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrameImage image;
        ASSERT_TRUE(image.Create(kWidth, kHeight, 24));
        image.Fill(nullptr, RGB(kGrey, kGrey, kGrey));
        ASSERT_TRUE(SaveImage(folder / "in.bmp", image, kSaveTypeBmp));

        // A length along row 12 and a length along column 80, both 0.5 mm.
        CMeasureChain chain;
        MEASURE length;
        length.kind = -1;
        length.pointCount = 2;
        length.unit = kUnitMm;
        length.points.SetAt(0, 5.0, 12.0);
        length.points.SetAt(1, 70.0, 12.0);
        length.value[0] = 0.5;
        chain.AddTailCopy(&length);
        length.points.SetAt(0, 80.0, 50.0);
        length.points.SetAt(1, 80.0, 4.0);
        chain.AddTailCopy(&length);
        ASSERT_EQ(SaveMeasureFile(chain, folder / "m.mes"), 1);

        // A red one-pixel pen, white text, no angle labels.
        test::WriteBytes(folder / "Orvane.ini", "[Orvane]\r\n"
                                                "color.line=255\r\n"
                                                "color.linesize=1\r\n"
                                                "color.text=16777215\r\n"
                                                "color.showangle=0\r\n");
    }

    std::string In() const { return (folder / "in.bmp").string(); }
    std::string Mes() const { return (folder / "m.mes").string(); }
    std::string Ini() const { return (folder / "Orvane.ini").string(); }

    test::TempDir folder;
};

TEST_F(RenderTest, DrawsTheMeasurementsWithTheSettingsPenIntoABmp)
{
    const std::string out = (folder / "out.bmp").string();
    ASSERT_EQ(ToolStatus(folder, {"render", In(), Mes(), out, "--settings", Ini()}), 0)
        << test::ReadBytes(folder / "stderr");

    FrameImage drawn;
    ASSERT_TRUE(LoadImageFile(out, drawn));
    ASSERT_EQ(drawn.width(), kWidth);
    ASSERT_EQ(drawn.height(), kHeight);
    // Row 12 counted from the top, columns 5 to 69: exactly the pen's red.
    for (int x = 5; x < 70; ++x) {
        const Bgr p = At(drawn, x, 12);
        ASSERT_EQ(p.r, 255) << "x " << x;
        ASSERT_EQ(p.g, 0);
        ASSERT_EQ(p.b, 0);
    }
    EXPECT_EQ(At(drawn, 30, 11).r, kGrey);
    EXPECT_EQ(At(drawn, 30, kHeight - 1 - 12).r, kGrey); // not drawn upside down
    // The upward line: rows 50 down to 5, its end pixel at row 4 left out.
    EXPECT_EQ(At(drawn, 80, 50).r, 255);
    EXPECT_EQ(At(drawn, 80, 5).r, 255);
    EXPECT_EQ(At(drawn, 80, 4).r, kGrey);
    // White label text below the midpoint (37, 12) of the first length.
    int white = 0;
    for (int y = 13; y < kHeight; ++y) {
        for (int x = 37; x < 75; ++x) {
            const Bgr p = At(drawn, x, y);
            white += p.r > 200 && p.g > 200 && p.b > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 10);
}

TEST_F(RenderTest, DefaultSettingsAndJpegOutput)
{
    const std::string out = (folder / "out.jpg").string();
    ASSERT_EQ(ToolStatus(folder, {"render", In(), Mes(), out, "--calib", "3"}), 0)
        << test::ReadBytes(folder / "stderr");

    FrameImage drawn;
    ASSERT_TRUE(LoadImageFile(out, drawn));
    ASSERT_EQ(drawn.width(), kWidth);
    // The default pen is green; JPEG keeps it near enough.
    const Bgr p = At(drawn, 30, 12);
    EXPECT_GT(p.g, 180);
    EXPECT_LT(p.r, 120);
    EXPECT_LT(p.b, 120);
}

TEST_F(RenderTest, UnusableInputsAndUsageErrors)
{
    const std::string out = (folder / "out.bmp").string();
    test::WriteBytes(folder / "not.mes", "not a results file");
    EXPECT_EQ(ToolStatus(folder, {"render", (folder / "missing.bmp").string(), Mes(), out}), 1);
    EXPECT_EQ(ToolStatus(folder, {"render", In(), (folder / "not.mes").string(), out}), 1);
    EXPECT_EQ(ToolStatus(folder, {"render", In(), Mes(), out, "--settings", (folder / "none.ini").string()}), 1);
    EXPECT_FALSE(std::filesystem::exists(out));

    EXPECT_EQ(ToolStatus(folder, {"render", In(), Mes(), (folder / "out.png").string()}), 2);
    EXPECT_EQ(ToolStatus(folder, {"render", In(), Mes(), out, "--calib", "20"}), 2);
    EXPECT_EQ(ToolStatus(folder, {"render", In(), Mes()}), 2);
    EXPECT_EQ(ToolStatus(folder, {"render", In(), Mes(), out, "--frobnicate"}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace orvane

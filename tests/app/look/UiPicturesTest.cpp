#include "app/look/UiPictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include "app/qt/FrameImageQt.h"
#include "app/look/PictureSheet.h"
#include "app/look/UiCursors.h"

namespace orvane {
namespace {

struct PictureCase {
    UiPicture picture;
    const char* file;
    int width;
    int height;
    int bitsPerPixel;
};

class UiPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(UiPictureTest, DecodesToItsSizeThroughTheProgramsReader)
{
    const PictureCase& c = GetParam();
    FrameImage image;
    ASSERT_TRUE(LoadUiPicture(c.picture, image));
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    EXPECT_EQ(image.bitsPerPixel(), c.bitsPerPixel);
}

// The program's reader and Qt's agree on every pixel, so neither the rows
// nor the colour order nor the alpha is turned around on the way.
TEST_P(UiPictureTest, MatchesQtsOwnDecoding)
{
    const PictureCase& c = GetParam();
    FrameImage image;
    ASSERT_TRUE(LoadUiPicture(c.picture, image));
    const QImage ours = ToQImage(image).convertToFormat(QImage::Format_ARGB32);
    const QImage qts =
        QImage::fromData(UiResourceBytes(QString::fromLatin1(c.file))).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(ours.size(), qts.size());
    EXPECT_TRUE(ours == qts);
}

INSTANTIATE_TEST_SUITE_P(Pictures, UiPictureTest,
                         ::testing::Values(PictureCase{UiPicture::ButtonSheet, "ButtonSheet.png", 400, 371, 24},
                                           PictureCase{UiPicture::BackgroundTile, "BackgroundTile.png", 200, 200, 24},
                                           PictureCase{UiPicture::ArrowStrip, "ArrowStrip.png", 52, 13, 24},
                                           PictureCase{UiPicture::MagnetIcon, "MagnetIcon.png", 16, 16, 32}));

TEST(UiPicturesTest, LoadsAllFour)
{
    UiPictures pictures;
    ASSERT_TRUE(pictures.Load());
    EXPECT_EQ(pictures.buttonSheet().width(), sheet::kSheetWidth);
    EXPECT_EQ(pictures.buttonSheet().height(), sheet::kSheetHeight);
    EXPECT_EQ(pictures.backgroundTile().width(), sheet::kBackgroundTileSize);
    EXPECT_EQ(pictures.arrowStrip().width(), sheet::kArrowStripWidth);
    EXPECT_EQ(pictures.magnetIcon().width(), sheet::kMagnetIconSize);
}

TEST(UiPicturesTest, MissingResourceFailsAndLeavesTheImageEmpty)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(4, 4, 24));
    EXPECT_FALSE(DecodeUiResource(QStringLiteral("NoSuchPicture.png"), image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_TRUE(UiResourceBytes(QStringLiteral("NoSuchPicture.png")).isEmpty());
}

int Luma(QRgb c)
{
    return (11 * qRed(c) + 30 * qGreen(c) + 59 * qBlue(c)) / 100;
}

// The faces sit on the sheet where the buttons read them: each begins with its
// dark outline at its row start, keeps the lamp's place dark for the lamp, and
// its disabled twin 200 px to the right is grey where the face is teal.
TEST(UiPicturesTest, ButtonSheetFacesFollowTheCellGrid)
{
    FrameImage image;
    ASSERT_TRUE(LoadUiPicture(UiPicture::ButtonSheet, image));
    const QImage sheetImage = ToQImage(image);
    for (const int top : sheet::kRowTops) {
        for (int column = 0; column < 8; ++column) {
            const int left = column * sheet::kCellWidth;
            SCOPED_TRACE(testing::Message() << "cell " << left << "," << top);
            EXPECT_LT(Luma(sheetImage.pixel(left + 25, top)), 40) << "outline at the row start";
            EXPECT_LT(Luma(sheetImage.pixel(left + 25, top + sheet::kCellHeight - 1)), 40) << "outline at the end";
            const int lampX = left + (sheet::kLampLeft + sheet::kLampRight) / 2;
            const int lampY = top + (sheet::kLampTop + sheet::kLampBottom) / 2;
            EXPECT_LT(Luma(sheetImage.pixel(lampX, lampY)), 50) << "unlit lamp";
            const QRgb plate = sheetImage.pixel(left + 3, top + 20);
            if (column < sheet::kFaceColumns) {
                EXPECT_GT(qBlue(plate) - qRed(plate), 30) << "teal face";
            } else {
                EXPECT_LT(std::abs(qBlue(plate) - qRed(plate)), 16) << "grey disabled face";
            }
        }
    }
}

TEST(UiPicturesTest, MagnetIconIsDrawnOnTransparency)
{
    FrameImage image;
    ASSERT_TRUE(LoadUiPicture(UiPicture::MagnetIcon, image));
    const QImage icon = ToQImage(image);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(15, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(8, 1)), 255);
}

TEST(UiPicturesTest, ProgramIconHasBothSizes)
{
    const QIcon icon = LoadProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
}

TEST(UiCursorsTest, EveryCursorHasItsPictureAndHotSpot)
{
    UiCursors cursors;
    ASSERT_TRUE(cursors.Load());
    for (const sheet::CursorSpec& entry : sheet::kCursors) {
        SCOPED_TRACE(static_cast<int>(entry.id));
        const QCursor& cursor = cursors.cursor(entry.id);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), QPoint(entry.hotX, entry.hotY));
        const QImage picture = cursor.pixmap().toImage();
        ASSERT_EQ(picture.size(), QSize(sheet::kCursorSize, sheet::kCursorSize));
        // The hot spot is on the drawing, not beside it.
        EXPECT_GT(qAlpha(picture.pixel(entry.hotX, entry.hotY)), 0);
        EXPECT_EQ(qAlpha(picture.pixel(31, 0)) + qAlpha(picture.pixel(0, 0)), 0) << "corners see through";
    }
}

class CursorHintTest : public ::testing::TestWithParam<std::tuple<int, CursorChoice>> {};

TEST_P(CursorHintTest, ChoosesTheCursor)
{
    EXPECT_EQ(CursorChoiceForHint(std::get<0>(GetParam())), std::get<1>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Hints, CursorHintTest,
    ::testing::Values(std::make_tuple(0, CursorChoice::Default), std::make_tuple(1, CursorChoice::Circle),
                      std::make_tuple(2, CursorChoice::Cross), std::make_tuple(3, CursorChoice::Hand),
                      std::make_tuple(4, CursorChoice::Move), std::make_tuple(5, CursorChoice::Default),
                      std::make_tuple(6, CursorChoice::SizeBDiag), std::make_tuple(7, CursorChoice::SizeVer),
                      std::make_tuple(8, CursorChoice::SizeFDiag), std::make_tuple(9, CursorChoice::SizeHor),
                      std::make_tuple(10, CursorChoice::SizeAll), std::make_tuple(11, CursorChoice::Default),
                      std::make_tuple(-1, CursorChoice::Default)));

TEST(UiCursorsTest, HintsGiveTheProgramsAndTheStandardCursors)
{
    UiCursors cursors;
    ASSERT_TRUE(cursors.Load());
    ASSERT_TRUE(cursors.CursorForHint(1).has_value());
    EXPECT_EQ(cursors.CursorForHint(1)->pixmap().toImage(),
              cursors.cursor(sheet::CursorPicture::Circle).pixmap().toImage());
    EXPECT_EQ(cursors.CursorForHint(3)->pixmap().toImage(),
              cursors.cursor(sheet::CursorPicture::Grab).pixmap().toImage());
    EXPECT_EQ(cursors.CursorForHint(6)->shape(), Qt::SizeBDiagCursor);
    EXPECT_EQ(cursors.CursorForHint(7)->shape(), Qt::SizeVerCursor);
    EXPECT_EQ(cursors.CursorForHint(8)->shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(cursors.CursorForHint(9)->shape(), Qt::SizeHorCursor);
    EXPECT_EQ(cursors.CursorForHint(10)->shape(), Qt::SizeAllCursor);
    EXPECT_FALSE(cursors.CursorForHint(0).has_value());
    EXPECT_FALSE(cursors.CursorForHint(5).has_value());
}

} // namespace
} // namespace orvane

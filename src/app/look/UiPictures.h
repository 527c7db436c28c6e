#pragma once

#include <array>

#include <QByteArray>
#include <QIcon>
#include <QString>

#include "image/FrameImage.h"

namespace orvane {

// The four pictures of the window's look, by their resource numbers.
enum class UiPicture { ButtonSheet = 180, BackgroundTile = 181, ArrowStrip = 182, MagnetIcon = 183 };

// The compiled-in bytes of a file of src/app/resources, e.g. "ButtonSheet.png";
// empty when there is none. Borrowed from the program image, not copied.
[[nodiscard]] QByteArray UiResourceBytes(const QString& fileName);

// Decodes a PNG file of src/app/resources through the program's own PNG
// reader (24-bit, or 32-bit with inverted alpha). False, and an empty image,
// when it is missing or broken.
bool DecodeUiResource(const QString& fileName, FrameImage& image);

// Decodes one picture through the program's own PNG reader. ButtonSheet,
// BackgroundTile and ArrowStrip are 24-bit; MagnetIcon is 32-bit with the
// reader's inverted alpha. False (and an empty image) when it cannot.
bool LoadUiPicture(UiPicture picture, FrameImage& image);

// The program icon at 256 and 48 pixels, decoded the same way. Needs a
// QGuiApplication.
[[nodiscard]] QIcon LoadProgramIcon();

// The window's four pictures, loaded once at start and kept for its life.
class UiPictures {
public:
    // Loads all four; false when any failed (the others are still loaded and
    // a failed one stays empty, which the drawing code skips).
    bool Load();

    [[nodiscard]] const FrameImage& picture(UiPicture which) const;
    [[nodiscard]] const FrameImage& buttonSheet() const { return picture(UiPicture::ButtonSheet); }
    [[nodiscard]] const FrameImage& backgroundTile() const { return picture(UiPicture::BackgroundTile); }
    [[nodiscard]] const FrameImage& arrowStrip() const { return picture(UiPicture::ArrowStrip); }
    [[nodiscard]] const FrameImage& magnetIcon() const { return picture(UiPicture::MagnetIcon); }

private:
    std::array<FrameImage, 4> m_pictures;
};

} // namespace orvane

#include "app/look/UiPictures.h"

#include <cstdint>
#include <span>

#include <QPixmap>
#include <QResource>

#include "app/qt/AppLog.h"
#include "app/qt/FrameImageQt.h"
#include "files/PngCodec.h"

namespace orvane {
namespace {

QString FileName(UiPicture picture)
{
    switch (picture) {
    case UiPicture::ButtonSheet: return QStringLiteral("ButtonSheet.png");
    case UiPicture::BackgroundTile: return QStringLiteral("BackgroundTile.png");
    case UiPicture::ArrowStrip: return QStringLiteral("ArrowStrip.png");
    case UiPicture::MagnetIcon: return QStringLiteral("MagnetIcon.png");
    }
    return {};
}

std::size_t Slot(UiPicture picture)
{
    return static_cast<std::size_t>(static_cast<int>(picture) - static_cast<int>(UiPicture::ButtonSheet));
}

} // namespace

QByteArray UiResourceBytes(const QString& fileName)
{
    const QResource resource(QStringLiteral(":/orvane/") + fileName);
    if (!resource.isValid()) {
        return {};
    }
    // Uncompressed resources come back as a view of the program's data.
    return resource.uncompressedData();
}

bool DecodeUiResource(const QString& fileName, FrameImage& image)
{
    const QByteArray bytes = UiResourceBytes(fileName);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (!DecodePng(data, image)) {
        qCWarning(lcApp) << "cannot decode the picture" << fileName;
        return false;
    }
    return true;
}

bool LoadUiPicture(UiPicture picture, FrameImage& image)
{
    return DecodeUiResource(FileName(picture), image);
}

QIcon LoadProgramIcon()
{
    QIcon icon;
    for (const QString& name : {QStringLiteral("ProgramIcon256.png"), QStringLiteral("ProgramIcon48.png")}) {
        FrameImage picture;
        if (DecodeUiResource(name, picture)) {
            icon.addPixmap(QPixmap::fromImage(ToQImage(picture)));
        }
    }
    return icon;
}

bool UiPictures::Load()
{
    bool all = true;
    for (const UiPicture which :
         {UiPicture::ButtonSheet, UiPicture::BackgroundTile, UiPicture::ArrowStrip, UiPicture::MagnetIcon}) {
        all = LoadUiPicture(which, m_pictures[Slot(which)]) && all;
    }
    return all;
}

const FrameImage& UiPictures::picture(UiPicture which) const
{
    return m_pictures[Slot(which)];
}

} // namespace orvane

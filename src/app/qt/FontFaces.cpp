#include "app/qt/FontFaces.h"

#include <array>

#include <QFont>
#include <QFontDatabase>

namespace orvane {
namespace {

struct FaceFamily {
    const char* face; // as the settings spell it, UTF-8
    bool proportional;
};

constexpr std::array kWindowsGothicFaces{
    FaceFamily{"ＭＳ Ｐゴシック", true}, FaceFamily{"MS PGothic", true}, FaceFamily{"MS UI Gothic", true},
    FaceFamily{"ＭＳ ゴシック", false},  FaceFamily{"MS Gothic", false}, FaceFamily{"メイリオ", true},
    FaceFamily{"Meiryo", true},          FaceFamily{"Meiryo UI", true},
};

// IPA gothic comes with the program's package (fonts-ipafont-gothic); the
// others are what a desktop may have instead.
const QStringList& ProportionalStandIns()
{
    static const QStringList faces{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                   QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"),
                                   QStringLiteral("TakaoPGothic")};
    return faces;
}

const QStringList& FixedStandIns()
{
    static const QStringList faces{QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                                   QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic"),
                                   QStringLiteral("IPAPGothic")};
    return faces;
}

} // namespace

QStringList FaceStandIns(const QString& face)
{
    for (const FaceFamily& known : kWindowsGothicFaces) {
        if (face.compare(QString::fromUtf8(known.face), Qt::CaseInsensitive) == 0) {
            return known.proportional ? ProportionalStandIns() : FixedStandIns();
        }
    }
    return {};
}

QString InstalledFace(const QString& face)
{
    if (face.isEmpty()) {
        return {};
    }
    if (QFontDatabase::hasFamily(face)) {
        return face;
    }
    for (const QString& standIn : FaceStandIns(face)) {
        if (QFontDatabase::hasFamily(standIn)) {
            return standIn;
        }
    }
    return {};
}

void InstallFontSubstitutes()
{
    for (const FaceFamily& known : kWindowsGothicFaces) {
        const QString face = QString::fromUtf8(known.face);
        QStringList installed;
        for (const QString& standIn : FaceStandIns(face)) {
            if (QFontDatabase::hasFamily(standIn)) {
                installed << standIn;
            }
        }
        if (!installed.isEmpty() && !QFontDatabase::hasFamily(face)) {
            QFont::insertSubstitutions(face, installed);
        }
    }
}

} // namespace orvane

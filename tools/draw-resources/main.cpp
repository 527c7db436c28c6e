// orvane-draw-resources: draws the window's pictures and writes them as PNG
// files into the given folder (normally src/app/resources). The program is
// built with the project so it keeps compiling; the pictures it wrote are
// committed, and the build never runs it.

#include <cstdio>
#include <string>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include "Pictures.h"
#include "app/look/PictureSheet.h"

namespace {

bool Write(const QImage& image, const QDir& folder, const QString& name)
{
    QSaveFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "orvane-draw-resources: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fonts need a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: orvane-draw-resources <output folder>\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.exists()) {
        std::fprintf(stderr, "orvane-draw-resources: no folder %s\n", qPrintable(arguments.at(1)));
        return 2;
    }

    using namespace orvane;
    bool ok = Write(draw::DrawButtonSheet(), folder, "ButtonSheet.png");
    ok = Write(draw::DrawBackgroundTile(), folder, "BackgroundTile.png") && ok;
    ok = Write(draw::DrawArrowStrip(), folder, "ArrowStrip.png") && ok;
    ok = Write(draw::DrawMagnetIcon(), folder, "MagnetIcon.png") && ok;
    for (const sheet::CursorSpec& cursor : sheet::kCursors) {
        const QString name = QString::fromLatin1(cursor.file.data(), static_cast<qsizetype>(cursor.file.size()));
        ok = Write(draw::DrawCursor(cursor.id), folder, name + ".png") && ok;
    }
    // The window takes 48 and 256; installing puts every size into the desktop's
    // hicolor icon theme.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        ok = Write(draw::DrawProgramIcon(size), folder, QStringLiteral("ProgramIcon%1.png").arg(size)) && ok;
    }
    return ok ? 0 : 1;
}

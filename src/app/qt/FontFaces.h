#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// The settings name Windows' Japanese gothic faces ("ＭＳ Ｐゴシック" is the
// label font's default). Linux has none of them; their stand-ins are the
// Japanese gothic faces of the free font packages, proportional ones first for
// the proportional faces. Empty for any other face.
[[nodiscard]] QStringList FaceStandIns(const QString& face);

// The face to draw with for a settings face: the face itself when installed,
// else its first installed stand-in, else "" (the caller takes the system's
// sans-serif face). Needs a QGuiApplication.
[[nodiscard]] QString InstalledFace(const QString& face);

// Registers the stand-ins as Qt font substitutions, so that any QFont asking
// for a Windows face gets the Japanese font installed with the program.
// Called once at start, after the QGuiApplication is made.
void InstallFontSubstitutes();

} // namespace orvane

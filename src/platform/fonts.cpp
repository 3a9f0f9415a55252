#include "platform/fonts.h"

#include <QString>

namespace platform {

namespace {

// The design's faces are Windows faces; each Liberation face has the advance widths and
// heights of the face it stands for (Debian package fonts-liberation).
struct FaceStandIn {
  const char* designFace;
  const char* installedFace;
};

constexpr FaceStandIn kFaceStandIns[] = {
    {"MS Sans Serif", "Liberation Sans"},  {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"}, {"Courier New", "Liberation Mono"},
    {"Times New Roman", "Liberation Serif"}, {"MS Serif", "Liberation Serif"},
};

constexpr double kDesignFontSize = 8.25;

// Qt tries a family's substitutes when the family itself is not installed, matching names in
// any letter case ("ARIAL" too); an installed design face is used as it is.
void UseStandInFaces() {
  for (const FaceStandIn& face : kFaceStandIns) {
    QFont::insertSubstitution(QString::fromLatin1(face.designFace), QString::fromLatin1(face.installedFace));
  }
}

}  // namespace

QFont DesignFont() {
  // Before any window resolves a face: every window takes this font first.
  static const bool standInsInstalled = (UseStandInFaces(), true);
  Q_UNUSED(standInsInstalled);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(kDesignFontSize);
  return font;
}

}  // namespace platform

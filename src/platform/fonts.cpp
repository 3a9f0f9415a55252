#include "platform/fonts.h"

#include <QString>

#include <mutex>

namespace platform {

namespace {

// The design's faces are Windows faces. The Liberation faces (Debian package fonts-liberation)
// have the advance widths and heights of Arial, Arial Narrow, Courier New and Times New Roman;
// the screen faces MS Sans Serif and MS Serif come nearest to Arial and Times New Roman.
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
  static std::once_flag standInsInstalled;
  std::call_once(standInsInstalled, UseStandInFaces);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(kDesignFontSize);
  return font;
}

}  // namespace platform

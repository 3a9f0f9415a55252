#include "app/frmvarneklogo.h"

#include "app/folders.h"
#include "app/logopictures.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace app {

namespace {

constexpr int ShowMilliseconds = 1900;
constexpr int CustomPictureMilliseconds = 2700;
constexpr int BadgeMilliseconds = 1100;
constexpr double RaisedTwips = 170;

QSize PixelSize(const platform::Control& control) {
  return {platform::TwipsToPixels(control.Width()), platform::TwipsToPixels(control.Height())};
}

}  // namespace

frmVarnekLogo::frmVarnekLogo() : Form(QStringLiteral("frmVarnekLogo")) {
  SetCaption(QString());
  SetBorderStyle(platform::BorderNone);
  Move(0, 0, 14355, 7920);
  Image1.Move(-480, -240, 15060, 8505);
  Image1.SetStretch(true);
  Image1.SetPicture(DrawLogoPicture(PixelSize(Image1)));
  Image2.Move(9000, 6120, 4740, 1275);
  Image2.SetStretch(true);
  Image2.SetPicture(DrawMakerBadge(PixelSize(Image2)));
  Image2.SetVisible(false);
  Timer1.SetInterval(ShowMilliseconds);
  Timer2.SetInterval(BadgeMilliseconds);
  WIRE(Image1, Click);
  WIRE_TIMER(Timer1);
  WIRE_TIMER(Timer2);
}

void frmVarnekLogo::Form_Load() {
  Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 2 - RaisedTwips, Width(),
       Height());
  const QString makerFolder =
      modGlobalPreferences::GetDocumentsFolder(modGlobalPreferences::MakerFolder, modGlobalPreferences::SharedSubFolder);
  const QString customPicture = makerFolder + modGlobalPreferences::SharedSubFolder + QStringLiteral("\\splash.jpg");
  if (!platform::FileExists(customPicture)) return;
  try {
    Image1.SetPicture(customPicture);
  } catch (const platform::RuntimeError& error) {
    // A picture that cannot be read leaves the built-in logo and its timing.
    platform::TraceError(lcApp, error);
    return;
  }
  Timer1.SetEnabled(false);
  Timer1.SetInterval(CustomPictureMilliseconds);
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(false);
}

void frmVarnekLogo::Image1_Click() { Unload(); }

void frmVarnekLogo::Timer1_Timer() { Unload(); }

void frmVarnekLogo::Timer2_Timer() { Image2.SetVisible(true); }

}  // namespace app

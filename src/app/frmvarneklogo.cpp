#include "app/frmvarneklogo.h"

namespace app {

frmVarnekLogo::frmVarnekLogo() : Form(QStringLiteral("frmVarnekLogo")) {
  SetCaption(QString());
  // Designed by its client area.
  Move(0, 0, 14355 + 2 * BorderTwips, 7920 + CaptionTwips + BorderTwips);
}

}  // namespace app
